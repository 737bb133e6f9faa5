#ifndef VELMORA_QUARANTINE_QUARANTINE_RECORD_H_
#define VELMORA_QUARANTINE_QUARANTINE_RECORD_H_

#include <cstdint>
#include <string>

#include "platform/files.h"

namespace velmora::quarantine {

// What the store keeps beside each item: enough to put the file back byte for byte, with its
// attributes and last-write time, where it was.
struct QuarantineRecord {
  std::string id;
  platform::NativePath original_path;
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  std::uint64_t modified = 0;     // the file's last write, ticks since 1601 UTC
  std::uint64_t quarantined = 0;  // when it was stored, same ticks
  std::string sha256;             // of the bytes, lower-case hexadecimal
};

// The record as the store writes it: ASCII lines "key=value" under a first line naming the
// format. The id is the file's name and is not written.
std::string FormatRecord(const QuarantineRecord& record);
// Reads what FormatRecord wrote; false for anything else (unknown format, a missing, repeated
// or malformed field, an original path that is not below a drive's root).
bool ParseRecord(const std::string& text, QuarantineRecord& record);

// A path in printable ASCII: code units 0x20 to 0x7E stay (except "%"), every other one is
// "%uXXXX", so no name from a stick reaches the record as it stands and every one comes back.
std::string EscapePath(const platform::NativePath& path);
// False when `text` is not such an escape.
bool UnescapePath(const std::string& text, platform::NativePath& path);

// A tick count as "YYYY-MM-DD HH:MM:SS" (UTC).
std::string UtcText(std::uint64_t ticks);

}  // namespace velmora::quarantine

#endif  // VELMORA_QUARANTINE_QUARANTINE_RECORD_H_
