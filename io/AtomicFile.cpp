#include "io/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace korrin {
namespace {

// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMostLinksFollowed = 40;

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The permissions a file created afresh gets: 0666 less the user's mask.
// The mask is read where the system shows it, since reading it with
// umask() sets it for a moment for every thread of the program.
mode_t NewFileMode() {
  mode_t mask = 022;
  bool known = false;
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    constexpr std::string_view kUmask = "Umask:";
    while (std::fgets(line, sizeof line, status) != nullptr) {
      if (std::string_view(line).substr(0, kUmask.size()) != kUmask) continue;
      char* end = nullptr;
      errno = 0;
      const unsigned long value = std::strtoul(line + kUmask.size(), &end, 8);
      if (errno == 0 && end != line + kUmask.size() && value <= 0777) {
        mask = static_cast<mode_t>(value);
        known = true;
      }
      break;
    }
    std::fclose(status);
  }
  if (!known) {
    mask = ::umask(022);
    ::umask(mask);
  }
  return static_cast<mode_t>(0666) & ~mask;
}

// Writes all of `bytes` to `fd`, through interrupted and partial writes.
int WriteAll(int fd, std::string_view bytes) {
  const char* at = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, at, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    at += n;
    left -= static_cast<std::size_t>(n);
  }
  return 0;
}

// The temporary file: removed unless it has become the target.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target)
      : path_(FolderOf(target) + "/." + NameOf(target) + ".XXXXXX") {
    std::vector<char> name(path_.begin(), path_.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    error_ = fd_ < 0 ? errno : 0;
    path_.assign(name.data());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!kept_ && error_ == 0) ::unlink(path_.c_str());
  }
  int Descriptor() const { return fd_; }
  int OpenError() const { return error_; }
  const std::string& Path() const { return path_; }
  // Closes the file, returning the system's error or 0.
  int Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? 0 : errno;
  }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
  bool kept_ = false;
};

// Makes sure the rename itself reaches the disk.  A folder that cannot be
// synced (some file systems refuse) leaves the file written all the same.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::string SystemReason(int error) {
  if (error == 0) return "the system gave no reason";
  return std::generic_category().message(error);
}

std::string FileWrittenFor(const std::string& path) {
  std::string at = path;
  for (int links = 0; links <= kMostLinksFollowed; ++links) {
    struct stat st {};
    if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
    std::vector<char> target(static_cast<std::size_t>(PATH_MAX) + 1);
    const ssize_t n = ::readlink(at.c_str(), target.data(), target.size() - 1);
    if (n < 0) return at;
    std::string next(target.data(), static_cast<std::size_t>(n));
    if (next.starts_with('/')) {
      at = std::move(next);
    } else {
      std::string folder = FolderOf(at);
      folder += '/';
      folder += next;
      at = std::move(folder);
    }
  }
  return {};
}

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) return std::string("no file was named");
  const std::string target = FileWrittenFor(path);
  if (target.empty()) return SystemReason(ELOOP);

  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && S_ISDIR(old.st_mode)) return std::string("a folder has that name");
  // A device, a pipe or a socket would be replaced by a plain file.
  if (existed && !S_ISREG(old.st_mode)) return std::string("it is not a regular file");

  TemporaryFile temp(target);
  if (temp.Descriptor() < 0) return SystemReason(temp.OpenError());
  if (const int e = WriteAll(temp.Descriptor(), bytes); e != 0) return SystemReason(e);
  // The new file takes the old one's permissions and, where the system lets
  // this user give them, its owner and group.
  const mode_t mode = existed ? (old.st_mode & 07777) : NewFileMode();
  if (existed && ::fchown(temp.Descriptor(), old.st_uid, old.st_gid) != 0 &&
      ::fchown(temp.Descriptor(), static_cast<uid_t>(-1), old.st_gid) != 0) {
    // Another user's file: the new one is this user's, with the old mode.
  }
  if (::fchmod(temp.Descriptor(), mode) != 0) return SystemReason(errno);
  if (::fsync(temp.Descriptor()) != 0) return SystemReason(errno);
  if (const int e = temp.Close(); e != 0) return SystemReason(e);
  if (::rename(temp.Path().c_str(), target.c_str()) != 0) return SystemReason(errno);
  temp.Keep();
  SyncFolder(FolderOf(target));
  return std::nullopt;
}

}  // namespace korrin
