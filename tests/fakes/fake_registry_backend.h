#ifndef VELMORA_TESTS_FAKES_FAKE_REGISTRY_BACKEND_H_
#define VELMORA_TESTS_FAKES_FAKE_REGISTRY_BACKEND_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry_backend.h"

namespace velmora::fakes {

// An in-memory registry: one tree per root. Like the real one, key and value names match
// without regard to case (A-Z only, as in the ANSI code pages the program uses) and keep the
// spelling they were created with; names are listed in the order they were added. Paths are
// split on backslashes, ignoring empty segments, so "\\A\\B\\", "A\\B" and "\\a\\\\b" name the
// same key and "\\" (or "") is the root. Keys handed out must not outlive the registry.
class FakeRegistryBackend : public platform::RegistryBackend {
 public:
  using RootKey = platform::RootKey;
  using RegistryValue = platform::RegistryValue;
  using RegistryView = platform::RegistryView;

  struct OpenCall {
    RootKey root;
    std::string path;
    bool create;
    std::optional<RegistryView> view;  // none: the program's own view (OpenKey)
  };

  // What the fake stands for; 32-bit Windows unless told otherwise. On 64-bit Windows the
  // machine's "\Software" key has a second view for 32-bit programs, stored below
  // "\Software\Wow6432Node" (all of it is redirected here; Windows shares a few subkeys, none
  // of which the program uses), and OpenKey works in the running program's view. On 32-bit
  // Windows there is one view and the view asked for is ignored, as Windows does.
  enum class System { k32BitWindows, k64BitProgram, k32BitProgramOn64BitWindows };

  FakeRegistryBackend();
  ~FakeRegistryBackend() override;
  FakeRegistryBackend(const FakeRegistryBackend&) = delete;
  FakeRegistryBackend& operator=(const FakeRegistryBackend&) = delete;

  std::unique_ptr<platform::RegistryKey> OpenKey(RootKey root, const std::string& path,
                                                 bool create) override;
  std::unique_ptr<platform::RegistryKey> OpenKeyInView(RootKey root, const std::string& path,
                                                       bool create, RegistryView view) override;
  bool Is64BitWindows() const override { return system_ != System::k32BitWindows; }

  void SetSystem(System system) { system_ = system; }

  // Seeding; each creates the key and its parents as needed, whatever the knobs say.
  void CreateKey(RootKey root, const std::string& path);
  void SetValue(RootKey root, const std::string& path, const std::string& name,
                RegistryValue value);
  // Stored as WriteString stores it: the text and one terminating NUL.
  void SetString(RootKey root, const std::string& path, const std::string& name,
                 const std::string& text);
  void SetDword(RootKey root, const std::string& path, const std::string& name,
                std::uint32_t value);
  void RemoveValue(RootKey root, const std::string& path, const std::string& name);

  // Reading the hive directly, without going through OpenKey (nor being recorded by it).
  bool KeyExists(RootKey root, const std::string& path) const;
  std::optional<RegistryValue> Value(RootKey root, const std::string& path,
                                     const std::string& name) const;
  // A kString or kExpandString value's text, up to its first NUL.
  std::optional<std::string> StringValue(RootKey root, const std::string& path,
                                         const std::string& name) const;
  // A kDword value of exactly four bytes.
  std::optional<std::uint32_t> DwordValue(RootKey root, const std::string& path,
                                          const std::string& name) const;

  // Failure knobs, set on a path whether or not the key exists; each covers that key alone,
  // not the keys below it. OpenKey of an unopenable key fails, with or without create, and
  // creates nothing. Writes and deletes through keys at a read-only path fail (checked at the
  // time of the call, so keys already open are affected too); reads still work.
  void SetUnopenable(RootKey root, const std::string& path, bool unopenable = true);
  void SetReadOnly(RootKey root, const std::string& path, bool read_only = true);
  // Runs after every listing of value or subkey names, before the caller sees them: what
  // another program changes between an enumeration and the reads that follow it.
  void SetAfterListing(std::function<void()> hook) { after_listing_ = std::move(hook); }

  // Every OpenKey call, in order, with the path as given.
  const std::vector<OpenCall>& open_calls() const { return open_calls_; }
  // Keys handed out by OpenKey and not yet destroyed (closed).
  int open_key_count() const { return open_key_count_; }

 private:
  class Key;
  struct Node {
    std::string name;
    std::vector<std::pair<std::string, RegistryValue>> values;
    std::vector<std::unique_ptr<Node>> subkeys;
  };

  std::unique_ptr<platform::RegistryKey> Open(RootKey root, const std::string& path, bool create);
  // Where a path of the given view is stored.
  std::string StoredPath(RootKey root, const std::string& path, RegistryView view) const;
  void ListedNames() const {
    if (after_listing_) after_listing_();
  }

  const Node* Find(RootKey root, const std::string& path) const;
  Node* Find(RootKey root, const std::string& path, bool create);
  // The root and the case-folded segments, joined: how the knobs identify a key.
  static std::string Canonical(RootKey root, const std::string& path);

  Node current_user_;
  Node local_machine_;
  std::set<std::string> unopenable_;
  std::set<std::string> read_only_;
  std::vector<OpenCall> open_calls_;
  int open_key_count_ = 0;
  System system_ = System::k32BitWindows;
  std::function<void()> after_listing_;
};

}  // namespace velmora::fakes

#endif  // VELMORA_TESTS_FAKES_FAKE_REGISTRY_BACKEND_H_
