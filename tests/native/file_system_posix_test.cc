// The POSIX adapter on a real temporary tree: attribute words, dot entries, the exclusion rule,
// and walks that must end (link cycles, unreadable directories, the path limit).
#include "platform/file_system_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/dos_attributes_posix.h"
#include "scan_fixture.h"
#include "temp_tree_posix.h"

namespace velmora::platform {
namespace {

using Strings = std::vector<std::string>;

// Every entry one search yields, as "name=attributes".
Strings SearchAll(FileSystem& files, const std::string& directory, const std::string& wildcard,
                  std::uint32_t mask) {
  Strings yielded;
  auto search = files.StartSearch(directory, wildcard, mask);
  if (!search) return yielded;
  DirectoryEntry entry;
  while (search->Next(entry)) {
    yielded.push_back(entry.name + "=" + std::to_string(entry.attributes));
  }
  return yielded;
}

TEST(FileSystemPosix, AttributeWordsAreStoredDosAttributesOrDerived) {
  TempTree tree;
  ASSERT_FALSE(tree.root().empty());
  const std::string probe = tree.File("probe");
  if (!SetDosAttrib(probe, "0x20")) GTEST_SKIP() << "no user extended attributes here";

  struct Case {
    std::string name;
    std::uint32_t expected;
  };
  std::vector<Case> cases;
  const auto file_with = [&](const std::string& name, std::string_view stored,
                             std::uint32_t expected) {
    ASSERT_TRUE(SetDosAttrib(tree.File(name), stored));
    cases.push_back({name, expected});
  };
  tree.File("plain.txt");
  cases.push_back({"plain.txt", 32});
  tree.File("locked.txt", 0444);
  cases.push_back({"locked.txt", 33});
  tree.File(".profile");
  cases.push_back({".profile", 34});
  tree.Directory("photos");
  cases.push_back({"photos", 16});
  tree.Directory(".git");
  cases.push_back({".git", 18});
  file_with("wine-hidden.exe", "0x2", 2);  // Wine keeps only hidden and system
  file_with("hidden-archive.exe", "0x22", 34);
  file_with("hidden-system.exe", "0X6", 6);
  file_with("samba.exe", std::string_view("0x23\0\x04\x00\x04\x00\x00\x00", 12), 35);
  file_with("claims-directory.txt", "0x10", 0);  // the directory bit follows the real type
  file_with("garbage.txt", "hidden", 32);        // unreadable value: derived instead
  ASSERT_TRUE(SetDosAttrib(tree.Directory("system-dir"), "0x16"));
  cases.push_back({"system-dir", 22});
  tree.Link("to-photos", "photos");
  cases.push_back({"to-photos", 16 | kAttributeReparsePoint});
  tree.Link("dangling", "nowhere");
  cases.push_back({"dangling", 32 | kAttributeReparsePoint});

  PosixFileSystem files;
  const Strings yielded = SearchAll(files, tree.root(), "*.*", 63);
  for (const Case& c : cases) {
    EXPECT_EQ(files.QueryAttributes(tree.root() + c.name), c.expected) << c.name;
    const std::string delivered = c.name + "=" + std::to_string(c.expected);
    EXPECT_NE(std::find(yielded.begin(), yielded.end(), delivered), yielded.end()) << delivered;
  }
  EXPECT_EQ(files.QueryAttributes(tree.root() + "missing"), kInvalidAttributes);
}

// While searches are open the engine asks for each entry's word by its full path; the answer
// must be the entry's word as it is now, in the right directory, whichever searches are open.
TEST(FileSystemPosix, QueriesWhileSearchesAreOpenAnswerAsOfNowForTheRightDirectory) {
  TempTree tree;
  ASSERT_FALSE(tree.root().empty());
  if (!SetDosAttrib(tree.File("same.exe"), "0x22")) GTEST_SKIP() << "no user extended attributes";
  tree.Directory("sub");
  ASSERT_TRUE(SetDosAttrib(tree.File("sub/same.exe"), "0x2"));
  tree.File(".profile");
  tree.Link("to-same", "same.exe");
  const std::string root = tree.root();

  PosixFileSystem files;
  auto outer = files.StartSearch(root, "*.*", 63);
  ASSERT_TRUE(outer);
  {
    auto inner = files.StartSearch(root + "sub/", "*.*", 63);
    ASSERT_TRUE(inner);
    EXPECT_EQ(files.QueryAttributes(root + "same.exe"), 34u);
    EXPECT_EQ(files.QueryAttributes(root + "sub/same.exe"), 2u);
    EXPECT_EQ(files.QueryAttributes(root + ".profile"), 34u);
    EXPECT_EQ(files.QueryAttributes(root + "to-same"), 34u | kAttributeReparsePoint);
    // Changed after it was listed: the query tells the word as it is now.
    ASSERT_TRUE(SetDosAttrib(root + "sub/same.exe", "0x6"));
    EXPECT_EQ(files.QueryAttributes(root + "sub/same.exe"), 6u);
    EXPECT_EQ(files.QueryAttributes(root + "sub/missing"), kInvalidAttributes);
  }
  // The inner search is gone; its directory's entries are still found by their paths.
  EXPECT_EQ(files.QueryAttributes(root + "sub/same.exe"), 6u);
  ASSERT_EQ(::unlink((root + "same.exe").c_str()), 0);
  EXPECT_EQ(files.QueryAttributes(root + "same.exe"), kInvalidAttributes);
  EXPECT_EQ(files.QueryAttributes(root + "to-same"), 32u | kAttributeReparsePoint);  // dangling
}

TEST(FileSystemPosix, DotEntriesComeFirstExceptAtTheRootOfAFileSystem) {
  TempTree tree;
  tree.Directory("sub");
  tree.File("sub/a.txt");
  PosixFileSystem files;
  EXPECT_EQ(SearchAll(files, tree.root() + "sub/", "*.*", 63),
            (Strings{".=16", "..=16", "a.txt=32"}));
  // "." and ".." of a hidden directory are hidden with it: they name that directory.
  tree.Directory(".cache");
  EXPECT_EQ(SearchAll(files, tree.root() + ".cache/", "*.*", 63), (Strings{".=18", "..=16"}));

  const Strings root = SearchAll(files, "/", "*.*", 63);
  ASSERT_FALSE(root.empty());
  EXPECT_NE(root[0].rfind(".=", 0), 0u);
  EXPECT_EQ(std::count_if(root.begin(), root.end(),
                          [](const std::string& e) { return e.rfind("..=", 0) == 0; }),
            0);
}

TEST(FileSystemPosix, ExclusionRuleWildcardAndEmptySearches) {
  TempTree tree;
  tree.Directory("only-hidden");
  tree.File("only-hidden/.a.txt");
  tree.File("README");
  tree.File("A.INF");
  tree.File("setup.inf.txt");
  tree.Directory("sub");
  tree.Directory(".hidden-dir");
  PosixFileSystem files;
  // Under the directory mask hidden entries are passed over; with nothing left the search
  // fails to start.
  EXPECT_EQ(files.StartSearch(tree.root() + "only-hidden/", "*.txt", 16), nullptr);
  EXPECT_EQ(SearchAll(files, tree.root() + "only-hidden/", "*.txt", 63), Strings{".a.txt=34"});

  Strings directory_search = SearchAll(files, tree.root(), "*.*", 16);
  std::sort(directory_search.begin(), directory_search.end());
  EXPECT_EQ(directory_search, (Strings{"..=16", ".=16", "A.INF=32", "README=32", "only-hidden=16",
                                       "setup.inf.txt=32", "sub=16"}));
  EXPECT_EQ(SearchAll(files, tree.root(), "*.inf", 63), Strings{"A.INF=32"});
  EXPECT_EQ(files.StartSearch(tree.root() + "absent/", "*.*", 63), nullptr);
}

// Sparing searches read what the descent or the caller needs and no more; a mask that can
// exclude needs every word.
TEST(FileSystemPosix, SparingSearchReadsOnlyDirectoriesLinksAndWantedNames) {
  TempTree tree;
  ASSERT_FALSE(tree.root().empty());
  const std::string probe = tree.File("probe.txt");
  const bool xattrs = SetDosAttrib(probe, "0x20");
  tree.File("plain.txt");
  tree.File("autorun.inf");
  tree.Directory("photos");
  tree.Link("to-photos", "photos");
  tree.Link("to-plain", "plain.txt");
  if (xattrs) {
    ASSERT_TRUE(SetDosAttrib(tree.File("hidden.txt"), "0x22"));
  }

  const auto sparing = [&](std::uint32_t mask) {
    PosixFileSystem files;
    Strings yielded;
    auto search = files.StartSparingSearch(tree.root(), "*.*", mask, [](std::string_view name) {
      return name.size() >= 3 && name.substr(name.size() - 3) == "inf";
    });
    DirectoryEntry entry;
    while (search && search->Next(entry)) {
      yielded.push_back(entry.name + "=" +
                        (entry.attributes_read ? std::to_string(entry.attributes) : "unread"));
    }
    std::sort(yielded.begin(), yielded.end());
    return yielded;
  };

  Strings all = {".=16",
                 "..=16",
                 "autorun.inf=32",
                 "photos=16",
                 "plain.txt=unread",
                 "probe.txt=unread",
                 "to-photos=" + std::to_string(16 | kAttributeReparsePoint),
                 "to-plain=" + std::to_string(32 | kAttributeReparsePoint)};
  if (xattrs) all.push_back("hidden.txt=unread");
  std::sort(all.begin(), all.end());
  EXPECT_EQ(sparing(63), all);
  // Without the hidden bit in the mask every word decides what is passed over.
  Strings unhidden = {".=16",
                      "..=16",
                      "autorun.inf=32",
                      "photos=16",
                      "plain.txt=32",
                      "probe.txt=32",
                      "to-photos=" + std::to_string(16 | kAttributeReparsePoint),
                      "to-plain=" + std::to_string(32 | kAttributeReparsePoint)};
  std::sort(unhidden.begin(), unhidden.end());
  EXPECT_EQ(sparing(61), unhidden);
}

class PosixScanTest : public search::ScanTest {
 protected:
  std::vector<std::string> ScanTree(const std::string& root) {
    search::ThreatScanner scanner(posix_, clock_, form_, search::VolumeStatusSlot::Of(form_),
                                  search::DriveStatusSlot::Of(form_));
    scanner.SearchFiles(root + "*.*", list_, search::ScanMode::kDrivePanel,
                        search::kAllEntriesMask);
    Strings captions = Captions();
    std::sort(captions.begin(), captions.end());
    return captions;
  }

  TempTree tree_;
  PosixFileSystem posix_;
};

TEST_F(PosixScanTest, LinkedDirectoriesAreEnteredButNeverOneOnTheDescentPath) {
  const std::string& root = tree_.root();
  tree_.File("autorun.inf");
  tree_.Directory("a");
  tree_.Link("a/up", "..");   // back to the root
  tree_.Link("a/self", ".");  // to itself
  tree_.Directory("a/b");
  tree_.Link("a/b/top", "../..");
  tree_.Directory("outside");
  tree_.File("outside/x.vbs");
  tree_.Directory("c");
  tree_.Link("c/elsewhere", "../outside");  // not a cycle: entered like a reparse point

  EXPECT_EQ(ScanTree(root),
            (Strings{root + "autorun.inf", root + "c/elsewhere/x.vbs", root + "outside/x.vbs"}));
}

// Takes away the superuser's right to read any directory, for as long as it lives.
class WithoutReadOverride {
 public:
  WithoutReadOverride() {
    if (::geteuid() != 0) return;
    if (::syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    dropped_ = ::syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~WithoutReadOverride() {
    if (dropped_) ::syscall(SYS_capset, &header_, saved_);
  }
  WithoutReadOverride(const WithoutReadOverride&) = delete;
  WithoutReadOverride& operator=(const WithoutReadOverride&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2] = {};
  bool dropped_ = false;
};

TEST_F(PosixScanTest, UnreadableDirectoryIsExaminedButYieldsNothing) {
  const std::string& root = tree_.root();
  tree_.Directory("locked.inf");
  tree_.File("locked.inf/autorun.inf");
  ASSERT_EQ(::chmod((root + "locked.inf").c_str(), 0), 0);
  const WithoutReadOverride unprivileged;
  if (::faccessat(AT_FDCWD, (root + "locked.inf").c_str(), R_OK, AT_EACCESS) == 0) {
    GTEST_SKIP() << "cannot lock it here";
  }

  EXPECT_EQ(posix_.StartSearch(root + "locked.inf/", "*.*", 63), nullptr);
  EXPECT_EQ(ScanTree(root), Strings{root + "locked.inf"});
  EXPECT_EQ(DriveSlot(), search::kDriveInfected);
}

TEST_F(PosixScanTest, NoPathGrowsPastTheLimit) {
  // A chain of directories deeper than any path may be, each holding a threat; built level by
  // level relative to the last, since the whole path is too long to name.
  const std::string name(200, 'd');
  int level = ::open(tree_.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(level, 0);
  for (int depth = 0; depth < 25; ++depth) {
    ::close(::openat(level, "autorun.inf", O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    ASSERT_EQ(::mkdirat(level, name.c_str(), 0755), 0);
    const int next = ::openat(level, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::close(level);
    level = next;
    ASSERT_GE(level, 0);
  }
  ::close(level);

  // Searched is every level whose pattern stays under the limit, and no deeper one; a threat
  // there is listed even if its own path is too long to query.
  std::size_t searchable_levels = 0;
  while (searchable_levels < 25 &&
         tree_.root().size() + searchable_levels * (name.size() + 1) + std::strlen("*.*") <
             PosixFileSystem::kPathLimit) {
    ++searchable_levels;
  }
  ASSERT_LT(searchable_levels, 25u);
  EXPECT_EQ(ScanTree(tree_.root()).size(), searchable_levels);
  const std::string too_long = tree_.root() + std::string(PosixFileSystem::kPathLimit, 'x');
  EXPECT_EQ(posix_.QueryAttributes(too_long), kInvalidAttributes);
  EXPECT_EQ(posix_.StartSearch(too_long + "/", "*.*", 63), nullptr);
}

TEST(DosAttribValue, ParsesTheLeadingHexadecimalWord) {
  struct Case {
    std::string value;
    std::optional<std::uint32_t> word;
  };
  const Case cases[] = {
      {"0x22", 0x22},
      {"0X2", 2},
      {std::string("0x20\0\x03", 6), 0x20},
      {"0xffffffff1", 0xffffffffu},
      {"0x", std::nullopt},
      {"22", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseDosAttribValue(c.value), c.word) << c.value;
}

}  // namespace
}  // namespace velmora::platform
