#include "platform/clock_posix.h"

#include <langinfo.h>
#include <time.h>

#include <cctype>
#include <cstddef>
#include <string>

namespace velmora::platform {
namespace {

// One strftime conversion: its letter, whether a flag asked for no padding, and where the text
// after it begins.
struct Conversion {
  char letter = 0;
  bool unpadded = false;
  std::size_t end = 0;
};

// Reads the conversion whose "%" is at `at`: flags, width and E/O modifiers come before the
// letter.
Conversion ReadConversion(const std::string& format, std::size_t at) {
  Conversion conversion;
  std::size_t i = at + 1;
  while (i < format.size() && (format[i] == '-' || format[i] == '_' || format[i] == '0' ||
                               format[i] == '^' || format[i] == '#')) {
    if (format[i] == '-' || format[i] == '_') conversion.unpadded = true;
    ++i;
  }
  while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) ++i;
  if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) ++i;
  if (i < format.size()) conversion.letter = format[i++];
  conversion.end = i;
  return conversion;
}

std::string ExpandTimeShorthands(const std::string& format, const std::string& ampm_format,
                                 int depth = 0) {
  std::string expanded;
  for (std::size_t i = 0; i < format.size();) {
    if (format[i] != '%') {
      expanded += format[i++];
      continue;
    }
    const Conversion conversion = ReadConversion(format, i);
    if (conversion.letter == 'T') {
      expanded += "%H:%M:%S";
    } else if (conversion.letter == 'R') {
      expanded += "%H:%M";
    } else if (conversion.letter == 'r' && depth == 0) {
      expanded += ExpandTimeShorthands(ampm_format, ampm_format, depth + 1);
    } else {
      expanded.append(format, i, conversion.end - i);
    }
    i = conversion.end;
  }
  return expanded;
}

void AppendLiteral(std::string& pattern, const std::string& literal) {
  bool needs_quotes = false;
  for (char c : literal) needs_quotes |= std::isalpha(static_cast<unsigned char>(c)) || c == '\'';
  if (!needs_quotes) {
    pattern += literal;
    return;
  }
  pattern += '\'';
  for (char c : literal) pattern += c == '\'' ? std::string("''") : std::string(1, c);
  pattern += '\'';
}

std::string Info(nl_item item, locale_t locale) { return ::nl_langinfo_l(item, locale); }

}  // namespace

void ApplyStrftimeTimeFormat(const std::string& format, const std::string& ampm_format,
                             DateTimeFormats& formats) {
  const std::string expanded = ExpandTimeShorthands(format, ampm_format);
  bool seen_designator = false;
  for (std::size_t i = 0; i < expanded.size();) {
    if (expanded[i] != '%') {
      ++i;
      continue;
    }
    const Conversion conversion = ReadConversion(expanded, i);
    i = conversion.end;
    const char c = conversion.letter;
    if (c == 'p' || c == 'P') seen_designator = true;
    if (c != 'H' && c != 'k' && c != 'I' && c != 'l') continue;
    formats.twelve_hour_clock = c == 'I' || c == 'l';
    formats.hour_leading_zero = (c == 'H' || c == 'I') && !conversion.unpadded;
    formats.designator_before_time = seen_designator;
    const std::size_t next = expanded.find('%', i);
    const std::string separator = expanded.substr(i, next == std::string::npos ? 0 : next - i);
    formats.time_separator = separator.empty() ? ":" : separator;
    return;
  }
}

std::string ShortDatePatternFromStrftime(const std::string& format) {
  std::string pattern;
  std::string literal;
  const auto flush = [&] {
    AppendLiteral(pattern, literal);
    literal.clear();
  };
  for (std::size_t i = 0; i < format.size();) {
    if (format[i] != '%') {
      literal += format[i++];
      continue;
    }
    const Conversion conversion = ReadConversion(format, i);
    i = conversion.end;
    std::string piece;
    switch (conversion.letter) {
      case 'd':
        piece = conversion.unpadded ? "d" : "dd";
        break;
      case 'e':
        piece = "d";
        break;
      case 'm':
        piece = conversion.unpadded ? "M" : "MM";
        break;
      case 'y':
        piece = "yy";
        break;
      case 'Y':
        piece = "yyyy";
        break;
      case 'b':
      case 'h':
        piece = "MMM";
        break;
      case 'B':
        piece = "MMMM";
        break;
      case 'a':
        piece = "ddd";
        break;
      case 'A':
        piece = "dddd";
        break;
      case 'D':
        piece = "MM/dd/yy";
        break;
      case 'F':
        piece = "yyyy-MM-dd";
        break;
      case '%':
        literal += '%';
        continue;
      default:
        continue;
    }
    flush();
    pattern += piece;
  }
  flush();
  return pattern;
}

PosixClock::PosixClock() : locale_(::newlocale(LC_TIME_MASK, "", nullptr)) {
  // An environment naming a locale that is not installed falls back to the C library's own.
  if (locale_ == nullptr) locale_ = ::newlocale(LC_TIME_MASK, "C", nullptr);
}

PosixClock::~PosixClock() {
  if (locale_ != nullptr) ::freelocale(locale_);
}

LocalTime PosixClock::Now() {
  const time_t now = ::time(nullptr);
  struct tm local {};
  ::localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

DateTimeFormats PosixClock::Formats() {
  DateTimeFormats formats;
  if (locale_ == nullptr) return formats;
  formats.am_designator = Info(AM_STR, locale_);
  formats.pm_designator = Info(PM_STR, locale_);
  ApplyStrftimeTimeFormat(Info(T_FMT, locale_), Info(T_FMT_AMPM, locale_), formats);
  formats.short_date_pattern = ShortDatePatternFromStrftime(Info(D_FMT, locale_));
  for (int i = 0; i < 12; ++i) {
    formats.month_names[i] = Info(static_cast<nl_item>(MON_1 + i), locale_);
    formats.abbreviated_month_names[i] = Info(static_cast<nl_item>(ABMON_1 + i), locale_);
  }
  for (int i = 0; i < 7; ++i) {
    formats.day_names[i] = Info(static_cast<nl_item>(DAY_1 + i), locale_);
    formats.abbreviated_day_names[i] = Info(static_cast<nl_item>(ABDAY_1 + i), locale_);
  }
  return formats;
}

}  // namespace velmora::platform
