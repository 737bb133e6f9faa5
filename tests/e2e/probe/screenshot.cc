// Screen capture and PNG files, through GDI and the Windows Imaging Component.

#include <windows.h>
// windows.h first: the headers below need its types.
#include <wincodec.h>

#include <utility>

#include "internal.h"
#include "probe.h"

namespace velmora::probe {

using internal::Fail;
using internal::FailWin32;

namespace {

// Owns one COM interface pointer.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }
  T** out() { return &pointer_; }

 private:
  T* pointer_ = nullptr;
};

// COM for this thread while in scope; tolerates a thread that already chose another model.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_ != nullptr) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ object) : object_(object) {}
  ~GdiObject() {
    if (object_ != nullptr) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  HGDIOBJ get() const { return object_; }

 private:
  HGDIOBJ object_;
};

// Puts an object into a DC and takes it out again, so it can be deleted.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

bool FailCom(const std::string& what, HRESULT result) {
  return FailWin32(what, static_cast<DWORD>(result));
}

bool CreateFactory(ComPtr<IWICImagingFactory>& factory) {
  const HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_PPV_ARGS(factory.out()));
  return SUCCEEDED(result) || FailCom("creating the imaging factory", result);
}

uint32_t FromColorRef(COLORREF color) {
  return static_cast<uint32_t>(GetRValue(color)) << 16 |
         static_cast<uint32_t>(GetGValue(color)) << 8 | GetBValue(color);
}

}  // namespace

std::optional<uint32_t> ScreenPixel(int x, int y) {
  ScreenDc screen;
  const COLORREF color = GetPixel(screen.get(), x, y);
  if (color == CLR_INVALID) {
    Fail("no screen pixel at " + std::to_string(x) + "," + std::to_string(y));
    return std::nullopt;
  }
  return FromColorRef(color);
}

std::optional<Image> CaptureScreen(const RECT& area) {
  Image image;
  image.width = area.right - area.left;
  image.height = area.bottom - area.top;
  if (image.width <= 0 || image.height <= 0) {
    Fail("empty capture area");
    return std::nullopt;
  }
  ScreenDc screen;
  MemoryDc memory(screen.get());
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap.get() == nullptr || screen.get() == nullptr || memory.get() == nullptr) {
    FailWin32("preparing the capture bitmap");
    return std::nullopt;
  }
  {
    Selection selected(memory.get(), bitmap.get());
    if (!BitBlt(memory.get(), 0, 0, image.width, image.height, screen.get(), area.left, area.top,
                SRCCOPY | CAPTUREBLT)) {
      FailWin32("BitBlt from the screen");
      return std::nullopt;
    }
    GdiFlush();
  }
  const auto* pixels = static_cast<const uint32_t*>(bits);
  image.pixels.assign(pixels, pixels + static_cast<size_t>(image.width) * image.height);
  // A 32-bit DIB's fourth byte is unused; keep it zero so pixels compare as 0x00RRGGBB.
  for (uint32_t& pixel : image.pixels) pixel &= 0x00FFFFFF;
  return image;
}

std::optional<Image> CaptureWindow(HWND window) {
  RECT area{};
  if (!GetWindowRect(window, &area)) {
    FailWin32("GetWindowRect");
    return std::nullopt;
  }
  return CaptureScreen(area);
}

bool WritePng(const Image& image, const std::string& path) {
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (!CreateFactory(factory)) return false;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  HRESULT result = factory->CreateStream(stream.out());
  if (SUCCEEDED(result)) {
    result = stream->InitializeFromFilename(internal::Widen(path).c_str(), GENERIC_WRITE);
  }
  if (FAILED(result)) return FailCom("creating " + path, result);
  result = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out());
  if (SUCCEEDED(result)) result = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
  if (SUCCEEDED(result)) result = encoder->CreateNewFrame(frame.out(), nullptr);
  if (SUCCEEDED(result)) result = frame->Initialize(nullptr);
  if (SUCCEEDED(result)) result = frame->SetSize(image.width, image.height);
  // Opaque BGRA: every PNG encoder takes it, and the DIB's layout is the same.
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  if (SUCCEEDED(result)) result = frame->SetPixelFormat(&format);
  if (SUCCEEDED(result) && format != GUID_WICPixelFormat32bppBGRA) {
    return Fail("the PNG encoder does not take 32-bit BGRA pixels");
  }
  std::vector<uint32_t> opaque(image.pixels);
  for (uint32_t& pixel : opaque) pixel |= 0xFF000000;
  const UINT stride = static_cast<UINT>(image.width) * 4;
  if (SUCCEEDED(result)) {
    result = frame->WritePixels(image.height, stride, stride * image.height,
                                reinterpret_cast<BYTE*>(opaque.data()));
  }
  if (SUCCEEDED(result)) result = frame->Commit();
  if (SUCCEEDED(result)) result = encoder->Commit();
  if (FAILED(result)) return FailCom("encoding " + path, result);
  return true;
}

std::optional<Image> ReadPng(const std::string& path) {
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (!CreateFactory(factory)) return std::nullopt;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICBitmapSource> converted;
  HRESULT result =
      factory->CreateDecoderFromFilename(internal::Widen(path).c_str(), nullptr, GENERIC_READ,
                                         WICDecodeMetadataCacheOnDemand, decoder.out());
  if (SUCCEEDED(result)) result = decoder->GetFrame(0, frame.out());
  if (SUCCEEDED(result)) {
    result = WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), converted.out());
  }
  UINT width = 0;
  UINT height = 0;
  if (SUCCEEDED(result)) result = converted->GetSize(&width, &height);
  Image image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.pixels.resize(static_cast<size_t>(width) * height);
  if (SUCCEEDED(result)) {
    result = converted->CopyPixels(nullptr, width * 4, width * height * 4,
                                   reinterpret_cast<BYTE*>(image.pixels.data()));
  }
  if (FAILED(result)) {
    FailCom("decoding " + path, result);
    return std::nullopt;
  }
  for (uint32_t& pixel : image.pixels) pixel &= 0x00FFFFFF;
  return image;
}

std::optional<std::string> SaveScreenshot(HWND window, const std::string& name) {
  const std::string folder = GetEnv("VELMORA_SCREENSHOT_DIR");
  if (folder.empty()) {
    Fail("VELMORA_SCREENSHOT_DIR is not set");
    return std::nullopt;
  }
  const std::string windows_folder = ToWindowsPath(folder);
  if (!CreateDirectoryA(windows_folder.c_str(), nullptr) &&
      GetLastError() != ERROR_ALREADY_EXISTS) {
    FailWin32("creating " + windows_folder);
    return std::nullopt;
  }
  auto image = CaptureWindow(window);
  if (!image) return std::nullopt;
  std::string path = windows_folder + "\\" + name + ".png";
  if (!WritePng(*image, path)) return std::nullopt;
  return path;
}

}  // namespace velmora::probe
