// Shared by the probe's source files only.

#ifndef VELMORA_TESTS_E2E_PROBE_INTERNAL_H_
#define VELMORA_TESTS_E2E_PROBE_INTERNAL_H_

#include <windows.h>

#include <string>

namespace velmora::probe::internal {

// Records `what` as the last error and returns false.
bool Fail(const std::string& what);
// Same, with the text of GetLastError() (or of `code`) appended.
bool FailWin32(const std::string& what, DWORD code = GetLastError());

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

}  // namespace velmora::probe::internal

#endif  // VELMORA_TESTS_E2E_PROBE_INTERNAL_H_
