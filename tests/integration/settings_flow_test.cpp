// Start-up settings: the run counter, the install time and the login address.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "app/GlobalModule.h"
#include "tests/support/client_fixture.h"

using glider::test::MakeModule;
using glider::test::TempHome;

namespace {

std::string Narrow(const std::wstring& w) {
  std::string out;
  for (wchar_t c : w) out.push_back(static_cast<char>(c < 0x80 ? c : '?'));
  return out;
}

TEST(SettingsFlow, FirstAndSecondNormalStartsCountTheRunAndBuildTheLoginAddress) {
  TempHome home;
  std::string first;
  {
    auto module = MakeModule();
    EXPECT_EQ(module->runCount, 1);
    first = Narrow(module->GetLoginUrl());
  }
  std::string settings = home.ReadSettings();
  EXPECT_TRUE(std::regex_search(
      settings, std::regex(R"(\[Install\][\s\S]*InstallTime=\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")))
      << settings;
  EXPECT_TRUE(std::regex_search(settings, std::regex(R"(\[Common\][\s\S]*RunCount=1)"))) << settings;

  std::smatch date;
  ASSERT_TRUE(std::regex_search(settings, date, std::regex(R"(InstallTime=(\d{4})-(\d\d)-(\d\d))")));
  std::string installDate = date[1].str() + date[2].str() + date[3].str();
  std::regex expected(
      std::string(R"(^http://127\.0\.0\.1:8730/controller/client\.php\?game_id=518&tpl_type=game)") +
      "&refer=ostracom&uid=velk&version=3000&installtime=" + installDate +
      R"(&runcount=1&curtime=\d{14}&showlogintype=3&regtimes=1&pagetype=1&thirdlogin=1$)");
  EXPECT_TRUE(std::regex_match(first, expected)) << first;

  auto second = MakeModule();
  EXPECT_EQ(second->runCount, 2);
  std::string url = Narrow(second->GetLoginUrl());
  EXPECT_NE(url.find("&runcount=2&"), std::string::npos) << url;
  EXPECT_EQ(url.find("regtimes"), std::string::npos) << url;
}

TEST(SettingsFlow, SpecialModesCountOnlyTheRemoval) {
  struct Case {
    const wchar_t* args;
    int runCount;
    bool counted;
  } cases[] = {
      {L"/setupsucc", 0, false},
      {L"/ShowDeskTop", 0, false},
      {L"/uninstallsucc", 42, true},
      {L"--dir=/x/setupsuccess/ /ShowDeskTop /setupsucc", 0, false},
      {L"", 42, true},
  };
  for (const Case& c : cases) {
    TempHome home(c.args);
    std::filesystem::create_directories(home.SettingsFile().parent_path());
    {
      std::ofstream out(home.SettingsFile());
      out << "[Common]\nRunCount=41\n";
    }
    auto module = MakeModule();
    EXPECT_EQ(module->runCount, c.runCount) << Narrow(c.args);
    std::string settings = home.ReadSettings();
    EXPECT_NE(settings.find(c.counted ? "RunCount=42" : "RunCount=41"), std::string::npos) << Narrow(c.args);
  }
}

TEST(SettingsFlow, ValuesGoIntoTheAddressUnescapedAndAMalformedInstallTimeIsKept) {
  TempHome home;
  std::filesystem::create_directories(home.SettingsFile().parent_path());
  {
    std::ofstream out(home.SettingsFile());
    out << "[Common]\nRefer=a&b c\nUID=u1\n[Install]\nInstallTime=2024-03-05 10:20:30\n";
  }
  auto module = MakeModule();
  std::string url = Narrow(module->GetLoginUrl());
  EXPECT_NE(url.find("&refer=a&b c&uid=u1&"), std::string::npos) << url;
  EXPECT_NE(url.find("&installtime=20240305&"), std::string::npos) << url;
  module->gameServer = L"S1";
  module->userName = L"p&q";
  EXPECT_EQ(Narrow(module->GetPayUrl()),
            "http://127.0.0.1:8730/pay/select.php?gamename=velk&gameserver=S1&username=p&q");
}

}  // namespace
