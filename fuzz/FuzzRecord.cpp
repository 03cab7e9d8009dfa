// Feeds arbitrary bytes to the station file parser and the record checks
// alone, with no window behind them, so that it runs many times faster
// than the whole Get Data path.  The bytes are the contents of a file: the
// parser either takes its last whole record or refuses it with a reason,
// and the checks either accept that record or refuse it with a reason.
// Every verdict is held against the record's layout, field by field:
//   - a record is accepted exactly when every value is finite and inside
//     its range, every item inside its list, every flag 0 or 1, and the
//     station names one band side, one standard and at most one of the dish
//     and a low-gain antenna;
//   - an accepted record decodes to exactly the values its bytes hold, and
//     encoding that station gives back the same 304 bytes (the reserved
//     bytes, which are ignored on reading, come back as zero), which the
//     checks accept again.
// Anything else aborts.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "io/Extended80.h"
#include "io/StationFile.h"
#include "io/StationRecord.h"

namespace {

using namespace korrin;

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "station record fuzzer: %s\n", what);
  std::abort();
}

Extended80Value RealAt(const StationRecordBytes& r, std::size_t offset) {
  Extended80Bytes b{};
  std::memcpy(b.data(), r.data() + offset, b.size());
  return DecodeExtended80(b);
}

Int IntAt(const StationRecordBytes& r, std::size_t offset) {
  std::uint32_t u = 0;
  for (std::size_t i = 0; i < 4; ++i) u |= std::uint32_t{r[offset + i]} << (8 * i);
  return static_cast<Int>(u);
}

bool RealAcceptable(const RecordReal& f, const Extended80Value& v) {
  if (v.kind == Extended80Class::Invalid || !std::isfinite(v.value)) return false;
  const long double x = v.value;
  bool ruleHolds = false;
  switch (f.rule) {
    case RecordRealRule::Positive:
      ruleHolds = x > 0;
      break;
    case RecordRealRule::NonNegative:
      ruleHolds = x >= 0;
      break;
    case RecordRealRule::Fraction:
      ruleHolds = x > 0 && x <= 1;
      break;
    case RecordRealRule::AtLeastOne:
      ruleHolds = x >= 1;
      break;
  }
  return ruleHolds && x <= f.most && (x == 0 || x >= f.least);
}

// Whether the record meets every condition of the layout, worked out here
// from the bytes on their own.
bool RecordAcceptable(const StationRecordBytes& r) {
  for (const RecordReal& f : StationRecordReals()) {
    if (!RealAcceptable(f, RealAt(r, f.offset))) return false;
  }
  if (RealAt(r, 160).value / RealAt(r, 170).value > kMeshDiameterOverSpacingMost) return false;
  for (const RecordInt& f : StationRecordInts()) {
    const Int v = IntAt(r, f.offset);
    if (v < f.least || v > f.most) return false;
  }
  for (const RecordFlag& f : StationRecordFlags()) {
    if (r[f.offset] > 1) return false;
  }
  const int sides = r[283] + r[284];
  const int standards = r[285] + r[286] + r[287] + r[288];
  const bool dishAndLowGain = r[278] == 1 && r[296] == 1;
  return sides == 1 && standards == 1 && !dishAndLowGain;
}

bool Reserved(std::size_t at) {
  for (const RecordReserved& span : StationRecordReserved()) {
    if (at >= span.offset && at < span.offset + span.size) return true;
  }
  return false;
}

void RequireDecodedAsStored(const StationRecordBytes& r, const StationState& s) {
  for (const RecordReal& f : StationRecordReals()) {
    const long double stored = RealAt(r, f.offset).value;
    const long double decoded = s.*f.field;
    Require(std::isfinite(decoded), "an accepted record decodes to a real that is not finite");
    Require(decoded == stored && std::signbit(decoded) == std::signbit(stored),
            "a decoded real differs from its bytes");
  }
  for (const RecordInt& f : StationRecordInts()) {
    Require(s.*f.field == IntAt(r, f.offset), "a decoded integer differs from its bytes");
    Require(s.*f.field >= f.least && s.*f.field <= f.most, "a decoded integer is out of range");
  }
  for (const RecordFlag& f : StationRecordFlags()) {
    Require(s.*f.field == (r[f.offset] == 1), "a decoded flag differs from its byte");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const StationFileRead read = ParseStationFileBytes(data, size);
  const bool wholeRecords = size > 0 && size % kStationRecordSize == 0;
  if (read.status != StationFileRead::Status::Loaded) {
    Require(read.status == StationFileRead::Status::Unusable, "bytes that cannot be opened");
    Require(!wholeRecords, "whole records refused");
    Require(!read.reason.empty(), "a refused file without a reason");
    return 0;
  }
  Require(wholeRecords, "a file that is not whole records taken");
  Require(
      std::memcmp(read.record.data(), data + size - kStationRecordSize, kStationRecordSize) == 0,
      "the record taken is not the file's last");

  const std::optional<std::string> problem = CheckStationRecord(read.record);
  const bool acceptable = RecordAcceptable(read.record);
  if (problem) {
    Require(!problem->empty(), "a refused record without a reason");
    Require(!acceptable, "a sound record refused");
    return 0;
  }
  Require(acceptable, "an unsound record accepted");

  StationState s{};
  DecodeStationRecord(read.record, s);
  RequireDecodedAsStored(read.record, s);
  Require(FirstNonFiniteField(s) == nullptr, "an accepted record leaves a real not finite");

  const StationRecordBytes again = EncodeStationRecord(s);
  for (std::size_t i = 0; i < kStationRecordSize; ++i) {
    if (Reserved(i)) {
      Require(again[i] == 0, "a reserved byte is written as other than zero");
    } else {
      Require(again[i] == read.record[i], "encoding the decoded record changes a byte");
    }
  }
  Require(!CheckStationRecord(again), "the re-encoded record is refused");
  return 0;
}
