// The window's control table and handler table agree with each other.
#include <gtest/gtest.h>

#include <set>

#include "ui/Controls.h"
#include "ui/Handlers.h"

namespace korrin {
namespace {

TEST(ControlsTest, NamesAreUniqueAndParentsComeFirst) {
  std::set<std::string> seen;
  for (const ControlDecl& c : MainWindowControls()) {
    EXPECT_TRUE(seen.insert(c.name).second) << "declared twice: " << c.name;
    if (!c.parent.empty()) {
      EXPECT_TRUE(seen.count(c.parent)) << c.name << " before " << c.parent;
    }
  }
}

// Every control is found by its own name, and a name the window does not
// have finds nothing (or the empty declaration).
TEST(ControlsTest, ControlsAreFoundByName) {
  for (const ControlDecl& c : MainWindowControls()) {
    EXPECT_EQ(FindControl(c.name), &c) << c.name;
    EXPECT_EQ(&ControlNamed(c.name), &c) << c.name;
  }
  for (const char* absent : {"", "Panel", "panel64", "Panel64 ", "NoSuchControl"}) {
    EXPECT_EQ(FindControl(absent), nullptr) << absent;
    const ControlDecl& none = ControlNamed(absent);
    EXPECT_TRUE(none.name.empty() && none.caption.empty() && none.items.empty()) << absent;
  }
}

TEST(ControlsTest, EveryHandlerBelongsToADeclaredControlOfTheRightKind) {
  std::set<std::string> names;
  ControlBoard board;
  DeclareMainWindow(board);
  for (const HandlerEntry& h : AllHandlers()) {
    EXPECT_TRUE(names.insert(h.name).second) << "handler listed twice: " << h.name;
    ASSERT_TRUE(board.has(h.control)) << h.name;
    const ControlDecl* decl = FindControl(h.control);
    ASSERT_NE(decl, nullptr);
    const bool spin = decl->kind == ControlKind::SpinButton;
    EXPECT_EQ(spin, h.event == ControlEvent::Up || h.event == ControlEvent::Down) << h.name;
    EXPECT_EQ(FindHandler(h.name), &h);
  }
  EXPECT_EQ(FindHandler("NoSuchClick"), nullptr);
  EXPECT_STREQ(FindHandler("SpinButton4", ControlEvent::Up)->name, "PathLossUpClick");
}

TEST(ControlsTest, EverySpinButtonHasBothHandlers) {
  for (const ControlDecl& c : MainWindowControls()) {
    if (c.kind != ControlKind::SpinButton) continue;
    EXPECT_NE(FindHandler(c.name, ControlEvent::Up), nullptr) << c.name;
    EXPECT_NE(FindHandler(c.name, ControlEvent::Down), nullptr) << c.name;
  }
}

TEST(ControlsTest, RadioGroupItems) {
  const std::pair<const char*, size_t> groups[] = {
      {"RadioGroup1", 12}, {"RadioGroup8", 9},  {"RadioGroup2", 8},  {"RadioGroup3", 5},
      {"RadioGroup4", 10}, {"RadioGroup5", 10}, {"RadioGroup6", 10}, {"RadioGroup7", 10}};
  for (const auto& [name, count] : groups) {
    bool found = false;
    for (const ControlDecl& c : MainWindowControls()) {
      if (c.name != name) continue;
      found = true;
      EXPECT_EQ(c.kind, ControlKind::RadioGroup);
      EXPECT_EQ(c.items.size(), count) << name;
    }
    EXPECT_TRUE(found) << name;
  }
}

}  // namespace
}  // namespace korrin
