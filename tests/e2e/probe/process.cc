// Errors, paths and the program under test.

#include <cstdio>
#include <utility>
#include <vector>

#include "internal.h"
#include "probe.h"

namespace velmora::probe {

namespace {
thread_local std::string last_error;
}  // namespace

const std::string& LastError() { return last_error; }

namespace internal {

bool Fail(const std::string& what) {
  last_error = what;
  return false;
}

bool FailWin32(const std::string& what, DWORD code) {
  char* text = nullptr;
  FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = what + ": error " + std::to_string(code);
  if (text != nullptr) {
    message += " (" + std::string(text) + ")";
    LocalFree(text);
    // FormatMessage ends its text with a line break.
    while (message.size() > 1 &&
           (message[message.size() - 2] == '\n' || message[message.size() - 2] == '\r')) {
      message.erase(message.size() - 2, 1);
    }
  }
  return Fail(message);
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size,
                      nullptr, nullptr);
  return narrow;
}

}  // namespace internal

std::string GetEnv(const char* name) {
  const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
  if (size == 0) return {};
  std::string value(size, '\0');
  value.resize(GetEnvironmentVariableA(name, value.data(), size));
  return value;
}

std::string ToWindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  // Wine's own mapping honours the prefix's drive letters; the Z: fallback is its default.
  using DosNameFn = WCHAR*(CDECL*)(const char*);
  const auto dos_name = reinterpret_cast<DosNameFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
  if (dos_name != nullptr) {
    if (WCHAR* wide = dos_name(path.c_str())) {
      std::string result = internal::Narrow(wide);
      HeapFree(GetProcessHeap(), 0, wide);
      return result;
    }
  }
  std::string result = "Z:" + path;
  for (char& c : result) {
    if (c == '/') c = '\\';
  }
  return result;
}

std::string ToUnixPath(const std::string& windows_path) {
  using UnixNameFn = char*(CDECL*)(const WCHAR*);
  const auto unix_name = reinterpret_cast<UnixNameFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (unix_name == nullptr) {
    internal::Fail("not running under Wine");
    return {};
  }
  char* name = unix_name(internal::Widen(windows_path).c_str());
  if (name == nullptr) {
    internal::Fail("no Unix path for " + windows_path);
    return {};
  }
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

UniqueHandle& UniqueHandle::operator=(UniqueHandle&& other) noexcept {
  if (this != &other) reset(other.release());
  return *this;
}

HANDLE UniqueHandle::release() { return std::exchange(handle_, nullptr); }

void UniqueHandle::reset(HANDLE handle) {
  if (*this) CloseHandle(handle_);
  handle_ = handle;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Stop();
    process_ = std::move(other.process_);
    pid_ = std::exchange(other.pid_, 0);
  }
  return *this;
}

bool Process::Start(const std::string& path, const std::string& args) {
  Stop();
  const std::string program = ToWindowsPath(path);
  std::string command_line = "\"" + program + "\"";
  if (!args.empty()) command_line += " " + args;
  std::vector<char> buffer(command_line.begin(), command_line.end());
  buffer.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return internal::FailWin32("CreateProcess " + program);
  }
  CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  pid_ = info.dwProcessId;
  return true;
}

bool Process::running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

HWND Process::WaitForWindow(const WindowMatch& match, Duration timeout) const {
  if (!process_) {
    internal::Fail("no process started");
    return nullptr;
  }
  HWND found = nullptr;
  bool exited = false;
  WaitUntil(
      [&] {
        found = FindTopLevelWindow(pid_, match);
        // A program that died will never show its window: no point waiting out the timeout.
        exited = found == nullptr && !running();
        return found != nullptr || exited;
      },
      timeout);
  if (found == nullptr) {
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    internal::Fail(exited ? "the program exited with code " + std::to_string(code) +
                                " before showing window class='" + match.class_name +
                                "' caption='" + match.caption + "'"
                          : "no window class='" + match.class_name + "' caption='" + match.caption +
                                "' within " + std::to_string(timeout.count()) + " ms");
  }
  return found;
}

std::optional<DWORD> Process::WaitForExit(Duration timeout) {
  if (!process_) {
    internal::Fail("no process started");
    return std::nullopt;
  }
  if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    internal::Fail("the program still runs after " + std::to_string(timeout.count()) + " ms");
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

void Process::Stop() {
  if (!process_) return;
  if (running()) {
    TerminateProcess(process_.get(), 1);
    // Bounded: a process Wine cannot end must not hang the test run; CTest reports it instead.
    WaitForSingleObject(process_.get(), 5000);
  }
  process_.reset();
  pid_ = 0;
}

}  // namespace velmora::probe
