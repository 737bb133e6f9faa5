// velmora-scan.exe as a user runs it: a real process over a real tree whose attributes the
// platform set, and over the user's quarantine; its output read back from files, its exit
// status from the process.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/files_win32.h"
#include "platform/unique_handle_win32.h"
#include "probe.h"
#include "quarantine/quarantine_store.h"
#include "temp_tree_win32.h"

namespace velmora::platform {
namespace {

using Lines = std::vector<std::string>;

struct ScanRun {
  DWORD exit_code = 0xFFFFFFFF;
  std::string out;
  std::string errors;
};

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// An output file the child inherits as its standard output or error.
UniqueFileHandle InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return UniqueFileHandle(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The build hands the program's Linux path.
std::string ProgramPath() {
  const std::string linux_path = probe::GetEnv("VELMORA_SCAN_EXE");
  EXPECT_FALSE(linux_path.empty()) << "VELMORA_SCAN_EXE names the program under test";
  return linux_path.empty() ? "" : probe::ToWindowsPath(linux_path);
}

// One argument as the C runtime splits a command line: in quotes, with the backslashes before a
// quote (a folder's trailing separator among them) doubled.
std::string Quoted(const std::string& argument) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

// Runs the program with `arguments` (each quoted), its output in files beside the tree.
ScanRun RunScanner(const TempTree& outputs, const std::vector<std::string>& arguments) {
  const std::string program = ProgramPath();
  if (program.empty()) return {};
  std::string command_line = "\"" + program + "\"";
  for (const std::string& argument : arguments) command_line += " " + Quoted(argument);

  static int runs = 0;
  const std::string run_name = std::to_string(++runs);
  const std::string out_path = outputs.root() + "out-" + run_name + ".txt";
  const std::string errors_path = outputs.root() + "errors-" + run_name + ".txt";
  ScanRun run;
  {
    UniqueFileHandle out = InheritableFile(out_path);
    UniqueFileHandle errors = InheritableFile(errors_path);
    EXPECT_TRUE(out && errors);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out.get();
    startup.hStdError = errors.get();
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started)) {
      ADD_FAILURE() << "CreateProcess " << command_line << ": " << ::GetLastError();
      return run;
    }
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    EXPECT_EQ(::WaitForSingleObject(process.get(), 20000), WAIT_OBJECT_0);
    ::GetExitCodeProcess(process.get(), &run.exit_code);
  }
  run.out = ReadWhole(out_path);
  run.errors = ReadWhole(errors_path);
  return run;
}

// The lines of `text` that start with `prefix`, sorted: the walk's order is the file system's.
Lines LinesStartingWith(const std::string& text, const std::string& prefix) {
  Lines lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD kSystem = FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;

// A stick as a worm leaves it, next to what the rules must pass over: a visible program, a
// hidden one that is also a system file, and a hidden folder, which the guard never enters.
class VelmoraScanExe : public ::testing::Test {
 protected:
  VelmoraScanExe() {
    stick_.File("autorun.inf");
    stick_.File("Setup.exe", kHidden);
    stick_.File("photos.lnk", kHidden | kReadOnly);
    stick_.File("visible.exe");
    stick_.File("driver.exe", kHidden | kSystem);
    stick_.Directory("photos");
    stick_.File("photos\\holiday.vbs");
    stick_.Directory("stash", kHidden);
    stick_.File("stash\\inner.vbs");
  }

  // The stick's root as a user types it: no separator at the end.
  std::string Root() const { return stick_.root().substr(0, stick_.root().size() - 1); }

  TempTree stick_;
  TempTree outputs_;
};

TEST_F(VelmoraScanExe, LinesNameEachFindingWithItsRuleAndAttributesThenExitOne) {
  const ScanRun run = RunScanner(outputs_, {Root()});
  EXPECT_EQ(run.exit_code, 1u) << run.out << run.errors;
  const std::string& root = stick_.root();
  // Wine sets the archive bit on every file it creates: 32 is a plain file there.
  EXPECT_EQ(LinesStartingWith(run.out, root),
            (Lines{root + "Setup.exe: threat hidden-threat-ending \"exe\" (attributes 34 HA)",
                   root + "autorun.inf: threat always-threat-ending \"inf\" (attributes 32 A)",
                   root + "photos.lnk: threat hidden-threat-ending \"lnk\" (attributes 35 RHA)",
                   root + "photos\\holiday.vbs: threat always-threat-ending \"vbs\" " +
                       "(attributes 32 A)"}));
  const Lines summary = LinesStartingWith(run.out, "summary: ");
  ASSERT_EQ(summary.size(), 1u) << run.out;
  // Seven entries of the root and the one of photos; the hidden folder is never entered.
  EXPECT_EQ(summary[0].rfind("summary: 8 entries examined, 4 findings (4 threats, 0 heuristic), "
                             "0 changes, 0 errors, ",
                             0),
            0u)
      << summary[0];
  EXPECT_EQ(run.errors, "");
}

TEST_F(VelmoraScanExe, JsonHasOneObjectPerFindingAndASummaryWithTheExitCode) {
  const ScanRun run = RunScanner(outputs_, {"--json", Root()});
  EXPECT_EQ(run.exit_code, 1u) << run.errors;
  const Lines findings = LinesStartingWith(run.out, "{\"type\":\"finding\"");
  ASSERT_EQ(findings.size(), 4u) << run.out;
  // Backslashes are escaped in JSON strings.
  std::string escaped_root;
  for (char c : stick_.root()) escaped_root += c == '\\' ? std::string("\\\\") : std::string(1, c);
  EXPECT_NE(std::find(findings.begin(), findings.end(),
                      "{\"type\":\"finding\",\"kind\":\"threat\",\"path\":\"" + escaped_root +
                          "Setup.exe\",\"attributes\":34,\"rule\":\"hidden-threat-ending\","
                          "\"ending\":\"exe\"}"),
            findings.end())
      << run.out;
  const Lines summary = LinesStartingWith(run.out, "{\"type\":\"summary\"");
  ASSERT_EQ(summary.size(), 1u) << run.out;
  EXPECT_NE(summary[0].find("\"entries\":8,\"findings\":4,"), std::string::npos) << summary[0];
  EXPECT_NE(summary[0].find("\"exit_code\":1}"), std::string::npos) << summary[0];
}

TEST_F(VelmoraScanExe, ADriveLetterIsScannedFromItsRoot) {
  // The stick behind a drive letter of its own, as a user names a plugged-in stick: Wine's
  // mount manager maps a letter to the tree's Unix folder for every process of the session.
  const std::string unix_folder = probe::ToUnixPath(Root());
  ASSERT_FALSE(unix_folder.empty()) << probe::LastError();

  char letter = 0;
  const DWORD used = ::GetLogicalDrives();
  for (char candidate = 'Y'; candidate >= 'Q' && letter == 0; --candidate) {
    if (!(used & (1u << (candidate - 'A')))) letter = candidate;
  }
  ASSERT_NE(letter, 0) << "no free drive letter";
  ASSERT_TRUE(probe::DefineUnixDrive(letter, unix_folder, DRIVE_REMOVABLE)) << probe::LastError();
  const std::string drive{letter, ':'};
  const ScanRun run = RunScanner(outputs_, {drive});
  probe::UndefineDrive(letter);
  EXPECT_EQ(run.exit_code, 1u) << run.out << run.errors;
  EXPECT_EQ(LinesStartingWith(run.out, drive + "\\").size(), 4u) << run.out;
  EXPECT_EQ(LinesStartingWith(run.out, drive + "\\Setup.exe: threat").size(), 1u) << run.out;
}

TEST(VelmoraScanExeStatus, CleanTreeExitsZeroAndAMissingPathTwoNamingIt) {
  TempTree clean;
  clean.File("notes.txt");
  clean.File("visible.exe");
  TempTree outputs;
  const ScanRun clean_run = RunScanner(outputs, {clean.root()});
  EXPECT_EQ(clean_run.exit_code, 0u) << clean_run.out << clean_run.errors;
  EXPECT_EQ(LinesStartingWith(clean_run.out, "summary: 2 entries examined, 0 findings").size(), 1u)
      << clean_run.out;

  const std::string missing = clean.root() + "no-such-folder";
  const ScanRun missing_run = RunScanner(outputs, {missing});
  EXPECT_EQ(missing_run.exit_code, 2u) << missing_run.out;
  EXPECT_NE(missing_run.errors.find("velmora-scan: " + missing), std::string::npos)
      << missing_run.errors;
}

// What the guard's Quarantine action stored in this prefix user's quarantine, listed and put
// back by the command, which never overwrites what is at the original path now.
TEST(VelmoraScanExeQuarantine, RestoreRefusesToOverwriteAndThenPutsTheFileBack) {
  TempTree stick;
  TempTree outputs;
  const std::string original = stick.root() + "run.vbs";
  const auto native = [](const std::string& path) { return NativePath(path.begin(), path.end()); };
  Win32Files files;
  ASSERT_EQ(files.CreateNewFile(native(original), "WScript.Echo 1"), "");
  ASSERT_EQ(files.SetAttributes(native(original), kHidden), "");
  quarantine::QuarantineStore store(files, quarantine::StoreFolder(LocalApplicationDataFolder()),
                                    SystemTimeTicks);
  const quarantine::StoredItem stored = store.Add(native(original));
  ASSERT_EQ(stored.error, "");

  const ScanRun listed = RunScanner(outputs, {"--quarantine-list"});
  EXPECT_EQ(listed.exit_code, 0u) << listed.errors;
  EXPECT_EQ(LinesStartingWith(listed.out, stored.id + "  ").size(), 1u) << listed.out;
  EXPECT_NE(listed.out.find("  14  " + original + "\r\n"), std::string::npos) << listed.out;

  ASSERT_EQ(files.CreateNewFile(native(original), "new"), "");
  const ScanRun refused = RunScanner(outputs, {"--restore", stored.id});
  EXPECT_EQ(refused.exit_code, 2u) << refused.out;
  EXPECT_EQ(refused.errors, "velmora-scan: " + stored.id + ": " + original +
                                " exists now and is not overwritten\r\n");
  std::string bytes;
  files.ReadWholeFile(native(original), bytes);
  EXPECT_EQ(bytes, "new");

  ASSERT_EQ(files.RemoveFile(native(original)), "");
  const ScanRun restored = RunScanner(outputs, {"--restore", stored.id});
  EXPECT_EQ(restored.exit_code, 0u) << restored.errors;
  EXPECT_EQ(restored.out, "restored " + stored.id + ": " + original + "\r\n");
  files.ReadWholeFile(native(original), bytes);
  EXPECT_EQ(bytes, "WScript.Echo 1");
  EXPECT_EQ(::GetFileAttributesA(original.c_str()) & kHidden, kHidden);
}

}  // namespace
}  // namespace velmora::platform
