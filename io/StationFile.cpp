#include "io/StationFile.h"

#include "io/AtomicFile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

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
  const fs::file_status status = fs::status(file, ec);
  // Only a name that leads nowhere is a file not found; anything else that
  // is there but is no station file is told what is wrong with it.
  if (ec || !fs::exists(status)) return {};
  if (fs::is_directory(status)) return Unusable("it is a folder, not a station file");
  if (!fs::is_regular_file(status)) {
    return Unusable("it is not a regular file (a device, a pipe or a socket)");
  }
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) return Unusable("it could not be opened (" + ErrnoText(errno, "no reason given") + ")");

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

std::optional<std::string> ReplaceFileContents(const std::string& path, std::string_view bytes) {
  return WriteFileAtomically(path, bytes);
}

std::optional<std::string> WriteStationFile(const std::string& path,
                                            const StationRecordBytes& record) {
  return ReplaceFileContents(
      path, std::string_view(reinterpret_cast<const char*>(record.data()), record.size()));
}

}  // namespace korrin
