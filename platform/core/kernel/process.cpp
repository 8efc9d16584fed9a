// Starting detached processes through the launcher seam.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <new>

#include "platform/core/env/last_error.h"
#include "platform/core/kernel/kernel_object.h"
#include "platform/core/kernel/process_launcher.h"
#include "platform/core/kernel/wide_text.h"
#include "platform/errhandlingapi.h"
#include "platform/handleapi.h"
#include "platform/processthreadsapi.h"

extern char** environ;

namespace glider::core {
namespace {

class ProcessObject : public WaitableObject {
 public:
  ProcessObject() : WaitableObject(Kind::kProcess, true, false) {}
  void Exited(DWORD code) {
    exitCode_.store(code);
    Signal();
  }
  DWORD ExitCode() const { return exitCode_.load(); }

 private:
  std::atomic<DWORD> exitCode_{STILL_ACTIVE};
};

struct LauncherSlot {
  std::mutex mutex;
  ProcessLauncher launcher;
};

LauncherSlot& Slot() {
  static LauncherSlot* slot = new LauncherSlot;
  return *slot;
}

int SpawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& directory, bool searchPath) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_t actions;
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_init(&actions);
  // A session of its own: the program outlives us and our terminal.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  pid_t pid = -1;
  int error = searchPath ? posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), environ)
                         : posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) {
    errno = error;
    return -1;
  }
  return pid;
}

int RealLauncher(const LaunchRequest& request) {
  switch (request.kind) {
    case LaunchRequest::Kind::kProgram:
      return SpawnDetached(request.target, request.arguments, request.directory, false);
    case LaunchRequest::Kind::kAddress:
      return SpawnDetached("xdg-open", {request.target}, request.directory, true);
    case LaunchRequest::Kind::kElevated: {
      std::vector<std::string> arguments{request.target};
      arguments.insert(arguments.end(), request.arguments.begin(), request.arguments.end());
      return SpawnDetached("pkexec", arguments, request.directory, true);
    }
  }
  return -1;
}

struct Reaper {
  std::shared_ptr<ProcessObject> process;
  pid_t pid;
};

DWORD Reap(void* raw) {
  std::unique_ptr<Reaper> reaper(static_cast<Reaper*>(raw));
  int status = 0;
  pid_t done;
  do {
    done = waitpid(reaper->pid, &status, 0);
  } while (done < 0 && errno == EINTR);
  DWORD code = done < 0 ? 1 : WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  reaper->process->Exited(code);
  return 0;
}

}  // namespace

void SetProcessLauncherForTesting(ProcessLauncher launcher) {
  std::lock_guard lock(Slot().mutex);
  Slot().launcher = std::move(launcher);
}

HANDLE LaunchProcess(const LaunchRequest& request, DWORD* processId) {
  ProcessLauncher launcher;
  {
    std::lock_guard lock(Slot().mutex);
    launcher = Slot().launcher;
  }
  bool real = !launcher;
  int pid = real ? RealLauncher(request) : launcher(request);
  if (pid <= 0) {
    if (real) {
      SetLastErrorFromErrno();
    } else {
      SetLastError(ERROR_FILE_NOT_FOUND);
    }
    return nullptr;
  }
  auto process = std::make_shared<ProcessObject>();
  if (real) {
    auto* reaper = new (std::nothrow) Reaper{process, pid};
    HANDLE thread = reaper != nullptr ? CreateThread(nullptr, 0, Reap, reaper, 0, nullptr) : nullptr;
    if (thread == nullptr) {
      delete reaper;
    } else {
      CloseHandle(thread);
    }
  } else {
    process->Exited(0);
  }
  if (processId != nullptr) *processId = static_cast<DWORD>(pid);
  HANDLE handle = InsertHandle(process);
  if (handle == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return handle;
}

bool MakeExecutable(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  mode_t mode = info.st_mode & 07777;
  mode_t wanted = mode | S_IXUSR | ((mode & S_IRGRP) ? S_IXGRP : 0) | ((mode & S_IROTH) ? S_IXOTH : 0);
  return wanted == mode || chmod(path.c_str(), wanted) == 0;
}

std::string FindProgram(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) {
    struct stat info {};
    return stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? name : std::string();
  }
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    start = end + 1;
  }
  return {};
}

}  // namespace glider::core

BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                    LPPROCESS_INFORMATION processInformation) {
  using glider::core::LaunchRequest;
  if ((applicationName == nullptr && commandLine == nullptr) || environment != nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  LaunchRequest request;
  request.commandLine = commandLine != nullptr ? commandLine : L"";
  request.arguments = glider::core::SplitCommandLine(request.commandLine);
  std::string program;
  if (applicationName != nullptr) {
    program = glider::core::NativePath(applicationName);
  } else if (!request.arguments.empty()) {
    program = request.arguments.front();
    for (char& c : program) c = c == '\\' ? '/' : c;
    request.arguments.erase(request.arguments.begin());
  }
  request.target = glider::core::FindProgram(program);
  if (request.target.empty() || !glider::core::MakeExecutable(request.target)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  if (currentDirectory != nullptr) request.directory = glider::core::NativePath(currentDirectory);
  if (startupInfo != nullptr && (startupInfo->dwFlags & STARTF_USESHOWWINDOW) != 0) {
    request.show = startupInfo->wShowWindow;
  } else {
    request.show = 1;  // SW_SHOWNORMAL
  }
  DWORD pid = 0;
  HANDLE process = glider::core::LaunchProcess(request, &pid);
  if (process == nullptr) return FALSE;
  // The primary thread's handle is a second handle on the process: it is signalled when the program ends.
  HANDLE thread = glider::core::InsertHandle(glider::core::LookupHandle(process));
  if (processInformation != nullptr) {
    *processInformation = {process, thread, pid, pid};
  } else {
    CloseHandle(process);
    if (thread != nullptr) CloseHandle(thread);
  }
  return TRUE;
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
  using glider::core::KernelObject;
  auto object =
      glider::core::LookupHandleAs<glider::core::ProcessObject>(process, KernelObject::Kind::kProcess);
  if (!object || exitCode == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *exitCode = object->ExitCode();
  return TRUE;
}
