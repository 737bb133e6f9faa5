#include "platform/file_system_win32.h"

#include <windows.h>

#include <string>
#include <utility>

#include "platform/error_text_win32.h"
#include "platform/unique_handle_win32.h"

namespace velmora::platform {
namespace {

class Win32DirectorySearch : public DirectorySearch {
 public:
  // `first` is the first entry that the mask lets through, already fetched.
  Win32DirectorySearch(UniqueFindHandle handle, const WIN32_FIND_DATAA& first, std::uint32_t mask)
      : handle_(std::move(handle)), data_(first), mask_(mask) {}

  bool Next(DirectoryEntry& entry) override {
    if (!pending_ && !FetchUnexcluded(handle_, data_, mask_)) return false;
    pending_ = false;
    entry.name.assign(data_.cFileName);
    entry.attributes = data_.dwFileAttributes;
    return true;
  }

  // Moves on until an entry the mask does not exclude; false at the end.
  static bool FetchUnexcluded(const UniqueFindHandle& handle, WIN32_FIND_DATAA& data,
                              std::uint32_t mask) {
    do {
      if (!::FindNextFileA(handle.get(), &data)) return false;
    } while (ExcludedBySearchMask(data.dwFileAttributes, mask));
    return true;
  }

 private:
  UniqueFindHandle handle_;
  WIN32_FIND_DATAA data_;
  const std::uint32_t mask_;
  bool pending_ = true;
};

}  // namespace

std::unique_ptr<DirectorySearch> Win32FileSystem::StartSearch(const std::string& directory,
                                                              const std::string& wildcard,
                                                              std::uint32_t mask) {
  const std::string pattern = directory + wildcard;
  WIN32_FIND_DATAA data;
  UniqueFindHandle handle(::FindFirstFileA(pattern.c_str(), &data));
  if (!handle) return nullptr;
  // A search whose every entry is passed over has not started; the handle closes here.
  if (ExcludedBySearchMask(data.dwFileAttributes, mask) &&
      !Win32DirectorySearch::FetchUnexcluded(handle, data, mask)) {
    return nullptr;
  }
  return std::make_unique<Win32DirectorySearch>(std::move(handle), data, mask);
}

std::uint32_t Win32FileSystem::QueryAttributes(const std::string& path) {
  return ::GetFileAttributesA(path.c_str());
}

std::string Win32FileSystem::SearchFailureReason(const std::string& directory) {
  WIN32_FIND_DATAA data;
  UniqueFindHandle handle(::FindFirstFileA((directory + "*").c_str(), &data));
  if (handle) return {};
  const DWORD error = ::GetLastError();
  // An empty drive root has nothing to find, which is no failure.
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return {};
  return ErrorText(error);
}

}  // namespace velmora::platform
