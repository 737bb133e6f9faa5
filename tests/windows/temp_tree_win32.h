#ifndef VELMORA_TESTS_WINDOWS_TEMP_TREE_WIN32_H_
#define VELMORA_TESTS_WINDOWS_TEMP_TREE_WIN32_H_

// A real folder tree under the temporary folder, with attributes set through the platform's
// own functions, removed with everything in it when the test ends.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/unique_handle_win32.h"

namespace velmora::platform {

// Long paths are made and removed through the wide functions with the \\?\ prefix; the ANSI
// ones under test stop at MAX_PATH.
inline std::wstring Long(const std::string& path) {
  return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

inline void RemoveTree(const std::string& directory) {
  WIN32_FIND_DATAW data;
  UniqueFindHandle search(::FindFirstFileW((Long(directory) + L"*").c_str(), &data));
  if (search) {
    do {
      const std::wstring wide = data.cFileName;
      if (wide == L"." || wide == L"..") continue;
      const std::string name(wide.begin(), wide.end());
      const std::string path = directory + name;
      ::SetFileAttributesW(Long(path).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + "\\");
        ::RemoveDirectoryW(Long(path).c_str());
      } else {
        ::DeleteFileW(Long(path).c_str());
      }
    } while (::FindNextFileW(search.get(), &data));
  }
}

class TempTree {
 public:
  TempTree() {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    // Trees made within one tick of each other still get folders of their own.
    static int made = 0;
    root_ = std::string(temp) + "velmora-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(::GetTickCount()) + "-" + std::to_string(++made) + "\\";
    EXPECT_TRUE(::CreateDirectoryA(root_.c_str(), nullptr)) << root_;
  }
  ~TempTree() {
    RemoveTree(root_);
    ::RemoveDirectoryA(root_.c_str());
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& root() const { return root_; }
  std::string File(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
    const std::string path = root_ + relative;
    UniqueFileHandle file(::CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(file) << path;
    file.reset();
    SetAttributes(path, attributes);
    return path;
  }
  std::string Directory(const std::string& relative, DWORD attributes = 0) const {
    const std::string path = root_ + relative;
    EXPECT_TRUE(::CreateDirectoryW(Long(path).c_str(), nullptr)) << path;
    if (attributes != 0) SetAttributes(path, attributes);
    return path;
  }

 private:
  static void SetAttributes(const std::string& path, DWORD attributes) {
    // The short ones through the function under the program's own rules.
    const BOOL set = path.size() < MAX_PATH ? ::SetFileAttributesA(path.c_str(), attributes)
                                            : ::SetFileAttributesW(Long(path).c_str(), attributes);
    EXPECT_TRUE(set) << path;
  }

  std::string root_;
};

}  // namespace velmora::platform

#endif  // VELMORA_TESTS_WINDOWS_TEMP_TREE_WIN32_H_
