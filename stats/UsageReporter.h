// Gathers the facts of the usage reports and queues them.
#pragma once

#include <string>

class UsageReporter {
 public:
  void SendInstallReport();
  void SendUninstallReport();
  void SendActiveReport();
  void SendSocialLoginReport(const std::string& account, const std::wstring& serverId,
                             const std::wstring& loginType, int loginTypeCode);

  bool activeSent = false;
};
