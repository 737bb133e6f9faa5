#ifndef VELMORA_MAIN_VOLUME_TEXTS_H_
#define VELMORA_MAIN_VOLUME_TEXTS_H_

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::main {

// The character code of the drive letter a unit mask names: ln(mask) / ln(2) + 65 in extended
// precision, rounded to the nearest whole number. Exact for a mask with a single bit (bit 4
// gives 'E'); a mask with several bits gives the letter of its rounded logarithm. The mask must
// not be zero.
int LetterCodeOfMask(std::uint32_t mask);

// The drive letters of a unit mask, A to Z, each computed from its own bit. Bits beyond Z name
// no drive and are left out.
std::vector<char> DriveLettersOfMask(std::uint32_t mask);

// The root path of a drive: "E:\".
std::string RootPath(char letter);

// "KEY (F:\)"; an empty label leaves the blank in front.
std::string VolumeNameText(const std::string& label, char letter);

// Eight upper-case hexadecimal digits, high half first, split by "-": "0000-BEEF".
std::string SerialNumberText(std::uint32_t serial_number);

// "System File : FAT32 Serial Number : 1A2B-3C4D".
std::string SystemText(const std::string& file_system, std::uint32_t serial_number);

// Whole kilobytes of a byte count, the remainder dropped; an unknown size (-1) gives 0.
std::int64_t Kilobytes(std::int64_t bytes);

// A whole number with `separator` between groups of three digits, rounded to at most 18
// significant digits: 15630336 gives "15,630,336" under ",".
std::string FormatThousands(std::int64_t value, const std::string& separator);

// " Size Total : <total> Kilo-octets  Size Available : <free> Kilo-octets", from byte counts.
std::string SizeText(std::int64_t total_bytes, std::int64_t free_bytes,
                     const std::string& separator);

}  // namespace velmora::main

#endif  // VELMORA_MAIN_VOLUME_TEXTS_H_
