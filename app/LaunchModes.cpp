#include "app/LaunchModes.h"

#include <string>

#include "app/Settings.h"
#include "platform/objbase.h"
#include "platform/shellapi.h"
#include "platform/shlwapi.h"
#include "platform/winbase.h"
#include "util/Folders.h"

namespace {

bool CommandLineHas(const wchar_t* sw) {
  const wchar_t* line = GetCommandLineW();
  return line && std::wstring(line).find(sw) != std::wstring::npos;
}

}  // namespace

bool IsSetupSuccess() { return CommandLineHas(L"/setupsucc"); }
bool IsUninstallSuccess() { return CommandLineHas(L"/uninstallsucc"); }
bool IsShowDesktop() { return CommandLineHas(L"/ShowDeskTop"); }

bool IsActivated() { return ReadIniInt(L"Common", L"ActiveCount", 0) == 1; }
void SetActivated() { WriteIniString(L"Common", L"ActiveCount", L"1"); }

void ToggleDesktop() {
  CoInitialize(nullptr);
  IShellDispatch4* shell = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_Shell, nullptr, 0x17, IID_IShellDispatch4,
                                 reinterpret_cast<void**>(&shell))) &&
      shell) {
    shell->ToggleDesktop();
    shell->Release();
  }
  CoUninitialize();
}

void StartDeskGlow() {
  std::wstring path = GetDataFolder() + L"deskGlow.exe";
  if (PathFileExistsW(path.c_str()))
    ShellExecuteW(nullptr, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
