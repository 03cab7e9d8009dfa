#include "io/StationFile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace korrin {
namespace {

namespace fs = std::filesystem;

// Names reach the program as UTF-8 text.
fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// Why a file of `size` bytes holds no usable record, or nothing.
std::optional<std::string> ShapeProblem(std::uintmax_t size) {
  const std::string bytes = std::to_string(size) + " bytes";
  if (size == 0) return std::string("the file is empty");
  if (size < kStationRecordSize) {
    return "the file is shorter than one station record (" + bytes + ", a record has " +
           std::to_string(kStationRecordSize) + ")";
  }
  if (size % kStationRecordSize != 0) {
    return "the file ends in an incomplete station record (" + bytes +
           " is not a whole number of " + std::to_string(kStationRecordSize) + "-byte records)";
  }
  return std::nullopt;
}

StationFileRead Unusable(std::string reason) {
  StationFileRead r;
  r.status = StationFileRead::Status::Unusable;
  r.reason = std::move(reason);
  return r;
}

std::string ErrnoText(int error, const char* fallback) {
  return error != 0 ? std::generic_category().message(error) : std::string(fallback);
}

// Asks the system to put the file's contents on the disk before it replaces
// the old file.
void SyncToDisk(const fs::path& path) {
#if defined(__unix__) || defined(__APPLE__)
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
#else
  (void)path;
#endif
}

}  // namespace

StationFileRead ParseStationFileBytes(const std::uint8_t* data, std::size_t size) {
  if (auto problem = ShapeProblem(size)) return Unusable(*problem);
  StationFileRead r;
  r.status = StationFileRead::Status::Loaded;
  const std::uint8_t* last = data + (size - kStationRecordSize);
  for (std::size_t i = 0; i < kStationRecordSize; ++i) r.record[i] = last[i];
  return r;
}

StationFileRead ReadStationFile(const std::string& path) {
  const fs::path file = PathOf(path);
  std::error_code ec;
  // Folders, devices and pipes are not station files and count as not found.
  if (!fs::is_regular_file(fs::status(file, ec)) || ec) return {};
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};

  in.seekg(0, std::ios::end);
  const std::streamoff end = in.tellg();
  if (!in || end < 0) return Unusable("the file could not be read");
  const auto size = static_cast<std::uintmax_t>(end);
  if (auto problem = ShapeProblem(size)) return Unusable(*problem);

  StationFileRead r;
  in.seekg(end - static_cast<std::streamoff>(kStationRecordSize));
  in.read(reinterpret_cast<char*>(r.record.data()), static_cast<std::streamsize>(r.record.size()));
  if (!in) return Unusable("the file could not be read");
  r.status = StationFileRead::Status::Loaded;
  return r;
}

std::string StationFileTempPath(const std::string& path) {
  return path + ".tmp";
}

std::optional<std::string> ReplaceFileContents(const std::string& path, std::string_view bytes) {
  const fs::path target = PathOf(path);
  const fs::path temp = PathOf(StationFileTempPath(path));
  std::error_code ec;
  if (fs::is_directory(target, ec)) return std::string("a folder has that name");

  errno = 0;
  std::ofstream out(temp, std::ios::binary | std::ios::trunc);
  if (!out) return ErrnoText(errno, "the file could not be created");
  // From here on the temporary file is ours to remove on failure.
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  const int writeError = errno;
  out.close();
  if (!out) {
    fs::remove(temp, ec);
    return ErrnoText(writeError != 0 ? writeError : errno, "the file could not be written");
  }
  SyncToDisk(temp);

  fs::rename(temp, target, ec);
  if (ec) {
    std::string reason = ec.message();
    std::error_code ignored;
    fs::remove(temp, ignored);
    return reason;
  }
  return std::nullopt;
}

std::optional<std::string> WriteStationFile(const std::string& path,
                                            const StationRecordBytes& record) {
  return ReplaceFileContents(
      path, std::string_view(reinterpret_cast<const char*>(record.data()), record.size()));
}

}  // namespace korrin
