#ifndef VELMORA_UI_WIN32_BACKDROP_WIN32_H_
#define VELMORA_UI_WIN32_BACKDROP_WIN32_H_

// Off-screen drawing: a canvas to paint a window without flicker, and the backdrop that a
// container paints once and its transparent children show through.

#include <windows.h>

#include <utility>

#include "platform/unique_handle_win32.h"

namespace velmora::ui::win32 {

// A bitmap compatible with a device context, with a memory context drawing into it.
class MemoryCanvas {
 public:
  MemoryCanvas(HDC compatible_with, int width, int height)
      : dc_(::CreateCompatibleDC(compatible_with)),
        bitmap_(::CreateCompatibleBitmap(compatible_with, width, height)),
        selection_(dc_.get(), bitmap_.get()) {}

  HDC dc() const { return dc_.get(); }

 private:
  // In this order, so the bitmap leaves the context before either is freed.
  platform::UniqueMemoryDc dc_;
  platform::UniqueBitmap bitmap_;
  platform::SelectedObject selection_;
};

// A picture painted once at a size and kept as a pattern brush.
class Backdrop {
 public:
  // Paints width x height pixels of the screen's format through paint(HDC).
  template <typename Painter>
  void Paint(int width, int height, Painter&& paint) {
    const platform::WindowDc screen(nullptr);
    platform::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    {
      const platform::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
      const platform::SelectedObject selection(dc.get(), bitmap.get());
      paint(dc.get());
    }
    brush_.reset(::CreatePatternBrush(bitmap.get()));
    bitmap_ = std::move(bitmap);
  }

  bool painted() const { return static_cast<bool>(brush_); }
  HBRUSH brush() const { return brush_.get(); }

 private:
  platform::UniqueBitmap bitmap_;
  platform::UniqueBrush brush_;
};

}  // namespace velmora::ui::win32

#endif  // VELMORA_UI_WIN32_BACKDROP_WIN32_H_
