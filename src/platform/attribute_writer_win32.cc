#include "platform/attribute_writer_win32.h"

#include <windows.h>

#include "platform/error_text_win32.h"

namespace velmora::platform {

std::string Win32AttributeWriter::SetAttributes(const std::string& path, std::uint32_t attributes) {
  const DWORD current = ::GetFileAttributesA(path.c_str());
  if (current == INVALID_FILE_ATTRIBUTES) return ErrorText(::GetLastError());
  if (current & FILE_ATTRIBUTE_REPARSE_POINT) return "a link is not changed";
  if (!::SetFileAttributesA(path.c_str(), AttributeWordToSet(current, attributes))) {
    return ErrorText(::GetLastError());
  }
  return {};
}

unsigned long AttributeWordToSet(unsigned long current, std::uint32_t attributes) {
  constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                              FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  // Bits besides these four that SetFileAttributes also takes, kept as they are.
  constexpr DWORD kKept =
      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;
  const DWORD word = (current & kKept) | (attributes & kSettable);
  return word == 0 ? FILE_ATTRIBUTE_NORMAL : word;
}

}  // namespace velmora::platform
