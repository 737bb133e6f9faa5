#ifndef VELMORA_SCAN_CLI_TEXT_ESCAPE_H_
#define VELMORA_SCAN_CLI_TEXT_ESCAPE_H_

#include <string>
#include <string_view>

namespace velmora::scan_cli {

// Names come from sticks that someone else filled: none may move a terminal's cursor, change
// its colours or break a line. Control characters (C0, DEL and the C1 range) and bytes that are
// not part of well-formed UTF-8 become \xNN; everything else is kept.
std::string EscapeForTerminal(std::string_view text);

// `text` as a quoted JSON string. Well-formed UTF-8 is kept as it is (control characters
// escaped); any other byte stands for the character of the same value (as in Latin-1), so the
// output is always valid JSON. IsWellFormedUtf8 tells whether that was needed.
std::string JsonString(std::string_view text);
bool IsWellFormedUtf8(std::string_view text);

// The bytes of `text` in lower-case hexadecimal, two digits each.
std::string HexBytes(std::string_view text);

}  // namespace velmora::scan_cli

#endif  // VELMORA_SCAN_CLI_TEXT_ESCAPE_H_
