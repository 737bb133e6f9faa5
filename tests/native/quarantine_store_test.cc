// The quarantine store and its records over an in-memory set of drives: files go in and come
// back byte for byte with their attributes and time, and nothing is lost on the way.
#include "quarantine/quarantine_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/file_threat_actions.h"
#include "fakes/fake_files.h"
#include "platform/file_attributes.h"
#include "platform/sha256.h"
#include "quarantine/quarantine_record.h"

namespace velmora::quarantine {
namespace {

using fakes::FakeFiles;
using fakes::FileCall;
using platform::kAttributeArchive;
using platform::kAttributeHidden;
using platform::kAttributeReadOnly;
using platform::kAttributeSystem;
using platform::NativePath;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr std::uint32_t kHiddenSystemReadOnly =
    kAttributeHidden | kAttributeSystem | kAttributeReadOnly | kAttributeArchive;
constexpr std::uint64_t k20261211_111512 = 134414613120000000;
constexpr std::uint64_t kModified = 125963423990000000;
constexpr char16_t kStore[] = u"C:\\Users\\me\\AppData\\Local\\Velmora\\Quarantine";
const std::string kBytes("MZ\x90\0\x03\0\0\0\xff\xfe", 10);

// A user's profile on C: with no store yet, and a clock that stands still.
struct UserDrives {
  UserDrives() {
    files.AddFolder(u"C:\\Users");
    files.AddFolder(u"C:\\Users\\me");
    files.AddFolder(u"C:\\Users\\me\\AppData");
    files.AddFolder(u"C:\\Users\\me\\AppData\\Local");
  }
  // The names in the store's folder.
  std::vector<NativePath> Stored() const { return files.Names(NativePath(kStore) + u"\\"); }

  FakeFiles files;
  std::uint64_t now = k20261211_111512;
  QuarantineStore store{files, StoreFolder(u"C:\\Users\\me\\AppData\\Local"),
                        [this] { return now; }};
};

class QuarantineStoreTest : public ::testing::Test {
 protected:
  std::vector<NativePath> Stored() const { return drives_.Stored(); }

  UserDrives drives_;
  FakeFiles& files_ = drives_.files;
  std::uint64_t& now_ = drives_.now;
  QuarantineStore& store_ = drives_.store;
};

TEST_F(QuarantineStoreTest, AFileFromAnotherDriveGoesInAndComesBackAsItWas) {
  const NativePath original = u"E:\\caf\u4e2d.vbs. ";
  files_.AddFile(original, kBytes, kHiddenSystemReadOnly, kModified);

  const StoredItem stored = store_.Add(original);

  ASSERT_EQ(stored.error, "");
  EXPECT_EQ(stored.id, "20261211-111512");
  EXPECT_FALSE(files_.Has(original));
  EXPECT_THAT(Stored(), ElementsAre(u"20261211-111512.item", u"20261211-111512.record"));
  EXPECT_EQ(files_.Bytes(NativePath(kStore) + u"\\20261211-111512.item"), kBytes);
  const Listing listing = store_.List();
  ASSERT_EQ(listing.records.size(), 1u);
  const QuarantineRecord& record = listing.records[0];
  EXPECT_EQ(record.id, "20261211-111512");
  EXPECT_EQ(record.original_path, original);
  EXPECT_EQ(record.attributes, kHiddenSystemReadOnly);
  EXPECT_EQ(record.size, kBytes.size());
  EXPECT_EQ(record.modified, kModified);
  EXPECT_EQ(record.quarantined, k20261211_111512);
  EXPECT_EQ(record.sha256, platform::Sha256Hex(kBytes));

  const RestoredItem restored = store_.Restore(stored.id);

  EXPECT_TRUE(restored.restored);
  EXPECT_EQ(restored.message, "");
  EXPECT_EQ(files_.StoredPath(original), original);
  EXPECT_EQ(files_.Bytes(original), kBytes);
  EXPECT_EQ(files_.Attributes(original), kHiddenSystemReadOnly);
  EXPECT_EQ(files_.Modified(original), kModified);
  EXPECT_THAT(Stored(), IsEmpty());
}

TEST_F(QuarantineStoreTest, ItemsOfOneSecondGetNumberedIdsAndListInOrder) {
  for (const char16_t* name : {u"E:\\a.vbs", u"E:\\b.vbs", u"E:\\c.vbs"}) {
    files_.AddFile(name);
    EXPECT_EQ(store_.Add(name).error, "");
  }
  now_ = k20261211_111512 + 10'000'000;
  files_.AddFile(u"E:\\d.vbs");
  EXPECT_EQ(store_.Add(u"E:\\d.vbs").id, "20261211-111513");

  std::vector<std::string> ids;
  for (const QuarantineRecord& record : store_.List().records) ids.push_back(record.id);
  EXPECT_THAT(ids, ElementsAre("20261211-111512", "20261211-111512-2", "20261211-111512-3",
                               "20261211-111513"));
}

// Whatever fails on the way in, the original stays as it was and the store holds no part.
TEST_F(QuarantineStoreTest, AFailedAddLeavesTheOriginalAndAnEmptyStore) {
  struct Case {
    const char* label;
    FileCall call;
    NativePath path;
    const char* reason;
    const char* expected;
  };
  constexpr char kFull[] = "There is not enough space on the disk";
  constexpr char kInUse[] = "The process cannot access the file";
  const NativePath item = NativePath(kStore) + u"\\20261211-111512.item";
  const NativePath record = NativePath(kStore) + u"\\20261211-111512.record";
  for (const Case& c : {
           Case{"unreadable", FileCall::kRead, u"E:\\run.vbs", kInUse, kInUse},
           Case{"no store folder", FileCall::kMakeFolder, kStore, FakeFiles::kAccessDenied,
                "the quarantine folder cannot be made: Access is denied"},
           Case{"a full disk", FileCall::kCreate, item, kFull,
                "the quarantine cannot hold it: There is not enough space on the disk"},
           Case{"a copy that cannot be read back", FileCall::kRead, item, FakeFiles::kAccessDenied,
                "the quarantine cannot hold it: Access is denied"},
           Case{"no record", FileCall::kCreate, record, kFull,
                "the quarantine cannot hold it: There is not enough space on the disk"},
           Case{"an original that cannot go", FileCall::kRemoveFile, u"E:\\run.vbs",
                FakeFiles::kAccessDenied,
                "it cannot be taken away from where it is: Access is denied"},
       }) {
    UserDrives fresh;
    fresh.files.AddFile(u"E:\\run.vbs", kBytes, kHiddenSystemReadOnly, kModified);
    fresh.files.Fail(c.call, c.path, c.reason);

    const StoredItem stored = fresh.store.Add(u"E:\\run.vbs");

    EXPECT_THAT(stored.error, HasSubstr(c.expected)) << c.label;
    EXPECT_EQ(stored.id, "") << c.label;
    EXPECT_EQ(fresh.files.Bytes(u"E:\\run.vbs"), kBytes) << c.label;
    EXPECT_EQ(fresh.files.Attributes(u"E:\\run.vbs"), kHiddenSystemReadOnly) << c.label;
    EXPECT_THAT(fresh.Stored(), IsEmpty()) << c.label;
  }
}

TEST_F(QuarantineStoreTest, OnlyFilesGoIn) {
  files_.AddFolder(u"E:\\autorun.inf");
  files_.AddFile(u"E:\\link.vbs", "target's bytes",
                 kAttributeArchive | platform::kAttributeReparsePoint);

  EXPECT_EQ(store_.Add(u"E:\\autorun.inf").error, "it is a folder, and only files are quarantined");
  EXPECT_EQ(store_.Add(u"E:\\link.vbs").error, "it is a link, and only files are quarantined");
  EXPECT_EQ(store_.Add(u"E:\\gone.vbs").error, FakeFiles::kNotFound);
  EXPECT_TRUE(files_.Has(u"E:\\link.vbs"));
  EXPECT_THAT(Stored(), IsEmpty());
}

TEST_F(QuarantineStoreTest, RestoreRefusesAndKeepsTheItemWhenItCannotPutItBackAsItWas) {
  const std::string id = "20261211-111512";
  const NativePath item = NativePath(kStore) + u"\\" + NativePath(id.begin(), id.end()) + u".item";
  struct Case {
    const char* label;
    void (*arrange)(FakeFiles& files, const NativePath& copy);
    const char* expected;
  };
  for (const Case& c : {
           Case{"a file there now",
                [](FakeFiles&files, const NativePath&) { files.AddFile(u"E:\\RUN.VBS", "new"); },
                "E:\\run.vbs exists now and is not overwritten"},
           Case{"a changed copy",
                [](FakeFiles&files, const NativePath&copy) {
                  files.RemoveFile(copy);
                  files.AddFile(copy, "MZ tampered");
                },
                "the stored copy of E:\\run.vbs no longer matches its record"},
           Case{"a copy gone",
                [](FakeFiles&files, const NativePath&copy) { files.RemoveFile(copy); },
                "the stored copy of E:\\run.vbs cannot be read: "},
           Case{"a stick that is not there",
                [](FakeFiles&files, const NativePath&) {
                  files.Fail(FileCall::kCreate, u"E:\\run.vbs", FakeFiles::kPathNotFound);
                },
                "E:\\run.vbs cannot be written: The system cannot find the path specified"},
           Case{"attributes that cannot be set",
                [](FakeFiles&files, const NativePath&) {
                  files.Fail(FileCall::kSetAttributes, u"E:\\run.vbs", FakeFiles::kAccessDenied);
                },
                "E:\\run.vbs cannot get its attributes and time back: Access is denied"},
       }) {
    UserDrives fresh;
    fresh.files.AddFile(u"E:\\run.vbs", kBytes, kHiddenSystemReadOnly, kModified);
    ASSERT_EQ(fresh.store.Add(u"E:\\run.vbs").id, id);
    c.arrange(fresh.files, item);

    const RestoredItem restored = fresh.store.Restore(id);

    EXPECT_FALSE(restored.restored) << c.label;
    EXPECT_THAT(restored.message, HasSubstr(c.expected)) << c.label;
    EXPECT_EQ(fresh.store.List().records.size(), 1u) << c.label;
    EXPECT_NE(fresh.files.Bytes(u"E:\\run.vbs"), kBytes) << c.label;
  }
}

TEST_F(QuarantineStoreTest, RestoreTakesOnlyIdsTheStoreMakes) {
  files_.AddFile(u"C:\\secret.record");
  for (const char* id : {"", "..\\..\\..\\secret", "20261211-111512", "a b", "x.record"}) {
    const RestoredItem restored = store_.Restore(id);
    EXPECT_FALSE(restored.restored) << id;
    EXPECT_NE(restored.message, "") << id;
  }
  EXPECT_TRUE(files_.Has(u"C:\\secret.record"));
}

TEST_F(QuarantineStoreTest, ListingAStoreNeverMadeIsEmptyAndDamagedRecordsAreNamed) {
  EXPECT_THAT(store_.List().records, IsEmpty());
  EXPECT_EQ(store_.List().error, "");

  files_.AddFile(u"E:\\run.vbs");
  ASSERT_EQ(store_.Add(u"E:\\run.vbs").error, "");
  files_.AddFile(NativePath(kStore) + u"\\20261212-000000.record", "velmora-quarantine-record 1");
  files_.AddFile(NativePath(kStore) + u"\\caf\u00e9.record", "planted");

  const Listing listing = store_.List();
  EXPECT_EQ(listing.records.size(), 1u);
  EXPECT_THAT(listing.unreadable, ElementsAre("20261212-000000.record", "caf\xe9.record"));
}

TEST_F(QuarantineStoreTest, QuarantineThroughTheThreatActionsFindsTheFileByItsListedName) {
  files_.AddFile(u"E:\\cafe.vbs", "other");
  files_.AddFile(u"E:\\caf\u4e2d.vbs", kBytes, kAttributeHidden);
  actions::FileThreatActions threat_actions(files_, &store_);

  const actions::ActionOutcome outcome =
      threat_actions.Apply(actions::ThreatAction::kQuarantine, "E:\\caf?.vbs");

  EXPECT_TRUE(outcome.done) << outcome.message;
  EXPECT_THAT(files_.Names(u"E:\\"), ElementsAre(u"cafe.vbs"));
  EXPECT_EQ(store_.List().records.at(0).original_path, u"E:\\caf\u4e2d.vbs");

  files_.Fail(FileCall::kRead, u"E:\\cafe.vbs", FakeFiles::kAccessDenied);
  EXPECT_EQ(threat_actions.Apply(actions::ThreatAction::kQuarantine, "E:\\cafe.vbs").message,
            "Could not quarantine E:\\cafe.vbs: Access is denied.");
}

TEST(QuarantineRecord, EveryPathAndFieldComesBackFromItsText) {
  QuarantineRecord record;
  record.id = "20261211-111512";
  record.original_path = u"E:\\100% caf\u00e9\\\u4e2d\x01\x7f\xd800 nul.vbs. ";
  record.attributes = 0x27;
  record.size = 18446744073709551615u;
  record.modified = kModified;
  record.quarantined = k20261211_111512;
  record.sha256 = platform::Sha256Hex("");

  const std::string text = FormatRecord(record);
  for (const char c : text) EXPECT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F));
  EXPECT_THAT(text, HasSubstr("original=E:\\100%u0025 caf%u00E9\\%u4E2D%u0001%u007F%uD800 "
                              "nul.vbs. \r\n"));
  EXPECT_THAT(text, HasSubstr("attributes=0x00000027\r\n"));
  QuarantineRecord parsed;
  parsed.id = record.id;
  ASSERT_TRUE(ParseRecord(text, parsed));
  EXPECT_EQ(parsed.original_path, record.original_path);
  EXPECT_EQ(parsed.attributes, record.attributes);
  EXPECT_EQ(parsed.size, record.size);
  EXPECT_EQ(parsed.modified, record.modified);
  EXPECT_EQ(parsed.quarantined, record.quarantined);
  EXPECT_EQ(parsed.sha256, record.sha256);
  EXPECT_EQ(platform::Sha256Hex(""),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

TEST(QuarantineRecord, AnythingElseIsNotARecord) {
  QuarantineRecord good;
  good.original_path = u"E:\\run.vbs";
  good.sha256 = std::string(64, 'a');
  const std::string text = FormatRecord(good);
  const auto with = [&](const std::string& from, const std::string& to) {
    std::string changed = text;
    changed.replace(changed.find(from), from.size(), to);
    return changed;
  };
  for (const std::string& bad : {
           std::string(),
           with("record 1", "record 2"),
           with("original=E:\\run.vbs", "original=E:\\%u00"),
           with("original=E:\\run.vbs", "original=E:\\%x0041"),
           with("original=E:\\run.vbs", "original="),
           with("original=E:\\run.vbs", "original=\\\\server\\share\\run.vbs"),
           with("original=E:\\run.vbs", "original=run.vbs"),
           with("original=E:\\run.vbs", "original=E:\\r\xe9.vbs"),
           with("attributes=0x00000000", "attributes=0x100000000"),
           with("size=0", "size=-1"),
           with("size=0", "size=18446744073709551616"),
           with("sha256=" + std::string(64, 'a'), "sha256=" + std::string(63, 'a')),
           with("sha256=" + std::string(64, 'a'), "sha256=" + std::string(64, 'A')),
           with("size=0\r\n", ""),
           with("size=0\r\n", "size=0\r\nsize=0\r\n"),
           with("size=0\r\n", "size=0\r\nextra=1\r\n"),
       }) {
    QuarantineRecord parsed;
    EXPECT_FALSE(ParseRecord(bad, parsed)) << bad;
  }
}

TEST(UtcText, CountsTicksFrom1601InTheGregorianCalendar) {
  EXPECT_EQ(UtcText(0), "1601-01-01 00:00:00");
  EXPECT_EQ(UtcText(k20261211_111512), "2026-12-11 11:15:12");
  EXPECT_EQ(UtcText(kModified), "2000-02-29 23:59:59");
  EXPECT_EQ(UtcText(125910720010000000), "1999-12-31 00:00:01");
}

}  // namespace
}  // namespace velmora::quarantine
