// Runs the engine, nec2c, as a child process on a deck written into a
// private temporary folder, with a time limit after which the child is
// killed and no result is given.  The folder is removed whatever happens,
// and a child is never left running.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace korrin::nearfield {

struct RunOptions {
  std::string program = "nec2c";          // a name looked up in the search path, or a path with '/'
  std::optional<std::string> searchPath;  // folders as in PATH; empty: the environment's PATH
  // Each run's time limit; empty: EngineTimeLimit of the run's work (a
  // run whose work is not known gets the floor).
  std::optional<std::chrono::milliseconds> timeLimit;
  std::string temporaryParent;  // where the private folder is made; empty: $TMPDIR, else /tmp
  std::stop_token stop;         // a stop request ends the run as cancelled
  // Called about ten times a second while the engine runs, with the part of
  // `expectedOutputBytes` it has written so far (at most 1).
  std::function<void(double)> progress;
  std::size_t expectedOutputBytes = 0;
};

enum class RunStatus {
  Finished,     // the engine ended with status 0: `output` holds what it wrote
  NotFound,     // no such program
  CannotStart,  // the folder, the deck or the child could not be made
  TimedOut,     // killed at the time limit
  Cancelled,    // killed on a stop request
  Failed,       // the engine ended otherwise: `message` says how, with its own words
};

struct RunResult {
  RunStatus status = RunStatus::CannotStart;
  std::string output;                        // the engine's output file; empty unless Finished
  std::string message;                       // plain words; empty when Finished
  std::chrono::duration<double> elapsed{0};  // wall time of the child
};

RunResult RunEngine(std::string_view deck, const RunOptions& options);

// Makes SIGINT, SIGTERM and SIGHUP end the process only once every run of
// the engine under way has killed its engine (with its process group) and
// removed its folder, which each run does within a tenth of a second; with
// no run under way they end it at once.  For a program's main, before its
// threads start.  Besides, an engine is killed when the thread that
// started it ends (a crash of its caller included).
void EndEngineRunsOnSignals();

// The time a run of the engine is given on `segments` segments and
// `points` field points (near-field points and pattern directions): it
// only guards against a hung or runaway engine.  Two minutes at least, and
// 50 us per segment and point plus 20 ns per segment cubed (the matrix's
// solution): this machine's nec2c 1.3 takes about 0.7 us per segment and
// point, so a machine 10 times slower stays 7 times within it.
constexpr std::chrono::milliseconds kLeastEngineTimeLimit{std::chrono::minutes(2)};
std::chrono::milliseconds EngineTimeLimit(double segments, double points);

// The engine's name and version as it gives them ("nec2c 1.3"), from `-v`;
// empty with the reason in `message` when the program cannot be run.
struct EngineVersion {
  std::optional<std::string> version;
  RunStatus status = RunStatus::CannotStart;  // Finished when there is a version
  std::string message;
};
EngineVersion QueryEngineVersion(const RunOptions& options);

}  // namespace korrin::nearfield
