// The report's standard output, checked to its end: a report cut short (a
// full disk, /dev/full, a closed pipe) is a failure, never a complete report.
#pragma once

#include <string>
#include <string_view>

namespace korrin::report {

// Writes all of `text` to the open file `fd` and closes it.  Returns the
// empty string, or the system's reason the text did not all arrive.
std::string WriteAndClose(int fd, std::string_view text);

// Prints `text` on standard output and returns `status`; or, when it could
// not all be written, says why on standard error and returns 1.
int PrintReport(std::string_view text, int status);

}  // namespace korrin::report
