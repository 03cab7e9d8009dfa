// The one writer every file goes through: whole or not at all, never through
// a fixed temporary name, through links to their targets, keeping the mode.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "io/AtomicFile.h"
#include "tests/unit/SmallDisk.h"
#include "tests/unit/StationFileTestSupport.h"

namespace korrin {
namespace {

using namespace testing_support;

std::string ReadText(const std::string& path) {
  const auto bytes = ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// Every entry of the folder, so that a temporary file left behind shows.
std::vector<std::string> Entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

struct WriteCase {
  const char* what;
  std::function<void(const TempDir&)> before;              // what the folder holds first
  const char* written;                                     // the name the writer is given
  std::vector<std::pair<const char*, const char*>> after;  // file and its text after
  std::vector<std::string> entries;                        // the folder after
};

class AtomicWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(AtomicWriteTest, WritesTheWholeFileAndNothingElse) {
  const WriteCase& c = GetParam();
  TempDir dir;
  c.before(dir);
  EXPECT_EQ(WriteFileAtomically(dir / c.written, "new contents"), std::nullopt) << c.what;
  for (const auto& [file, text] : c.after) {
    EXPECT_EQ(ReadText(dir / file), text) << c.what << ": " << file;
  }
  EXPECT_EQ(Entries(dir.path()), c.entries) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AtomicWriteTest,
    ::testing::Values(
        WriteCase{"a new file",
                  [](const TempDir&) {},
                  "out.toml",
                  {{"out.toml", "new contents"}},
                  {"out.toml"}},
        WriteCase{"an old file replaced whole",
                  [](const TempDir& d) { WriteText(d / "out.toml", std::string(5000, 'o')); },
                  "out.toml",
                  {{"out.toml", "new contents"}},
                  {"out.toml"}},
        WriteCase{"the user's own OUT.tmp is not touched",
                  [](const TempDir& d) { WriteText(d / "out.toml.tmp", "mine"); },
                  "out.toml",
                  {{"out.toml", "new contents"}, {"out.toml.tmp", "mine"}},
                  {"out.toml", "out.toml.tmp"}},
        WriteCase{"a link planted at OUT.tmp is not followed",
                  [](const TempDir& d) {
                    WriteText(d / "victim", "precious");
                    fs::create_symlink(d / "victim", d / "out.toml.tmp");
                  },
                  "out.toml",
                  {{"out.toml", "new contents"}, {"victim", "precious"}},
                  {"out.toml", "out.toml.tmp", "victim"}},
        WriteCase{"through a link, the link's target is written and the link kept",
                  [](const TempDir& d) {
                    fs::create_directory(d / "real");
                    WriteText(d / "real/station.toml", "old");
                    fs::create_symlink("real/station.toml", d / "link.toml");
                  },
                  "link.toml",
                  {{"real/station.toml", "new contents"}, {"link.toml", "new contents"}},
                  {"link.toml", "real"}},
        WriteCase{"through two links, to a file not there yet",
                  [](const TempDir& d) {
                    fs::create_symlink("second", d / "first");
                    fs::create_symlink(d / "made", d / "second");
                  },
                  "first",
                  {{"made", "new contents"}},
                  {"first", "made", "second"}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(AtomicFileTest, ALinkStaysALink) {
  TempDir dir;
  WriteText(dir / "real.toml", "old");
  fs::create_symlink("real.toml", dir / "link.toml");
  ASSERT_EQ(WriteFileAtomically(dir / "link.toml", "new"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(dir / "link.toml"));
  EXPECT_EQ(fs::read_symlink(dir / "link.toml"), "real.toml");
}

TEST(AtomicFileTest, KeepsTheModeOfTheFileItReplaces) {
  TempDir dir;
  for (const mode_t mode : {0600, 0640, 0604, 0755}) {
    const std::string path = dir / ("m" + std::to_string(mode));
    WriteText(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_EQ(WriteFileAtomically(path, "new"), std::nullopt);
    EXPECT_EQ(ModeOf(path), mode) << std::oct << mode;
  }
  // A new file as the user's mask makes it, not the temporary file's 0600.
  const mode_t mask = ::umask(022);
  ASSERT_EQ(WriteFileAtomically(dir / "fresh", "new"), std::nullopt);
  ::umask(mask);
  EXPECT_EQ(ModeOf(dir / "fresh"), 0644u);
}

struct FailureCase {
  const char* what;
  std::function<void(const TempDir&)> before;
  const char* written;
  const char* reason;  // part of the message
};

class AtomicWriteFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(AtomicWriteFailureTest, SaysWhyAndLeavesEverythingAsItWas) {
  const FailureCase& c = GetParam();
  TempDir dir;
  c.before(dir);
  const auto entriesBefore = Entries(dir.path());
  const auto error = WriteFileAtomically(dir / c.written, "new contents");
  ASSERT_TRUE(error.has_value()) << c.what;
  EXPECT_NE(error->find(c.reason), std::string::npos) << c.what << ": " << *error;
  EXPECT_EQ(error->find("Unknown error"), std::string::npos) << *error;
  EXPECT_EQ(Entries(dir.path()), entriesBefore) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AtomicWriteFailureTest,
    ::testing::Values(
        FailureCase{"no such folder", [](const TempDir&) {}, "none/out.toml",
                    "No such file or directory"},
        FailureCase{"a folder of that name",
                    [](const TempDir& d) { fs::create_directory(d / "out.toml"); }, "out.toml",
                    "a folder has that name"},
        FailureCase{"a pipe of that name",
                    [](const TempDir& d) { ::mkfifo((d / "out.toml").c_str(), 0600); }, "out.toml",
                    "not a regular file"},
        FailureCase{"links in a loop",
                    [](const TempDir& d) {
                      fs::create_symlink("b", d / "a");
                      fs::create_symlink("a", d / "b");
                    },
                    "a", "Too many levels of symbolic links"},
        FailureCase{"the folder is a file", [](const TempDir& d) { WriteText(d / "plain", "x"); },
                    "plain/out.toml", "Not a directory"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(AtomicFileTest, AFullDiskKeepsTheOldFileAndSaysSo) {
  SmallDisk disk(64);
  if (!disk.Mounted()) GTEST_SKIP() << disk.Reason();
  const std::string old = std::string(2000, 'o');
  WriteText(disk / "station.toml", old);
  disk.Fill();
  const auto error = WriteFileAtomically(disk / "station.toml", std::string(100000, 'n'));
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(*error, "No space left on device");
  EXPECT_EQ(ReadText(disk / "station.toml"), old);
  // Nothing but the file and the filler: no temporary file left behind.
  EXPECT_EQ(Entries(fs::path(disk / "")), (std::vector<std::string>{"filler", "station.toml"}));
}

// Many writers of one file at once: whichever wins, the file is one of them
// whole, and every writer that said it succeeded wrote a whole file.
TEST(AtomicFileTest, ConcurrentWritersNeverMixTheirFiles) {
  TempDir dir;
  const std::string path = dir / "shared.toml";
  constexpr int kWriters = 8;
  constexpr int kWrites = 25;
  std::vector<std::string> contents;
  contents.reserve(kWriters);
  for (int w = 0; w < kWriters; ++w) contents.push_back(std::string(20000 + w, char('a' + w)));
  std::vector<int> failures(kWriters, 0);
  std::vector<std::thread> writers;
  writers.reserve(kWriters);
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&, w] {
      for (int i = 0; i < kWrites; ++i) {
        if (WriteFileAtomically(path, contents[static_cast<std::size_t>(w)])) ++failures[w];
      }
    });
  }
  for (auto& t : writers) t.join();
  EXPECT_EQ(failures, std::vector<int>(kWriters, 0));
  const std::string final = ReadText(path);
  EXPECT_NE(std::find(contents.begin(), contents.end(), final), contents.end())
      << "the file is no writer's whole contents (" << final.size() << " bytes)";
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"shared.toml"});
}

}  // namespace
}  // namespace korrin
