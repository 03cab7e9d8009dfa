// Files written whole or not at all.  Every file the program writes (the
// station files, pictures, pages and records) goes through this one writer:
// the contents go to a new file with a unique name, created exclusively in
// the target's own folder, are flushed to the disk and checked, and only
// then is the new file renamed over the target.  An existing file is left
// as it was or replaced by the complete new contents; a file of the
// temporary file's name, or a link planted there, is never touched.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korrin {

// Writes `bytes` as the whole of the file `path` names (UTF-8).  A path
// that is a symbolic link writes the file the link points to and keeps the
// link; an existing file keeps its permissions (and its owner and group
// where the system allows).  On failure, returns why in words, with the
// system's reason ("No space left on device"), completing "... was not
// saved: <reason>"; the target is then as it was and no temporary file is
// left behind.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes);

// The file a write to `path` replaces: `path` itself, or the file at the end
// of the symbolic links it names (which need not exist yet).  Empty when
// the links go round in a loop or run too deep.
std::string FileWrittenFor(const std::string& path);

// The system's words for an error number, never "Unknown error" for 0.
std::string SystemReason(int error);

}  // namespace korrin
