#include "stats/UsageReporter.h"

#include <ctime>

#include "app/Endpoints.h"
#include "app/GlobalModule.h"
#include "app/Settings.h"
#include "net/DownloadTask.h"
#include "platform/winbase.h"
#include "stats/MachineIdentity.h"
#include "stats/NetbarDetect.h"
#include "util/Md5.h"
#include "util/Text.h"

UsageReporter::UsageReporter() {
#ifndef GLIDER_LIBRARY
  pixelTag = L"wd";
#endif
}

void UsageReporter::PrepareInfo() {
  if (prepared) return;
  prepared = true;
  installGuid = LoadInstallGuid([] { return ReadIniString(L"Install", L"GUID", L""); },
                                [](const std::wstring& guid) { WriteIniString(L"Install", L"GUID", guid); },
                                [] { return NewGuidText(); });
  installTime = ReadIniString(L"Install", L"InstallTime", L"");
  if (installTime.empty()) {
    installTime = FormatLocalTime(L"%Y-%m-%d %H:%M:%S", std::time(nullptr));
    WriteIniString(L"Install", L"InstallTime", installTime);
  }
  installType = ReadIniInt(L"Install", L"InstallType", 0);
  const wchar_t* line = GetCommandLineW();
  autorunStart = line && std::wstring(line).find(L"/autorun") != std::wstring::npos;
  inNetbar = DetectNetbar() >= 0;
  machineId = GetMachineId();
}

std::wstring UsageReporter::GetMachineId() const {
  if (!machineId.empty()) return machineId;
  std::string raw;
  ToNarrow(BuildRawMachineText().c_str(), raw);
  return MachineIdOf(raw, [](const void* data, size_t size, BYTE digest[16]) {
    Md5 md5;
    md5.Update(data, size);
    md5.Final(digest);
  });
}

std::wstring UsageReporter::StatisticsQuery(int ext1) const {
  CGlobalModule& m = Module();
  return L"/controller/istat.controller.php?item=5207kqm3x1&platform=Ostra&game_id=518&ext_1=" +
         std::to_wstring(ext1) + L"&ext_2=" + m.GetRefer() + L"&ext_3=" + m.GetUid() + L"&ext_4=" +
         installGuid + L"&ext_5=" + machineId + L"&ext_6=" + std::to_wstring(inNetbar ? 1 : 2) +
         L"&browser_type=3000";
}

void UsageReporter::SendInstallReport() {
  PrepareInfo();
  Module().SubmitReportTask(std::wstring(endpoints::kStatHost) + StatisticsQuery(installType == 1 ? 3 : 2),
                            TaskInstallReport, L"InstallStat.tmp");
}

void UsageReporter::SendUninstallReport() {
  PrepareInfo();
  std::wstring today = FormatLocalTime(L"%Y-%m-%d", std::time(nullptr));
  int position = !today.empty() && installTime.find(today) != std::wstring::npos ? 1 : 2;
  std::wstring ext7 = RemoveAll(installTime.substr(0, 10), L"-");
  Module().SubmitReportTask(std::wstring(endpoints::kStatHost) + StatisticsQuery(6) + L"&position=" +
                                std::to_wstring(position) + L"&ext_7=" + ext7,
                            TaskUninstallReport, L"UninstallStat.tmp");
}

void UsageReporter::SendActiveReport() {
  if (activeSent) return;
  PrepareInfo();
  activeSent = true;
  Module().SubmitReportTask(std::wstring(endpoints::kStatHost) + StatisticsQuery(autorunStart ? 4 : 5),
                            TaskActiveReport, L"ActiveStat.tmp");
}

void UsageReporter::SendSocialLoginReport(const std::string& account, const std::wstring& serverId,
                                          const std::wstring& loginType, int loginTypeCode) {
  CGlobalModule& m = Module();
  std::wstring la;
  ToWide(account.c_str(), la);
  std::wstring query = L"/ps.gif?id=38&la=" + la + L"&gid=518&sid=" + serverId + L"&e1=" + m.GetRefer() +
                       L"&e2=" + m.GetUid() + L"&e3=3000&e4=" + pixelTag + L"&e5=" + pixelTag + L"&e6=" +
                       pixelTag + L"&e7=" + loginType + L"&e8=" + std::to_wstring(loginTypeCode);
  m.SubmitReportTask(std::wstring(endpoints::kPixelHost) + query, TaskThirdInstallReport,
                     L"ThirdInstallStat.tmp");
}
