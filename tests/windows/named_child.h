#ifndef VELMORA_TESTS_WINDOWS_NAMED_CHILD_H_
#define VELMORA_TESTS_WINDOWS_NAMED_CHILD_H_

#include <windows.h>

#include <string>

namespace velmora::test_support {

// The descendant of parent whose window carries the component name, as outside tools find it.
HWND ChildNamed(HWND parent, const std::string& name);

}  // namespace velmora::test_support

#endif  // VELMORA_TESTS_WINDOWS_NAMED_CHILD_H_
