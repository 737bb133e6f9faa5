#include "scan_cli/shortcut_file.h"

#include <cstdint>
#include <cstring>

namespace velmora::scan_cli {
namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
// The class identifier every shortcut's header carries, as stored.
constexpr unsigned char kLinkClassId[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                            0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum LinkFlags : std::uint32_t {
  kHasTargetIdList = 0x1,
  kHasLinkInfo = 0x2,
  kHasName = 0x4,
  kHasRelativePath = 0x8,
  kHasWorkingDirectory = 0x10,
  kHasArguments = 0x20,
  kHasIconLocation = 0x40,
  kIsUnicode = 0x80,
};

// Little-endian reads that fail instead of running past the end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool U16(std::size_t at, std::uint32_t& value) const { return Read(at, 2, value); }
  bool U32(std::size_t at, std::uint32_t& value) const { return Read(at, 4, value); }
  std::size_t size() const { return bytes_.size(); }
  std::string_view bytes() const { return bytes_; }

  // A NUL-terminated 8-bit string at `at`, up to `end`.
  std::string AnsiAt(std::size_t at, std::size_t end) const {
    if (at >= end || end > bytes_.size()) return {};
    const std::string_view rest = bytes_.substr(at, end - at);
    return std::string(rest.substr(0, rest.find('\0')));
  }
  // A NUL-terminated UTF-16 string at `at`, up to `end`, as UTF-8.
  std::string Utf16At(std::size_t at, std::size_t end) const {
    std::string out;
    std::uint32_t unit;
    for (std::size_t i = at; i + 2 <= end && U16(i, unit) && unit != 0; i += 2) {
      std::uint32_t next;
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 4 <= end && U16(i + 2, next) && next >= 0xDC00 &&
          next <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
        i += 2;
      } else {
        AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
      }
    }
    return out;
  }

  static void AppendUtf8(std::string& out, std::uint32_t code_point) {
    if (code_point < 0x80) {
      out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
      out += static_cast<char>(0xC0 | (code_point >> 6));
      out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else if (code_point < 0x10000) {
      out += static_cast<char>(0xE0 | (code_point >> 12));
      out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code_point >> 18));
      out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
  }

 private:
  bool Read(std::size_t at, std::size_t width, std::uint32_t& value) const {
    if (at > bytes_.size() || bytes_.size() - at < width) return false;
    value = 0;
    for (std::size_t k = width; k-- > 0;) {
      value = (value << 8) | static_cast<unsigned char>(bytes_[at + k]);
    }
    return true;
  }

  std::string_view bytes_;
};

// The local base path and common path suffix of the link information at `at`; false when its
// size runs past the end.
bool ReadLinkInfo(const Reader& reader, std::size_t at, std::size_t& next, Shortcut& shortcut) {
  std::uint32_t size, header_size, flags, base_offset, suffix_offset;
  if (!reader.U32(at, size) || size < 0x1C || size > reader.size() - at) return false;
  next = at + size;
  if (!reader.U32(at + 4, header_size) || !reader.U32(at + 8, flags) ||
      !reader.U32(at + 16, base_offset) || !reader.U32(at + 24, suffix_offset)) {
    return true;
  }
  constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
  if ((flags & kVolumeIdAndLocalBasePath) == 0) return true;
  std::uint32_t base_unicode = 0, suffix_unicode = 0;
  if (header_size >= 0x24 && reader.U32(at + 28, base_unicode) &&
      reader.U32(at + 32, suffix_unicode) && base_unicode != 0) {
    shortcut.target = reader.Utf16At(at + base_unicode, next) +
                      (suffix_unicode != 0 ? reader.Utf16At(at + suffix_unicode, next) : "");
  } else {
    shortcut.target = reader.AnsiAt(at + base_offset, next) +
                      (suffix_offset != 0 ? reader.AnsiAt(at + suffix_offset, next) : "");
  }
  return true;
}

}  // namespace

std::optional<Shortcut> ParseShortcut(std::string_view bytes) {
  const Reader reader(bytes);
  std::uint32_t header_size, flags;
  if (!reader.U32(0, header_size) || header_size != kHeaderSize || bytes.size() < kHeaderSize ||
      std::memcmp(bytes.data() + 4, kLinkClassId, sizeof kLinkClassId) != 0 ||
      !reader.U32(20, flags)) {
    return std::nullopt;
  }
  Shortcut shortcut;
  std::size_t at = kHeaderSize;
  if (flags & kHasTargetIdList) {
    std::uint32_t list_size;
    if (!reader.U16(at, list_size)) return shortcut;
    at += 2 + list_size;
  }
  if (flags & kHasLinkInfo) {
    std::size_t next;
    if (!ReadLinkInfo(reader, at, next, shortcut)) return shortcut;
    at = next;
  }
  // The string data, in this order, each a count of characters and the characters.
  const bool unicode = (flags & kIsUnicode) != 0;
  std::string ignored;
  struct Field {
    std::uint32_t flag;
    std::string* text;
  };
  const Field fields[] = {{kHasName, &ignored},
                          {kHasRelativePath, &shortcut.relative_path},
                          {kHasWorkingDirectory, &shortcut.working_directory},
                          {kHasArguments, &shortcut.arguments},
                          {kHasIconLocation, &ignored}};
  for (const Field& field : fields) {
    if ((flags & field.flag) == 0) continue;
    std::uint32_t count;
    if (!reader.U16(at, count)) break;
    at += 2;
    const std::size_t length = static_cast<std::size_t>(count) * (unicode ? 2 : 1);
    if (length > bytes.size() - at) break;
    std::string text =
        unicode ? reader.Utf16At(at, at + length) : std::string(bytes.substr(at, length));
    // Stored counts include no terminator, but some writers add one anyway.
    *field.text = text.substr(0, text.find('\0'));
    at += length;
  }
  return shortcut;
}

}  // namespace velmora::scan_cli
