// The registry page's protection-level panel: the slider's moves and what the memo then says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frmain_fixture.h"
#include "main/frmain.h"

namespace velmora::main {
namespace {

constexpr char kInitialText[] =
    "High Security Level can Protect the \r\nregistry 100 % and delete any new \r\nPrograms";
constexpr char kHigh[] =
    "\nHigh Security Level can Protect the registry 100 % and delete any new Programs";
constexpr char kMedium[] =
    "\nA Medium Security ! Registry Protection anti Virus and malware The program will ask the "
    "user's permission to accept the new program or Delete it";
constexpr char kLow[] =
    "\nLow Security Registry Protection Anti Virus This option will alert user's when new "
    "software install in regedit  ";

class FrmainProtectionLevelTest : public FrmainTest {
 protected:
  ui::TrackBar& slider() { return frmain_->LevelSecure; }
  const std::string& memo() { return frmain_->MemDescription.text(); }
};

// One walk over the slider: each step's position and the memo after it.
TEST_F(FrmainProtectionLevelTest, EachMoveReplacesTheMemoWithThatLevelsDescription) {
  Start();
  EXPECT_EQ(memo(), kInitialText) << "the start raised the change event";
  struct Step {
    int position;
    const char* memo;
  };
  const Step steps[] = {
      {1, kMedium}, {0, kHigh},     // the one-line text, not the form's own three lines
      {2, kLow},    {3, kLow},      // past the end: the memo stays
      {1, kMedium}, {-1, kMedium},  // before the start: the memo stays
      {0, kHigh},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.position);
    slider().UserMove(step.position);
    EXPECT_EQ(memo(), step.memo);
  }
}

TEST_F(FrmainProtectionLevelTest, TheLowLevelTextEndsInTwoBlanks) {
  Start();
  slider().UserMove(2);
  ASSERT_GE(memo().size(), 3u);
  EXPECT_EQ(memo().substr(memo().size() - 3), "t  ");
  EXPECT_EQ(memo().front(), '\n');
}

TEST_F(FrmainProtectionLevelTest, CheckBoxesOnlyTick) {
  Start();
  slider().UserMove(1);
  const std::size_t opens = registry_.open_calls().size();
  for (const char* name : {"ChckAntiDesableRegedit", "ChCkAntiDesableTaskManager",
                           "ChckAntiDeactiveFireWall", "ChCkAntiDesableFOpt"}) {
    SCOPED_TRACE(name);
    auto& box = frmain_->form().Get<ui::CheckBox>(name);
    box.UserToggle();
    EXPECT_TRUE(box.checked());
    box.UserToggle();
    EXPECT_FALSE(box.checked());
  }
  EXPECT_EQ(slider().position(), 1);
  EXPECT_EQ(memo(), kMedium);
  EXPECT_EQ(registry_.open_calls().size(), opens);
  EXPECT_TRUE(backend_.shown_errors().empty());
}

}  // namespace
}  // namespace velmora::main
