// The threat actions and the quarantine on real files through the wide-character adapter:
// a scratch folder of the temp folder, and a second drive letter mapped onto part of it.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "actions/file_threat_actions.h"
#include "platform/error_text_win32.h"
#include "platform/files_win32.h"
#include "platform/sha256.h"
#include "platform/unique_handle_win32.h"
#include "probe.h"
#include "quarantine/quarantine_store.h"

namespace velmora::actions {
namespace {

using platform::NativePath;
using ::testing::AllOf;
using ::testing::HasSubstr;

constexpr DWORD kHiddenSystemReadOnly =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

std::wstring Wide(const NativePath& path) { return std::wstring(path.begin(), path.end()); }
NativePath Native(const std::wstring& path) { return NativePath(path.begin(), path.end()); }
std::wstring Exact(const std::wstring& path) { return L"\\\\?\\" + path; }

// A path as the scan lists it: the folder's ANSI listing gives the name.
std::string Listed(const std::wstring& path) {
  const int size = ::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string listed(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, listed.data(), size, nullptr, nullptr);
  listed.pop_back();
  return listed;
}

// The names an ANSI search of `folder` (with its backslash) yields, "." and ".." left out.
std::set<std::string> AnsiNames(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA data;
  platform::UniqueFindHandle search(::FindFirstFileA((folder + "*").c_str(), &data));
  if (!search) return names;
  do {
    const std::string name = data.cFileName;
    if (name != "." && name != "..") names.insert(name);
  } while (::FindNextFileA(search.get(), &data));
  return names;
}

DWORD AttributesOf(const std::wstring& path) { return ::GetFileAttributesW(Exact(path).c_str()); }

std::string BytesOf(const std::wstring& path) {
  platform::Win32Files files;
  std::string bytes;
  files.ReadWholeFile(Native(path), bytes);
  return bytes;
}

FILETIME ModifiedOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ::GetFileAttributesExW(Exact(path).c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

// A folder of the temp folder, removed with what the test left in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"velmora-actions-" + std::to_wstring(::GetCurrentProcessId()) +
            L"-" + std::to_wstring(::GetTickCount()) + L"\\";
    EXPECT_TRUE(::CreateDirectoryW(root_.c_str(), nullptr));
  }
  ~ScratchFolder() { RemoveTree(root_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& root() const { return root_; }

  static void File(const std::wstring& path, const std::string& bytes = "x", DWORD attributes = 0) {
    platform::UniqueFileHandle file(::CreateFileW(Exact(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << Listed(path);
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    file.reset();
    if (attributes != 0) {
      ASSERT_TRUE(::SetFileAttributesW(Exact(path).c_str(), attributes));
    }
  }
  static void Folder(const std::wstring& path, DWORD attributes = 0) {
    ASSERT_TRUE(::CreateDirectoryW(Exact(path).c_str(), nullptr)) << Listed(path);
    if (attributes != 0) {
      ASSERT_TRUE(::SetFileAttributesW(Exact(path).c_str(), attributes));
    }
  }

 private:
  // Only this test's own folder is ever removed with its contents.
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    platform::UniqueFindHandle search(::FindFirstFileW(Exact(folder + L"*").c_str(), &data));
    if (search) {
      do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + name;
        ::SetFileAttributesW(Exact(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(path + L"\\");
        } else {
          ::DeleteFileW(Exact(path).c_str());
        }
      } while (::FindNextFileW(search.get(), &data));
    }
    search.reset();
    ::RemoveDirectoryW(Exact(folder).c_str());
  }

  std::wstring root_;
};

// A drive letter no one uses, mapped onto a folder for the test's lifetime.
class MappedDrive {
 public:
  explicit MappedDrive(const std::wstring& folder) {
    const DWORD used = ::GetLogicalDrives();
    for (char letter = 'T'; letter <= 'Y'; ++letter) {
      if (used & (1u << (letter - 'A'))) continue;
      if (probe::DefineUnixDrive(letter, probe::ToUnixPath(Listed(folder)), DRIVE_REMOVABLE)) {
        letter_ = letter;
      }
      break;
    }
  }
  ~MappedDrive() {
    if (letter_ != 0) probe::UndefineDrive(letter_);
  }
  MappedDrive(const MappedDrive&) = delete;
  MappedDrive& operator=(const MappedDrive&) = delete;

  char letter() const { return letter_; }
  std::wstring root() const { return {static_cast<wchar_t>(letter_), L':', L'\\'}; }

 private:
  char letter_ = 0;
};

// Makes a file in `folder` whose Unix name holds raw bytes (`printf_name` in the shell's printf
// notation, "caf\\351.vbs"), as a stick written on another system carries them. Only a Unix
// program can: Wine starts one and returns before it ends, so this waits for the file.
bool MakeRawNamedFile(const std::wstring& folder, const std::string& printf_name) {
  const std::size_t before = AnsiNames(Listed(folder)).size();
  const std::string unix_folder = probe::ToUnixPath(Listed(folder));
  std::string command =
      "sh -c \"printf x > '" + unix_folder + "/'$(printf '" + printf_name + "')\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const std::string shell = probe::ToWindowsPath("/bin/sh");
  if (!::CreateProcessA(shell.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return false;
  }
  platform::UniqueKernelHandle thread(process.hThread);
  platform::UniqueKernelHandle child(process.hProcess);
  std::vector<platform::FolderEntry> entries;
  platform::Win32Files files;
  for (int tries = 0; tries < 200; ++tries) {
    files.ListFolder(Native(folder), entries);
    if (entries.size() > before) return true;
    ::Sleep(25);
  }
  return false;
}

class FileThreatActionsWin32 : public ::testing::Test {
 protected:
  ActionOutcome Apply(ThreatAction action, const std::wstring& path) {
    return actions_.Apply(action, Listed(path));
  }

  ScratchFolder scratch_;
  const std::wstring& root_ = scratch_.root();
  platform::Win32Files files_;
  quarantine::QuarantineStore store_{files_, Native(root_ + L"Velmora\\Quarantine"),
                                     platform::SystemTimeTicks};
  FileThreatActions actions_{files_, &store_};
};

TEST_F(FileThreatActionsWin32, ListedNamesAreWhatTheAnsiSearchYields) {
  const std::vector<std::wstring> names = {
      L"plain.txt",    L"caf\u00e9.vbs", L"caf\u4e2d\u6587.vbs",   L"\u0100bc.exe",
      L"autorun.inf.", L"run.vbs  ",     L"\u00c6\u00f8\u20ac.lnk"};
  for (const std::wstring& name : names) ScratchFolder::File(root_ + name);

  std::vector<platform::FolderEntry> entries;
  ASSERT_EQ(files_.ListFolder(Native(root_), entries), "");

  std::set<std::string> listed;
  std::set<std::wstring> stored;
  for (const platform::FolderEntry& entry : entries) {
    listed.insert(entry.listed_name);
    stored.insert(Wide(entry.name));
  }
  EXPECT_EQ(listed, AnsiNames(Listed(root_)));
  EXPECT_EQ(stored, std::set<std::wstring>(names.begin(), names.end()));
}

TEST_F(FileThreatActionsWin32, DeleteRemovesAHiddenSystemReadOnlyFileAndAnEmptyFolderOnly) {
  ScratchFolder::File(root_ + L"autorun.inf", "[autorun]", kHiddenSystemReadOnly);
  ScratchFolder::Folder(root_ + L"RECYCLER", kHiddenSystemReadOnly);
  ScratchFolder::Folder(root_ + L"full", kHiddenSystemReadOnly);
  ScratchFolder::File(root_ + L"full\\payload.exe");
  // Wine keeps no read-only bit on folders; the word must come back as it was.
  const DWORD full = AttributesOf(root_ + L"full");

  EXPECT_TRUE(Apply(ThreatAction::kDelete, root_ + L"autorun.inf").done);
  EXPECT_TRUE(Apply(ThreatAction::kDelete, root_ + L"RECYCLER").done);
  const ActionOutcome kept = Apply(ThreatAction::kDelete, root_ + L"full");

  EXPECT_EQ(AttributesOf(root_ + L"autorun.inf"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(AttributesOf(root_ + L"RECYCLER"), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(kept.done);
  EXPECT_EQ(kept.message, "Could not delete " + Listed(root_ + L"full") + ": " +
                              platform::ErrorText(ERROR_DIR_NOT_EMPTY) + ".");
  EXPECT_EQ(AttributesOf(root_ + L"full"), full);
  EXPECT_EQ(full & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  EXPECT_NE(AttributesOf(root_ + L"full\\payload.exe"), INVALID_FILE_ATTRIBUTES);
}

// What the platform's path rules would change, and names the code page cannot hold, are
// acted on by their stored names; the look-alikes beside them stay.
TEST_F(FileThreatActionsWin32, HostileNamesAreDeletedExactlyAndOnlyThemselves) {
  for (const wchar_t* name : {L"autorun.inf", L"autorun.inf.", L"run.vbs", L"run.vbs ", L"CON.vbs",
                              L"nul", L"cafe.vbs", L"caf\u4e2d.vbs"}) {
    ScratchFolder::File(root_ + name, "x", FILE_ATTRIBUTE_HIDDEN);
  }
  for (const wchar_t* name : {L"autorun.inf.", L"run.vbs ", L"CON.vbs", L"nul", L"caf\u4e2d.vbs"}) {
    const ActionOutcome outcome = Apply(ThreatAction::kDelete, root_ + name);
    EXPECT_TRUE(outcome.done) << outcome.message;
  }
  EXPECT_EQ(AnsiNames(Listed(root_)),
            (std::set<std::string>{"autorun.inf", "cafe.vbs", "run.vbs"}));
}

TEST_F(FileThreatActionsWin32, NamesListedAlikeAreRefused) {
  ScratchFolder::File(root_ + L"caf\u4e2d.vbs");
  ScratchFolder::File(root_ + L"caf\u6587.vbs");

  const ActionOutcome outcome = actions_.Apply(ThreatAction::kDelete, Listed(root_) + "caf?.vbs");

  EXPECT_FALSE(outcome.done);
  EXPECT_THAT(outcome.message, HasSubstr("2 entries of its folder are listed as \"caf?.vbs\""));
  std::vector<platform::FolderEntry> entries;
  EXPECT_EQ(files_.ListFolder(Native(root_), entries), "");
  EXPECT_EQ(entries.size(), 2u);
}

// Wine shows a byte that is no UTF-8 as U+FFFD, listed "?"; two such names are one wide name.
TEST_F(FileThreatActionsWin32, AStickNameWithAByteTheCodePageCannotHoldIsFoundByItsWideName) {
  ScratchFolder::Folder(root_ + L"stick");
  MappedDrive drive(root_ + L"stick");
  ASSERT_NE(drive.letter(), 0) << "no spare drive letter could be mapped";
  const std::string stick = Listed(drive.root());
  ScratchFolder::File(drive.root() + L"cafe.vbs");
  ASSERT_TRUE(MakeRawNamedFile(drive.root(), "caf\\351.vbs"));
  ASSERT_EQ(AnsiNames(stick), (std::set<std::string>{"caf?.vbs", "cafe.vbs"}));

  const ActionOutcome deleted = actions_.Apply(ThreatAction::kDelete, stick + "caf?.vbs");

  EXPECT_TRUE(deleted.done) << deleted.message;
  EXPECT_EQ(AnsiNames(stick), (std::set<std::string>{"cafe.vbs"}));

  ASSERT_TRUE(MakeRawNamedFile(drive.root(), "run\\351.vbs"));
  ASSERT_TRUE(MakeRawNamedFile(drive.root(), "run\\350.vbs"));
  const ActionOutcome refused = actions_.Apply(ThreatAction::kRename, stick + "run?.vbs");
  EXPECT_FALSE(refused.done);
  EXPECT_THAT(refused.message, HasSubstr("2 entries of its folder are listed as \"run?.vbs\""));
}

TEST_F(FileThreatActionsWin32, RenameTakesAFreeNameAndShowsTheFile) {
  ScratchFolder::File(root_ + L"Setup.exe", "MZ", kHiddenSystemReadOnly);
  ScratchFolder::File(root_ + L"setup.exe.VELMORA", "other");

  const ActionOutcome outcome = Apply(ThreatAction::kRename, root_ + L"Setup.exe");

  EXPECT_TRUE(outcome.done) << outcome.message;
  EXPECT_EQ(AttributesOf(root_ + L"Setup.exe"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(AttributesOf(root_ + L"Setup.exe.velmora2") & kHiddenSystemReadOnly,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(BytesOf(root_ + L"Setup.exe.velmora2"), "MZ");
  EXPECT_EQ(BytesOf(root_ + L"setup.exe.VELMORA"), "other");
}

// The file sits on another drive letter than the store; its name is one the code page cannot
// hold, and it comes back under that very name.
TEST_F(FileThreatActionsWin32, QuarantineFromASecondDriveAndRestoreAsItWas) {
  ScratchFolder::Folder(root_ + L"stick");
  MappedDrive drive(root_ + L"stick");
  ASSERT_NE(drive.letter(), 0) << "no spare drive letter could be mapped";
  const std::wstring original = drive.root() + L"caf\u4e2d.vbs";
  const std::string bytes("MZ\x90\0\x03\0\0\0\xff\xfe\r\n\x1a", 14);
  ScratchFolder::File(original, bytes);
  {
    platform::UniqueFileHandle file(::CreateFileW(Exact(original).c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                                  nullptr, OPEN_EXISTING, 0, nullptr));
    const FILETIME modified{0x12345600, 0x01D00000};
    ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &modified));
  }
  ASSERT_TRUE(::SetFileAttributesW(Exact(original).c_str(), kHiddenSystemReadOnly));
  const DWORD attributes = AttributesOf(original);

  const ActionOutcome outcome = Apply(ThreatAction::kQuarantine, original);

  ASSERT_TRUE(outcome.done) << outcome.message;
  EXPECT_EQ(AttributesOf(original), INVALID_FILE_ATTRIBUTES);
  const quarantine::Listing listing = store_.List();
  ASSERT_EQ(listing.records.size(), 1u);
  const quarantine::QuarantineRecord record = listing.records[0];
  EXPECT_EQ(Wide(record.original_path), original);
  EXPECT_EQ(record.sha256, platform::Sha256Hex(bytes));
  EXPECT_EQ(BytesOf(root_ + L"Velmora\\Quarantine\\" +
                    std::wstring(record.id.begin(), record.id.end()) + L".item"),
            bytes);

  const quarantine::RestoredItem restored = store_.Restore(record.id);

  ASSERT_TRUE(restored.restored) << restored.message;
  EXPECT_EQ(restored.message, "");
  EXPECT_EQ(BytesOf(original), bytes);
  EXPECT_EQ(AttributesOf(original), attributes);
  const FILETIME modified = ModifiedOf(original);
  EXPECT_EQ(modified.dwHighDateTime, 0x01D00000u);
  EXPECT_EQ(modified.dwLowDateTime, 0x12345600u);
  std::vector<platform::FolderEntry> entries;
  EXPECT_EQ(files_.ListFolder(Native(drive.root()), entries), "");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(Wide(entries[0].name), L"caf\u4e2d.vbs");
  EXPECT_TRUE(store_.List().records.empty());
}

TEST_F(FileThreatActionsWin32, RestoreLeavesAFileThatIsThereNowAlone) {
  const std::wstring original = root_ + L"run.vbs";
  ScratchFolder::File(original, "old", FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(Apply(ThreatAction::kQuarantine, original).done);
  ScratchFolder::File(original, "new");

  const quarantine::RestoredItem restored = store_.Restore(store_.List().records.at(0).id);

  EXPECT_FALSE(restored.restored);
  EXPECT_THAT(restored.message, HasSubstr("exists now and is not overwritten"));
  EXPECT_EQ(BytesOf(original), "new");
  EXPECT_EQ(store_.List().records.size(), 1u);
}

TEST(PlatformServicesWin32, TheUsersStoreFolderAndTheDigest) {
  const NativePath local = platform::LocalApplicationDataFolder();
  ASSERT_FALSE(local.empty());
  const DWORD attributes = AttributesOf(Wide(local));
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(Wide(quarantine::StoreFolder(local)), Wide(local) + L"\\Velmora\\Quarantine");
  EXPECT_EQ(platform::Sha256Hex("abc"),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

}  // namespace
}  // namespace velmora::actions
