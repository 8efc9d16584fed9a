#include "app/GlobalModule.h"

#include <ctime>

#include "app/Endpoints.h"
#include "app/LaunchModes.h"
#include "app/Messages.h"
#include "app/Settings.h"
#include "forms/FormGame.h"
#include "forms/FormThirdLogin.h"
#include "util/Text.h"

namespace {
CGlobalModule* gModule = nullptr;
}  // namespace

CGlobalModule& Module() { return *gModule; }

CGlobalModule::CGlobalModule() {
  gModule = this;
  LoadSettings();
}

CGlobalModule::~CGlobalModule() {
  delete retiredGame_;
  delete formGame;
  delete formThirdLogin;
  if (gModule == this) gModule = nullptr;
}

void CGlobalModule::LoadSettings() {
  runCount = 0;
  loginUrl = std::wstring(endpoints::kLoginHost) + L"/controller/client.php?game_id=518&tpl_type=game";
  versionCheckUrl =
      ReadIniString(L"Common", L"VersionCheck", std::wstring(endpoints::kDownloadHost) + L"/Vemo/velk/official/app.ini");
  versionDownloadUrl = ReadIniString(L"Common", L"VersionDownLoad",
                                     std::wstring(endpoints::kDownloadHost) + L"/Vemo/velk/official/Vemovelk.exe");
  refer = ReadIniString(L"Common", L"Refer", L"ostracom");
  uid = ReadIniString(L"Common", L"UID", L"velk");
  topMost = ReadIniInt(L"Common", L"TopMost", 0);

  std::wstring installTime = ReadIniString(L"Install", L"InstallTime", L"");
  if (installTime.empty()) {
    installTime = FormatLocalTime(L"%Y-%m-%d %H:%M:%S", std::time(nullptr));
    WriteIniString(L"Install", L"InstallTime", installTime);
  }
  std::wstring installDate = RemoveAll(installTime.substr(0, 10), L"-");
  std::wstring curTime = FormatLocalTime(L"%Y%m%d%H%M%S", std::time(nullptr));
  int runs = GetRunCount();

  std::wstring query = L"refer=" + refer + L"&uid=" + uid + L"&version=" + std::to_wstring(ClientVersion) +
                       L"&installtime=" + installDate + L"&runcount=" + std::to_wstring(runs) + L"&curtime=" +
                       curTime + L"&showlogintype=3";
  if (GetRunCount() == 1) query += L"&regtimes=1";
  query += L"&pagetype=1";
  query += L"&thirdlogin=1";
  loginUrl += (loginUrl.find(L'?') != std::wstring::npos ? L"&" : L"?") + query;
}

int CGlobalModule::GetRunCount() {
  if (runCount != 0) return runCount;
  if (IsSetupSuccess() || IsShowDesktop()) return 0;
  runCount = ReadIniInt(L"Common", L"RunCount", 0) + 1;
  WriteIniString(L"Common", L"RunCount", std::to_wstring(runCount));
  return runCount;
}

std::wstring CGlobalModule::GetPayUrl() const {
  return std::wstring(endpoints::kPayHost) + L"/select.php?gamename=velk&gameserver=" + gameServer +
         L"&username=" + userName;
}

bool CGlobalModule::CreateBareWindow(CKXForm* form) {
  form->Create(windowClass, title, hInstance, nullptr);
  HWND w = form->GetHwnd();
  SetWindowLongW(w, GWL_STYLE, static_cast<LONG>((static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)) & 0x7F30FF7F) |
                                                 0x000A0000));
  SetWindowLongW(w, GWL_EXSTYLE,
                 static_cast<LONG>((static_cast<DWORD>(GetWindowLongW(w, GWL_EXSTYLE)) & 0xFFFBFEFE) | 0x00000080));
  return true;
}

void CGlobalModule::ShowOffscreen(CKXForm* form) {
  HWND w = form->GetHwnd();
  DWORD ex = static_cast<DWORD>(GetWindowLongW(w, GWL_EXSTYLE));
  SetWindowLongW(w, GWL_EXSTYLE, static_cast<LONG>((ex & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW));
  SetWindowPos(w, topMost == 1 ? HWND_TOPMOST : HWND_TOP, -2000, -2000, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE);
  ShowWindow(w, SW_SHOWNORMAL);
  UpdateWindow(w);
}

int CGlobalModule::Run() {
  if (IsSetupSuccess()) {
    reporter.SendInstallReport();
    CreateBareWindow(&formLogin);
  } else if (IsUninstallSuccess()) {
    reporter.SendUninstallReport();
    CreateBareWindow(&formLogin);
  } else if (IsShowDesktop()) {
    CreateBareWindow(&formLogin);
    ToggleDesktop();
    PostMessageW(formLogin.GetHwnd(), WM_EXIT_APP, 0, 0);
  } else {
    RECT bounds{0, 0, 1084, 685};
    formBack.SetRect(&bounds);
    formBack.Init();
    ShowOffscreen(&formBack);
    formLogin.SetRect(&bounds);
    formLogin.Init();
    ShowOffscreen(&formLogin);
    StartDeskGlow();
  }

  CMessageLoop loop;
  _AppModule.AddMessageLoop(&loop);
  loop.AddMessageFilter(this);
  int result = loop.Run();
  _AppModule.RemoveMessageLoop();
  return result;
}

void CGlobalModule::RetireGameForm(CFormGame* game) {
  delete retiredGame_;
  retiredGame_ = game;
}

BOOL CGlobalModule::PreTranslateMessage(MSG* msg) {
  // No form handler is running between two messages of the loop.
  delete retiredGame_;
  retiredGame_ = nullptr;
  HWND foreground = GetForegroundWindow();
  if (formThirdLogin && formThirdLogin->GetHwnd() == foreground && formThirdLogin->PreTranslateMessage(msg))
    return TRUE;
  HWND login = formLogin.GetHwnd();
  if (IsWindowVisible(login) && login == foreground && formLogin.PreTranslateMessage(msg)) return TRUE;
  if (formGame && formGame->GetHwnd() == foreground && formGame->PreTranslateMessage(msg)) return TRUE;
  return FALSE;
}

void CGlobalModule::SubmitVersionFileTask() {}
void CGlobalModule::SubmitUpgradeProgramTask() {}
void CGlobalModule::SubmitReportTask(const std::wstring&, int, const std::wstring&) {}

void CGlobalModule::OnTaskFinished(int, int taskId, DownloadTask*) {
  if (taskId == 3 || taskId == 4) PostMessageW(formLogin.GetHwnd(), WM_EXIT_APP, 0, 0);
}
