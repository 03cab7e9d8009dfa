// A full disk for the tests: a small tmpfs mounted on a fresh folder where
// the machine allows it (as root, in CI), removed with the folder.  Where it
// cannot be made, `Reason()` says why and the test skips with it.
#pragma once

#include <sys/mount.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "tests/unit/StationFileTestSupport.h"

namespace korrin::testing_support {

class SmallDisk {
 public:
  // `kilobytes`: the tmpfs's whole size.
  explicit SmallDisk(int kilobytes = 64) {
    const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0777";
    if (::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) == 0) {
      mounted_ = true;
    } else {
      reason_ = "a small tmpfs could not be mounted on " + dir_.path().string() + " (" +
                std::generic_category().message(errno) +
                "): run the tests as root to try writing to a full disk";
    }
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Reason() const { return reason_; }
  std::string operator/(const std::string& name) const { return dir_ / name; }

  // Fills the disk to its last byte with a file of that name.
  void Fill(const std::string& name = "filler") const {
    std::FILE* f = std::fopen((dir_ / name).c_str(), "wb");
    if (f == nullptr) return;
    const std::string block(1024, 'x');
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
    }
    // The last partial block, byte by byte.
    while (std::fputc('x', f) != EOF && std::fflush(f) == 0) {
    }
    std::fclose(f);
  }

 private:
  TempDir dir_;
  bool mounted_ = false;
  std::string reason_;
};

}  // namespace korrin::testing_support
