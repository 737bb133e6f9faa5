// Pictures are STATIC windows holding either an icon of the resources or a JPEG of the
// resources decoded into a 32-bit DIB section.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <cstring>

#include "ui/image.h"
#include "ui/jpeg_decoder.h"
#include "ui/win32/peers_win32.h"

namespace velmora::ui::win32 {
namespace {

platform::UniqueBitmap LoadJpegResource(HINSTANCE instance, const std::string& name) {
  HRSRC info = ::FindResourceA(instance, name.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  HGLOBAL loaded = info != nullptr ? ::LoadResource(instance, info) : nullptr;
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) throw std::runtime_error("Picture resource " + name + " is missing");
  const DecodedPicture picture =
      DecodeJpeg(static_cast<const std::uint8_t*>(bytes), ::SizeofResource(instance, info));

  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof header.bmiHeader;
  header.bmiHeader.biWidth = picture.width;
  header.bmiHeader.biHeight = -picture.height;  // top-down rows, as decoded
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  platform::UniqueBitmap bitmap(
      ::CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) throw std::runtime_error("Not enough memory for picture " + name);
  std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(std::uint32_t));
  return bitmap;
}

class ImagePeer : public WindowPeer {
 public:
  ImagePeer(Context context, Image& image) : WindowPeer(context, image), image_(image) {
    const Picture& picture = image.picture();
    DWORD style = SS_NOTIFY;
    if (picture.format == Picture::Format::kJpeg) {
      bitmap_ = LoadJpegResource(context.instance, picture.resource);
      style |= SS_BITMAP;
    } else if (picture.format == Picture::Format::kIcon) {
      style |= SS_ICON;
    }
    style |= image.stretch() ? SS_REALSIZECONTROL : SS_CENTERIMAGE;
    CreateChild("STATIC", style);
    if (hwnd_ == nullptr) return;
    if (bitmap_) {
      ::SendMessageA(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_.get()));
    } else if (picture.format == Picture::Format::kIcon) {
      const Rect& r = image.bounds();
      const int cx = image.stretch() ? r.width : ::GetSystemMetrics(SM_CXICON);
      const int cy = image.stretch() ? r.height : ::GetSystemMetrics(SM_CYICON);
      icon_.reset(static_cast<HICON>(
          ::LoadImageA(context.instance, picture.resource.c_str(), IMAGE_ICON, cx, cy, 0)));
      ::SendMessageA(hwnd_, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon_.get()));
    }
    // Setting an image resizes the control; the layout's box holds.
    const Rect& r = image.bounds();
    ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  HBITMAP bitmap() const { return bitmap_.get(); }

  HBRUSH OnControlColor(HDC dc) override { return BackdropBrushFor(hwnd_, dc); }

 private:
  bool OnSubclassMessage(UINT message, WPARAM /*w*/, LPARAM l, LRESULT& /*result*/) override {
    const Point at{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    switch (message) {
      case WM_LBUTTONDOWN:
        image_.MouseDown(MouseButton::kLeft, at);
        return true;
      case WM_RBUTTONDOWN:
        image_.MouseDown(MouseButton::kRight, at);
        return true;
      case WM_MBUTTONDOWN:
        image_.MouseDown(MouseButton::kMiddle, at);
        return true;
      default:
        return false;
    }
  }

  Image& image_;
  platform::UniqueBitmap bitmap_;
  platform::UniqueIcon icon_;
};

}  // namespace

HBITMAP PictureBitmapOf(const Component& image) {
  auto* peer = dynamic_cast<const ImagePeer*>(image.peer());
  return peer != nullptr ? peer->bitmap() : nullptr;
}

std::unique_ptr<ComponentPeer> CreateImagePeer(Context context, Component& component) {
  return std::make_unique<ImagePeer>(context, static_cast<Image&>(component));
}

}  // namespace velmora::ui::win32
