// velmora-scan.exe on the quarantine of this Wine prefix's user: what the guard's Quarantine
// action stored, listed and put back by the command, which never overwrites.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/files_win32.h"
#include "platform/unique_handle_win32.h"
#include "probe.h"
#include "quarantine/quarantine_store.h"

namespace velmora {
namespace {

using ::testing::HasSubstr;

struct ScanRun {
  DWORD exit_code = 0xFFFFFFFF;
  std::string output;  // standard output and error together
};

// Runs velmora-scan.exe with `arguments`, its output into a file of the temp folder.
ScanRun RunScan(const std::string& arguments) {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  const std::string output_path =
      std::string(temp) + "velmora-scan-" + std::to_string(::GetCurrentProcessId()) + ".out";
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  platform::UniqueFileHandle output(::CreateFileA(output_path.c_str(), GENERIC_WRITE,
                                                  FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                                                  FILE_ATTRIBUTE_TEMPORARY, nullptr));
  ScanRun run;
  if (!output) return run;
  const std::string program = probe::ToWindowsPath(probe::GetEnv("VELMORA_SCAN_EXE"));
  std::string command = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output.get();
  startup.hStdError = output.get();
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &process)) {
    return run;
  }
  platform::UniqueKernelHandle thread(process.hThread);
  platform::UniqueKernelHandle child(process.hProcess);
  ::WaitForSingleObject(child.get(), 30000);
  ::GetExitCodeProcess(child.get(), &run.exit_code);
  output.reset();
  platform::Win32Files files;
  const std::wstring wide(output_path.begin(), output_path.end());
  files.ReadWholeFile(platform::NativePath(wide.begin(), wide.end()), run.output);
  ::DeleteFileA(output_path.c_str());
  return run;
}

platform::NativePath Native(const std::string& ascii) {
  return platform::NativePath(ascii.begin(), ascii.end());
}

TEST(ScanQuarantineWin32, RestoreRefusesToOverwriteAndThenPutsTheFileBack) {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  const std::string original =
      std::string(temp) + "velmora-restore-" + std::to_string(::GetCurrentProcessId()) + "-run.vbs";
  platform::Win32Files files;
  ASSERT_EQ(files.CreateNewFile(Native(original), "WScript.Echo 1"), "");
  ASSERT_EQ(files.SetAttributes(Native(original), FILE_ATTRIBUTE_HIDDEN), "");
  // The store the guard and the command share: this user's, in the local application data.
  quarantine::QuarantineStore store(files,
                                    quarantine::StoreFolder(platform::LocalApplicationDataFolder()),
                                    platform::SystemTimeTicks);
  const quarantine::StoredItem stored = store.Add(Native(original));
  ASSERT_EQ(stored.error, "");

  const ScanRun listed = RunScan("--quarantine-list");
  EXPECT_EQ(listed.exit_code, 0u) << listed.output;
  EXPECT_THAT(listed.output, HasSubstr(stored.id + "  "));
  EXPECT_THAT(listed.output, HasSubstr("  14  " + original + "\r\n"));

  ASSERT_EQ(files.CreateNewFile(Native(original), "new"), "");
  const ScanRun refused = RunScan("--restore " + stored.id);
  EXPECT_EQ(refused.exit_code, 2u) << refused.output;
  EXPECT_THAT(refused.output, HasSubstr(original + " exists now and is not overwritten"));
  std::string bytes;
  files.ReadWholeFile(Native(original), bytes);
  EXPECT_EQ(bytes, "new");

  ASSERT_EQ(files.RemoveFile(Native(original)), "");
  const ScanRun restored = RunScan("--restore " + stored.id);
  EXPECT_EQ(restored.exit_code, 0u) << restored.output;
  EXPECT_EQ(restored.output, "restored " + stored.id + ": " + original + "\r\n");
  files.ReadWholeFile(Native(original), bytes);
  EXPECT_EQ(bytes, "WScript.Echo 1");
  EXPECT_EQ(::GetFileAttributesA(original.c_str()) & FILE_ATTRIBUTE_HIDDEN,
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  ::SetFileAttributesA(original.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(original.c_str());
}

}  // namespace
}  // namespace velmora
