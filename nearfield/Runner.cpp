#include "nearfield/Runner.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "nearfield/Text.h"

extern char** environ;  // NOLINT(readability-redundant-declaration): POSIX declares it nowhere

namespace korrin::nearfield {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kWakeEvery{100};  // for progress, stop requests and the limit
// Runs of the engine under way in this process, and an interrupting signal
// noted while there were any (EndEngineRunsOnSignals).
std::atomic<int> g_runs{0};
volatile std::sig_atomic_t g_signal = 0;

// Ends the process by `sig` as if it had no handler.
void EndBy(int sig) {
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  ::sigaction(sig, &dfl, nullptr);
  ::raise(sig);
}

extern "C" void OnInterruptingSignal(int sig) {
  g_signal = sig;
  if (g_runs.load() == 0) EndBy(sig);
}

// Counts a run while it lasts: the last run to end after an interrupting
// signal (its engine killed, its folder removed) ends the process by it.
class RunCount {
 public:
  RunCount() { ++g_runs; }
  ~RunCount() {
    if (--g_runs == 0 && g_signal != 0) EndBy(g_signal);
  }
  RunCount(const RunCount&) = delete;
  RunCount& operator=(const RunCount&) = delete;
};

// How the engine's output echoes each card it reads.
constexpr std::string_view kCardEcho = "DATA CARD No:";

std::string ErrnoText(int error) {
  return std::strerror(error);
}

bool Executable(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The program's path, or empty when there is none to run.
std::string Resolve(const RunOptions& o) {
  if (o.program.empty()) return {};
  if (o.program.find('/') != std::string::npos) return Executable(o.program) ? o.program : "";
  std::string path;
  if (o.searchPath) {
    path = *o.searchPath;
  } else if (const char* env = std::getenv("PATH")) {
    path = env;
  }
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    std::string dir = path.substr(start, end - start);
    if (dir.empty()) dir = ".";
    std::string candidate = dir + "/" + o.program;
    if (Executable(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The last line of `text` that is not blank.
std::string LastLine(std::string_view text) {
  while (!text.empty()) {
    size_t start = text.find_last_of('\n', text.size() - 1);
    start = start == std::string_view::npos ? 0 : start + 1;
    const std::string_view line = Trim(text.substr(start));
    if (!line.empty()) return std::string(line);
    text = text.substr(0, start == 0 ? 0 : start - 1);
  }
  return {};
}

// A private folder, removed with everything in it when this goes.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& parent) {
    std::string base = parent;
    if (base.empty()) {
      const char* env = std::getenv("TMPDIR");
      base = env && *env ? env : "/tmp";
    }
    std::string pattern = base + "/korrin-nec-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) != nullptr) {
      path_ = buffer.data();
    } else {
      error_ = errno;
    }
  }
  ~TemporaryFolder() {
    if (!path_.empty()) {
      std::error_code ignored;
      fs::remove_all(path_, ignored);
    }
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  bool Made() const { return !path_.empty(); }
  int Error() const { return error_; }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
  int error_ = 0;
};

// A running child in its own process group; killed and reaped when this
// goes unless it was reaped before.
class Child {
 public:
  Child() = default;
  ~Child() {
    if (pid_ > 0) Kill();
    if (pidfd_ >= 0) ::close(pidfd_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Returns 0 or the error number of the failed start.  The child is
  // forked so that it can ask, before it runs the program, to be killed
  // when its parent ends (and end at once if the parent already has);
  // between the fork and the program only async-signal-safe calls.
  int Start(const std::string& path, const std::vector<std::string>& args, const fs::path& out,
            const fs::path& err) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const std::string outPath = out.string();
    const std::string errPath = err.string();
    int report[2];  // the child's exec error, if any; closed by a successful exec
    if (::pipe2(report, O_CLOEXEC) != 0) return errno;
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
      const int error = errno;
      ::close(report[0]);
      ::close(report[1]);
      return error;
    }
    if (pid == 0) {
      ::close(report[0]);
      // Its own process group, so that a kill reaches whatever it starts.
      ::setpgid(0, 0);
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (::getppid() != parent) ::_exit(127);
      // No signal blocked or ignored that the calling thread may have set.
      struct sigaction dfl {};
      dfl.sa_handler = SIG_DFL;
      for (int sig = 1; sig < NSIG; ++sig) ::sigaction(sig, &dfl, nullptr);
      sigset_t none;
      sigemptyset(&none);
      ::sigprocmask(SIG_SETMASK, &none, nullptr);
      const int in = ::open("/dev/null", O_RDONLY);
      const int o = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int e = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (in < 0 || o < 0 || e < 0 || ::dup2(in, 0) < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0) {
        const int error = errno;
        [[maybe_unused]] const auto n = ::write(report[1], &error, sizeof error);
        ::_exit(127);
      }
      ::execve(path.c_str(), argv.data(), environ);
      const int error = errno;
      [[maybe_unused]] const auto n = ::write(report[1], &error, sizeof error);
      ::_exit(127);
    }
    ::close(report[1]);
    ::setpgid(pid, pid);  // also here, so that a kill right away reaches the group
    int error = 0;
    ssize_t got = 0;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
      int status = 0;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      return error;
    }
    pid_ = pid;
    pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));  // -1: wait by polling
    return 0;
  }

  // Waits up to `slice` for the child to end; true when it has (and its
  // status is in `status`).
  bool WaitFor(std::chrono::milliseconds slice, int& status) {
    if (Reaped(status)) return true;
    if (pidfd_ >= 0) {
      pollfd p{pidfd_, POLLIN, 0};
      ::poll(&p, 1, static_cast<int>(slice.count()));
    } else {
      // Short naps first: most runs end within milliseconds.
      const auto until = Clock::now() + slice;
      auto nap = std::chrono::milliseconds(1);
      while (Clock::now() < until) {
        if (Reaped(status)) return true;
        std::this_thread::sleep_for(nap);
        nap = std::min(nap * 2, std::chrono::milliseconds(20));
      }
    }
    return Reaped(status);
  }

  void Kill() {
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = 0;
  }

 private:
  bool Reaped(int& status) {
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      pid_ = 0;
      return true;
    }
    return false;
  }

  pid_t pid_ = 0;
  int pidfd_ = -1;
};

struct Spawned {
  RunResult result;
  std::string standardOutput;
};

std::string Seconds(std::chrono::milliseconds ms) {
  std::ostringstream s;
  s << static_cast<double>(ms.count()) / 1000.0 << " s";
  return s.str();
}

// Runs `path` with `args` (after the program's own name) in `folder`; the
// output file, when there is one, is read only on a clean end.
Spawned Spawn(const std::string& path, const std::string& name,
              const std::vector<std::string>& args, const TemporaryFolder& folder,
              const fs::path& outputFile, const RunOptions& o) {
  Spawned s;
  RunResult& r = s.result;
  const fs::path out = folder.Path() / "stdout.txt";
  const fs::path err = folder.Path() / "stderr.txt";
  std::vector<std::string> argv{path};
  argv.insert(argv.end(), args.begin(), args.end());
  Child child;
  const auto start = Clock::now();
  if (const int error = child.Start(path, argv, out, err); error != 0) {
    r.status = RunStatus::CannotStart;
    r.message = name + " could not be started: " + ErrnoText(error);
    return s;
  }
  const std::chrono::milliseconds limit = o.timeLimit.value_or(kLeastEngineTimeLimit);
  const auto deadline = start + limit;
  int status = 0;
  for (;;) {
    const auto now = Clock::now();
    if (g_signal != 0) {
      child.Kill();
      r.status = RunStatus::Cancelled;
      r.message = name + " was stopped by signal " + std::to_string(g_signal) + "; no result";
      r.elapsed = Clock::now() - start;
      return s;
    }
    if (o.stop.stop_requested()) {
      child.Kill();
      r.status = RunStatus::Cancelled;
      r.message = name + " was stopped on request; no result";
      r.elapsed = Clock::now() - start;
      return s;
    }
    if (now >= deadline) {
      child.Kill();
      r.status = RunStatus::TimedOut;
      r.message = name + " did not finish within its time limit of " + Seconds(limit) +
                  " and was stopped; no result";
      r.elapsed = Clock::now() - start;
      return s;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now) +
                      std::chrono::milliseconds(1);
    if (child.WaitFor(std::min(kWakeEvery, left), status)) break;
    if (o.progress && o.expectedOutputBytes > 0 && !outputFile.empty()) {
      std::error_code ec;
      const auto size = fs::file_size(outputFile, ec);
      if (!ec) {
        o.progress(
            std::min(1.0, static_cast<double>(size) / static_cast<double>(o.expectedOutputBytes)));
      }
    }
  }
  r.elapsed = Clock::now() - start;
  s.standardOutput = ReadFile(out);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    r.status = RunStatus::Finished;
    if (!outputFile.empty()) r.output = ReadFile(outputFile);
    return s;
  }
  r.status = RunStatus::Failed;
  // Its own words: what it wrote on its error output, else the last line of
  // its output unless that is only the echo of a card it read.
  std::string said = LastLine(ReadFile(err));
  if (said.empty() && !outputFile.empty()) {
    said = LastLine(ReadFile(outputFile));
    if (said.rfind(kCardEcho, 0) == 0) said.clear();
  }
  if (WIFSIGNALED(status)) {
    r.message = name + " ended on signal " + std::to_string(WTERMSIG(status)) + " (" +
                strsignal(WTERMSIG(status)) + ")";
  } else {
    r.message = name + " stopped with exit status " + std::to_string(WEXITSTATUS(status));
  }
  if (!said.empty()) r.message += ": " + said;
  return s;
}

std::string NotFoundMessage(const RunOptions& o) {
  return "the NEC-2 engine \"" + o.program +
         "\" was not found; install it (the Debian package nec2c) to compute near fields";
}

}  // namespace

std::chrono::milliseconds EngineTimeLimit(double segments, double points) {
  constexpr double kSecondsPerSegmentPoint = 50e-6;
  constexpr double kSecondsPerSegmentCubed = 20e-9;
  constexpr double kMostSeconds = 1e7;  // no overflow on absurd work
  const double n = std::max(0.0, segments);
  const double work =
      kSecondsPerSegmentPoint * n * std::max(0.0, points) + kSecondsPerSegmentCubed * n * n * n;
  const double seconds = std::min(kMostSeconds, work);
  return std::max(kLeastEngineTimeLimit,
                  std::chrono::milliseconds(static_cast<long long>(std::ceil(seconds * 1000))));
}

void EndEngineRunsOnSignals() {
  struct sigaction action {};
  action.sa_handler = OnInterruptingSignal;
  sigemptyset(&action.sa_mask);
  for (const int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

RunResult RunEngine(std::string_view deck, const RunOptions& options) {
  const RunCount counted;  // declared first: it goes after the folder
  RunResult r;
  const std::string path = Resolve(options);
  if (path.empty()) {
    r.status = RunStatus::NotFound;
    r.message = NotFoundMessage(options);
    return r;
  }
  const TemporaryFolder folder(options.temporaryParent);
  if (!folder.Made()) {
    r.message = "no temporary folder for " + options.program + ": " + ErrnoText(folder.Error());
    return r;
  }
  const fs::path input = folder.Path() / "deck.nec";
  const fs::path output = folder.Path() / "deck.out";
  {
    std::ofstream file(input, std::ios::binary);
    file.write(deck.data(), static_cast<std::streamsize>(deck.size()));
    if (!file.flush()) {
      r.message = "the deck could not be written into " + folder.Path().string();
      return r;
    }
  }
  return Spawn(path, options.program, {"-i", input.string(), "-o", output.string()}, folder, output,
               options)
      .result;
}

EngineVersion QueryEngineVersion(const RunOptions& options) {
  const RunCount counted;
  EngineVersion v;
  const std::string path = Resolve(options);
  if (path.empty()) {
    v.status = RunStatus::NotFound;
    v.message = NotFoundMessage(options);
    return v;
  }
  const TemporaryFolder folder(options.temporaryParent);
  if (!folder.Made()) {
    v.message = "no temporary folder for " + options.program + ": " + ErrnoText(folder.Error());
    return v;
  }
  const Spawned s = Spawn(path, options.program, {"-v"}, folder, {}, options);
  v.status = s.result.status;
  if (s.result.status != RunStatus::Finished) {
    v.message = s.result.message;
    return v;
  }
  const std::string first{
      Trim(std::string_view(s.standardOutput)
               .substr(0, std::min(s.standardOutput.find('\n'), s.standardOutput.size())))};
  if (first.empty()) {
    v.status = RunStatus::Failed;
    v.message = options.program + " gave no version";
  } else {
    v.version = first;
  }
  return v;
}

}  // namespace korrin::nearfield
