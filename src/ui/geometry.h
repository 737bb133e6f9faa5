#ifndef VELMORA_UI_GEOMETRY_H_
#define VELMORA_UI_GEOMETRY_H_

#include <cstdint>
#include <string>

namespace velmora::ui {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  friend bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  }
};

struct Point {
  int x = 0;
  int y = 0;
};

// The platform's named colours; the win32 backend maps them to GetSysColor indices.
enum class SystemColor {
  kWindowText,
  kButtonFace,
  kInactiveCaption,
  kActiveCaption,
  kHighlight,
  kHighlightText,
  k3dDarkShadow,
  kDesktop,
};

// Either a fixed RGB colour or one of the user's system colours, resolved when drawn.
class Color {
 public:
  static Color Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Color(false, static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
                            (static_cast<std::uint32_t>(b) << 16));
  }
  static Color System(SystemColor c) { return Color(true, static_cast<std::uint32_t>(c)); }
  // The value 0x00BBGGRR, the layout of a Win32 COLORREF.
  static Color FromColorRef(std::uint32_t bgr) { return Color(false, bgr); }

  bool is_system() const { return is_system_; }
  SystemColor system() const { return static_cast<SystemColor>(value_); }
  std::uint32_t color_ref() const { return value_; }

  friend bool operator==(const Color& a, const Color& b) {
    return a.is_system_ == b.is_system_ && a.value_ == b.value_;
  }

 private:
  Color(bool is_system, std::uint32_t value) : is_system_(is_system), value_(value) {}
  bool is_system_;
  std::uint32_t value_;
};

struct FontStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;

  friend bool operator==(const FontStyle& a, const FontStyle& b) {
    return a.bold == b.bold && a.italic == b.italic && a.underline == b.underline;
  }
};

struct Font {
  std::string name = "Arial";
  int size_pt = 8;
  FontStyle style;
  Color color = Color::System(SystemColor::kWindowText);

  friend bool operator==(const Font& a, const Font& b) {
    return a.name == b.name && a.size_pt == b.size_pt && a.style == b.style && a.color == b.color;
  }
};

enum class Cursor { kDefault, kHandPoint };

}  // namespace velmora::ui

#endif  // VELMORA_UI_GEOMETRY_H_
