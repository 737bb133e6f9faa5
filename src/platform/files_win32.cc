#include "platform/files_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/attribute_writer_win32.h"
#include "platform/error_text_win32.h"
#include "platform/unique_handle_win32.h"

namespace velmora::platform {
namespace {

std::string LastErrorText() { return ErrorText(::GetLastError()); }

// The path in the form the platform takes literally.
std::wstring Exact(const NativePath& path) {
  std::wstring wide(path.begin(), path.end());
  if (wide.size() >= 2 && wide[1] == L':') wide.insert(0, L"\\\\?\\");
  return wide;
}

// A name as the ANSI file calls deliver it: through the code page they use, with the
// platform's own substitutions.
std::string AsListed(const wchar_t* name) {
  const UINT code_page = ::AreFileApisANSI() ? CP_ACP : CP_OEMCP;
  const int size = ::WideCharToMultiByte(code_page, 0, name, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string listed(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(code_page, 0, name, -1, listed.data(), size, nullptr, nullptr);
  listed.resize(static_cast<std::size_t>(size - 1));
  return listed;
}

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

std::string Win32Files::ListFolder(const NativePath& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::wstring pattern = Exact(folder);
  if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  UniqueFindHandle search(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr, 0));
  if (!search) {
    const DWORD error = ::GetLastError();
    // An empty root yields nothing at all, which is no failure.
    return error == ERROR_FILE_NOT_FOUND ? std::string() : ErrorText(error);
  }
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({std::u16string(name.begin(), name.end()), AsListed(data.cFileName),
                       data.dwFileAttributes});
  } while (::FindNextFileW(search.get(), &data));
  const DWORD error = ::GetLastError();
  return error == ERROR_NO_MORE_FILES ? std::string() : ErrorText(error);
}

std::string Win32Files::Inspect(const NativePath& path, FileFacts& facts) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(Exact(path).c_str(), GetFileExInfoStandard, &data)) {
    return LastErrorText();
  }
  facts.attributes = data.dwFileAttributes;
  facts.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.modified = Ticks(data.ftLastWriteTime);
  return {};
}

std::string Win32Files::SetAttributes(const NativePath& path, std::uint32_t attributes) {
  const std::wstring exact = Exact(path);
  const DWORD current = ::GetFileAttributesW(exact.c_str());
  if (current == INVALID_FILE_ATTRIBUTES) return LastErrorText();
  if (!::SetFileAttributesW(exact.c_str(), AttributeWordToSet(current, attributes))) {
    return LastErrorText();
  }
  return {};
}

std::string Win32Files::SetModifiedTime(const NativePath& path, std::uint64_t modified) {
  // Backup semantics open directories too.
  UniqueFileHandle file(::CreateFileW(Exact(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return LastErrorText();
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(modified);
  time.dwHighDateTime = static_cast<DWORD>(modified >> 32);
  if (!::SetFileTime(file.get(), nullptr, nullptr, &time)) return LastErrorText();
  return {};
}

std::string Win32Files::RemoveFile(const NativePath& path) {
  if (!::DeleteFileW(Exact(path).c_str())) return LastErrorText();
  return {};
}

std::string Win32Files::RemoveEmptyDirectory(const NativePath& path) {
  if (!::RemoveDirectoryW(Exact(path).c_str())) return LastErrorText();
  return {};
}

std::string Win32Files::Rename(const NativePath& from, const NativePath& to) {
  // No MOVEFILE_REPLACE_EXISTING and no copying: an existing name fails, another volume fails.
  if (!::MoveFileExW(Exact(from).c_str(), Exact(to).c_str(), 0)) return LastErrorText();
  return {};
}

std::string Win32Files::ReadWholeFile(const NativePath& path, std::string& bytes) {
  bytes.clear();
  UniqueFileHandle file(::CreateFileW(Exact(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return LastErrorText();
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size)) return LastErrorText();
  if (static_cast<unsigned long long>(size.QuadPart) > bytes.max_size()) {
    return ErrorText(ERROR_NOT_ENOUGH_MEMORY);
  }
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, wanted, &read, nullptr)) {
      return LastErrorText();
    }
    if (read == 0) break;  // the file shrank meanwhile
    done += read;
  }
  bytes.resize(done);
  return {};
}

std::string Win32Files::CreateNewFile(const NativePath& path, const std::string& bytes) {
  const std::wstring exact = Exact(path);
  UniqueFileHandle file(::CreateFileW(exact.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastErrorText();
  // A file only partly written is no copy of anything: it goes again.
  const auto abandon = [&] {
    const std::string reason = LastErrorText();
    file.reset();
    ::DeleteFileW(exact.c_str());
    return reason;
  };
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, wanted, &written, nullptr)) return abandon();
    done += written;
  }
  if (!::FlushFileBuffers(file.get())) return abandon();
  return {};
}

std::string Win32Files::MakeFolder(const NativePath& path) {
  const std::wstring exact = Exact(path);
  if (::CreateDirectoryW(exact.c_str(), nullptr)) return {};
  const DWORD error = ::GetLastError();
  const DWORD existing = ::GetFileAttributesW(exact.c_str());
  if (error == ERROR_ALREADY_EXISTS && existing != INVALID_FILE_ATTRIBUTES &&
      (existing & FILE_ATTRIBUTE_DIRECTORY)) {
    return {};
  }
  return ErrorText(error);
}

NativePath LocalApplicationDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, folder))) {
    return {};
  }
  const std::wstring wide = folder;
  return NativePath(wide.begin(), wide.end());
}

std::uint64_t SystemTimeTicks() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  return Ticks(now);
}

}  // namespace velmora::platform
