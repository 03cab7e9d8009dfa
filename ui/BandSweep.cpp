#include "ui/BandSweep.h"

#include <vector>

#include "ui/Controls.h"
#include "ui/HeadlessPlatform.h"

namespace korrin {

namespace {

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

void SweepBands(const TForm1& form, const BandVisitor& visit) {
  const bool vhfShf = form.State().ShfBandsShown;
  const std::string group = vhfShf ? "RadioGroup1" : "RadioGroup8";
  void (TForm1::*click)() = vhfShf ? &TForm1::RadioGroup1Click : &TForm1::RadioGroup8Click;

  // Messages of the clicks go to a platform of the copy's own.
  HeadlessPlatform platform;
  TForm1 copy(platform, form.Locale());
  const std::vector<std::string>& items = ControlNamed(group).items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    copy.State() = form.State();
    copy.Board() = form.Board();
    platform.messages.clear();
    copy.Board()[group].itemIndex = static_cast<int>(i);
    (copy.*click)();
    visit(BandVisit{vhfShf, i, Trim(items[i])}, copy);
  }
}

}  // namespace korrin
