#include "app/GlobalModule.h"

#include <ctime>
#include <new>

#include "app/Endpoints.h"
#include "app/LaunchModes.h"
#include "app/Messages.h"
#include "app/Settings.h"
#include "app/Upgrade.h"
#include "forms/FormGame.h"
#include "forms/FormThirdLogin.h"
#include "net/HTTPDownloader.h"
#include "platform/fileapi.h"
#include "platform/handleapi.h"
#include "platform/processthreadsapi.h"
#include "platform/shellapi.h"
#include "util/Folders.h"
#include "util/Processes.h"
#include "util/Text.h"

namespace {
CGlobalModule* gModule = nullptr;
}  // namespace

CGlobalModule& Module() { return *gModule; }

CGlobalModule::CGlobalModule() {
  gModule = this;
  LoadSettings();
  downloader = new (std::nothrow) HTTPDownloader();
}

CGlobalModule::~CGlobalModule() {
  if (downloader) {
    downloader->StopWorkers();
    delete downloader;
    downloader = nullptr;
  }
  delete retiredGame_;
  delete formGame;
  delete formThirdLogin;
  if (gModule == this) gModule = nullptr;
}

void CGlobalModule::LoadSettings() {
  runCount = 0;
  loginUrl = std::wstring(endpoints::kLoginHost) + L"/controller/client.php?game_id=518&tpl_type=game";
  versionCheckUrl = ReadIniString(L"Common", L"VersionCheck",
                                  std::wstring(endpoints::kDownloadHost) + L"/Vemo/velk/official/app.ini");
  versionDownloadUrl =
      ReadIniString(L"Common", L"VersionDownLoad",
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
  SetWindowLongW(
      w, GWL_STYLE,
      static_cast<LONG>((static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)) & 0x7F30FF7F) | 0x000A0000));
  SetWindowLongW(
      w, GWL_EXSTYLE,
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
  // The window comes first: the report's completion is posted to it, and a fast answer
  // would otherwise be posted before the window exists and be lost.
  if (IsSetupSuccess()) {
    CreateBareWindow(&formLogin);
    reporter.SendInstallReport();
  } else if (IsUninstallSuccess()) {
    CreateBareWindow(&formLogin);
    reporter.SendUninstallReport();
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

void CGlobalModule::SubmitVersionFileTask() {
  // Once per run; the module lives for the whole process.
  if (versionTaskSubmitted_ || !downloader) return;
  versionTaskSubmitted_ = true;
  DownloadTask task;
  task.url = versionCheckUrl;
  task.destPath = GetUpgradeFolder();
  task.nameFromUrl = 1;
  Submit(task, TaskVersionFile);
}

void CGlobalModule::SubmitUpgradeProgramTask() {
  if (!downloader) return;
  DownloadTask task;
  task.url = versionDownloadUrl;
  task.destPath = GetUpgradeProgramPath();
  Submit(task, TaskUpgradeProgram);
}

void CGlobalModule::SubmitReportTask(const std::wstring& url, int taskId, const std::wstring& fileName) {
  if (!downloader) return;
  DownloadTask task;
  task.url = url;
  task.destPath = GetTempFolder() + fileName;
  task.nameFromUrl = fileName.empty() ? 1 : 0;
#ifdef GLIDER_LIBRARY
  task.lengthOptional = 1;
#endif
  Submit(task, taskId);
}

void CGlobalModule::Submit(DownloadTask& task, int taskId) {
  if (!downloader->started) downloader->StartWorkers();
  task.retries = 0;
  task.uniqueName = 0;
  task.deleteOnFailure = 1;
  task.callback = &CGlobalModule::OnDownloadNotify;
  task.userData = reinterpret_cast<uintptr_t>(this);
  task.taskId = static_cast<uint32_t>(taskId);
  downloader->AddTask(task);
}

void CGlobalModule::OnDownloadNotify(uintptr_t userData, uint32_t taskId, int32_t code, int32_t result,
                                     uintptr_t extra) {
  if (code != DownloadDone) return;
  reinterpret_cast<CGlobalModule*>(userData)->OnTaskFinished(result, static_cast<int>(taskId),
                                                             reinterpret_cast<DownloadTask*>(extra));
}

void CGlobalModule::OnTaskFinished(int result, int taskId, DownloadTask* task) {
  HWND login = formLogin.GetHwnd();
  switch (taskId) {
    case TaskVersionFile:
      if (result == DownloadOk) OnVersionFile(task->destPath);
      return;
    case TaskUpgradeProgram:
      if (result == DownloadOk)
        StartUpgradeProgram(task->destPath);
      else
        ShowAfterFailedUpgrade();
      return;
    case TaskInstallReport:
    case TaskUninstallReport:
      PostMessageW(login, WM_EXIT_APP, 0, 0);
      return;
    default:
      return;
  }
}

void CGlobalModule::OnVersionFile(const std::wstring& file) {
  std::wstring remote = ReadIniString(L"version", L"currentversion", L"", file);
  std::wstring range = ReadIniString(L"version", L"upgraderange", L"", file);
  std::wstring last = ReadIniString(L"version", L"lastUpgradeVer", L"", GetLastUpgradePath());
  upgradeSignature = ReadIniString(L"version", L"signature", L"", file);
  latestVersion = remote;
  if (!ShouldOfferUpgrade(remote, range, last)) return;
  std::wstring text = L"检测到最新版本[" + latestVersion + L"]，确认更新！";
  MessageBoxW(formLogin.GetHwnd(), text.c_str(), L"升级提醒", MB_OK);
  ShowWindow(formLogin.GetHwnd(), SW_HIDE);
#ifndef GLIDER_LIBRARY
  ShowWindow(formBack.GetHwnd(), SW_HIDE);
#endif
  SubmitUpgradeProgramTask();
}

void CGlobalModule::StartUpgradeProgram(const std::wstring& path) {
  // An unsigned or tampered program is never started: anyone on the network path could
  // otherwise run code here, possibly as root.
  if (!VerifyUpgradeSignature(path, upgradeSignature)) {
    DeleteFileW(path.c_str());
    ShowAfterFailedUpgrade();
    return;
  }
  bool started = false;
  if (IsProcessElevated()) {
    wchar_t commandLine[64] = L" /S /KXUPGRADE";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    started = CreateProcessW(path.c_str(), commandLine, nullptr, nullptr, FALSE, 0x00000220, nullptr, nullptr,
                             &si, &pi) != FALSE;
    if (started) {
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
  } else {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.lpVerb = L"runas";
    info.lpFile = path.c_str();
    info.lpParameters = L"/S /KXUPGRADE";
    info.nShow = SW_SHOWNORMAL;
    started = ShellExecuteExW(&info) != FALSE;
  }
  if (!started) {
    ShowAfterFailedUpgrade();
    return;
  }
  WriteIniString(L"version", L"lastUpgradeVer", latestVersion, GetLastUpgradePath());
  PostMessageW(formLogin.GetHwnd(), WM_EXIT_APP, 0, 0);
}

void CGlobalModule::ShowAfterFailedUpgrade() {
  // The windows were hidden for the hand-off; without it the client must not run on
  // invisibly.
  if (!IsWindow(formLogin.GetHwnd()) || IsWindowVisible(formLogin.GetHwnd())) return;
  ShowWindow(formBack.GetHwnd(), SW_SHOWNA);
  ShowWindow(formLogin.GetHwnd(), SW_SHOWNORMAL);
}
