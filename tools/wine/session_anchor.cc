// Keeps the Wine session's desktop open from setup to cleanup.
//
// Wine closes a desktop, and ends the process that manages it, a second after its last program
// leaves; a program starting in that second fails at once, and each new desktop process holds
// the output pipe of the test that happened to start it. So the session starts this first: its
// window makes Wine start the desktop process now, writing to the session's log, and its
// presence keeps the desktop open until cleanup ends it.

#include <windows.h>

#include <cstdio>

int main() {
  // Hidden: nothing of it may show up in screenshots.
  HWND window = CreateWindowExA(0, "STATIC", "Velmora session anchor", WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) {
    std::printf("cannot create a window: error %lu\n", GetLastError());
    return 1;
  }
  // wine-session waits for this line before it lets tests run.
  std::printf("ready\n");
  std::fflush(stdout);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
