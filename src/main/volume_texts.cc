#include "main/volume_texts.h"

#include <cmath>
#include <cstdio>

namespace velmora::main {
namespace {

// The number of drive letters, A to Z.
constexpr int kDriveLetters = 26;

// Whole numbers show at most this many significant digits; the rest become zeros.
constexpr std::size_t kSignificantDigits = 18;

// Rounds a string of decimal digits to kSignificantDigits, half up.
std::string RoundToSignificantDigits(std::string digits) {
  if (digits.size() <= kSignificantDigits) return digits;
  const bool round_up = digits[kSignificantDigits] >= '5';
  for (std::size_t i = kSignificantDigits; i < digits.size(); ++i) digits[i] = '0';
  if (!round_up) return digits;
  for (std::size_t i = kSignificantDigits; i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return digits;
    }
    digits[i] = '0';
  }
  return '1' + digits;  // all nines carried over
}

}  // namespace

int LetterCodeOfMask(std::uint32_t mask) {
  const long double code = std::log(static_cast<long double>(mask)) / std::log(2.0L) + 65.0L;
  return static_cast<int>(std::floor(code + 0.5L));
}

std::vector<char> DriveLettersOfMask(std::uint32_t mask) {
  std::vector<char> letters;
  for (int bit = 0; bit < kDriveLetters; ++bit) {
    const std::uint32_t drive = std::uint32_t{1} << bit;
    if ((mask & drive) != 0) letters.push_back(static_cast<char>(LetterCodeOfMask(drive)));
  }
  return letters;
}

std::string RootPath(char letter) { return std::string{letter, ':', '\\'}; }

std::string VolumeNameText(const std::string& label, char letter) {
  return label + " (" + RootPath(letter) + ")";
}

std::string SerialNumberText(std::uint32_t serial_number) {
  char text[10];
  std::snprintf(text, sizeof text, "%04X-%04X", static_cast<unsigned>(serial_number >> 16),
                static_cast<unsigned>(serial_number & 0xFFFFu));
  return text;
}

std::string SystemText(const std::string& file_system, std::uint32_t serial_number) {
  return "System File : " + file_system + " Serial Number : " + SerialNumberText(serial_number);
}

std::int64_t Kilobytes(std::int64_t bytes) { return bytes / 1024; }

std::string FormatThousands(std::int64_t value, const std::string& separator) {
  // The magnitude as unsigned, so that the most negative value has one too.
  const std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  const std::string digits = RoundToSignificantDigits(std::to_string(magnitude));
  std::string text = value < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += separator;
    text += digits[i];
  }
  return text;
}

std::string SizeText(std::int64_t total_bytes, std::int64_t free_bytes,
                     const std::string& separator) {
  return " Size Total : " + FormatThousands(Kilobytes(total_bytes), separator) +
         " Kilo-octets  Size Available : " + FormatThousands(Kilobytes(free_bytes), separator) +
         " Kilo-octets";
}

}  // namespace velmora::main
