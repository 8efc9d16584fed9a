// Gathers the facts of the usage reports once per run and queues the reports.
#pragma once

#include <string>

class UsageReporter {
 public:
  UsageReporter();

  void PrepareInfo();
  // The machine identifier: computed once per run from the processor, disk and adapter.
  std::wstring GetMachineId() const;
  void SendInstallReport();
  void SendUninstallReport();
  void SendActiveReport();
  void SendSocialLoginReport(const std::string& account, const std::wstring& serverId,
                             const std::wstring& loginType, int loginTypeCode);

  // The query of the statistics endpoint, without scheme and host.
  std::wstring StatisticsQuery(int ext1) const;

  bool prepared = false;
  std::wstring installGuid;
  bool inNetbar = false;
  bool autorunStart = false;
  std::wstring machineId;
  std::wstring installTime;
  std::wstring pixelTag;
  int installType = 0;
  bool activeSent = false;
};
