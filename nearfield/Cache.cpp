#include "nearfield/Cache.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>
#include <vector>

#include "io/AtomicFile.h"

namespace korrin::nearfield {

namespace {

namespace fs = std::filesystem;

// The file's first line; a new layout of the file, or a new way of
// computing a solution beyond the constants CacheText names, takes a new
// number.
constexpr std::string_view kMagic = "korrin near-field solution 1\n";
// A file larger than this is not read (a plan of 321 x 321 points with its
// columns and side views is about 40 MB).
constexpr std::uintmax_t kLargestFile = std::uintmax_t{1} << 30;

// FNV-1a, 64 bits, for the file's name; the text itself decides.
std::uint64_t Fnv(std::string_view text, std::uint64_t basis) {
  std::uint64_t h = basis;
  for (const char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001b3ULL;
  }
  return h;
}

std::string FileName(const std::string& text) {
  char name[48];
  std::snprintf(name, sizeof name, "%016llx%016llx.nfs",
                static_cast<unsigned long long>(Fnv(text, 0xcbf29ce484222325ULL)),
                static_cast<unsigned long long>(Fnv(text, 0x84222325cbf29ce4ULL)));
  return name;
}

std::string Exact(Real v) {
  char text[64];
  std::snprintf(text, sizeof text, "%La", v);
  return text;
}

class Writer {
 public:
  void Bytes(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
  void U64(std::uint64_t v) { Bytes(&v, sizeof v); }
  void I32(int v) {
    const std::int32_t x = v;
    Bytes(&x, sizeof x);
  }
  void D(double v) { Bytes(&v, sizeof v); }
  // A long double as two doubles, which hold its 64 bits of mantissa exactly.
  void R(Real v) {
    const auto hi = static_cast<double>(v);
    D(hi);
    D(static_cast<double>(v - hi));
  }
  void P(Point p) {
    R(p.x);
    R(p.y);
    R(p.z);
  }
  void S(std::string_view s) {
    U64(s.size());
    Bytes(s.data(), s.size());
  }
  void Samples(const std::vector<FieldSample>& v) {
    U64(v.size());
    for (const FieldSample& s : v) {
      D(s.e2);
      D(s.h2);
    }
  }
  void Plane(const FieldPlane& p) {
    P(p.origin);
    P(p.u);
    P(p.v);
    I32(p.nu);
    I32(p.nv);
    Samples(p.samples);
  }
  void Lattice(const SampledLattice& l) {
    R(l.stepM);
    R(l.z0);
    I32(l.levels);
    R(l.levelStepM);
    I32(l.edge);
    U64(l.cells.size());
    for (const Cell& c : l.cells) {
      I32(c.i);
      I32(c.j);
      I32(c.size);
    }
    U64(l.points.size());
    for (const auto& [i, j] : l.points) {
      I32(i);
      I32(j);
    }
    Samples(l.samples);
    S(std::string_view(reinterpret_cast<const char*>(l.nearConductor.data()),
                       l.nearConductor.size()));
  }
  const std::string& Out() const { return out_; }

 private:
  std::string out_;
};

// Reads what Writer wrote; any shortfall or inconsistency makes it not ok.
class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  bool Ok() const { return ok_; }
  bool AtEnd() const { return at_ == in_.size(); }
  void Fail() { ok_ = false; }

  void Bytes(void* p, size_t n) {
    if (!ok_ || in_.size() - at_ < n) {
      ok_ = false;
      std::memset(p, 0, n);
      return;
    }
    std::memcpy(p, in_.data() + at_, n);
    at_ += n;
  }
  std::uint64_t U64() {
    std::uint64_t v = 0;
    Bytes(&v, sizeof v);
    return v;
  }
  int I32() {
    std::int32_t v = 0;
    Bytes(&v, sizeof v);
    return v;
  }
  double D() {
    double v = 0;
    Bytes(&v, sizeof v);
    return v;
  }
  Real R() {
    const Real hi = D();
    return hi + D();
  }
  Point P() {
    Point p;
    p.x = R();
    p.y = R();
    p.z = R();
    return p;
  }
  // A count of items of at least `bytes` each that the rest can hold.
  size_t Count(size_t bytes) {
    const std::uint64_t n = U64();
    if (!ok_ || n > (in_.size() - at_) / bytes) {
      ok_ = false;
      return 0;
    }
    return static_cast<size_t>(n);
  }
  std::string S() {
    std::string s(Count(1), '\0');
    Bytes(s.data(), s.size());
    return s;
  }
  std::vector<FieldSample> Samples() {
    std::vector<FieldSample> v(Count(2 * sizeof(double)));
    for (FieldSample& s : v) {
      s.e2 = D();
      s.h2 = D();
    }
    return v;
  }
  FieldPlane Plane() {
    FieldPlane p;
    p.origin = P();
    p.u = P();
    p.v = P();
    p.nu = I32();
    p.nv = I32();
    p.samples = Samples();
    if (p.nu < 0 || p.nv < 0 || p.samples.size() != static_cast<size_t>(p.nu) * p.nv) Fail();
    return p;
  }
  SampledLattice Lattice() {
    SampledLattice l;
    l.stepM = R();
    l.z0 = R();
    l.levels = I32();
    l.levelStepM = R();
    l.edge = I32();
    if (l.levels < 1) Fail();
    l.cells.resize(Count(3 * sizeof(std::int32_t)));
    for (Cell& c : l.cells) {
      c.i = I32();
      c.j = I32();
      c.size = I32();
      if (c.size < 1) Fail();
    }
    const size_t points = Count(2 * sizeof(std::int32_t));
    for (size_t n = 0; n < points && ok_; ++n) {
      const int i = I32();
      const int j = I32();
      if (l.Add(i, j) != n) Fail();  // each point once
    }
    l.samples = Samples();
    const std::string near = S();
    l.nearConductor.assign(near.begin(), near.end());
    if (l.samples.size() != l.points.size() * static_cast<size_t>(std::max(l.levels, 1)) ||
        l.nearConductor.size() != l.points.size()) {
      Fail();
    }
    return l;
  }

 private:
  std::string_view in_;
  size_t at_ = 0;
  bool ok_ = true;
};

void WriteSolution(Writer& w, const Solution& s) {
  w.S(s.engine);
  w.S(s.patternDeck);
  w.S(s.deck);
  w.R(s.frequencyMHz);
  w.U64(s.fieldsAtMHz.size());
  for (Real f : s.fieldsAtMHz) w.R(f);
  w.R(s.limitBand.lowerMHz);
  w.R(s.limitBand.upperMHz);
  w.I32(s.segments);
  w.U64(s.segmentRows.size());
  for (const SegmentRow& r : s.segmentRows) {
    w.I32(r.number);
    w.P(r.centre);
    w.R(r.lengthM);
    w.R(r.alphaDeg);
    w.R(r.betaDeg);
    w.R(r.radiusM);
    w.I32(r.tag);
  }
  w.R(s.impedanceOhm.real());
  w.R(s.impedanceOhm.imag());
  w.R(s.inputPowerW);
  w.I32(s.peak ? 1 : 0);
  if (s.peak) {
    w.R(s.peak->gainDbi);
    w.R(s.peak->thetaDeg);
    w.R(s.peak->phiDeg);
  }
  w.R(s.stepM);
  w.R(s.halfWidthM);
  w.I32(s.enlargements);
  w.R(s.alongAzimuthDeg);
  w.Plane(s.plan);
  w.P(s.columns.origin);
  w.P(s.columns.u);
  w.P(s.columns.v);
  w.I32(s.columns.nu);
  w.I32(s.columns.nv);
  w.R(s.columns.levelStepM);
  w.I32(s.columns.levels);
  w.Samples(s.columns.samples);
  w.Plane(s.along);
  w.Plane(s.across);
  w.U64(s.points.size());
  for (const Point& p : s.points) w.P(p);
  w.Samples(s.pointSamples);
  w.Lattice(s.headSamples);
  w.Lattice(s.bodySamples);
  w.R(s.finestStepM);
}

Solution ReadSolution(Reader& r) {
  Solution s;
  s.engine = r.S();
  s.patternDeck = r.S();
  s.deck = r.S();
  s.frequencyMHz = r.R();
  s.fieldsAtMHz.resize(r.Count(2 * sizeof(double)));
  for (Real& f : s.fieldsAtMHz) f = r.R();
  s.limitBand.lowerMHz = r.R();
  s.limitBand.upperMHz = r.R();
  s.segments = r.I32();
  s.segmentRows.resize(r.Count(sizeof(std::int32_t)));
  for (SegmentRow& row : s.segmentRows) {
    row.number = r.I32();
    row.centre = r.P();
    row.lengthM = r.R();
    row.alphaDeg = r.R();
    row.betaDeg = r.R();
    row.radiusM = r.R();
    row.tag = r.I32();
  }
  const Real re = r.R();
  s.impedanceOhm = {re, r.R()};
  s.inputPowerW = r.R();
  if (r.I32() != 0) {
    PatternPeak p;
    p.gainDbi = r.R();
    p.thetaDeg = r.R();
    p.phiDeg = r.R();
    s.peak = p;
  }
  s.stepM = r.R();
  s.halfWidthM = r.R();
  s.enlargements = r.I32();
  s.alongAzimuthDeg = r.R();
  s.plan = r.Plane();
  FieldColumns& c = s.columns;
  c.origin = r.P();
  c.u = r.P();
  c.v = r.P();
  c.nu = r.I32();
  c.nv = r.I32();
  c.levelStepM = r.R();
  c.levels = r.I32();
  c.samples = r.Samples();
  if (c.nu < 0 || c.nv < 0 || c.levels < 0 ||
      c.samples.size() != static_cast<size_t>(c.nu) * c.nv * c.levels) {
    r.Fail();
  }
  s.along = r.Plane();
  s.across = r.Plane();
  s.points.resize(r.Count(6 * sizeof(double)));
  for (Point& p : s.points) p = r.P();
  s.pointSamples = r.Samples();
  if (s.pointSamples.size() != s.points.size()) r.Fail();
  s.headSamples = r.Lattice();
  s.bodySamples = r.Lattice();
  s.finestStepM = r.R();
  return s;
}

}  // namespace

std::string CacheText(const Request& q, const std::string& engine) {
  std::ostringstream t;
  t << kMagic << "engine " << engine << "\nsampling " << Exact(kRefineBelowLimit) << ' '
    << Exact(kConductorClearanceM) << "\n";
  Requests none;
  t << WriteDeck(q.structure, q.frequencyMHz, none);
  t << "also";
  for (Real f : q.alsoAtMHz) t << ' ' << Exact(f);
  t << "\nband";
  if (q.limitBand) t << ' ' << Exact(q.limitBand->lowerMHz) << ' ' << Exact(q.limitBand->upperMHz);
  t << "\npower " << Exact(q.power.peakEnvelopeW) << ' ' << Exact(q.power.average6MinW) << ' '
    << Exact(q.power.average30MinW) << "\ncases";
  for (const LimitCase& c : q.cases) {
    t << ' ' << static_cast<int>(c.set) << ':' << static_cast<int>(c.tier);
  }
  const GridOptions& g = q.grid;
  t << "\ngrid " << Exact(g.stepM) << ' ' << Exact(g.columnStepM) << ' ' << Exact(g.levelStepM)
    << ' ' << Exact(g.headHeightM) << ' ' << Exact(g.bodyHeightM) << ' ' << g.mostPointsAcross
    << ' ' << (g.halfWidthM ? Exact(*g.halfWidthM) : std::string("auto")) << ' ' << g.enlargements
    << ' ' << Exact(g.patternStepDeg) << ' ' << Exact(g.finestStepM) << "\npoints";
  for (const Point& p : q.points) t << ' ' << Exact(p.x) << ',' << Exact(p.y) << ',' << Exact(p.z);
  t << "\n";
  return t.str();
}

std::optional<Solution> LoadCachedSolution(const std::string& folder, const std::string& text) {
  if (folder.empty()) return std::nullopt;
  const fs::path path = fs::path(folder) / FileName(text);
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec || size > kLargestFile || !fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
  Reader r(bytes);
  if (r.S() != text || !r.Ok()) return std::nullopt;
  Solution s = ReadSolution(r);
  if (!r.Ok() || !r.AtEnd()) return std::nullopt;
  return s;
}

bool StoreCachedSolution(const std::string& folder, const std::string& text,
                         const Solution& solution) {
  if (folder.empty()) return false;
  std::error_code ec;
  fs::create_directories(folder, ec);
  Writer w;
  w.S(text);
  WriteSolution(w, solution);
  const fs::path path = fs::path(folder) / FileName(text);
  return !WriteFileAtomically(path.string(), w.Out()).has_value();
}

std::string DefaultCacheFolder() {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  if (xdg && *xdg == '/') return (fs::path(xdg) / "korrin" / "near-field").string();
  const char* home = std::getenv("HOME");
  if (home && *home == '/') return (fs::path(home) / ".cache" / "korrin" / "near-field").string();
  return {};
}

}  // namespace korrin::nearfield
