// Running the engine: a missing program, a run past its time limit, a stop
// request and a failing program each end with a clear message and no
// result, the temporary folder removed and no child left; the engine's own
// output read back consistently.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "nearfield/NearField.h"
#include "nearfield/Presets.h"
#include "nearfield/Runner.h"
#include "tests/unit/NearFieldTestSupport.h"

namespace korrin::nearfield {
namespace {

namespace fs = std::filesystem;

// A scratch folder of its own for each test, removed afterwards; the
// runner's temporary folders are made inside it so that what they leave
// behind can be seen.
class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "korrin-nftest-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    fs::create_directory(path_ / "tmp");
  }
  ~Scratch() { fs::remove_all(path_); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  // An executable shell script named `name` in the folder.
  std::string Script(const std::string& name, const std::string& body) const {
    const fs::path p = path_ / name;
    std::ofstream(p) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(p, fs::perms::owner_all);
    return p.string();
  }
  std::string Temp() const { return (path_ / "tmp").string(); }
  bool TempEmpty() const { return fs::is_empty(path_ / "tmp"); }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

std::string DipoleDeck() {
  const Preset p = DipolePreset(14.2L, 10, std::nullopt, 0.001L, FreeSpace());
  return WriteDeck(*BuildStructure(p.model, 14.2L).structure, 14.2L, Requests{});
}

// Whether the process named in `pidFile` still runs: a zombie waiting for
// its new parent to reap it runs no more.
bool ProcessAlive(const std::string& pidFile) {
  std::ifstream in(pidFile);
  long pid = 0;
  if (!(in >> pid) || pid <= 0) return false;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  if (!std::getline(stat, text)) return false;
  const size_t paren = text.rfind(')');
  return paren != std::string::npos && paren + 2 < text.size() && text[paren + 2] != 'Z';
}

struct FailureCase {
  const char* name;
  RunStatus status;
  const char* message;  // a part of the message
};

// What each failing program gives; its command and options come from the
// scratch folder, so they are set up in the test body by name.
class RunFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(RunFailureTest, EndsWithAClearMessageAndLeavesNothing) {
  const FailureCase& c = GetParam();
  Scratch scratch;
  RunOptions o;
  o.temporaryParent = scratch.Temp();
  o.timeLimit = std::chrono::seconds(20);
  const std::string name = c.name;
  const std::string pidFile = (scratch.Path() / "child.pid").string();
  std::stop_source stop;
  std::thread stopper;
  if (name == "NotInSearchPath") {
    o.searchPath = scratch.Path().string();  // holds no nec2c
  } else if (name == "NoSuchPath") {
    o.program = (scratch.Path() / "nec2c").string();
  } else if (name == "PastItsTimeLimit") {
    // The shell starts a child of its own; both must go.
    o.program = scratch.Script("slow", "sleep 30 & echo $! > " + pidFile + "\nwait");
    o.timeLimit = std::chrono::milliseconds(300);
  } else if (name == "StopRequested") {
    o.program = scratch.Script("slow", "sleep 30 & echo $! > " + pidFile + "\nwait");
    o.stop = stop.get_token();
    stopper = std::thread([&stop] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      stop.request_stop();
    });
  } else if (name == "ExitStatus") {
    o.program = scratch.Script("broken", "echo 'cannot read the deck' >&2\nexit 3");
  } else if (name == "Signal") {
    o.program = scratch.Script("crashing", "kill -SEGV $$");
  }
  const auto start = std::chrono::steady_clock::now();
  const RunResult r = RunEngine(DipoleDeck(), o);
  const auto took = std::chrono::steady_clock::now() - start;
  if (stopper.joinable()) stopper.join();
  EXPECT_EQ(r.status, c.status) << r.message;
  EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
  EXPECT_TRUE(r.output.empty());
  EXPECT_TRUE(scratch.TempEmpty()) << "the private folder was left behind";
  EXPECT_LT(took, std::chrono::seconds(5)) << "the run was not stopped in time";
  if (fs::exists(pidFile)) {
    // A killed process needs a moment to leave.
    for (int n = 0; n < 50 && ProcessAlive(pidFile); ++n) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(ProcessAlive(pidFile)) << "the engine's own child is still running";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, RunFailureTest,
    ::testing::Values(FailureCase{"NotInSearchPath", RunStatus::NotFound,
                                  "install it (the Debian package nec2c)"},
                      FailureCase{"NoSuchPath", RunStatus::NotFound, "was not found"},
                      FailureCase{"PastItsTimeLimit", RunStatus::TimedOut, "time limit of 0.3 s"},
                      FailureCase{"StopRequested", RunStatus::Cancelled, "stopped on request"},
                      FailureCase{"ExitStatus", RunStatus::Failed,
                                  "exit status 3: cannot read the deck"},
                      FailureCase{"Signal", RunStatus::Failed, "signal 11"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// The engine's own refusal comes back in its words.
TEST(RunEngineTest, TheEnginesOwnErrorIsReported) {
  Scratch scratch;
  RunOptions o;
  o.temporaryParent = scratch.Temp();
  const std::string deck =
      "CM\nCE\nGW 1 11 -5 0 -1 5 0 -1 0.001\nGE 1\nGN 1\nFR 0 1 0 0 14.2 0\nEX 0 1 6 0 1 "
      "0\nXQ\nEN\n";
  const RunResult r = RunEngine(deck, o);
  EXPECT_EQ(r.status, RunStatus::Failed);
  EXPECT_NE(r.message.find("EXTENDS BELOW GROUND"), std::string::npos) << r.message;
  EXPECT_TRUE(scratch.TempEmpty());
}

TEST(RunEngineTest, AFinishedRunLeavesNothingAndReportsItsVersion) {
  Scratch scratch;
  RunOptions o;
  o.temporaryParent = scratch.Temp();
  const RunResult r = RunEngine(DipoleDeck(), o);
  ASSERT_EQ(r.status, RunStatus::Finished) << r.message;
  EXPECT_NE(r.output.find("ANTENNA INPUT PARAMETERS"), std::string::npos);
  EXPECT_TRUE(scratch.TempEmpty());
  const EngineVersion v = QueryEngineVersion(o);
  ASSERT_TRUE(v.version) << v.message;
  EXPECT_EQ(v.version->rfind("nec2c ", 0), 0u) << *v.version;
}

// ---- a whole evaluation that cannot be done changes nothing ---------------

TEST(EvaluateFailureTest, EachFailureGivesNoSolutionAndNoFigures) {
  Scratch scratch;
  const Preset p = DipolePreset(14.2L, 10, std::nullopt, 0.001L, PerfectGround());
  Request q;
  q.structure = *BuildStructure(p.model, 14.2L).structure;
  q.frequencyMHz = 14.2L;
  q.power = {100, 100, 100};
  q.run.temporaryParent = scratch.Temp();

  struct Case {
    const char* name;
    std::function<void(Request&)> setUp;
    Status status;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"missing engine", [&](Request& r) { r.run.searchPath = scratch.Path().string(); },
       Status::EngineMissing, "nec2c"},
      {"time limit", [](Request& r) { r.run.timeLimit = std::chrono::milliseconds(0); },
       Status::TimedOut, "time limit"},
      {"output that is not the engine's",
       [&](Request& r) {
         // Answers -v, then writes something else as its output.
         r.run.program = scratch.Script(
             "impostor", "[ \"$1\" = -v ] && { echo 'nec2c 9'; exit 0; }\necho nonsense > \"$4\"");
       },
       Status::Unreadable, "not an output"},
      {"no frequency", [](Request& r) { r.frequencyMHz = 0; }, Status::Refused, "frequency"},
  };
  for (const Case& c : cases) {
    Request r = q;
    c.setUp(r);
    const Evaluation ev = Evaluate(r);
    EXPECT_EQ(ev.status, c.status) << c.name << ": " << ev.message;
    EXPECT_NE(ev.message.find(c.message), std::string::npos) << c.name << ": " << ev.message;
    EXPECT_FALSE(ev.solution) << c.name;
    EXPECT_TRUE(ev.results.empty()) << c.name;
    EXPECT_TRUE(scratch.TempEmpty()) << c.name;
  }
}

// ---- the output read back ------------------------------------------------------

// The source's row is read column by column: its impedance is V / I and its
// power half of Re(V I*), as the engine computes them, and the power budget
// agrees; the segments lie along the wire as the deck put it.
TEST(NecOutputTest, SourceRowAndSegmentsAreConsistent) {
  const Preset p = DipolePreset(7.1L, 12, std::nullopt, 0.002L, RealGround(13, 0.005L));
  const Structure s = support::StructureOf(p, 7.1L);
  const FieldRun run = support::RunOn(s, 7.1L, {}, true);
  ASSERT_EQ(run.output.sources.size(), 1u);
  const SourceRow& src = run.output.sources[0];
  EXPECT_EQ(src.tag, s.feed.tag);
  EXPECT_EQ(src.segment, s.feed.segment);
  const std::complex<Real> z = src.voltageV / src.currentA;
  EXPECT_NEAR(static_cast<double>(std::abs(z - src.impedanceOhm) / std::abs(z)), 0, 1e-3);
  const Real power = std::real(src.voltageV * std::conj(src.currentA)) / 2;
  EXPECT_NEAR(static_cast<double>(power / src.powerW), 1, 1e-3);
  ASSERT_TRUE(run.output.inputPowerW);
  EXPECT_NEAR(static_cast<double>(*run.output.inputPowerW / src.powerW), 1, 1e-3);
  ASSERT_EQ(static_cast<int>(run.output.segmentRows.size()), run.output.segments);
  const Real half = WavelengthM(7.1L) / 4;
  EXPECT_NEAR(static_cast<double>(run.output.segmentRows.front().From().x), -half, 1e-3);
  EXPECT_NEAR(static_cast<double>(run.output.segmentRows.back().To().x), half, 1e-3);
  for (const SegmentRow& r : run.output.segmentRows)
    EXPECT_NEAR(static_cast<double>(r.centre.z), 12, 1e-3);
  ASSERT_TRUE(run.output.peak);
  EXPECT_GT(run.output.peak->gainDbi, 2.15L);  // a dipole over ground gains from the reflection
  EXPECT_LT(run.output.peak->gainDbi, 9.0L);
}

struct ParseCase {
  const char* name;
  std::string text;
  bool readable;
  size_t points;  // in the first field table
};

class ParseOutputTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseOutputTest, ReadsOnlyItsTables) {
  const ParseCase& c = GetParam();
  const ParsedOutput p = ParseNecOutput(c.text);
  ASSERT_EQ(p.output.has_value(), c.readable) << p.problem;
  if (!c.readable) {
    EXPECT_FALSE(p.problem.empty());
    return;
  }
  ASSERT_FALSE(p.output->fields.empty());
  EXPECT_EQ(p.output->fields[0].points.size(), c.points);
}

const char* const kHeading = "  |  NUMERICAL ELECTROMAGNETICS CODE (nec2c) |\n";
const char* const kFieldHead =
    "   -------- NEAR ELECTRIC FIELDS --------\n"
    "  ------- LOCATION -------     ------- EX ------    ------- EY ------    ------- EZ ------\n"
    "   X         Y         Z       MAGNITUDE   PHASE    MAGNITUDE   PHASE    MAGNITUDE   PHASE\n"
    " METERS    METERS    METERS     VOLTS/M  DEGREES    VOLTS/M   DEGREES     VOLTS/M  DEGREES\n";

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseOutputTest,
    ::testing::Values(
        ParseCase{"NotTheEngines", "nonsense\n1 2 3 4 5 6 7 8 9\n", false, 0},
        // The engine's notes between points (Sommerfeld integration) are no points.
        ParseCase{"NotesBetweenPoints",
                  std::string(kHeading) + kFieldHead +
                      "  ROM2 -- STEP SIZE LIMITED AT Z = -1.13633E-02\n"
                      "    0.0000    0.0000    0.0000   0.0000E+00    0.00   1.2989E-01  -52.69   "
                      "9.7609E-01 -113.66\n"
                      "  ROM2 -- STEP SIZE LIMITED AT Z = -1.2E-02\n"
                      "    1.0000    0.0000    0.0000   7.3202E-02 -174.09   0.0000E+00    0.00   "
                      "1.5845E-01 -131.08\n",
                  true, 2},
        // A table ends at the next data card, whose numbers are not points.
        ParseCase{"EndsAtTheNextCard",
                  std::string(kHeading) + kFieldHead +
                      "   10.0000    0.0000    2.0000   2.8478E-11  -12.62   5.9730E-02   42.59   "
                      "5.6955E-12  -12.62\n"
                      "  DATA CARD No:   5 NH   0     1     1     3  1.00000E+01  0.00000E+00  "
                      "0.00000E+00  0.00000E+00  0.00000E+00  1.00000E+00\n",
                  true, 1},
        // A line cut short is not a point.
        ParseCase{"TruncatedLine",
                  std::string(kHeading) + kFieldHead +
                      "   10.0000    0.0000    2.0000   2.8478E-11  -12.62   5.9730E-02\n",
                  true, 0}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korrin::nearfield

// ---- the engine ends with its caller ---------------------------------------

namespace korrin::nearfield {
namespace {

// Waits until the file exists with a process number in it (up to 20 s).
bool AwaitPidFile(const std::string& pidFile) {
  for (int n = 0; n < 2000; ++n) {
    std::ifstream in(pidFile);
    long pid = 0;
    if (in >> pid && pid > 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// Whether the process of the file has gone within 5 s.
bool Ends(const std::string& pidFile) {
  for (int n = 0; n < 250 && ProcessAlive(pidFile); ++n) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return !ProcessAlive(pidFile);
}

class EngineEndsWithItsCallerTest : public ::testing::TestWithParam<int> {};

// A caller interrupted while its engine runs (a fake one that hangs, with a
// child of its own) ends by the same signal, only after the engine's
// whole process group is killed and its folder removed.
TEST_P(EngineEndsWithItsCallerTest, OnAnInterruptingSignal) {
  const int sig = GetParam();
  Scratch scratch;
  const std::string pidFile = (scratch.Path() / "child.pid").string();
  RunOptions o;
  o.temporaryParent = scratch.Temp();
  o.timeLimit = std::chrono::seconds(60);
  o.program = scratch.Script("hanging", "sleep 30 & echo $! > " + pidFile + "\nwait");
  const std::string deck = DipoleDeck();
  const pid_t caller = ::fork();
  ASSERT_GE(caller, 0);
  if (caller == 0) {
    EndEngineRunsOnSignals();
    RunEngine(deck, o);
    ::_exit(0);  // not reached: the signal ends it
  }
  ASSERT_TRUE(AwaitPidFile(pidFile));
  ::kill(caller, sig);
  int status = 0;
  ASSERT_EQ(::waitpid(caller, &status, 0), caller);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << "status " << status;
  EXPECT_TRUE(Ends(pidFile)) << "the engine's own child is still running";
  EXPECT_TRUE(scratch.TempEmpty()) << "the private folder was left behind";
}

INSTANTIATE_TEST_SUITE_P(Signals, EngineEndsWithItsCallerTest,
                         ::testing::Values(SIGINT, SIGTERM, SIGHUP));

// A caller that crashes (killed outright) takes its engine with it.
TEST(EngineEndsWithItsCallerTest, WhenTheCallerIsKilled) {
  Scratch scratch;
  const std::string pidFile = (scratch.Path() / "engine.pid").string();
  RunOptions o;
  o.temporaryParent = scratch.Temp();
  o.timeLimit = std::chrono::seconds(60);
  o.program = scratch.Script("hanging", "echo $$ > " + pidFile + "\nexec sleep 30");
  const std::string deck = DipoleDeck();
  const pid_t caller = ::fork();
  ASSERT_GE(caller, 0);
  if (caller == 0) {
    RunEngine(deck, o);
    ::_exit(0);
  }
  ASSERT_TRUE(AwaitPidFile(pidFile));
  ::kill(caller, SIGKILL);
  int status = 0;
  ASSERT_EQ(::waitpid(caller, &status, 0), caller);
  EXPECT_TRUE(Ends(pidFile)) << "the engine outlived its caller";
}

}  // namespace
}  // namespace korrin::nearfield
