#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "stats/NetbarDetect.h"

namespace {

class FakeNetbarProbe : public NetbarProbe {
 public:
  std::set<std::wstring> keys;
  std::vector<std::wstring> processes;
  bool snapshotFails = false;
  int snapshots = 0;
  std::vector<std::wstring> keysTried;

  bool OpenMachineKey(const std::wstring& subKey) override {
    keysTried.push_back(subKey);
    return keys.count(subKey) > 0;
  }
  bool WalkProcesses(const std::function<bool(const wchar_t*)>& visit) override {
    ++snapshots;
    if (snapshotFails) return false;
    for (const std::wstring& name : processes)
      if (visit(name.c_str())) break;
    return true;
  }
};

TEST(DetectNetbar, AKeyOrProcessGivesTheCodeOfItsRow) {
  struct Case {
    std::vector<std::wstring> keys;
    std::vector<std::wstring> processes;
    int32_t expected;
  } cases[] = {
      {{}, {}, -1},
      {{L"SOFTWARE\\Hintsoft\\PubwinClient"}, {}, 0x00},
      {{L"SOFTWARE\\Hintsoft\\pubwin", L"SOFTWARE\\iCafe8"}, {}, 0x00},
      {{L"SOFTWARE\\iCafe8", L"SOFTWARE\\Grabsun\\Netsense"}, {}, 0x06},
      {{L"SOFTWARE\\杭州顺网信息技术有限公司\\网维大师蝌蚪娱乐平台"}, {}, 0x0E},
      {{L"SOFTWARE\\MpSoft\\scon"}, {L"connetbar.exe"}, 0x16},
      {{L"SOFTWARE\\MpSoft\\scon"}, {L"wbc.exe"}, 0x18},
      {{L"SOFTWARE\\Richtech"}, {L"娱乐中心.exe"}, 0x0C},
      {{}, {L"init", L"QQmenu.exe"}, 0x14},
      {{}, {L"qqmenu.exe"}, -1},
      {{}, {L"QQMENU.EXE", L"Txwu.exe"}, 0x14},
      {{}, {L"DeepinStatus.exe", L"TLnbLdr.exe"}, 0x21},
      {{L"\\QvodNetBar\\install"}, {}, 0x20},
      {{L"QvodNetBar\\install"}, {}, -1},
      {{L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\网升游戏更新客户端"}, {}, 0x24},
      {{L"\\SOFTWARE\\www.hintsoft.com.cn"}, {}, 0x25},
  };
  for (const Case& c : cases) {
    FakeNetbarProbe probe;
    probe.keys.insert(c.keys.begin(), c.keys.end());
    probe.processes = c.processes;
    EXPECT_EQ(DetectNetbar(probe), c.expected) << "case " << (&c - cases);
  }
}

TEST(DetectNetbar, TriesEveryRowInTableOrderWithAFreshSnapshotEach) {
  FakeNetbarProbe probe;
  EXPECT_EQ(DetectNetbar(probe), -1);
  EXPECT_EQ(probe.snapshots, 11);
  ASSERT_EQ(probe.keysTried.size(), 19u);
  EXPECT_EQ(probe.keysTried[0], L"SOFTWARE\\Hintsoft\\PubwinClient");
  EXPECT_EQ(probe.keysTried[13], L"SOFTWARE\\Grabsun\\Netsense");
  EXPECT_EQ(probe.keysTried[14], L"SOFTWARE\\MpSoft\\scon");
  EXPECT_EQ(probe.keysTried[18], L"\\SOFTWARE\\www.hintsoft.com.cn");
}

TEST(IsProcessRunning, MatchesTheExactNameOnly) {
  FakeNetbarProbe probe;
  probe.processes = {L"QQmenu.exe.bak", L"xQQmenu.exe", L"qqmenu.exe"};
  EXPECT_FALSE(IsProcessRunning(probe, L"QQmenu.exe"));
  probe.processes.push_back(L"QQmenu.exe");
  EXPECT_TRUE(IsProcessRunning(probe, L"QQmenu.exe"));
  probe.snapshotFails = true;
  EXPECT_FALSE(IsProcessRunning(probe, L"QQmenu.exe"));
}

}  // namespace
