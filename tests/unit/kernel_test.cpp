#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/core/kernel/elevation.h"
#include "platform/core/kernel/process_launcher.h"
#include "platform/errhandlingapi.h"
#include "platform/fileapi.h"
#include "platform/handleapi.h"
#include "platform/processthreadsapi.h"
#include "platform/securitybaseapi.h"
#include "platform/shellapi.h"
#include "platform/synchapi.h"
#include "platform/tlhelp32.h"

namespace {

namespace fs = std::filesystem;

std::wstring TempPath(const std::string& name) {
  fs::path path = fs::temp_directory_path() / ("glider_kernel_" + std::to_string(getpid()) + "_" + name);
  return path.wstring();
}

TEST(Handles, CloseHandleChecksEveryKind) {
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  HANDLE file = CreateFileW(TempPath("h").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  for (HANDLE handle : {event, snapshot, file}) {
    ASSERT_NE(handle, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(handle));
    EXPECT_FALSE(CloseHandle(handle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  EXPECT_FALSE(CloseHandle(nullptr));
  EXPECT_FALSE(SetEvent(INVALID_HANDLE_VALUE));
  DeleteFileW(TempPath("h").c_str());
}

TEST(Events, AutoAndManualReset) {
  HANDLE autoEvent = CreateEventW(nullptr, FALSE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(autoEvent, 10), WAIT_TIMEOUT);  // consumed by the first wait
  HANDLE manual = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
  SetEvent(manual);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  ResetEvent(manual);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(0x4321), 0), WAIT_FAILED);
  CloseHandle(autoEvent);
  CloseHandle(manual);
}

DWORD ReturnArgument(LPVOID argument) { return static_cast<DWORD>(reinterpret_cast<uintptr_t>(argument)); }
unsigned WaitOnEvent(void* event) { return WaitForSingleObject(static_cast<HANDLE>(event), INFINITE); }

TEST(Threads, ExitCodesIdsAndTermination) {
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, ReturnArgument, reinterpret_cast<LPVOID>(42), 0, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, GetCurrentThreadId());
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 42u);
  CloseHandle(thread);

  // TerminateThread gives up a blocked thread: its handle is signalled at once.
  HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE blocked = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WaitOnEvent, never, 0, nullptr));
  ASSERT_NE(blocked, nullptr);
  EXPECT_EQ(WaitForSingleObject(blocked, 20), WAIT_TIMEOUT);
  EXPECT_TRUE(GetExitCodeThread(blocked, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_TRUE(TerminateThread(blocked, 7));
  EXPECT_EQ(WaitForSingleObject(blocked, INFINITE), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeThread(blocked, &code));
  EXPECT_EQ(code, 7u);
  SetEvent(never);  // lets the abandoned thread reach its end
  CloseHandle(blocked);
  CloseHandle(never);
}

TEST(Sync, CriticalSectionIsRecursiveAndInterlockedWorks) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EnterCriticalSection(&section);
  LeaveCriticalSection(&section);
  LeaveCriticalSection(&section);
  DeleteCriticalSection(&section);
  volatile LONG value = 5;
  EXPECT_EQ(InterlockedIncrement(&value), 6);
  EXPECT_EQ(InterlockedDecrement(&value), 5);
  EXPECT_EQ(InterlockedExchange(&value, 9), 5);
  EXPECT_EQ(InterlockedCompareExchange(&value, 1, 8), 9);  // no match: unchanged
  EXPECT_EQ(InterlockedCompareExchange(&value, 1, 9), 9);
  EXPECT_EQ(value, 1);
}

TEST(Files, WriteReadTruncateDelete) {
  std::wstring path = TempPath("f");
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file, "hello", 5, &written, nullptr));
  EXPECT_EQ(written, 5u);
  EXPECT_EQ(GetFileSize(file, nullptr), 5u);
  CloseHandle(file);
  file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  char buffer[8] = {};
  DWORD read = 0;
  EXPECT_TRUE(ReadFile(file, buffer, sizeof(buffer), &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "hello");
  CloseHandle(file);
  file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  EXPECT_EQ(GetFileSize(file, nullptr), 0u);  // truncated
  CloseHandle(file);
  EXPECT_TRUE(DeleteFileW(path.c_str()));
  EXPECT_FALSE(DeleteFileW(path.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  // Folders and devices are not files: a failed download aimed at one removes nothing.
  EXPECT_FALSE(DeleteFileW(L"/dev/null"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(access("/dev/null", F_OK), 0);
  // Names Windows refuses are refused here too.
  for (const char* name : {"ps.gif?id=38", "a:b", "a*b", "a|b"}) {
    std::wstring bad = TempPath(name);
    EXPECT_EQ(CreateFileW(bad.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE)
        << name;
  }
}

TEST(CommandLine, SplitsWithWindowsRules) {
  using Words = std::vector<std::string>;
  const std::pair<const wchar_t*, Words> cases[] = {
      {L" /S /KXUPGRADE", {"/S", "/KXUPGRADE"}},
      {L"\"C:\\Program Files\\a.exe\" x", {"C:\\Program Files\\a.exe", "x"}},
      {L"a\\\\\"b c\" d", {"a\\b c", "d"}},
      {L"a\\\"b", {"a\"b"}},
      {L"\"\"", {""}},
      {L"", {}},
  };
  for (const auto& [line, words] : cases) EXPECT_EQ(glider::core::SplitCommandLine(line), words) << line;
}

struct RecordingLauncher {
  std::mutex mutex;
  std::vector<glider::core::LaunchRequest> started;
  RecordingLauncher() {
    glider::core::SetProcessLauncherForTesting([this](const glider::core::LaunchRequest& request) {
      std::lock_guard lock(mutex);
      started.push_back(request);
      return 4242;
    });
  }
  ~RecordingLauncher() { glider::core::SetProcessLauncherForTesting({}); }
};

TEST(Processes, StartsGoThroughTheLauncher) {
  RecordingLauncher launcher;
  std::wstring program = TempPath("upgrade.exe");
  HANDLE file = CreateFileW(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(file);
  wchar_t commandLine[64] = L" /S /KXUPGRADE";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine, nullptr, nullptr, FALSE, 0x220, nullptr, nullptr,
                             &startup, &info));
  EXPECT_EQ(info.dwProcessId, 4242u);
  EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  EXPECT_EQ(access(fs::path(program).c_str(), X_OK), 0);  // made executable first

  EXPECT_LE(reinterpret_cast<intptr_t>(
                ShellExecuteW(nullptr, L"open", L"iexplore", L"http://a.test/", nullptr, SW_SHOW)),
            32);
  EXPECT_GT(reinterpret_cast<intptr_t>(
                ShellExecuteW(nullptr, L"open", L"http://a.test/x?y=1", nullptr, nullptr, SW_SHOW)),
            32);
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof(execute);
  execute.lpVerb = L"runas";
  execute.lpFile = program.c_str();
  execute.lpParameters = L"/S /KXUPGRADE";
  execute.nShow = SW_SHOWNORMAL;
  EXPECT_TRUE(ShellExecuteExW(&execute));

  using Kind = glider::core::LaunchRequest::Kind;
  ASSERT_EQ(launcher.started.size(), 3u);
  EXPECT_EQ(launcher.started[0].kind, Kind::kProgram);
  EXPECT_EQ(launcher.started[0].commandLine, L" /S /KXUPGRADE");
  EXPECT_EQ(launcher.started[0].arguments, (std::vector<std::string>{"/S", "/KXUPGRADE"}));
  EXPECT_EQ(launcher.started[0].show, SW_HIDE);
  EXPECT_EQ(launcher.started[1].kind, Kind::kAddress);
  EXPECT_EQ(launcher.started[1].target, "http://a.test/x?y=1");
  EXPECT_EQ(launcher.started[2].kind, Kind::kElevated);
  EXPECT_EQ(launcher.started[2].target, fs::path(program).string());
  DeleteFileW(program.c_str());
}

TEST(Processes, RealProgramRunsDetachedAndReportsItsExitCode) {
  wchar_t commandLine[] = L"sh -c \"exit 3\"";
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(
      CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 3u);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
}

TEST(Snapshot, ListsThisProcessByArgvZeroBaseName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) {
      found = true;
      EXPECT_STREQ(entry.szExeFile, L"unit_tests");
    }
  }
  EXPECT_TRUE(found);
  CloseHandle(snapshot);
}

}  // namespace

namespace {

bool TokenSaysElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  BOOL ok = GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size);
  CloseHandle(token);
  return ok && elevation.TokenIsElevated != 0;
}

TEST(Token, ElevationIsEffectiveUserZeroOrForced) {
  EXPECT_EQ(TokenSaysElevated(), geteuid() == 0);
  glider::core::SetElevatedForTesting(1);
  EXPECT_TRUE(TokenSaysElevated());
  glider::core::SetElevatedForTesting(0);
  EXPECT_FALSE(TokenSaysElevated());
  glider::core::SetElevatedForTesting(-1);
}

}  // namespace
