#include "fakes/fake_files.h"

namespace velmora::fakes {

using platform::kAttributeDirectory;
using platform::kAttributeReadOnly;
using platform::NativePath;

std::u16string FakeFiles::Fold(const std::u16string& path) {
  std::u16string folded = path;
  for (char16_t& unit : folded) {
    if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
  }
  while (folded.size() > 3 && folded.back() == u'\\') folded.pop_back();
  return folded;
}

NativePath FakeFiles::ParentOf(const NativePath& path) {
  const std::size_t last = path.find_last_of(u'\\');
  return last == NativePath::npos ? NativePath() : path.substr(0, last + 1);
}

std::string FakeFiles::Listed(const std::u16string& name) {
  std::string listed;
  for (const char16_t unit : name) listed += unit <= 0xFF ? static_cast<char>(unit) : '?';
  return listed;
}

const std::string* FakeFiles::Failure(FileCall call, const NativePath& path) const {
  const auto found = failures_.find({call, Fold(path)});
  return found == failures_.end() ? nullptr : &found->second;
}

const FakeFiles::Entry* FakeFiles::Find(const NativePath& path) const {
  const auto found = entries_.find(Fold(path));
  return found == entries_.end() ? nullptr : &found->second;
}

bool FakeFiles::IsFolder(const NativePath& path) const {
  const std::u16string folded = Fold(path);
  if (folded.size() == 3 && folded[1] == u':' && folded[2] == u'\\') return true;
  const Entry* entry = Find(path);
  return entry != nullptr && (entry->attributes & kAttributeDirectory);
}

std::string FakeFiles::CannotCreate(const NativePath& path) const {
  if (!IsFolder(ParentOf(path))) return kPathNotFound;
  if (Protected(path)) return kWriteProtected;
  if (Find(path) != nullptr) return kExists;
  return {};
}

void FakeFiles::AddFile(const NativePath& path, const std::string& bytes, std::uint32_t attributes,
                        std::uint64_t modified) {
  entries_[Fold(path)] = {path, attributes & ~kAttributeDirectory, bytes, modified};
}

void FakeFiles::AddFolder(const NativePath& path, std::uint32_t attributes) {
  entries_[Fold(path)] = {path, attributes | kAttributeDirectory, {}, 0};
}

NativePath FakeFiles::StoredPath(const NativePath& path) const {
  const Entry* entry = Find(path);
  return entry == nullptr ? NativePath() : entry->path;
}

std::uint32_t FakeFiles::Attributes(const NativePath& path) const {
  const Entry* entry = Find(path);
  return entry == nullptr ? platform::kInvalidAttributes : entry->attributes;
}

std::string FakeFiles::Bytes(const NativePath& path) const {
  const Entry* entry = Find(path);
  return entry == nullptr ? std::string() : entry->bytes;
}

std::uint64_t FakeFiles::Modified(const NativePath& path) const {
  const Entry* entry = Find(path);
  return entry == nullptr ? 0 : entry->modified;
}

std::vector<NativePath> FakeFiles::Names(const NativePath& folder) const {
  std::vector<NativePath> names;
  const NativePath prefix = ParentOf(folder + u"x");
  const std::u16string parent = Fold(prefix);
  for (const auto& [key, entry] : entries_) {
    if (Fold(ParentOf(entry.path)) == parent) names.push_back(entry.path.substr(prefix.size()));
  }
  return names;
}

std::string FakeFiles::ListFolder(const NativePath& folder,
                                  std::vector<platform::FolderEntry>& entries) {
  entries.clear();
  if (const std::string* reason = Failure(FileCall::kList, folder)) return *reason;
  if (!IsFolder(folder)) return kPathNotFound;
  for (const NativePath& name : Names(folder.back() == u'\\' ? folder : folder + u"\\")) {
    const NativePath path = (folder.back() == u'\\' ? folder : folder + u"\\") + name;
    entries.push_back({name, Listed(name), Find(path)->attributes});
  }
  return {};
}

std::string FakeFiles::Inspect(const NativePath& path, platform::FileFacts& facts) {
  if (const std::string* reason = Failure(FileCall::kInspect, path)) return *reason;
  const Entry* entry = Find(path);
  if (entry == nullptr) return kNotFound;
  facts = {entry->attributes, entry->bytes.size(), entry->modified};
  return {};
}

std::string FakeFiles::SetAttributes(const NativePath& path, std::uint32_t attributes) {
  if (const std::string* reason = Failure(FileCall::kSetAttributes, path)) return *reason;
  auto found = entries_.find(Fold(path));
  if (found == entries_.end()) return kNotFound;
  if (Protected(path)) return kWriteProtected;
  constexpr std::uint32_t kSettable = kAttributeReadOnly | platform::kAttributeHidden |
                                      platform::kAttributeSystem | platform::kAttributeArchive;
  found->second.attributes = (found->second.attributes & ~kSettable) | (attributes & kSettable);
  return {};
}

std::string FakeFiles::SetModifiedTime(const NativePath& path, std::uint64_t modified) {
  if (const std::string* reason = Failure(FileCall::kSetModifiedTime, path)) return *reason;
  auto found = entries_.find(Fold(path));
  if (found == entries_.end()) return kNotFound;
  if (Protected(path)) return kWriteProtected;
  found->second.modified = modified;
  return {};
}

std::string FakeFiles::RemoveFile(const NativePath& path) {
  if (const std::string* reason = Failure(FileCall::kRemoveFile, path)) return *reason;
  const Entry* entry = Find(path);
  if (entry == nullptr) return kNotFound;
  if (entry->attributes & (kAttributeDirectory | kAttributeReadOnly)) return kAccessDenied;
  if (Protected(path)) return kWriteProtected;
  entries_.erase(Fold(path));
  return {};
}

std::string FakeFiles::RemoveEmptyDirectory(const NativePath& path) {
  if (const std::string* reason = Failure(FileCall::kRemoveEmptyDirectory, path)) return *reason;
  const Entry* entry = Find(path);
  if (entry == nullptr) return kNotFound;
  if (!(entry->attributes & kAttributeDirectory)) return kInvalidDirectory;
  if (entry->attributes & kAttributeReadOnly) return kAccessDenied;
  if (!Names(path + u"\\").empty()) return kNotEmpty;
  if (Protected(path)) return kWriteProtected;
  entries_.erase(Fold(path));
  return {};
}

std::string FakeFiles::Rename(const NativePath& from, const NativePath& to) {
  if (const std::string* reason = Failure(FileCall::kRename, from)) return *reason;
  if (Find(from) == nullptr) return kNotFound;
  if (Fold(from.substr(0, 2)) != Fold(to.substr(0, 2))) return kOtherDrive;
  if (!IsFolder(ParentOf(to))) return kPathNotFound;
  if (Find(to) != nullptr) return kAlreadyExists;
  if (Protected(from)) return kWriteProtected;
  // The entry and everything below it change their paths.
  const std::u16string old_key = Fold(from);
  std::map<std::u16string, Entry> moved;
  for (auto it = entries_.begin(); it != entries_.end();) {
    const bool below = it->first.compare(0, old_key.size() + 1, old_key + u"\\") == 0;
    if (it->first != old_key && !below) {
      ++it;
      continue;
    }
    Entry entry = it->second;
    entry.path = to + entry.path.substr(from.size());
    moved[Fold(entry.path)] = entry;
    it = entries_.erase(it);
  }
  entries_.merge(moved);
  return {};
}

std::string FakeFiles::ReadWholeFile(const NativePath& path, std::string& bytes) {
  bytes.clear();
  if (const std::string* reason = Failure(FileCall::kRead, path)) return *reason;
  const Entry* entry = Find(path);
  if (entry == nullptr) return kNotFound;
  if (entry->attributes & kAttributeDirectory) return kAccessDenied;
  bytes = entry->bytes;
  return {};
}

std::string FakeFiles::CreateNewFile(const NativePath& path, const std::string& bytes) {
  if (const std::string* reason = Failure(FileCall::kCreate, path)) return *reason;
  if (std::string reason = CannotCreate(path); !reason.empty()) return reason;
  AddFile(path, bytes, platform::kAttributeArchive);
  return {};
}

std::string FakeFiles::MakeFolder(const NativePath& path) {
  if (const std::string* reason = Failure(FileCall::kMakeFolder, path)) return *reason;
  if (IsFolder(path)) return {};
  if (std::string reason = CannotCreate(path); !reason.empty()) return reason;
  AddFolder(path);
  return {};
}

}  // namespace velmora::fakes
