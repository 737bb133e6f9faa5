// Waits for a shown top-level window of a class and saves what the screen shows of it as a PNG.
//   velmora_snapshot <window class> <png path> <timeout seconds>
// The run command uses it to show what the guard looks like on a display nobody watches.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "probe.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: velmora_snapshot <window class> <png path> <timeout s>\n");
    return 2;
  }
  namespace probe = velmora::probe;
  const std::string window_class = argv[1];
  const std::string path = probe::ToWindowsPath(argv[2]);
  const probe::Duration timeout{std::atoi(argv[3]) * 1000};
  HWND window = nullptr;
  const bool shown = probe::WaitUntil(
      [&] {
        window = ::FindWindowA(window_class.c_str(), nullptr);
        return window != nullptr && probe::IsShown(window);
      },
      timeout, probe::Duration{100});
  if (!shown) {
    std::fprintf(stderr, "no shown window of class %s\n", window_class.c_str());
    return 1;
  }
  // Let the first paint land before the capture.
  ::Sleep(1500);
  const auto image = probe::CaptureWindow(window);
  if (!image || !probe::WritePng(*image, path)) {
    std::fprintf(stderr, "capture failed: %s\n", probe::LastError().c_str());
    return 1;
  }
  return 0;
}
