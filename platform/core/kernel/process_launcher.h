// The one place where programs are started and addresses opened, so that
// tests can see (and stand in for) every start.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/windef.h"

namespace glider::core {

struct LaunchRequest {
  enum class Kind { kProgram, kAddress, kElevated };
  Kind kind = Kind::kProgram;
  // The program's path (kProgram, kElevated) or the address (kAddress).
  std::string target;
  // The words after the program, split from the command line or parameters.
  std::vector<std::string> arguments;
  // CreateProcessW's command line or ShellExecute's parameters, as given.
  std::wstring commandLine;
  std::string directory;  // empty: the caller's
  int show = 0;
};

// Returns the started process's id, or -1 when it could not be started.
using ProcessLauncher = std::function<int(const LaunchRequest&)>;

// Replaces the real launcher; an empty function restores it. Processes
// "started" by a test launcher count as exited at once with code 0.
void SetProcessLauncherForTesting(ProcessLauncher launcher);

// Runs the request through the current launcher and returns a process
// handle (signalled when the process exits), or null on failure.
HANDLE LaunchProcess(const LaunchRequest& request, DWORD* processId);

// Adds execute permission where the file has read permission (a downloaded
// program has none); false when the path is not a regular file.
bool MakeExecutable(const std::string& path);

// The program a name stands for: the path itself when it holds a "/", else
// the first executable of that name on PATH. Empty when there is none.
std::string FindProgram(const std::string& name);

// Windows' rules for splitting a command line into words.
std::vector<std::string> SplitCommandLine(const std::wstring& commandLine);

}  // namespace glider::core
