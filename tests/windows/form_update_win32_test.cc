// A form that updates tells the platform only where its caption and its controls' visibility
// end up.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "ui/application.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/win32/backend_win32.h"

namespace velmora::ui {
namespace {

HWND ChildTagged(HWND parent, const std::string& name) {
  const ATOM atom = ::GlobalFindAtomA(name.c_str());
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (atom != 0 &&
        ::GetPropA(child, "VelmoraName") == reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom))) {
      return child;
    }
  }
  return nullptr;
}

std::string Caption(HWND window) {
  char text[64] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

bool Shown(HWND window) { return (::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

TEST(FormUpdateWin32, CaptionAndControlsReachTheScreenOnlyWhereTheUpdateLeavesThem) {
  Win32Backend backend(::GetModuleHandleA(nullptr));
  Application app(backend);
  Form form("UpdateForm", "VelmoraUpdateTestForm");
  form.SetBounds({0, 0, 300, 200});
  Label& label = form.Add<Label>("lblSearch", &form);
  label.SetBounds({10, 10, 50, 14});
  label.SetText("Search");
  Image& image = form.Add<Image>("ImgScan", &form);
  image.SetBounds({10, 40, 33, 33});
  image.SetVisible(false);
  app.CreateForm(form);
  form.Show();
  HWND label_window = ChildTagged(WindowOf(form), "lblSearch");
  HWND image_window = ChildTagged(WindowOf(form), "ImgScan");
  ASSERT_NE(label_window, nullptr);
  ASSERT_NE(image_window, nullptr);

  form.SetText("Velmora");
  form.BeginUpdate();
  form.SetText("32");
  form.SetText("-1");
  label.SetVisible(false);
  image.SetVisible(true);
  image.SetVisible(false);
  image.SetVisible(true);
  EXPECT_TRUE(Shown(label_window));  // held back
  EXPECT_FALSE(Shown(image_window));
  EXPECT_EQ(Caption(WindowOf(form)), "Velmora");
  form.EndUpdate();
  EXPECT_FALSE(Shown(label_window));
  EXPECT_TRUE(Shown(image_window));
  EXPECT_EQ(Caption(WindowOf(form)), "-1");

  // Outside an update every change goes straight through.
  label.SetVisible(true);
  EXPECT_TRUE(Shown(label_window));
}

}  // namespace
}  // namespace velmora::ui
