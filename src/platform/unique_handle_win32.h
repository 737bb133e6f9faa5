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

struct GlobalAtomTraits {
  using Handle = ATOM;
  static Handle Invalid() { return 0; }
  static void Close(Handle h) { ::GlobalDeleteAtom(h); }
};
struct MemoryDcTraits {  // CreateCompatibleDC results
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DeleteDC(h); }
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
using UniqueGlobalAtom = UniqueHandle<GlobalAtomTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// The owners below hold a second value their release needs, so they are not UniqueHandles.

// A window's (or, for no window, the screen's) device context from GetDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The device context of one WM_PAINT, from BeginPaint to EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~PaintDc() { ::EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a device context; the one it replaced goes back in at the end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A registered window class, unregistered with the module that registered it.
class UniqueWindowClass {
 public:
  UniqueWindowClass() = default;
  UniqueWindowClass(ATOM atom, HINSTANCE instance) : atom_(atom), instance_(instance) {}
  ~UniqueWindowClass() { reset(); }
  UniqueWindowClass(const UniqueWindowClass&) = delete;
  UniqueWindowClass& operator=(const UniqueWindowClass&) = delete;
  UniqueWindowClass(UniqueWindowClass&& other) noexcept
      : atom_(std::exchange(other.atom_, 0)), instance_(other.instance_) {}
  UniqueWindowClass& operator=(UniqueWindowClass&& other) noexcept {
    if (this != &other) {
      reset();
      atom_ = std::exchange(other.atom_, 0);
      instance_ = other.instance_;
    }
    return *this;
  }
  explicit operator bool() const { return atom_ != 0; }
  void reset() {
    if (atom_ != 0) ::UnregisterClassA(MAKEINTATOM(std::exchange(atom_, 0)), instance_);
  }

 private:
  ATOM atom_ = 0;
  HINSTANCE instance_ = nullptr;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_UNIQUE_HANDLE_WIN32_H_
