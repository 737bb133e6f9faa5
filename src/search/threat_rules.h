#ifndef VELMORA_SEARCH_THREAT_RULES_H_
#define VELMORA_SEARCH_THREAT_RULES_H_

#include <array>
#include <cstdint>
#include <string_view>

namespace velmora::search {

// Names ending with one of these are threats whatever their attributes. Endings are matched
// against the raw end of the name, so ".vb" keeps its full stop and "inf" also matches
// "setupinf".
inline constexpr std::array<std::string_view, 5> kAlwaysThreatEndings = {"inf", "vbs", "vbe", ".vb",
                                                                         "pif"};

// Names ending with one of these are threats only with one of kHiddenThreatAttributes.
inline constexpr std::array<std::string_view, 16> kHiddenThreatEndings = {
    "exe", "js",  "wsf", "aspx", "htt", "jsp", "jse", "ws",
    "wsc", "cmd", "hta", "reg",  "lnk", "scf", "bat", "html"};

// Hidden; hidden and read-only; hidden and archive; hidden, archive and read-only. The whole
// attribute value must be one of these: system, directory or any other bit makes it miss.
inline constexpr std::array<std::int32_t, 4> kHiddenThreatAttributes = {2, 3, 34, 35};

// Whether the last characters of `name`, with A to Z folded, equal the lower-case `ending`.
bool EndsWithFolded(std::string_view name, std::string_view ending);

// The first ending of the table that `name` ends with; empty when it ends with none.
std::string_view FindAlwaysThreatEnding(std::string_view name);
std::string_view FindHiddenThreatEnding(std::string_view name);

inline bool HasAlwaysThreatEnding(std::string_view name) {
  return !FindAlwaysThreatEnding(name).empty();
}
inline bool HasHiddenThreatEnding(std::string_view name) {
  return !FindHiddenThreatEnding(name).empty();
}
bool IsHiddenThreatAttribute(std::int32_t attributes);

// Whether some attribute value could make `name` a threat: without one of the endings no rule
// looks at its attributes.
inline bool MayBeThreat(std::string_view name) {
  return HasAlwaysThreatEnding(name) || HasHiddenThreatEnding(name);
}

enum class ThreatRule { kNone, kAlwaysThreatEnding, kHiddenThreatEnding };

// Which rule makes an entry a threat, and through which ending.
struct ThreatMatch {
  ThreatRule rule = ThreatRule::kNone;
  std::string_view ending;
  explicit operator bool() const { return rule != ThreatRule::kNone; }
};

// Both tests of an entry. No ending of one table ends with an ending of the other, so a name
// passes through one table at most and never yields two entries.
inline bool IsThreat(std::string_view name, std::int32_t attributes) {
  return HasAlwaysThreatEnding(name) ||
         (HasHiddenThreatEnding(name) && IsHiddenThreatAttribute(attributes));
}

// IsThreat, telling why.
ThreatMatch MatchThreat(std::string_view name, std::int32_t attributes);

}  // namespace velmora::search

#endif  // VELMORA_SEARCH_THREAT_RULES_H_
