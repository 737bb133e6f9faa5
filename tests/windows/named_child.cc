#include "named_child.h"

namespace velmora::test_support {
namespace {

struct NameSearch {
  std::string name;
  HWND found = nullptr;
};

// A plain function: only that has the calling convention a 32-bit callback needs.
BOOL CALLBACK MatchName(HWND child, LPARAM context) {
  auto* search = reinterpret_cast<NameSearch*>(context);
  char text[256] = {};
  const ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(::GetPropA(child, "VelmoraName")));
  if (atom != 0 && ::GlobalGetAtomNameA(atom, text, sizeof text) > 0 && search->name == text) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND ChildNamed(HWND parent, const std::string& name) {
  NameSearch search{name};
  ::EnumChildWindows(parent, MatchName, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace velmora::test_support
