#include "ui/win32/window_class_win32.h"

#include <map>
#include <string>
#include <utility>

#include "platform/unique_handle_win32.h"
#include "ui/win32/window_procedure_win32.h"

namespace velmora::ui::win32 {
namespace {

struct Registration {
  // Declared first, so it is freed after the class that shows it.
  platform::UniqueIcon small_icon;
  platform::UniqueWindowClass window_class;
};

using Registrations = std::map<std::pair<HINSTANCE, std::string>, Registration>;

// Classes belong to the process, so their owners live until it ends; by then the windows of
// each class are gone with the forms and components that made them.
Registrations& AllRegistrations() {
  static Registrations registrations;
  return registrations;
}

}  // namespace

void RegisterWindowClass(HINSTANCE instance, const WindowClass& window_class) {
  Registrations& registrations = AllRegistrations();
  const auto key = std::make_pair(instance, std::string(window_class.name));
  if (registrations.count(key) != 0) return;
  Registration registration;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = window_class.style;
  wc.lpfnWndProc = WindowProcedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = window_class.name;
  if (window_class.icon_resource != nullptr) {
    // LoadIcon's icon is shared and never freed; the small one is loaded at its own size.
    wc.hIcon = ::LoadIconA(instance, window_class.icon_resource);
    registration.small_icon.reset(static_cast<HICON>(
        ::LoadImageA(instance, window_class.icon_resource, IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
    wc.hIconSm = registration.small_icon.get();
  }
  const ATOM atom = ::RegisterClassExA(&wc);
  if (atom == 0) return;
  registration.window_class = platform::UniqueWindowClass(atom, instance);
  registrations.emplace(key, std::move(registration));
}

}  // namespace velmora::ui::win32
