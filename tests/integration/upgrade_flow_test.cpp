// The version check and the hand-off to the upgrade program, against the simulator.
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>

#include "app/GlobalModule.h"
#include "platform/core/kernel/elevation.h"
#include "platform/core/kernel/process_launcher.h"
#include "platform/core/text/utf.h"
#include "platform/headless/headless_driver.h"
#include "tests/support/client_fixture.h"
#include "tests/support/simulator_process.h"
#include "util/Folders.h"

using glider::headless::Driver;
using glider::headless::WaitUntil;
using glider::test::MakeModule;
using glider::test::OnUi;
using glider::test::RunClient;
using glider::test::SimulatorProcess;
using glider::test::TempHome;

namespace {

// Paths of ours are UTF-8 on disk; std::filesystem would convert by the C locale.
std::filesystem::path P(const std::wstring& w) { return std::filesystem::path(glider::core::WideToUtf8(w)); }

struct Launch {
  glider::core::LaunchRequest request;
  bool loginVisible = true;
  bool backVisible = true;
};

class UpgradeFlow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GT(sim.Port(), 0);
    Driver().SetMessageBoxAnswerer(nullptr);
    std::wstring check = sim.Url("/Vemo/velk/official/app.ini");
    std::wstring program = sim.Url("/Vemo/velk/official/Vemovelk.exe");
    glider::test::WriteText(home.SettingsFile(),
                            "[Common]\nVersionCheck=" + std::string(check.begin(), check.end()) +
                                "\nVersionDownLoad=" + std::string(program.begin(), program.end()) + "\n");
    glider::core::SetProcessLauncherForTesting([this](const glider::core::LaunchRequest& r) {
      std::lock_guard<std::mutex> lock(mutex);
      Launch l{r, IsWindowVisible(module->formLogin.GetHwnd()) != 0,
               IsWindowVisible(module->formBack.GetHwnd()) != 0};
      launches.push_back(l);
      return 4242;
    });
    module = MakeModule();
  }
  void TearDown() override {
    glider::core::SetProcessLauncherForTesting(nullptr);
    glider::core::SetElevatedForTesting(-1);
  }
  std::vector<Launch> Launches() {
    std::lock_guard<std::mutex> lock(mutex);
    return launches;
  }
  // Starts the check as the login page's first navigation does and accepts the notice.
  void CheckAndAccept(const std::wstring& expectedText) {
    ASSERT_TRUE(WaitUntil([&] { return IsWindow(module->formLogin.GetHwnd()); }));
    OnUi([&] { module->SubmitVersionFileTask(); });
    ASSERT_TRUE(WaitUntil([&] { return Driver().OpenMessageBoxes() == 1; }, 10000));
    auto box = Driver().MessageBoxes().back();
    EXPECT_EQ(box.text, expectedText);
    EXPECT_EQ(box.caption, L"升级提醒");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.owner, module->formLogin.GetHwnd());
    Driver().AnswerMessageBox(IDOK);
  }

  TempHome home;
  SimulatorProcess sim;
  std::unique_ptr<CGlobalModule> module;
  std::mutex mutex;
  std::vector<Launch> launches;
};

TEST_F(UpgradeFlow, ASignedNewerVersionIsAnnouncedDownloadedAndStartedThenTheClientEnds) {
  for (int elevated : {1, 0}) {
    SCOPED_TRACE(elevated ? "elevated" : "not elevated");
    launches.clear();
    std::filesystem::remove(home.Root() / ".config" /
                            std::filesystem::path(u8"Vemo游戏/velk/Upgrade/LastUpgrade.ini"));
    glider::core::SetElevatedForTesting(elevated);
    ASSERT_EQ(sim.Get("/_control?reset=1&currentversion=3.0.0.1&signature=good"), 200);
    module = MakeModule();
    int code = RunClient(*module, [&] { CheckAndAccept(L"检测到最新版本[3.0.0.1]，确认更新！"); });
    EXPECT_EQ(code, 0);
    auto all = Launches();
    ASSERT_EQ(all.size(), 1u);
    const auto& r = all[0].request;
    std::wstring program = GetUpgradeProgramPath();
    EXPECT_EQ(r.target, glider::core::WideToUtf8(program));
    EXPECT_TRUE(program.ends_with(L"/Upgrade/VemoGliderUpgrade.exe"));
    if (elevated) {
      EXPECT_EQ(r.kind, glider::core::LaunchRequest::Kind::kProgram);
      EXPECT_EQ(r.commandLine, L" /S /KXUPGRADE");
      EXPECT_EQ(r.show, SW_HIDE);
    } else {
      EXPECT_EQ(r.kind, glider::core::LaunchRequest::Kind::kElevated);
      EXPECT_EQ(r.commandLine, L"/S /KXUPGRADE");
    }
    EXPECT_FALSE(all[0].loginVisible);
    EXPECT_FALSE(all[0].backVisible);
    std::string last = glider::test::ReadText(P(GetLastUpgradePath()));
    EXPECT_NE(last.find("lastUpgradeVer=3.0.0.1"), std::string::npos) << last;
  }
  EXPECT_EQ(sim.LogLinesWith("\"path\": \"/Vemo/velk/official/app.ini\"").size() +
                sim.LogLinesWith("\"path\":\"/Vemo/velk/official/app.ini\"").size(),
            2u);
}

TEST_F(UpgradeFlow, AnUnverifiedProgramIsDeletedNeverStartedAndTheWindowsComeBack) {
  for (const char* signature : {"bad", "none"}) {
    SCOPED_TRACE(signature);
    launches.clear();
    ASSERT_EQ(sim.Get(std::string("/_control?reset=1&currentversion=3.0.0.1&signature=") + signature), 200);
    module = MakeModule();
    int code = RunClient(*module, [&] {
      CheckAndAccept(L"检测到最新版本[3.0.0.1]，确认更新！");
      std::filesystem::path program = P(GetUpgradeProgramPath());
      ASSERT_TRUE(WaitUntil(
          [&] {
            return !sim.LogLinesWith("Vemovelk.exe").empty() && !std::filesystem::exists(program) &&
                   IsWindowVisible(module->formLogin.GetHwnd()) &&
                   IsWindowVisible(module->formBack.GetHwnd());
          },
          10000));
      OnUi([&] { EXPECT_TRUE(IsWindow(module->formLogin.GetHwnd())); });
      PostMessageW(module->formLogin.GetHwnd(), 1225, 0, 0);
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Launches().empty());
    EXPECT_FALSE(std::filesystem::exists(P(GetLastUpgradePath())));
  }
}

TEST_F(UpgradeFlow, NoNewerVersionShowsNothing) {
  ASSERT_EQ(sim.Get("/_control?reset=1&currentversion=3.0.0.0"), 200);
  size_t boxes = Driver().MessageBoxes().size();
  int code = RunClient(*module, [&] {
    ASSERT_TRUE(WaitUntil([&] { return IsWindow(module->formLogin.GetHwnd()); }));
    OnUi([&] { module->SubmitVersionFileTask(); });
    ASSERT_TRUE(WaitUntil([&] { return !sim.LogLinesWith("app.ini").empty(); }, 10000));
    // The file is handled on a worker; the client is idle once the downloaded file is there.
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(P(GetUpgradeFolder() + L"app.ini")); }));
    PostMessageW(module->formLogin.GetHwnd(), 1225, 0, 0);
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Driver().MessageBoxes().size(), boxes);
  EXPECT_TRUE(Launches().empty());
}

}  // namespace
