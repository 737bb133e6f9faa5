#include "fakes/fake_file_system.h"

#include <stdexcept>
#include <utility>

#include "platform/wildcard.h"

namespace velmora::fakes {
namespace {

using platform::DirectoryEntry;

class FakeSearch : public platform::DirectorySearch {
 public:
  FakeSearch(std::vector<DirectoryEntry> entries, std::shared_ptr<int> open_searches)
      : entries_(std::move(entries)), open_searches_(std::move(open_searches)) {
    ++*open_searches_;
  }
  ~FakeSearch() override { --*open_searches_; }

  bool Next(DirectoryEntry& entry) override {
    if (next_ == entries_.size()) return false;
    entry = entries_[next_++];
    return true;
  }

 private:
  std::vector<DirectoryEntry> entries_;
  std::size_t next_ = 0;
  std::shared_ptr<int> open_searches_;
};

}  // namespace

std::string FakeFileSystem::ParentOf(const std::string& path) const {
  if (path.size() < 2) throw std::invalid_argument("no parent: " + path);
  const std::size_t split = path.find_last_of(syntax_.directory_ends, path.size() - 2);
  if (split == std::string::npos) throw std::invalid_argument("no parent: " + path);
  return path.substr(0, split + 1);
}

std::string FakeFileSystem::Trimmed(const std::string& directory) const {
  return directory.empty() ? directory : directory.substr(0, directory.size() - 1);
}

void FakeFileSystem::Add(const std::string& path, std::uint32_t attributes) {
  const std::string parent = ParentOf(path);
  if (!IsRoot(parent) && !children_.count(parent)) {
    throw std::invalid_argument("parent not added: " + path);
  }
  children_[parent].push_back({path.substr(parent.size()), attributes});
  attributes_[path] = attributes;
  if (attributes & platform::kAttributeDirectory) children_[path + syntax_.separator];
}

std::unique_ptr<platform::DirectorySearch> FakeFileSystem::StartSearch(const std::string& directory,
                                                                       const std::string& wildcard,
                                                                       std::uint32_t mask) {
  searches_.push_back(directory + wildcard + " " + std::to_string(mask));
  const auto found = children_.find(directory);
  if (found == children_.end() || unreadable_.count(directory)) return nullptr;

  std::vector<DirectoryEntry> yielded;
  const auto yield = [&](const std::string& name, std::uint32_t attributes) {
    if (platform::MatchesWildcard(wildcard, name) &&
        !platform::ExcludedBySearchMask(attributes, mask)) {
      yielded.push_back({name, attributes});
    }
  };
  if (dot_entries_ && !IsRoot(directory)) {
    const std::string self = Trimmed(directory);
    const std::string parent = ParentOf(self);
    yield(".", attributes_.at(self));
    yield("..", IsRoot(parent) ? platform::kAttributeDirectory : attributes_.at(Trimmed(parent)));
  }
  for (const Entry& entry : found->second) yield(entry.name, entry.attributes);
  if (yielded.empty()) return nullptr;
  return std::make_unique<FakeSearch>(std::move(yielded), open_searches_);
}

std::uint32_t FakeFileSystem::QueryAttributes(const std::string& path) {
  if (on_query) on_query(path);
  queries_.push_back(path);
  if (const auto overridden = queried_overrides_.find(path);
      overridden != queried_overrides_.end()) {
    return overridden->second;
  }
  // "dir\." is the directory itself and "dir\.." its parent.
  std::string resolved = path;
  const std::string dot = std::string(1, syntax_.separator) + ".";
  const auto ends_with = [&resolved](const std::string& tail) {
    return resolved.size() >= tail.size() &&
           resolved.compare(resolved.size() - tail.size(), tail.size(), tail) == 0;
  };
  if (ends_with(dot + ".")) {
    resolved = Trimmed(ParentOf(resolved.substr(0, resolved.size() - 3)));
  } else if (ends_with(dot)) {
    resolved.resize(resolved.size() - 2);
  }
  if (const auto found = attributes_.find(resolved); found != attributes_.end()) {
    return found->second;
  }
  if (children_.count(resolved + syntax_.separator)) return platform::kAttributeDirectory;
  return platform::kInvalidAttributes;
}

}  // namespace velmora::fakes
