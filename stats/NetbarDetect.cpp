#include "stats/NetbarDetect.h"

#include <cwchar>

namespace {

enum class Test { Key, Process };

struct Trace {
  Test test;
  const wchar_t* target;
  int32_t code;
};

// Tried in this order, cheap key tests first. The keys with a leading backslash are written so by the
// software that creates them.
constexpr Trace kTraces[] = {
    {Test::Key, L"SOFTWARE\\Hintsoft\\PubwinClient", 0x00},
    {Test::Key, L"SOFTWARE\\Hintsoft\\pubwin", 0x00},
    {Test::Key, L"SOFTWARE\\Sicent\\wx2004Clt", 0x01},
    {Test::Key, L"SOFTWARE\\MpSoft\\smenu", 0x02},
    {Test::Key, L"SOFTWARE\\Microsoft\\jingzu", 0x04},
    {Test::Key, L"SOFTWARE\\iCafe8", 0x06},
    {Test::Key, L"SOFTWARE\\Goyoo\\i8desk", 0x07},
    {Test::Key, L"SOFTWARE\\Hintsoft1\\XunShanPro", 0x08},
    {Test::Key, L"SOFTWARE\\SyncExpertNetBar", 0x09},
    {Test::Key, L"SOFTWARE\\EYOOCLIENTSTATUS", 0x0B},
    {Test::Key, L"SOFTWARE\\Richtech", 0x0C},
    {Test::Key, L"SOFTWARE\\杭州顺网信息技术有限公司\\网维大师蝌蚪娱乐平台", 0x0E},
    {Test::Key, L"SOFTWARE\\Sicent\\WxAdv", 0x0F},
    {Test::Key, L"SOFTWARE\\Grabsun\\Netsense", 0x10},
    {Test::Process, L"娱乐中心.exe", 0x11},
    {Test::Process, L"网吧游戏外挂总管管理器.exe", 0x13},
    {Test::Process, L"QQmenu.exe", 0x14},
    {Test::Process, L"Txwu.exe", 0x14},
    {Test::Process, L"网吧游戏管理专家2006.exe", 0x15},
    {Test::Process, L"connetbar.exe", 0x16},
    {Test::Key, L"SOFTWARE\\MpSoft\\scon", 0x18},
    {Test::Process, L"wbc.exe", 0x1A},
    {Test::Process, L"sunflowerTools.exe", 0x1B},
    {Test::Key, L"SOFTWARE\\MpSoft\\VOD", 0x1E},
    {Test::Process, L"LBSserver.exe", 0x1F},
    {Test::Key, L"\\QvodNetBar\\install", 0x20},
    {Test::Process, L"TLnbLdr.exe", 0x21},
    {Test::Process, L"DeepinStatus.exe", 0x23},
    {Test::Key, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\网升游戏更新客户端", 0x24},
    {Test::Key, L"\\SOFTWARE\\www.hintsoft.com.cn", 0x25},
};

}  // namespace

bool HasMachineKey(NetbarProbe& probe, const std::wstring& subKey) { return probe.OpenMachineKey(subKey); }

bool HasMachineKey(const std::wstring& subKey) { return HasMachineKey(SystemNetbarProbe(), subKey); }

bool IsProcessRunning(NetbarProbe& probe, const std::wstring& exeName) {
  bool found = false;
  probe.WalkProcesses([&](const wchar_t* name) {
    found = std::wcscmp(name, exeName.c_str()) == 0;
    return found;
  });
  return found;
}

bool IsProcessRunning(const std::wstring& exeName) { return IsProcessRunning(SystemNetbarProbe(), exeName); }

int32_t DetectNetbar(NetbarProbe& probe) {
  for (const Trace& trace : kTraces) {
    bool found =
        trace.test == Test::Key ? HasMachineKey(probe, trace.target) : IsProcessRunning(probe, trace.target);
    if (found) return trace.code;
  }
  return -1;
}

int32_t DetectNetbar() { return DetectNetbar(SystemNetbarProbe()); }
