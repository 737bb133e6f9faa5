#ifndef VELMORA_PLATFORM_UNIQUE_HANDLE_WIN32_H_
#define VELMORA_PLATFORM_UNIQUE_HANDLE_WIN32_H_

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace velmora::platform {

// A move-only owner of one platform handle; Traits say what "no handle" is and how to free one.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }

  Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {  // NULL means none: mutexes, processes, threads
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
struct FileHandleTraits {  // INVALID_HANDLE_VALUE means none: CreateFile results
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};
struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::RegCloseKey(h); }
};
struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DestroyIcon(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DestroyMenu(h); }
};
template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DeleteObject(h); }
};
struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::ImageList_Destroy(h); }
};
struct WindowTraits {
  using Handle = HWND;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DestroyWindow(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueKey = UniqueHandle<RegistryKeyTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_UNIQUE_HANDLE_WIN32_H_
