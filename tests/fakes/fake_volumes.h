#ifndef VELMORA_TESTS_FAKES_FAKE_VOLUMES_H_
#define VELMORA_TESTS_FAKES_FAKE_VOLUMES_H_

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/volumes.h"

namespace velmora::fakes {

// Drives and the volumes in them, by drive root ("E:\"). A letter has no drive unless given a
// type, and sizes are unknown (-1) unless set. Every volume and size query is recorded as
// "query E:\", "total 5" or "free 5"; type queries are not, since the drive list asks for every
// letter.
class FakeVolumes : public platform::Volumes {
 public:
  void Mount(const std::string& root, platform::VolumeInformation volume) {
    volumes_[root] = std::move(volume);
  }
  void Eject(const std::string& root) { volumes_.erase(root); }
  void SetType(const std::string& root, platform::DriveType type) { types_[root] = type; }
  void SetSizes(int drive_number, std::int64_t total, std::int64_t free) {
    sizes_[drive_number] = {total, free};
  }

  platform::DriveType Type(const std::string& root) override {
    const auto found = types_.find(root);
    return found == types_.end() ? platform::DriveType::kNoRootDirectory : found->second;
  }
  std::optional<platform::VolumeInformation> Query(const std::string& root) override {
    calls_.push_back("query " + root);
    if (on_query) on_query();
    const auto found = volumes_.find(root);
    if (found == volumes_.end()) return std::nullopt;
    return found->second;
  }
  std::int64_t TotalBytes(int drive_number) override {
    calls_.push_back("total " + std::to_string(drive_number));
    const auto found = sizes_.find(drive_number);
    return found == sizes_.end() ? -1 : found->second.total;
  }
  std::int64_t FreeBytes(int drive_number) override {
    calls_.push_back("free " + std::to_string(drive_number));
    const auto found = sizes_.find(drive_number);
    return found == sizes_.end() ? -1 : found->second.free;
  }

  const std::vector<std::string>& calls() const { return calls_; }
  // Runs inside every volume query, before it answers.
  std::function<void()> on_query;

 private:
  struct Sizes {
    std::int64_t total;
    std::int64_t free;
  };
  std::map<std::string, platform::DriveType> types_;
  std::map<std::string, platform::VolumeInformation> volumes_;
  std::map<int, Sizes> sizes_;
  std::vector<std::string> calls_;
};

}  // namespace velmora::fakes

#endif  // VELMORA_TESTS_FAKES_FAKE_VOLUMES_H_
