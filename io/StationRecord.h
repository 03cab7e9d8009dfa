// The 304-byte station data record: a flat little-endian image of the
// station's stored inputs.  Reals are 10-byte extended reals, selections
// 4-byte signed integers, flags single bytes (0 or 1).  Bytes 230-231 and
// 297-303 are written as zero and ignored on reading.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/StationState.h"

namespace korrin {

inline constexpr std::size_t kStationRecordSize = 304;
using StationRecordBytes = std::array<std::uint8_t, kStationRecordSize>;

// The record of the station's stored fields.  The four power fields and the
// two band indices are written as they are: the save command puts the
// selected item numbers into them first.
StationRecordBytes EncodeStationRecord(const StationState& s);

// Why the program cannot take this record into the station: a real that is
// not a finite number or lies outside what the calculation works with, an
// item number outside its list, a flag byte other than 0 or 1, not exactly
// one band side or one standard, the dish and a low-gain antenna both in
// use.  Nothing when the record is sound.  The text completes the sentence
// "... was not loaded: <reason>." and names the value in the user's words.
std::optional<std::string> CheckStationRecord(const StationRecordBytes& record);

// Copies every stored field from the record into the station; the fields the
// record does not hold keep their values.  Only for records that passed
// CheckStationRecord.
void DecodeStationRecord(const StationRecordBytes& record, StationState& s);

// The layout of the record and what CheckStationRecord accepts in each
// field, as the check itself uses it; the tests and the record fuzzer read it
// to hold every accepted record to it.
enum class RecordRealRule {
  Positive,     // above 0
  NonNegative,  // 0 or more
  Fraction,     // above 0 and at most 1
  AtLeastOne,   // 1 or more
};

struct RecordReal {
  std::size_t offset;
  Real StationState::*field;
  const char* what;
  RecordRealRule rule;
  long double least;  // smallest magnitude above 0 that is calculated with
  long double most;
};

struct RecordInt {
  std::size_t offset;
  Int StationState::*field;
  const char* what;
  Int least;
  Int most;
};

struct RecordFlag {
  std::size_t offset;
  Flag StationState::*field;
  const char* what;
};

// A span of bytes written as zero and ignored on reading.
struct RecordReserved {
  std::size_t offset;
  std::size_t size;
};

std::span<const RecordReal> StationRecordReals();
std::span<const RecordInt> StationRecordInts();
std::span<const RecordFlag> StationRecordFlags();
std::span<const RecordReserved> StationRecordReserved();

// The largest ratio of the mesh wire diameter to the mesh spacing accepted.
inline constexpr long double kMeshDiameterOverSpacingMost = 1000.0L;

// The name of the first real field of the station that is not a finite
// number, or nullptr when all are.
const char* FirstNonFiniteField(const StationState& s);

}  // namespace korrin
