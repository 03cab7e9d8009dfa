// Station data files: one or more 304-byte records; the program writes one
// and reads the last.  Errors come back as values with a reason in words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "io/StationRecord.h"

namespace korrin {

struct StationFileRead {
  enum class Status {
    Loaded,      // `record` holds the file's last record
    CannotOpen,  // no file of that name
    Unusable,    // not a regular file, unreadable, or no usable record; see `reason`
  };
  Status status = Status::CannotOpen;
  StationRecordBytes record{};
  std::string reason;  // completes "... was not loaded: <reason>."
};

// The last whole record of a file's contents.  Contents that are empty or
// do not end on a record boundary hold no usable record.
StationFileRead ParseStationFileBytes(const std::uint8_t* data, std::size_t size);

// Reads the last record of the named file.
StationFileRead ReadStationFile(const std::string& path);

// Writes one record as the whole of the named file through the program's
// one writer (io/AtomicFile.h): an existing file is either left as it was
// or replaced by the complete new record.  On failure: the reason,
// completing "... was not saved: <reason>.".
std::optional<std::string> WriteStationFile(const std::string& path,
                                            const StationRecordBytes& record);

// Writes `bytes` as the whole of the named file the same way.
std::optional<std::string> ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace korrin
