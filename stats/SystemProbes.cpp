// The net-bar probe over the registry and the process snapshot.
#include "stats/NetbarDetect.h"

#if __has_include("platform/winreg.h") && __has_include("platform/tlhelp32.h")
#define GLIDER_HAS_REGISTRY 1
#include "platform/tlhelp32.h"
#include "platform/winreg.h"
#if __has_include("platform/handleapi.h")
#include "platform/handleapi.h"
#elif __has_include("platform/windows.h")
#include "platform/windows.h"
#endif
#endif

namespace {

class SystemProbe final : public NetbarProbe {
 public:
#ifdef GLIDER_HAS_REGISTRY
  bool OpenMachineKey(const std::wstring& subKey) override {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }

  bool WalkProcesses(const std::function<bool(const wchar_t* exeName)>& visit) override {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
      if (visit(entry.szExeFile)) break;
    CloseHandle(snapshot);
    return true;
  }
#else
  // Without the registry and the process snapshot there is nothing to find.
  bool OpenMachineKey(const std::wstring&) override { return false; }
  bool WalkProcesses(const std::function<bool(const wchar_t*)>&) override { return false; }
#endif
};

}  // namespace

NetbarProbe& SystemNetbarProbe() {
  static SystemProbe probe;
  return probe;
}
