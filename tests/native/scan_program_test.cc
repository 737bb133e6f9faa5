// The velmora-scan program itself: its exit status, and the progress line that only a terminal
// gets.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "temp_tree_posix.h"

namespace {

struct Outcome {
  int status = -1;
  std::string errors;  // what reached standard error
};

// Runs velmora-scan with `arguments`, its standard output thrown away and its standard error on
// a pipe or, with `terminal`, on a pseudo-terminal.
Outcome RunProgram(const std::vector<std::string>& arguments, bool terminal) {
  int reader = -1;
  int writer = -1;
  if (terminal) {
    if (::openpty(&reader, &writer, nullptr, nullptr, nullptr) != 0) return {};
  } else {
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) return {};
    reader = pipe_ends[0];
    writer = pipe_ends[1];
  }
  const pid_t child = ::fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(writer, STDERR_FILENO);
    std::vector<char*> argv = {const_cast<char*>(VELMORA_SCAN_EXE)};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(VELMORA_SCAN_EXE, argv.data());
    ::_exit(127);
  }
  ::close(writer);
  Outcome outcome;
  char buffer[4096];
  // A terminal's reading end reports an error instead of the end once the child is gone.
  for (ssize_t got; (got = ::read(reader, buffer, sizeof buffer)) > 0;)
    outcome.errors.append(buffer, got);
  ::close(reader);
  int status = 0;
  ::waitpid(child, &status, 0);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

TEST(ScanProgram, ProgressGoesToATerminalOnly) {
  velmora::platform::TempTree tree;
  ASSERT_FALSE(tree.root().empty());
  tree.Directory("photos");
  tree.File("photos/autorun.inf");

  const Outcome piped = RunProgram({tree.root()}, false);
  EXPECT_EQ(piped.status, 1);
  EXPECT_EQ(piped.errors, "");

  const Outcome shown = RunProgram({tree.root()}, true);
  EXPECT_EQ(shown.status, 1);
  EXPECT_NE(shown.errors.find("entries/s, 0 findings, in " + tree.root()), std::string::npos)
      << shown.errors;
  // The line is wiped before the program ends, so the shell prompt starts clean.
  const std::string wipe = "\r" + std::string(79, ' ') + "\r";
  ASSERT_GE(shown.errors.size(), wipe.size());
  EXPECT_EQ(shown.errors.substr(shown.errors.size() - wipe.size()), wipe);

  const Outcome usage = RunProgram({"--no-such-option"}, false);
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.errors,
            "velmora-scan: unknown option '--no-such-option'\n"
            "Try 'velmora-scan --help' for more information.\n");
}

}  // namespace
