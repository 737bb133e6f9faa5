#include "platform/process_win32.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace velmora::platform {
namespace {

// A copy of this program started with this variable set only probes for the marker it names
// and exits, before any test runs, with one of these codes.
constexpr char kMarkerProbeVariable[] = "VELMORA_TEST_MARKER_PROBE";
constexpr UINT kProbeCreatedMarker = 60;
constexpr UINT kProbeFoundMarker = 61;

[[maybe_unused]] const bool kProbeChecked = [] {
  if (const char* name = std::getenv(kMarkerProbeVariable)) {
    Win32Process process;
    ::ExitProcess(process.CreateRunningMarker(name) ? kProbeCreatedMarker : kProbeFoundMarker);
  }
  return true;
}();

std::string UniqueMarkerName() {
  static int next = 0;
  return "VelmoraTest-" + std::to_string(::GetCurrentProcessId()) + "-" +
         std::to_string(::GetTickCount()) + "-" + std::to_string(next++);
}

// Runs a copy of this program as a marker probe and returns how it exited.
DWORD RunMarkerProbe(const std::string& name) {
  const std::string self = Win32Process().ExecutablePath();
  std::string command_line = "\"" + self + "\"";
  ::SetEnvironmentVariableA(kMarkerProbeVariable, name.c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const BOOL started = ::CreateProcessA(self.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                                        0, nullptr, nullptr, &startup, &info);
  ::SetEnvironmentVariableA(kMarkerProbeVariable, nullptr);
  if (!started) {
    ADD_FAILURE() << "cannot start " << self << ", error " << ::GetLastError();
    return 0;
  }
  UniqueKernelHandle process(info.hProcess);
  UniqueKernelHandle thread(info.hThread);
  EXPECT_EQ(::WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeProcess(process.get(), &code);
  return code;
}

TEST(ProcessWin32Test, OnlyTheFirstMarkerOfANameIsCreated) {
  const std::string name = UniqueMarkerName();
  Win32Process first;
  ASSERT_TRUE(first.CreateRunningMarker(name));
  EXPECT_FALSE(first.CreateRunningMarker(name));
  EXPECT_FALSE(Win32Process().CreateRunningMarker(name));
  // Another name is another marker.
  EXPECT_TRUE(Win32Process().CreateRunningMarker(UniqueMarkerName()));
}

TEST(ProcessWin32Test, MarkerLastsAsLongAsItsOwnerAndRefusalsHoldNothing) {
  const std::string name = UniqueMarkerName();
  Win32Process refused;
  {
    Win32Process owner;
    ASSERT_TRUE(owner.CreateRunningMarker(name));
    EXPECT_FALSE(refused.CreateRunningMarker(name));
  }
  // The refused object is still alive: had it kept the handle it was given, the marker would
  // still exist.
  EXPECT_TRUE(Win32Process().CreateRunningMarker(name));
}

TEST(ProcessWin32Test, MarkerIsSeenByAnotherProcess) {
  const std::string name = UniqueMarkerName();
  {
    Win32Process owner;
    ASSERT_TRUE(owner.CreateRunningMarker(name));
    EXPECT_EQ(RunMarkerProbe(name), kProbeFoundMarker);
  }
  // Once released, the same probe gets the marker: the answer above came from the marker.
  EXPECT_EQ(RunMarkerProbe(name), kProbeCreatedMarker);
}

TEST(ProcessWin32Test, ExecutablePathNamesThisProgram) {
  const std::string path = Win32Process().ExecutablePath();
  ASSERT_GT(path.size(), 4u);
  EXPECT_EQ(::lstrcmpiA(path.substr(path.size() - 4).c_str(), ".exe"), 0) << path;
  EXPECT_EQ(path.substr(1, 2), ":\\") << path;
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << path;
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u) << path;
}

// The wide calls with this prefix reach paths past MAX_PATH. Our names are ASCII, so widening
// is a plain copy.
std::wstring LongPath(const std::string& path) {
  return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

// A copy of this test program that can be moved to paths of any length.
class MovableCopy {
 public:
  MovableCopy() {
    char temp[MAX_PATH];
    const DWORD length = ::GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp, length) + "velmora-" +
                      std::to_string(::GetCurrentProcessId()) + "-" +
                      std::to_string(::GetTickCount());
    for (int depth = 0; depth < 12; ++depth) {
      if (!::CreateDirectoryW(LongPath(dir).c_str(), nullptr)) {
        ADD_FAILURE() << "cannot create " << dir << ", error " << ::GetLastError();
        return;
      }
      dirs_.push_back(dir);
      dir += "\\" + std::string(100, 'd');
    }
    path_ = dirs_.back() + "\\copy.exe";
    if (!::CopyFileW(LongPath(Win32Process().ExecutablePath()).c_str(), LongPath(path_).c_str(),
                     TRUE)) {
      ADD_FAILURE() << "cannot copy this program, error " << ::GetLastError();
    }
  }
  ~MovableCopy() {
    ::DeleteFileW(LongPath(path_).c_str());
    for (auto dir = dirs_.rbegin(); dir != dirs_.rend(); ++dir) {
      ::RemoveDirectoryW(LongPath(*dir).c_str());
    }
  }
  MovableCopy(const MovableCopy&) = delete;
  MovableCopy& operator=(const MovableCopy&) = delete;

  // Moves the copy to a path of exactly this many characters and returns that path.
  std::string MoveToPathOfLength(std::size_t length) {
    for (auto dir = dirs_.rbegin(); dir != dirs_.rend(); ++dir) {
      // A file name is at most 255 characters; "\\" and ".exe" take five.
      if (dir->size() + 6 > length || length - dir->size() - 5 > 255) continue;
      const std::string target = *dir + "\\" + std::string(length - dir->size() - 5, 'f') + ".exe";
      if (!::MoveFileExW(LongPath(path_).c_str(), LongPath(target).c_str(), 0)) {
        ADD_FAILURE() << "cannot move the copy, error " << ::GetLastError();
        return path_;
      }
      path_ = target;
      return path_;
    }
    ADD_FAILURE() << "no folder fits a path of " << length;
    return path_;
  }

 private:
  std::vector<std::string> dirs_;
  std::string path_;
};

// Paths around where a MAX_PATH buffer, and the first grown one, fill up exactly.
TEST(ModuleFileNameTest, ReportsPathsOfAnyLengthWhole) {
  MovableCopy copy;
  for (const int length :
       {MAX_PATH - 1, MAX_PATH, MAX_PATH + 1, 2 * MAX_PATH - 1, 2 * MAX_PATH, 1200}) {
    SCOPED_TRACE(length);
    const std::string path = copy.MoveToPathOfLength(length);
    ASSERT_EQ(path.size(), static_cast<std::size_t>(length));
    // Mapped only: nothing in the copy runs.
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&::FreeLibrary)> module(
        ::LoadLibraryExW(LongPath(path).c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES),
        &::FreeLibrary);
    ASSERT_NE(module, nullptr) << "error " << ::GetLastError();
    EXPECT_EQ(ModuleFileName(module.get()), path);
  }
}

}  // namespace
}  // namespace velmora::platform
