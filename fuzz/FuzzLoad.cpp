// Feeds arbitrary bytes to Get Data as a station file, through the same
// path as the window: the open dialog answers with a file holding the
// bytes.  The window must either refuse the file with a warning and the
// station untouched, or load a station that calculates (every real finite,
// no "nan" or "inf" on display, exactly one antenna, side and standard),
// also after the side switch is used on it.  Anything else aborts.
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "io/StationRecord.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace {

using namespace korrin;

struct Harness {
  HeadlessPlatform platform;
  TForm1 startUp{platform};  // copied for every input
  std::string path;

  Harness() {
    startUp.FormActivate();
    path = (std::filesystem::temp_directory_path() /
            ("korrin-fuzz-" + std::to_string(::getpid()) + ".rsd"))
               .string();
  }
};

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "station file fuzzer: %s\n", what);
  std::abort();
}

bool ShowsNonNumber(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* word : {"nan", "inf"}) {
    for (std::size_t at = lower.find(word); at != std::string::npos;
         at = lower.find(word, at + 1)) {
      const bool before = at > 0 && std::isalpha(static_cast<unsigned char>(lower[at - 1]));
      const bool after =
          at + 3 < lower.size() && std::isalpha(static_cast<unsigned char>(lower[at + 3]));
      if (!before && !after) return true;
    }
  }
  return false;
}

void RequireCalculable(const TForm1& form) {
  const StationState& s = form.State();
  Require(FirstNonFiniteField(s) == nullptr, "a real of the loaded station is not finite");
  Require(s.DishSelected + s.YagiSelected + s.LowGainSelected == 1, "not exactly one antenna");
  Require(s.ShfBandsShown != s.HfBandsShown, "not exactly one band side");
  Require(s.StandardAS2772 + s.StandardARPANSA + s.StandardFCC + s.StandardVariable == 1,
          "not exactly one standard");
  for (const std::string& name : form.Board().names()) {
    Require(!ShowsNonNumber(form.Board().at(name).text), "a display shows nan or inf");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness h;
  {
    std::ofstream out(h.path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Require(static_cast<bool>(out), "the input could not be written to a file");
  }
  TForm1 form(h.startUp);
  const StationState before = form.State();
  h.platform.messages.clear();
  h.platform.dialogAnswers = {h.path};
  form.Get_FileClick();

  if (!h.platform.messages.empty()) {
    Require(h.platform.messages.size() == 1, "more than one message for one load");
    Require(h.platform.messages[0].kind == MessageKind::Warning, "a refusal that is no warning");
    Require(SameStation(before, form.State()), "a refused file changed the station");
    return 0;
  }
  RequireCalculable(form);
  // The loaded station keeps calculating on the other side and back.
  if (form.State().ShfBandsShown) {
    form.HF_SelectClick();
    form.SHF_SelectClick();
  } else {
    form.SHF_SelectClick();
    form.HF_SelectClick();
  }
  RequireCalculable(form);
  return 0;
}
