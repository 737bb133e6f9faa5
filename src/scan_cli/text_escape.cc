#include "scan_cli/text_escape.h"

#include <cstdint>

namespace velmora::scan_cli {
namespace {

// The length of the well-formed UTF-8 sequence at `text[i]` (overlong forms, surrogates and
// values past U+10FFFF are not), with its code point; 0 when there is none.
std::size_t SequenceAt(std::string_view text, std::size_t i, std::uint32_t& code_point) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    code_point = lead;
    return 1;
  }
  std::size_t length;
  std::uint32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    minimum = 0x80;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    minimum = 0x800;
    code_point = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    minimum = 0x10000;
    code_point = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code_point = (code_point << 6) | (byte(i + k) & 0x3F);
  }
  if (code_point < minimum || code_point > 0x10FFFF ||
      (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    return 0;
  }
  return length;
}

// `prefix`, then `value` in `digits` hexadecimal digits of the given case.
void AppendHex(std::string& out, const char* prefix, unsigned value, int digits, bool upper) {
  const char* hex = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  out += prefix;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += hex[(value >> shift) & 0xF];
}

bool IsControl(std::uint32_t code_point) {
  return code_point < 0x20 || (code_point >= 0x7F && code_point <= 0x9F);
}

}  // namespace

std::string EscapeForTerminal(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::uint32_t code_point;
    const std::size_t length = SequenceAt(text, i, code_point);
    if (length == 0 || IsControl(code_point)) {
      for (std::size_t k = 0; k < (length == 0 ? 1 : length); ++k) {
        AppendHex(out, "\\x", static_cast<unsigned char>(text[i + k]), 2, true);
      }
      i += length == 0 ? 1 : length;
      continue;
    }
    out.append(text.substr(i, length));
    i += length;
  }
  return out;
}

bool IsWellFormedUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    std::uint32_t code_point;
    const std::size_t length = SequenceAt(text, i, code_point);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    std::uint32_t code_point;
    std::size_t length = SequenceAt(text, i, code_point);
    if (length == 0) {
      code_point = static_cast<unsigned char>(text[i]);
      length = 1;
      AppendHex(out, "\\u", code_point, 4, false);
    } else if (code_point == '"' || code_point == '\\') {
      out += '\\';
      out += static_cast<char>(code_point);
    } else if (IsControl(code_point)) {
      AppendHex(out, "\\u", code_point, 4, false);
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  out += '"';
  return out;
}

std::string HexBytes(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char c : text) AppendHex(out, "", static_cast<unsigned char>(c), 2, false);
  return out;
}

}  // namespace velmora::scan_cli
