#include "stats/UsageReporter.h"

// The reports need the download queue; until it exists they leave nothing behind.
void UsageReporter::SendInstallReport() {}
void UsageReporter::SendUninstallReport() {}
void UsageReporter::SendActiveReport() { activeSent = true; }
void UsageReporter::SendSocialLoginReport(const std::string&, const std::wstring&, const std::wstring&, int) {}
