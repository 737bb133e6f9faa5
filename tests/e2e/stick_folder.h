// A folder that plays a stick's contents in end-to-end tests.

#ifndef VELMORA_TESTS_E2E_STICK_FOLDER_H_
#define VELMORA_TESTS_E2E_STICK_FOLDER_H_

#include <windows.h>
// windows.h first: the header below needs its types.
#include <shellapi.h>

#include <string>

#include "probe.h"

namespace velmora::probe {

// A folder that plays a stick's contents; removed with everything in it.
class StickFolder {
 public:
  explicit StickFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + name + "-" + std::to_string(::GetCurrentProcessId());
    Remove();
    ok_ = ::CreateDirectoryA(path_.c_str(), nullptr) != FALSE;
  }
  ~StickFolder() { Remove(); }
  StickFolder(const StickFolder&) = delete;
  StickFolder& operator=(const StickFolder&) = delete;

  void AddFile(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) {
    const std::string file = path_ + "\\" + relative;
    UniqueHandle handle(::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ok_ = ok_ && handle && ::WriteFile(handle.get(), "x", 1, &written, nullptr) != FALSE;
    handle.reset();
    ok_ = ok_ && ::SetFileAttributesA(file.c_str(), attributes) != FALSE;
  }
  void AddDirectory(const std::string& relative) {
    ok_ = ok_ && ::CreateDirectoryA((path_ + "\\" + relative).c_str(), nullptr) != FALSE;
  }
  // An autorun file, a hidden installer, a script in a subfolder and a clean subfolder.
  void FillInfected() {
    AddFile("autorun.inf");
    AddFile("Setup.exe", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    AddDirectory("tools");
    AddFile("tools\\run.vbs");
    AddDirectory("photos");
    AddFile("photos\\beach.jpg");
  }

  bool ok() const { return ok_; }
  // Where the folder is, for this process (a Windows path) and for Wine's mount manager.
  const std::string& path() const { return path_; }
  std::string unix_path() const { return ToUnixPath(path_); }

 private:
  void Remove() {
    std::string from = path_ + '\0';  // the operation wants a double-terminated list
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    ::SHFileOperationA(&operation);
  }

  std::string path_;
  bool ok_ = false;
};

}  // namespace velmora::probe

#endif  // VELMORA_TESTS_E2E_STICK_FOLDER_H_
