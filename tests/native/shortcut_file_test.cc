// Reading shortcut files: what a shortcut starts, and damaged files that must not be read
// past their end.
#include "scan_cli/shortcut_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shortcut_bytes.h"

namespace velmora::scan_cli {
namespace {

TEST(ShortcutFile, ReadsTargetRelativePathAndArguments) {
  struct Case {
    const char* what;
    ShortcutSpec spec;
  };
  const std::vector<Case> cases = {
      {"UTF-16 strings after an item list",
       {"C:\\Windows\\System32\\cmd.exe", "..\\..\\Windows\\System32\\cmd.exe", "",
        "/c start \"\" \"_\\helper.vbs\" & start Docs"}},
      {"8-bit strings, no item list",
       {"C:\\Windows\\System32\\cmd.exe", "", "E:\\", "/c x.bat", false, false}},
      {"arguments only", {"", "", "", "rundll32 ~$W.dll,Start"}},
  };
  for (const Case& c : cases) {
    const std::optional<Shortcut> shortcut = ParseShortcut(ShortcutBytes(c.spec));
    ASSERT_TRUE(shortcut) << c.what;
    EXPECT_EQ(shortcut->target, c.spec.target) << c.what;
    EXPECT_EQ(shortcut->relative_path, c.spec.relative_path) << c.what;
    EXPECT_EQ(shortcut->working_directory, c.spec.working_directory) << c.what;
    EXPECT_EQ(shortcut->arguments, c.spec.arguments) << c.what;
  }
}

TEST(ShortcutFile, OtherFilesAreNoShortcuts) {
  EXPECT_FALSE(ParseShortcut(""));
  EXPECT_FALSE(ParseShortcut("[InternetShortcut]\r\nURL=file:///E:/x.exe\r\n"));
  std::string wrong_class = ShortcutBytes({"C:\\x.exe"});
  wrong_class[4] = 0x02;
  EXPECT_FALSE(ParseShortcut(wrong_class));
}

// Every cut of a valid file, and counts and offsets pointing far past its end, give what can
// be read and never more.
TEST(ShortcutFile, DamagedFilesAreReadOnlyWithinTheirBytes) {
  const ShortcutSpec spec{"C:\\Windows\\System32\\cmd.exe", "", "", "/c start x.vbs"};
  const std::string whole = ShortcutBytes(spec);
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const std::optional<Shortcut> cut = ParseShortcut(whole.substr(0, size));
    if (!cut) continue;
    EXPECT_EQ(spec.target.compare(0, cut->target.size(), cut->target), 0) << size;
    EXPECT_EQ(spec.arguments.compare(0, cut->arguments.size(), cut->arguments), 0) << size;
  }
  std::string huge_count = whole;
  const std::size_t arguments_count = whole.size() - 4 - 2 * spec.arguments.size() - 2;
  huge_count[arguments_count] = '\xFF';
  huge_count[arguments_count + 1] = '\xFF';
  const std::optional<Shortcut> counted = ParseShortcut(huge_count);
  ASSERT_TRUE(counted);
  EXPECT_EQ(counted->target, spec.target);
  EXPECT_EQ(counted->arguments, "");

  std::string huge_offset = whole;
  const std::size_t link_info = 0x4C + 2 + 6;
  huge_offset[link_info + 16] = '\xF0';  // local base path offset
  huge_offset[link_info + 17] = '\xFF';
  const std::optional<Shortcut> offset = ParseShortcut(huge_offset);
  ASSERT_TRUE(offset);
  EXPECT_EQ(offset->target, "");
  EXPECT_EQ(offset->arguments, spec.arguments);
}

}  // namespace
}  // namespace velmora::scan_cli
