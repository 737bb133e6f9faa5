// The tray menu's AutoRun item on the real notification-area icon: what the open menu holds and
// shows, and what choosing it leaves in the current user's policy keys.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>
#include <string>

#include "guard_test_fixture.h"
#include "menu_items.h"
#include "probe.h"

namespace velmora::probe {
namespace {

constexpr char kPoliciesKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies";
constexpr char kExplorerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr char kValue[] = "NoDriveAutoRun";

std::optional<DWORD> PolicyValue(const char* key) {
  DWORD data = 0;
  DWORD size = sizeof data;
  if (::RegGetValueA(HKEY_CURRENT_USER, key, kValue, RRF_RT_REG_DWORD, nullptr, &data, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return data;
}

void RemovePolicyValues() {
  for (const char* key : {kPoliciesKey, kExplorerKey})
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, key, kValue);
}

// An icon of the guard's own resources drawn over `background`, as a menu draws its picture.
std::optional<Image> DrawnIcon(const std::string& exe, const char* name, uint32_t background) {
  HMODULE module = ::LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return std::nullopt;
  auto* icon = static_cast<HICON>(::LoadImageA(module, name, IMAGE_ICON, 32, 32, 0));
  std::optional<Image> drawn;
  if (icon != nullptr) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int i = 0; i < 32 * 32; ++i) pixels[i] = background;
    ::DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
    drawn = Image{32, 32, {}};
    for (int i = 0; i < 32 * 32; ++i) drawn->pixels.push_back(pixels[i] & 0xFFFFFF);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::DestroyIcon(icon);
  }
  ::FreeLibrary(module);
  return drawn;
}

uint32_t MostCommonColour(const Image& image) {
  std::map<uint32_t, int> counts;
  for (uint32_t pixel : image.pixels) ++counts[pixel];
  auto best = counts.begin();
  for (auto it = counts.begin(); it != counts.end(); ++it) {
    if (it->second > best->second) best = it;
  }
  return best->first;
}

// How closely the picture shows somewhere in the top band of `shot` (the first item): the
// smallest mean difference per colour channel over every place, 0 for an exact copy.
double BestMatch(const Image& shot, const Image& picture, int band_height) {
  double best = std::numeric_limits<double>::max();
  for (int top = 0; top + picture.height <= std::min(band_height, shot.height); ++top) {
    for (int left = 0; left + picture.width <= shot.width; ++left) {
      long total = 0;
      for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
          const uint32_t a = shot.At(left + x, top + y), b = picture.At(x, y);
          for (int shift = 0; shift < 24; shift += 8) {
            total += std::abs(static_cast<int>((a >> shift) & 0xFF) -
                              static_cast<int>((b >> shift) & 0xFF));
          }
        }
      }
      best = std::min(best, static_cast<double>(total) / (picture.width * picture.height * 3));
    }
  }
  return best;
}

class TrayMenuAutoRunTest : public GuardTest {
 protected:
  void SetUp() override {
    RemovePolicyValues();
    GuardTest::SetUp();
    tray_ = guard_.WaitForWindow({"TTrayIconWindow", ""});
    ASSERT_NE(tray_, nullptr) << LastError();
  }
  void TearDown() override {
    guard_.Stop();
    RemovePolicyValues();
  }

  // A right click on the icon, as the shell reports it to the tray's window.
  HWND OpenTrayMenu() {
    if (!Post(tray_, ::RegisterWindowMessageA("WM_TOOLTRAYICON"), 0, WM_RBUTTONUP)) return nullptr;
    return WaitForPopupMenu(guard_.pid());
  }

  // The AutoRun item as the open menu holds it; a placeholder (and a failure) if unreadable.
  PopupMenuItem FirstItem(HWND menu) {
    const auto item = ReadPopupMenuItem(menu, 0);
    EXPECT_TRUE(item.has_value()) << LastError();
    return item.value_or(PopupMenuItem{"unreadable", 0, nullptr});
  }

  // Which of the two AutoRun pictures the first item shows: the one the screen matches best,
  // and only if it matches closely.
  std::string ShownPicture(HWND menu, const std::string& screenshot) {
    ::Sleep(300);  // let the menu's paint land
    const auto shot = CaptureWindow(menu);
    EXPECT_TRUE(SaveScreenshot(menu, screenshot).has_value()) << LastError();
    if (!shot) return "no screenshot: " + LastError();
    const uint32_t background = MostCommonColour(*shot);
    const std::string exe = ToWindowsPath(GetEnv("VELMORA_EXE"));
    const int band = shot->height / 3 + 8;  // the first of three items, with some slack
    std::string shown = "neither picture";
    double best = 12.0;  // mean difference per channel still counted as the same picture
    for (const char* name : {"ICO_BRUSH_CROSS", "ICO_ARROW_RIGHT"}) {
      const auto picture = DrawnIcon(exe, name, background);
      if (!picture) return std::string("cannot draw ") + name;
      const double match = BestMatch(*shot, *picture, band);
      if (match < best) {
        best = match;
        shown = name;
      }
    }
    return shown;
  }

  HWND tray_ = nullptr;
};

TEST_F(TrayMenuAutoRunTest, TheItemSwitchesThePolicyInBothKeysAndShowsTheOtherStateNextTime) {
  HWND menu = OpenTrayMenu();
  ASSERT_NE(menu, nullptr) << LastError();
  EXPECT_EQ(FirstItem(menu).caption, "&Desable AutoRun Drive");
  EXPECT_EQ(FirstItem(menu).bitmap, HBMMENU_CALLBACK);
  EXPECT_TRUE(FirstItem(menu).state & MFS_DEFAULT);
  EXPECT_EQ(ShownPicture(menu, "tray_menu_autorun_on"), "ICO_BRUSH_CROSS");
  ASSERT_TRUE(ChoosePopupMenuItem(menu, 0)) << LastError();
  EXPECT_TRUE(WaitUntil([] {
    return PolicyValue(kPoliciesKey) == DWORD{0x3FFFFFF} &&
           PolicyValue(kExplorerKey) == DWORD{0x3FFFFFF};
  })) << "the value was not written to both keys";

  menu = OpenTrayMenu();
  ASSERT_NE(menu, nullptr) << LastError();
  EXPECT_EQ(FirstItem(menu).caption, "&Enable Autorun Drive");
  EXPECT_EQ(ShownPicture(menu, "tray_menu_autorun_off"), "ICO_ARROW_RIGHT");
  ASSERT_TRUE(ChoosePopupMenuItem(menu, 0)) << LastError();
  EXPECT_TRUE(WaitUntil([] {
    return !PolicyValue(kPoliciesKey).has_value() && !PolicyValue(kExplorerKey).has_value();
  })) << "the value was not deleted from both keys";

  menu = OpenTrayMenu();
  ASSERT_NE(menu, nullptr) << LastError();
  EXPECT_EQ(FirstItem(menu).caption, "&Desable AutoRun Drive");
  Post(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

// Opening and dismissing the menu leaves the registry as it was, a value of any data included.
TEST_F(TrayMenuAutoRunTest, OpeningTheMenuChangesNothingAndAnyDataCountsAsOff) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kPoliciesKey, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD zero = 0;
  ::RegSetValueExA(key, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
  ::RegCloseKey(key);

  HWND menu = OpenTrayMenu();
  ASSERT_NE(menu, nullptr) << LastError();
  EXPECT_EQ(FirstItem(menu).caption, "&Enable Autorun Drive");
  ASSERT_TRUE(Post(menu, WM_KEYDOWN, VK_ESCAPE, 0));
  ASSERT_TRUE(WaitUntil([menu] { return !::IsWindowVisible(menu); }));
  EXPECT_EQ(PolicyValue(kPoliciesKey), DWORD{0});
  EXPECT_FALSE(PolicyValue(kExplorerKey).has_value());
}

}  // namespace
}  // namespace velmora::probe
