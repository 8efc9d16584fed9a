// Threads, processes and the tick count.
#pragma once

#include "platform/fileapi.h"
#include "platform/windef.h"

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD STILL_ACTIVE = 259;

// CREATE_SUSPENDED is not supported (the call fails with ERROR_INVALID_PARAMETER).
HANDLE CreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
// The C runtime's thread start (process.h on Windows); returns the thread handle or 0.
uintptr_t _beginthreadex(void* security, unsigned stackSize, unsigned (*start)(void*), void* argList,
                         unsigned initFlag, unsigned* threadAddress);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
// Linux cannot end one thread of a process safely (POSIX cancellation unwinds
// code that does not expect it, and breaks under the sanitizers). The thread
// is given up instead: its handle is signalled at once with `exitCode`, and
// the thread runs on until its procedure returns, with its later waits, sleeps
// and WinINet calls failing at once. The caller must keep alive what the
// thread still uses (the downloader keeps such a worker's memory).
BOOL TerminateThread(HANDLE thread, DWORD exitCode);
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
// Milliseconds of a monotonic clock; wraps after 49.7 days as on Windows.
DWORD GetTickCount();

constexpr DWORD CREATE_NEW_CONSOLE = 0x00000010;
constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD CREATE_NEW_PROCESS_GROUP = 0x00000200;
constexpr DWORD CREATE_NO_WINDOW = 0x08000000;

constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;

struct STARTUPINFOW {
  DWORD cb;
  LPWSTR lpReserved;
  LPWSTR lpDesktop;
  LPWSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
};
using LPSTARTUPINFOW = STARTUPINFOW*;

struct PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

// Starts the program in its own session, so it outlives the caller. With an
// application name the program is that path and its arguments are the words of
// the command line (Windows' quoting rules); without one the first word of the
// command line is the program. A file without execute permission is made
// executable first (a downloaded program has none). hThread is a handle that
// only CloseHandle accepts meaningfully; the process handle is signalled when
// the program exits. Show flags have no effect on Linux programs.
BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                    LPPROCESS_INFORMATION processInformation);
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
