#ifndef VELMORA_UI_ASCII_CASE_H_
#define VELMORA_UI_ASCII_CASE_H_

#include <string>
#include <string_view>

namespace velmora::ui {

// Texts are 8-bit ANSI, and comparisons that ignore case fold only A to Z: accented letters
// and every other byte must match exactly.
constexpr char FoldAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

inline std::string FoldAsciiLetters(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = FoldAsciiLetter(c);
  return folded;
}

}  // namespace velmora::ui

#endif  // VELMORA_UI_ASCII_CASE_H_
