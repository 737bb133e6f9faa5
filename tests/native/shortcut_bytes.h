#ifndef VELMORA_TESTS_NATIVE_SHORTCUT_BYTES_H_
#define VELMORA_TESTS_NATIVE_SHORTCUT_BYTES_H_

#include <cstdint>
#include <string>

namespace velmora::scan_cli {

// What a test shortcut holds; empty parts are left out of the file.
struct ShortcutSpec {
  std::string target;  // stored as the local base path of the link information
  std::string relative_path;
  std::string working_directory;
  std::string arguments;
  bool unicode = true;  // string data in UTF-16 (ASCII texts only) or 8-bit
  bool id_list = true;  // an item list before the link information, as the shell writes
};

// The bytes of a shell shortcut file as the shell lays them out.
inline std::string ShortcutBytes(const ShortcutSpec& spec) {
  std::string bytes;
  const auto u16 = [&bytes](std::uint32_t value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
  };
  const auto u32 = [&](std::uint32_t value) {
    u16(value & 0xFFFF);
    u16(value >> 16);
  };
  std::uint32_t flags = spec.unicode ? 0x80 : 0;
  if (spec.id_list) flags |= 0x1;
  if (!spec.target.empty()) flags |= 0x2;
  if (!spec.relative_path.empty()) flags |= 0x8;
  if (!spec.working_directory.empty()) flags |= 0x10;
  if (!spec.arguments.empty()) flags |= 0x20;

  u32(0x4C);
  bytes += std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
  u32(flags);
  u32(0x20);                       // the target's attributes
  bytes += std::string(24, '\0');  // three file times
  u32(0);                          // file size
  u32(0);                          // icon index
  u32(1);                          // show normal
  bytes += std::string(12, '\0');  // hot key and reserved
  if (spec.id_list) {
    u16(6);
    u16(4);  // one item of four bytes, then the terminator
    u16(0x1F);
    u16(0);
  }
  if (!spec.target.empty()) {
    constexpr std::uint32_t kHeader = 0x1C;
    constexpr std::uint32_t kVolumeId = 0x10;
    const std::uint32_t base = kHeader + kVolumeId;
    const std::uint32_t suffix = base + static_cast<std::uint32_t>(spec.target.size()) + 1;
    u32(suffix + 1);  // the whole structure
    u32(kHeader);
    u32(1);        // volume id and local base path
    u32(kHeader);  // volume id
    u32(base);
    u32(0);  // no network location
    u32(suffix);
    u32(kVolumeId);
    bytes += std::string(kVolumeId - 4, '\0');
    bytes += spec.target;
    bytes += '\0';
    bytes += '\0';  // empty common path suffix
  }
  for (const std::string* text : {&spec.relative_path, &spec.working_directory, &spec.arguments}) {
    if (text->empty()) continue;
    u16(static_cast<std::uint32_t>(text->size()));
    for (const char c : *text) {
      if (spec.unicode) {
        u16(static_cast<unsigned char>(c));
      } else {
        bytes += c;
      }
    }
  }
  u32(0);  // no extra data
  return bytes;
}

}  // namespace velmora::scan_cli

#endif  // VELMORA_TESTS_NATIVE_SHORTCUT_BYTES_H_
