// The win32 file-system adapter on a real temporary tree whose attributes are set with
// SetFileAttributesA, and the engine walking it, up to and past MAX_PATH.
#include "platform/file_system_win32.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "native/scan_fixture.h"
#include "temp_tree_win32.h"

namespace velmora::platform {
namespace {

using Strings = std::vector<std::string>;

// Every entry one search yields, as "name=attributes", the archive bit left out: the platform
// sets it on new files, Wine on every file.
Strings SearchAll(FileSystem& files, const std::string& directory, const std::string& wildcard,
                  std::uint32_t mask) {
  Strings yielded;
  auto search = files.StartSearch(directory, wildcard, mask);
  if (!search) return yielded;
  DirectoryEntry entry;
  while (search->Next(entry)) {
    yielded.push_back(entry.name + "=" +
                      std::to_string(entry.attributes & ~FILE_ATTRIBUTE_ARCHIVE));
  }
  std::sort(yielded.begin(), yielded.end());
  return yielded;
}

constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD kSystem = FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;

// The engine's controls come from the native fixture; the tree is a real one.
class FileSystemWin32 : public search::ScanTest {
 protected:
  FileSystemWin32() {
    tree_.File("plain.txt");
    tree_.File("hidden.exe", kHidden);
    tree_.File("system.sys", kSystem);
    tree_.File("hidden-system.exe", kHidden | kSystem);
    tree_.File("locked.txt", kReadOnly);
    tree_.File("locked-hidden.js", kReadOnly | kHidden);
    tree_.Directory("folder");
    tree_.Directory("hidden-folder", kHidden);
    tree_.Directory("system-folder", kSystem);
  }

  TempTree tree_;
  Win32FileSystem win32_;
};

TEST_F(FileSystemWin32, EveryEntryComesWithItsAttributeWordAndTheQueryAgrees) {
  const Strings all = SearchAll(win32_, tree_.root(), "*.*", 63);
  EXPECT_EQ(all, (Strings{"..=16", ".=16", "folder=16", "hidden-folder=18", "hidden-system.exe=6",
                          "hidden.exe=2", "locked-hidden.js=3", "locked.txt=1", "plain.txt=0",
                          "system-folder=20", "system.sys=4"}));
  for (const char* name : {"hidden.exe", "locked-hidden.js", "hidden-folder", "system.sys"}) {
    auto search = win32_.StartSearch(tree_.root(), name, 63);
    ASSERT_NE(search, nullptr) << name;
    DirectoryEntry entry;
    ASSERT_TRUE(search->Next(entry));
    EXPECT_EQ(win32_.QueryAttributes(tree_.root() + name), entry.attributes) << name;
  }
  EXPECT_EQ(win32_.QueryAttributes(tree_.root() + "missing"), kInvalidAttributes);
}

TEST_F(FileSystemWin32, DirectoryMaskPassesOverHiddenAndSystemEntries) {
  EXPECT_EQ(SearchAll(win32_, tree_.root(), "*.*", 16),
            (Strings{"..=16", ".=16", "folder=16", "locked.txt=1", "plain.txt=0"}));
  // Nothing left to yield: the search does not start.
  EXPECT_EQ(win32_.StartSearch(tree_.root(), "*.exe", 16), nullptr);
  EXPECT_EQ(SearchAll(win32_, tree_.root(), "*.exe", 2), (Strings{"hidden.exe=2"}));
  EXPECT_EQ(win32_.StartSearch(tree_.root() + "absent\\", "*.*", 63), nullptr);
}

TEST_F(FileSystemWin32, EngineListsThreatsAndStopsAtMaxPath) {
  tree_.File("autorun.inf", kHidden | kSystem);
  tree_.File("folder\\Setup.exe", kHidden);
  tree_.File("hidden-folder\\autorun.inf");  // never entered
  // Directories down to the last whose pattern still fits in MAX_PATH.
  std::string deep;
  while (tree_.root().size() + deep.size() + 51 + 3 < MAX_PATH) {
    deep += std::string(50, 'd') + "\\";
    tree_.Directory(deep.substr(0, deep.size() - 1));
  }
  const std::string last_fit =
      deep + std::string(MAX_PATH - 4 - tree_.root().size() - deep.size() - 1, 'e');
  tree_.Directory(last_fit);
  const std::string last_directory = tree_.root() + last_fit + "\\";
  ASSERT_LT(last_directory.size() + 3, static_cast<std::size_t>(MAX_PATH));
  tree_.File(last_fit + "\\x.vbs");
  // Its own path is too long to query, but its directory could be searched.
  const std::string too_long_name = std::string(30, 'n') + ".inf";
  tree_.File(last_fit + "\\" + too_long_name);
  // One level more, and the whole path is 300 characters.
  const std::string beyond = last_fit + "\\" + std::string(300 - last_directory.size() - 12, 'b');
  tree_.Directory(beyond);
  tree_.File(beyond + "\\autorun.inf");
  ASSERT_EQ((tree_.root() + beyond + "\\autorun.inf").size(), 300u);

  EXPECT_EQ(win32_.QueryAttributes(last_directory + too_long_name), kInvalidAttributes);
  EXPECT_EQ(win32_.StartSearch(tree_.root() + beyond + "\\", "*.*", 63), nullptr);

  search::ThreatScanner scanner(win32_, clock_, form_, search::VolumeStatusSlot::Of(form_),
                                search::DriveStatusSlot::Of(form_));
  scanner.SearchFiles(tree_.root() + "*.*", list_, search::ScanMode::kVolumePanel, 63);
  Strings captions = Captions();
  std::sort(captions.begin(), captions.end());
  // Hidden (2 or 34) and hidden read-only (3 or 35) qualify; hidden system (6) does not.
  Strings expected = {tree_.root() + "autorun.inf",   tree_.root() + "folder\\Setup.exe",
                      tree_.root() + "hidden.exe",    tree_.root() + "locked-hidden.js",
                      last_directory + too_long_name, last_directory + "x.vbs"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(captions, expected);
  EXPECT_EQ(VolumeSlot(), search::kVolumeInfected);
}

}  // namespace
}  // namespace velmora::platform
