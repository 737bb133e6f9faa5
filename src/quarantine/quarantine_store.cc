#include "quarantine/quarantine_store.h"

#include <algorithm>
#include <utility>

#include "platform/entry_removal.h"
#include "platform/file_attributes.h"
#include "platform/sha256.h"

namespace velmora::quarantine {
namespace {

using platform::NativePath;

constexpr char16_t kItemExtension[] = u".item";
constexpr char16_t kRecordExtension[] = u".record";
constexpr int kIdTries = 1000;

NativePath Native(const std::string& ascii) { return NativePath(ascii.begin(), ascii.end()); }

// "2026-12-11 11:15:12" as "20261211-111512".
std::string IdBase(std::uint64_t ticks) {
  std::string id;
  for (const char c : UtcText(ticks)) {
    if (c >= '0' && c <= '9') id += c;
    if (c == ' ') id += '-';
  }
  return id;
}

bool EndsWith(const std::u16string& text, const std::u16string& end) {
  return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

NativePath StoreFolder(const NativePath& local_application_data) {
  NativePath folder = local_application_data;
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  return folder + u"Velmora\\Quarantine";
}

bool QuarantineStore::IsWellFormedId(const std::string& id) {
  if (id.empty() || id.size() > 40) return false;
  return std::all_of(id.begin(), id.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-';
  });
}

NativePath QuarantineStore::PathOf(const std::string& id, const char16_t* extension) const {
  return folder_ + u"\\" + Native(id) + extension;
}

std::string QuarantineStore::MakeFolders() {
  if (folder_.empty()) return "the user has no local application-data folder";
  // The parent ("...\Velmora") first; both inherit the user's own rights on the profile.
  const std::size_t last = folder_.find_last_of(u'\\');
  if (last != NativePath::npos) {
    if (std::string reason = files_.MakeFolder(folder_.substr(0, last)); !reason.empty()) {
      return reason;
    }
  }
  return files_.MakeFolder(folder_);
}

StoredItem QuarantineStore::Add(const NativePath& original_path) {
  StoredItem stored;
  platform::FileFacts facts;
  if (std::string reason = files_.Inspect(original_path, facts); !reason.empty()) {
    stored.error = reason;
    return stored;
  }
  if (facts.attributes & platform::kAttributeDirectory) {
    stored.error = "it is a folder, and only files are quarantined";
    return stored;
  }
  // Reading a link reads what it points to, which is not what lies on the stick.
  if (facts.attributes & platform::kAttributeReparsePoint) {
    stored.error = "it is a link, and only files are quarantined";
    return stored;
  }
  std::string bytes;
  if (std::string reason = files_.ReadWholeFile(original_path, bytes); !reason.empty()) {
    stored.error = reason;
    return stored;
  }
  if (std::string reason = MakeFolders(); !reason.empty()) {
    stored.error = "the quarantine folder cannot be made: " + reason;
    return stored;
  }
  QuarantineRecord record;
  record.original_path = original_path;
  record.attributes = facts.attributes;
  record.size = bytes.size();
  record.modified = facts.modified;
  record.quarantined = now_();
  record.sha256 = platform::Sha256Hex(bytes);

  // The first free id; the item file, created only if new, claims it.
  const std::string base = IdBase(record.quarantined);
  for (int attempt = 1; attempt <= kIdTries && record.id.empty(); ++attempt) {
    const std::string id = attempt == 1 ? base : base + "-" + std::to_string(attempt);
    platform::FileFacts taken;
    if (files_.Inspect(PathOf(id, kItemExtension), taken).empty() ||
        files_.Inspect(PathOf(id, kRecordExtension), taken).empty()) {
      continue;
    }
    if (std::string reason = files_.CreateNewFile(PathOf(id, kItemExtension), bytes);
        !reason.empty()) {
      stored.error = "the quarantine cannot hold it: " + reason;
      return stored;
    }
    record.id = id;
  }
  if (record.id.empty()) {
    stored.error = "the quarantine has no free name left for this second";
    return stored;
  }
  const NativePath item = PathOf(record.id, kItemExtension);
  const NativePath record_path = PathOf(record.id, kRecordExtension);
  // The copy must be what was read before the original goes.
  std::string copied;
  std::string reason = files_.ReadWholeFile(item, copied);
  if (reason.empty() && copied != bytes) reason = "its copy in the quarantine differs from it";
  if (reason.empty()) reason = files_.CreateNewFile(record_path, FormatRecord(record));
  if (!reason.empty()) {
    files_.RemoveFile(item);
    stored.error = "the quarantine cannot hold it: " + reason;
    return stored;
  }
  if (reason = platform::RemoveEntry(files_, original_path, facts.attributes); !reason.empty()) {
    files_.RemoveFile(record_path);
    files_.RemoveFile(item);
    stored.error = "it cannot be taken away from where it is: " + reason;
    return stored;
  }
  stored.id = record.id;
  return stored;
}

bool QuarantineStore::ReadRecord(const std::string& id, QuarantineRecord& record,
                                 std::string& error) {
  std::string text;
  if (std::string reason = files_.ReadWholeFile(PathOf(id, kRecordExtension), text);
      !reason.empty()) {
    error = reason;
    return false;
  }
  record.id = id;
  if (!ParseRecord(text, record)) {
    error = "its record is damaged";
    return false;
  }
  return true;
}

Listing QuarantineStore::List() {
  Listing listing;
  platform::FileFacts facts;
  // No folder yet: nothing was ever quarantined.
  if (!files_.Inspect(folder_, facts).empty()) return listing;
  std::vector<platform::FolderEntry> entries;
  if (std::string reason = files_.ListFolder(folder_, entries); !reason.empty()) {
    listing.error = reason;
    return listing;
  }
  for (const platform::FolderEntry& entry : entries) {
    if (!EndsWith(entry.name, kRecordExtension)) continue;
    const std::u16string stem = entry.name.substr(
        0, entry.name.size() - std::char_traits<char16_t>::length(kRecordExtension));
    const std::string id(stem.begin(), stem.end());
    QuarantineRecord record;
    std::string error;
    if (!IsWellFormedId(id) || NativePath(id.begin(), id.end()) != stem ||
        !ReadRecord(id, record, error)) {
      listing.unreadable.push_back(entry.listed_name);
      continue;
    }
    listing.records.push_back(record);
  }
  std::sort(listing.records.begin(), listing.records.end(),
            [](const QuarantineRecord& a, const QuarantineRecord& b) { return a.id < b.id; });
  return listing;
}

RestoredItem QuarantineStore::Restore(const std::string& id) {
  RestoredItem result;
  QuarantineRecord record;
  std::string error;
  if (!IsWellFormedId(id)) {
    result.message = "\"" + id + "\" is not a quarantine id";
    return result;
  }
  if (!ReadRecord(id, record, error)) {
    result.message = "no item " + id + " can be read from the quarantine: " + error;
    return result;
  }
  result.original_path = record.original_path;
  const std::string shown = EscapePath(record.original_path);
  std::string bytes;
  if (std::string reason = files_.ReadWholeFile(PathOf(id, kItemExtension), bytes);
      !reason.empty()) {
    result.message = "the stored copy of " + shown + " cannot be read: " + reason;
    return result;
  }
  if (bytes.size() != record.size || platform::Sha256Hex(bytes) != record.sha256) {
    result.message = "the stored copy of " + shown + " no longer matches its record";
    return result;
  }
  platform::FileFacts there;
  if (files_.Inspect(record.original_path, there).empty()) {
    result.message = shown + " exists now and is not overwritten";
    return result;
  }
  if (std::string reason = files_.CreateNewFile(record.original_path, bytes); !reason.empty()) {
    result.message = shown + " cannot be written: " + reason;
    return result;
  }
  std::string reason = files_.SetModifiedTime(record.original_path, record.modified);
  if (reason.empty()) reason = files_.SetAttributes(record.original_path, record.attributes);
  if (!reason.empty()) {
    // Not back as it was: the item stays in the store and the partial copy goes.
    files_.RemoveFile(record.original_path);
    result.message = shown + " cannot get its attributes and time back: " + reason;
    return result;
  }
  result.restored = true;
  reason = files_.RemoveFile(PathOf(id, kItemExtension));
  if (reason.empty()) reason = files_.RemoveFile(PathOf(id, kRecordExtension));
  if (!reason.empty()) {
    result.message = shown + " is back, but its copy stays in the quarantine: " + reason;
  }
  return result;
}

}  // namespace velmora::quarantine
