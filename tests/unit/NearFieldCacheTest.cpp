// Solutions kept on disk: read back exactly as computed, filed under every
// figure they depend on so that a stale one is never used, and a damaged
// file ignored.  The round trips run nec2c.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "nearfield/Cache.h"
#include "nearfield/NearField.h"
#include "nearfield/Presets.h"
#include "tests/unit/NearFieldTestSupport.h"

namespace korrin::nearfield {
namespace {

namespace fs = std::filesystem;

constexpr Real kMHz = 28.4L;

Request SmallDipole() {
  Request q;
  q.structure =
      support::StructureOf(DipolePreset(kMHz, 3, std::nullopt, 0.001L, FreeSpace()), kMHz);
  q.frequencyMHz = kMHz;
  q.power = {50, 50, 50};
  q.cases = {{LimitSet::Fcc, Tier::General}, {LimitSet::Icnirp2020, Tier::Occupational}};
  q.points = {{4, 1, 1.5}};
  return q;
}

class CacheFolder {
 public:
  CacheFolder() {
    std::string pattern = (fs::temp_directory_path() / "korrin-nfcache-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~CacheFolder() { fs::remove_all(path_); }
  CacheFolder(const CacheFolder&) = delete;
  CacheFolder& operator=(const CacheFolder&) = delete;
  std::string Path() const { return path_.string(); }
  std::vector<fs::path> Files() const {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(path_)) files.push_back(e.path());
    return files;
  }

 private:
  fs::path path_;
};

struct Change {
  const char* name;
  std::function<void(Request&)> apply;
};

// Every figure a solution depends on changes the text it is filed under.
TEST(NearFieldCacheTest, EveryFigureOfTheRequestIsInItsText) {
  const Request base = SmallDipole();
  const std::string text = CacheText(base, "nec2c 1.3");
  EXPECT_EQ(CacheText(SmallDipole(), "nec2c 1.3"), text);
  EXPECT_NE(CacheText(base, "nec2c 1.4"), text) << "the engine's version";
  const std::vector<Change> changes = {
      {"frequency", [](Request& q) { q.frequencyMHz += 1e-9L; }},
      {"another frequency", [](Request& q) { q.alsoAtMHz = {28.0L}; }},
      {"limits' band",
       [](Request& q) {
         q.limitBand = LimitBand{28.0L, 29.7L};
       }},
      {"peak envelope power", [](Request& q) { q.power.peakEnvelopeW = 51; }},
      {"6-minute power", [](Request& q) { q.power.average6MinW = 49; }},
      {"30-minute power", [](Request& q) { q.power.average30MinW = 20; }},
      {"cases", [](Request& q) { q.cases.pop_back(); }},
      {"step", [](Request& q) { q.grid.stepM = 0.2L; }},
      {"finest step", [](Request& q) { q.grid.finestStepM = 0.01L; }},
      {"head height", [](Request& q) { q.grid.headHeightM = 1.8L; }},
      {"plan's size", [](Request& q) { q.grid.halfWidthM = 10; }},
      {"a point", [](Request& q) { q.points[0].z = 1.6L; }},
      {"ground", [](Request& q) { q.structure.ground = PerfectGround(); }},
      {"a wire", [](Request& q) { q.structure.geometry[0].values[8] = 0.002; }},
      {"the feed", [](Request& q) { q.structure.feed.segment += 1; }},
  };
  for (const Change& c : changes) {
    Request q = SmallDipole();
    c.apply(q);
    EXPECT_NE(CacheText(q, "nec2c 1.3"), text) << c.name;
  }
}

void ExpectSameResults(const Evaluation& a, const Evaluation& b) {
  ASSERT_EQ(a.results.size(), b.results.size());
  for (size_t k = 0; k < a.results.size(); ++k) {
    const CaseResult& x = a.results[k];
    const CaseResult& y = b.results[k];
    EXPECT_EQ(x.headPeak.value, y.headPeak.value) << k;
    EXPECT_EQ(x.wholeBodyPeak.value, y.wholeBodyPeak.value) << k;
    EXPECT_EQ(x.headKeepOut.kind, y.headKeepOut.kind) << k;
    EXPECT_EQ(x.headKeepOut.distanceM, y.headKeepOut.distanceM) << k;
    EXPECT_EQ(x.wholeBodyKeepOut.kind, y.wholeBodyKeepOut.kind) << k;
    EXPECT_EQ(x.wholeBodyKeepOut.distanceM, y.wholeBodyKeepOut.distanceM) << k;
    EXPECT_EQ(x.wholeBodyGoverns, y.wholeBodyGoverns) << k;
  }
  const Solution& s = *a.solution;
  const Solution& t = *b.solution;
  EXPECT_EQ(s.deck, t.deck);
  EXPECT_EQ(s.impedanceOhm, t.impedanceOhm);
  EXPECT_EQ(s.segmentRows.size(), t.segmentRows.size());
  EXPECT_EQ(s.plan.samples.size(), t.plan.samples.size());
  EXPECT_EQ(s.headSamples.points, t.headSamples.points);
  EXPECT_EQ(s.bodySamples.cells.size(), t.bodySamples.cells.size());
  ASSERT_EQ(s.pointSamples.size(), t.pointSamples.size());
  for (size_t n = 0; n < s.pointSamples.size(); ++n) {
    EXPECT_EQ(s.pointSamples[n].e2, t.pointSamples[n].e2);
    EXPECT_EQ(s.pointSamples[n].h2, t.pointSamples[n].h2);
  }
}

// Computed once, then read back with the same figures to the last bit; a
// file damaged on disk is ignored and computed again.
TEST(NearFieldCacheTest, ASolutionIsReadBackExactlyAndADamagedOneIgnored) {
  CacheFolder folder;
  Request q = SmallDipole();
  q.cacheFolder = folder.Path();
  const Evaluation first = Evaluate(q);
  ASSERT_EQ(first.status, Status::Done) << first.message;
  EXPECT_FALSE(first.fromCache);
  const std::vector<fs::path> files = folder.Files();
  ASSERT_EQ(files.size(), 1U) << "one file, no temporary one left";

  const Evaluation second = Evaluate(q);
  ASSERT_EQ(second.status, Status::Done) << second.message;
  EXPECT_TRUE(second.fromCache);
  ExpectSameResults(first, second);

  // Another power is another solution.
  Request other = q;
  other.power = {100, 100, 100};
  const Evaluation third = Evaluate(other);
  ASSERT_EQ(third.status, Status::Done) << third.message;
  EXPECT_FALSE(third.fromCache);

  // Cut short, or one byte of its text changed: not used.
  const std::string path = files[0].string();
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  for (const std::string& damaged :
       {bytes.substr(0, bytes.size() / 2), std::string(bytes).replace(40, 1, "#")}) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << damaged;
    const Evaluation again = Evaluate(q);
    ASSERT_EQ(again.status, Status::Done) << again.message;
    EXPECT_FALSE(again.fromCache);
    ExpectSameResults(first, again);
  }
}

}  // namespace
}  // namespace korrin::nearfield
