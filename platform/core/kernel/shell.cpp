// ShellExecute: programs, addresses and elevation.
#include <cwchar>

#include "platform/core/kernel/process_launcher.h"
#include "platform/core/kernel/wide_text.h"
#include "platform/errhandlingapi.h"
#include "platform/handleapi.h"
#include "platform/shellapi.h"

namespace {

bool IsAddress(const std::wstring& file) {
  return file.find(L"://") != std::wstring::npos || file.rfind(L"www.", 0) == 0 ||
         file.rfind(L"mailto:", 0) == 0;
}

// Returns the value ShellExecuteW returns: above 32 on success.
int Execute(LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int show, HANDLE* process) {
  using glider::core::LaunchRequest;
  if (file == nullptr || *file == L'\0') return SE_ERR_FNF;
  std::wstring operation = verb != nullptr ? verb : L"open";
  std::wstring target = file;
  LaunchRequest request;
  request.show = show;
  request.commandLine = parameters != nullptr ? parameters : L"";
  request.arguments = glider::core::SplitCommandLine(request.commandLine);
  if (directory != nullptr) request.directory = glider::core::NativePath(directory);
  if ((operation == L"open" || operation.empty()) && IsAddress(target)) {
    request.kind = LaunchRequest::Kind::kAddress;
    request.target = glider::core::WideToUtf8(target);
  } else if (operation == L"open" || operation.empty() || operation == L"runas") {
    request.kind = operation == L"runas" ? LaunchRequest::Kind::kElevated : LaunchRequest::Kind::kProgram;
    request.target = glider::core::FindProgram(glider::core::NativePath(file));
    if (request.target.empty()) return SE_ERR_FNF;
    if (!glider::core::MakeExecutable(request.target)) return SE_ERR_ACCESSDENIED;
  } else {
    return SE_ERR_NOASSOC;
  }
  HANDLE started = glider::core::LaunchProcess(request, nullptr);
  if (started == nullptr) return request.kind == LaunchRequest::Kind::kAddress ? SE_ERR_NOASSOC : SE_ERR_FNF;
  if (process != nullptr) {
    *process = started;
  } else {
    CloseHandle(started);
  }
  return 42;
}

}  // namespace

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        int showCommand) {
  int result = Execute(operation, file, parameters, directory, showCommand, nullptr);
  return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(result));
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
  if (info == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HANDLE process = nullptr;
  bool keepProcess = (info->fMask & SEE_MASK_NOCLOSEPROCESS) != 0;
  int result = Execute(info->lpVerb, info->lpFile, info->lpParameters, info->lpDirectory, info->nShow,
                       keepProcess ? &process : nullptr);
  info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(result));
  info->hProcess = process;
  if (result <= 32) {
    SetLastError(static_cast<DWORD>(result == SE_ERR_NOASSOC ? 1155 : result));  // ERROR_NO_ASSOCIATION
    return FALSE;
  }
  return TRUE;
}
