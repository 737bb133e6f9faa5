#ifndef VELMORA_PLATFORM_FILE_ATTRIBUTES_H_
#define VELMORA_PLATFORM_FILE_ATTRIBUTES_H_

#include <cstdint>

namespace velmora::platform {

// File attribute bits with the platform's values; attribute words carry them on every system.
inline constexpr std::uint32_t kAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kAttributeHidden = 0x2;
inline constexpr std::uint32_t kAttributeSystem = 0x4;
inline constexpr std::uint32_t kAttributeVolumeLabel = 0x8;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeArchive = 0x20;
inline constexpr std::uint32_t kAttributeReparsePoint = 0x400;

// What an attribute query returns when it fails (all bits set, -1 when read as signed).
inline constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFF;

// The search layer's exclusion rule: an entry is passed over when it carries any of hidden,
// system, volume label or directory that the mask lacks. Read-only, archive and every higher
// bit never exclude.
constexpr bool ExcludedBySearchMask(std::uint32_t attributes, std::uint32_t mask) {
  constexpr std::uint32_t kExcluding =
      kAttributeHidden | kAttributeSystem | kAttributeVolumeLabel | kAttributeDirectory;
  return (attributes & kExcluding & ~mask) != 0;
}

// Whether a search with `mask` passes over nothing, whatever the entries' words.
constexpr bool MaskExcludesNothing(std::uint32_t mask) {
  return !ExcludedBySearchMask(
      kAttributeHidden | kAttributeSystem | kAttributeVolumeLabel | kAttributeDirectory, mask);
}

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_FILE_ATTRIBUTES_H_
