#include "app/report/StandardOutput.h"

#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "io/AtomicFile.h"

namespace korrin::report {

std::string WriteAndClose(int fd, std::string_view text) {
  int error = 0;
  const char* at = text.data();
  std::size_t left = text.size();
  while (left > 0 && error == 0) {
    const ssize_t n = ::write(fd, at, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : EIO;
      break;
    }
    at += n;
    left -= static_cast<std::size_t>(n);
  }
  // A file on a network disk may say only on closing that it was not kept.
  if (::close(fd) != 0 && error == 0) error = errno;
  return error == 0 ? std::string() : SystemReason(error);
}

int PrintReport(std::string_view text, int status) {
  // Whatever went through the stream before (nothing, by rule) goes first.
  std::cout.flush();
  if (text.empty()) return status;
  const std::string error = WriteAndClose(STDOUT_FILENO, text);
  if (error.empty()) return status;
  std::cerr << "korrin-report: the report could not be written to standard output (" << error
            << ")\n";
  return 1;
}

}  // namespace korrin::report
