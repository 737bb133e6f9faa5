#ifndef VELMORA_TESTS_WINDOWS_RAW_REGISTRY_VALUE_H_
#define VELMORA_TESTS_WINDOWS_RAW_REGISTRY_VALUE_H_

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test_support {

// Stores data the way another program might, bypassing the port. The ANSI call counts a NUL
// just past the data as part of a string it forgot to count; a byte that is not NUL there
// keeps unterminated data unterminated.
inline LSTATUS WriteRawValue(HKEY key, const std::string& name, DWORD type,
                             const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> buffer(data);
  buffer.push_back(0xFF);
  return ::RegSetValueExA(key, name.c_str(), 0, type, buffer.data(),
                          static_cast<DWORD>(data.size()));
}

}  // namespace velmora::test_support

#endif  // VELMORA_TESTS_WINDOWS_RAW_REGISTRY_VALUE_H_
