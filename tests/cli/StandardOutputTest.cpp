// The report's standard output checked to its end: a file that takes it
// all, and one that cannot (a full device, a descriptor already closed).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/report/StandardOutput.h"

namespace korrin::report {
namespace {

TEST(StandardOutputTest, AFileTakesTheWholeReport) {
  char name[] = "/tmp/korrin-stdout-XXXXXX";
  const int fd = ::mkstemp(name);
  ASSERT_GE(fd, 0);
  const std::string report(100000, 'r');
  EXPECT_EQ(WriteAndClose(fd, report), "");
  std::FILE* f = std::fopen(name, "rb");
  ASSERT_NE(f, nullptr);
  std::string back(report.size() + 1, '\0');
  EXPECT_EQ(std::fread(back.data(), 1, back.size(), f), report.size());
  std::fclose(f);
  ::unlink(name);
}

struct FailureCase {
  const char* what;
  int (*open)();
  const char* reason;
};

class StandardOutputFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(StandardOutputFailureTest, GivesTheSystemsReason) {
  const int fd = GetParam().open();
  EXPECT_EQ(WriteAndClose(fd, "the report\n"), GetParam().reason) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Cases, StandardOutputFailureTest,
                         ::testing::Values(FailureCase{"a full device",
                                                       [] { return ::open("/dev/full", O_WRONLY); },
                                                       "No space left on device"},
                                           FailureCase{"a closed descriptor",
                                                       [] {
                                                         const int fd =
                                                             ::open("/dev/null", O_WRONLY);
                                                         ::close(fd);
                                                         return fd;
                                                       },
                                                       "Bad file descriptor"}));

}  // namespace
}  // namespace korrin::report
