#include "quarantine/quarantine_record.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

namespace velmora::quarantine {
namespace {

constexpr char kFormatLine[] = "velmora-quarantine-record 1";
constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A decimal or 0x-hexadecimal number that fills the whole text.
bool ParseNumber(const std::string& text, std::uint64_t& value) {
  const bool hex = text.size() > 2 && text[0] == '0' && text[1] == 'x';
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > 20) return false;
  std::uint64_t result = 0;
  for (const char c : digits) {
    const int digit = hex ? HexValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return false;
    const std::uint64_t base = hex ? 16 : 10;
    if (result > (UINT64_MAX - static_cast<std::uint64_t>(digit)) / base) return false;
    result = result * base + static_cast<std::uint64_t>(digit);
  }
  value = result;
  return true;
}

bool IsSha256(const std::string& text) {
  if (text.size() != 64) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

// Items come only from drive paths below a root ("E:\\..."), and go back only to one.
bool IsDrivePath(const platform::NativePath& path) {
  const char16_t letter = path.empty() ? u'\0' : path[0];
  return path.size() >= 4 &&
         ((letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z')) &&
         path[1] == u':' && path[2] == u'\\';
}

}  // namespace

std::string EscapePath(const platform::NativePath& path) {
  std::string text;
  for (const char16_t unit : path) {
    if (unit >= 0x20 && unit <= 0x7E && unit != u'%') {
      text += static_cast<char>(unit);
      continue;
    }
    text += "%u";
    for (int shift = 12; shift >= 0; shift -= 4) text += kHexDigits[(unit >> shift) & 0xF];
  }
  return text;
}

bool UnescapePath(const std::string& text, platform::NativePath& path) {
  platform::NativePath result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c < 0x20 || c > 0x7E) return false;
    if (c != '%') {
      result += static_cast<char16_t>(c);
      continue;
    }
    if (i + 6 > text.size() || text[i + 1] != 'u') return false;
    unsigned unit = 0;
    for (std::size_t k = i + 2; k < i + 6; ++k) {
      const int digit = HexValue(text[k]);
      if (digit < 0) return false;
      unit = unit * 16 + static_cast<unsigned>(digit);
    }
    result += static_cast<char16_t>(unit);
    i += 5;
  }
  path = result;
  return true;
}

std::string FormatRecord(const QuarantineRecord& record) {
  char attributes[16];
  std::snprintf(attributes, sizeof attributes, "0x%08X", static_cast<unsigned>(record.attributes));
  std::ostringstream text;
  text << kFormatLine << "\r\n"
       << "original=" << EscapePath(record.original_path) << "\r\n"
       << "attributes=" << attributes << "\r\n"
       << "size=" << record.size << "\r\n"
       << "modified=" << record.modified << "\r\n"
       << "quarantined=" << record.quarantined << "\r\n"
       << "sha256=" << record.sha256 << "\r\n";
  return text.str();
}

bool ParseRecord(const std::string& text, QuarantineRecord& record) {
  std::map<std::string, std::string> fields;
  std::istringstream lines(text);
  std::string line;
  bool first = true;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (first) {
      if (line != kFormatLine) return false;
      first = false;
      continue;
    }
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    if (!fields.emplace(line.substr(0, equals), line.substr(equals + 1)).second) return false;
  }
  static constexpr const char* kKeys[] = {"original", "attributes",  "size",
                                          "modified", "quarantined", "sha256"};
  if (first || fields.size() != std::size(kKeys)) return false;
  for (const char* key : kKeys) {
    if (!fields.count(key)) return false;
  }
  QuarantineRecord parsed;
  parsed.id = record.id;
  std::uint64_t attributes = 0;
  if (!UnescapePath(fields["original"], parsed.original_path) ||
      !IsDrivePath(parsed.original_path) || !ParseNumber(fields["attributes"], attributes) ||
      attributes > 0xFFFFFFFFu || !ParseNumber(fields["size"], parsed.size) ||
      !ParseNumber(fields["modified"], parsed.modified) ||
      !ParseNumber(fields["quarantined"], parsed.quarantined) || !IsSha256(fields["sha256"])) {
    return false;
  }
  parsed.attributes = static_cast<std::uint32_t>(attributes);
  parsed.sha256 = fields["sha256"];
  record = parsed;
  return true;
}

std::string UtcText(std::uint64_t ticks) {
  // Days since 1601-01-01 to a civil date (the proleptic Gregorian calendar).
  const std::uint64_t seconds = ticks / 10'000'000;
  std::int64_t days = static_cast<std::int64_t>(seconds / 86400);
  const unsigned second_of_day = static_cast<unsigned>(seconds % 86400);
  days -= 134774;  // to days since 1970-01-01
  days += 719468;  // to days since 0000-03-01
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned day_of_era = static_cast<unsigned>(days - era * 146097);
  const unsigned year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const unsigned day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const unsigned shifted_month = (5 * day_of_year + 2) / 153;
  const unsigned day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  const unsigned month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  const std::int64_t year = static_cast<std::int64_t>(year_of_era) + era * 400 + (month <= 2);
  char text[32];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02u:%02u:%02u", static_cast<long long>(year),
                month, day, second_of_day / 3600, second_of_day / 60 % 60, second_of_day % 60);
  return text;
}

}  // namespace velmora::quarantine
