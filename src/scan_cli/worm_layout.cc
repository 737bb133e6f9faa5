#include "scan_cli/worm_layout.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <set>
#include <string_view>

#include "platform/file_attributes.h"
#include "scan_cli/shortcut_file.h"
#include "search/threat_rules.h"
#include "ui/ascii_case.h"

namespace velmora::scan_cli {
namespace {

using platform::DirectoryEntry;

// What a shortcut can start without help from another program, and the scripts the platform
// runs through its own hosts.
constexpr std::array<std::string_view, 16> kRunnableEndings = {
    ".exe", ".com", ".scr", ".pif", ".bat", ".cmd", ".vbs", ".vbe",
    ".js",  ".jse", ".wsf", ".wsh", ".ps1", ".hta", ".dll", ".cpl"};

// Folders the platform itself keeps hidden at the root of a volume.
constexpr std::array<std::string_view, 4> kSystemFolders = {"system volume information",
                                                            "$recycle.bin", "recycler", "recycled"};

constexpr std::uint32_t kHiding = platform::kAttributeHidden | platform::kAttributeSystem;

bool IsDirectory(const DirectoryEntry& entry) {
  return (entry.attributes & platform::kAttributeDirectory) != 0;
}
bool IsHidden(const DirectoryEntry& entry) { return (entry.attributes & kHiding) != 0; }
bool IsLink(const DirectoryEntry& entry) {
  return (entry.attributes & platform::kAttributeReparsePoint) != 0;
}
bool IsShortcut(const DirectoryEntry& entry) {
  return !IsDirectory(entry) && entry.name.size() > 4 && search::EndsWithFolded(entry.name, ".lnk");
}
std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = ui::FoldAsciiLetter(c);
  return folded;
}
bool IsSystemFolder(const DirectoryEntry& entry) {
  const std::string folded = Folded(entry.name);
  return std::find(kSystemFolders.begin(), kSystemFolders.end(), folded) != kSystemFolders.end();
}
bool IsRunnable(std::string_view name) {
  return std::any_of(kRunnableEndings.begin(), kRunnableEndings.end(),
                     [name](std::string_view ending) {
                       return name.size() > ending.size() && search::EndsWithFolded(name, ending);
                     });
}

// The words of a command line: blanks, quotes and the shell's joining characters part them.
std::vector<std::string> Words(std::string_view command) {
  std::vector<std::string> words;
  std::string word;
  for (const char c : command) {
    if (std::string_view(" \t\"'&|,;<>^()").find(c) != std::string_view::npos) {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

// Where `reference` (a path as the shortcut writes it) would lie on the stick: beside the
// shortcut and at the root for a relative one, at the root for one that starts at a drive's
// root. None for anything else (another machine's share, an environment variable, an option)
// and for anything that climbs with "..", which could only lead off the tree.
std::vector<std::string> PlacesOnStick(std::string reference, const std::string& directory,
                                       const std::string& root, char separator) {
  for (char& c : reference) {
    if (c == '\\' || c == '/') c = separator;
  }
  const std::string wrapped = separator + reference + separator;
  if (wrapped.find(std::string{separator, '.', '.', separator}) != std::string::npos) return {};
  const bool drive = reference.size() > 2 &&
                     std::isalpha(static_cast<unsigned char>(reference[0])) &&
                     reference[1] == ':' && reference[2] == separator;
  if (drive) return {root + reference.substr(3)};
  if (reference.empty() || reference[0] == '%' || reference.find(':') != std::string::npos) {
    return {};
  }
  if (reference[0] == separator) {
    if (reference.size() > 1 && reference[1] == separator) return {};
    return {root + reference.substr(1)};
  }
  while (reference.size() > 2 && reference[0] == '.' && reference[1] == separator) {
    reference.erase(0, 2);
  }
  std::vector<std::string> places = {directory + reference};
  if (directory != root) places.push_back(root + reference);
  return places;
}

// The program or script on the stick that the shortcut runs, if any.
std::optional<std::string> PayloadOnStick(const Shortcut& shortcut, const std::string& directory,
                                          const std::string& root, platform::FileSystem& files) {
  std::vector<std::string> references = {shortcut.target, shortcut.relative_path};
  for (std::string& word : Words(shortcut.arguments)) references.push_back(std::move(word));
  const char separator = files.path_syntax().separator;
  for (const std::string& reference : references) {
    if (!IsRunnable(reference)) continue;
    for (const std::string& place : PlacesOnStick(reference, directory, root, separator)) {
      const std::uint32_t attributes = files.QueryAttributes(place);
      if (attributes != platform::kInvalidAttributes &&
          (attributes & platform::kAttributeDirectory) == 0) {
        return place;
      }
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadFileHeadFromDisk(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes(kShortcutReadLimit, '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  return bytes;
}

LayoutVerdict CheckWormLayout(const std::string& directory, const std::string& root,
                              const std::vector<DirectoryEntry>& entries,
                              platform::FileSystem& files, const ReadFileHead& read) {
  LayoutVerdict verdict;
  std::set<std::string> payloads;
  std::set<std::string> hidden_user_folders;  // folded names

  for (const DirectoryEntry& shortcut : entries) {
    if (!IsShortcut(shortcut)) continue;
    const std::string path = directory + shortcut.name;
    if (!IsHidden(shortcut)) {
      const std::string stem =
          Folded(std::string_view(shortcut.name).substr(0, shortcut.name.size() - 4));
      for (const DirectoryEntry& folder : entries) {
        if (!IsDirectory(folder) || !IsHidden(folder) || Folded(folder.name) != stem) continue;
        verdict.findings.push_back(
            {kShortcutMirrorsHiddenFolder, path, shortcut.attributes, directory + folder.name});
        hidden_user_folders.insert(stem);
      }
    }
    if (IsLink(shortcut)) continue;  // a link's target may lie anywhere
    const std::optional<std::string> bytes = read(path);
    if (!bytes) continue;
    const std::optional<Shortcut> parsed = ParseShortcut(*bytes);
    if (!parsed) continue;
    if (std::optional<std::string> payload = PayloadOnStick(*parsed, directory, root, files)) {
      verdict.findings.push_back({kShortcutRunsFromStick, path, shortcut.attributes, *payload});
      payloads.insert(*payload);
    }
  }

  if (directory == root) {
    const auto visible_is_shortcut = [](const DirectoryEntry& entry) {
      return IsHidden(entry) || IsShortcut(entry);
    };
    const bool any_visible = std::any_of(entries.begin(), entries.end(),
                                         [](const DirectoryEntry& e) { return !IsHidden(e); });
    const bool any_folder = std::any_of(entries.begin(), entries.end(), IsDirectory);
    const bool folders_hidden =
        std::all_of(entries.begin(), entries.end(),
                    [](const DirectoryEntry& e) { return !IsDirectory(e) || IsHidden(e); });
    if (any_visible && any_folder && folders_hidden &&
        std::all_of(entries.begin(), entries.end(), visible_is_shortcut)) {
      const std::uint32_t attributes = files.QueryAttributes(root);
      verdict.findings.push_back({kRootOfShortcutsOverHiddenFolders, root, attributes, {}});
      for (const DirectoryEntry& folder : entries) {
        if (IsDirectory(folder) && !IsSystemFolder(folder)) {
          hidden_user_folders.insert(Folded(folder.name));
        }
      }
    }
  }

  const char separator = files.path_syntax().separator;
  for (const DirectoryEntry& folder : entries) {
    if (!IsDirectory(folder) || !IsHidden(folder) || IsLink(folder) ||
        !hidden_user_folders.count(Folded(folder.name))) {
      continue;
    }
    const std::string path = directory + folder.name;
    const std::string inside = path + separator;
    const bool holds_payload = std::any_of(
        payloads.begin(), payloads.end(),
        [&](const std::string& payload) { return payload.compare(0, inside.size(), inside) == 0; });
    if (!holds_payload) verdict.hidden_user_folders.push_back({path, folder.attributes, true});
  }
  return verdict;
}

}  // namespace velmora::scan_cli
