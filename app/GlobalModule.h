// The application module: the one object that holds every top-level window, the download
// queue, the usage reporter and the settings for the whole run.
#pragma once

#include <string>

#include "forms/FormBack.h"
#include "forms/FormLogin.h"
#include "platform/atlapp.h"
#include "stats/UsageReporter.h"

class CFormGame;
class CFormThirdLogin;
class HTTPDownloader;
struct DownloadTask;

class CGlobalModule : public CMessageFilter {
 public:
  CGlobalModule();
  virtual ~CGlobalModule();
  CGlobalModule(const CGlobalModule&) = delete;
  CGlobalModule& operator=(const CGlobalModule&) = delete;

  BOOL PreTranslateMessage(MSG* msg) override;

  int Run();
  bool CreateBareWindow(CKXForm* form);
  void ShowOffscreen(CKXForm* form);
  void LoadSettings();
  int GetRunCount();

  std::wstring GetLoginUrl() const { return loginUrl; }
  std::wstring GetPayUrl() const;
  std::wstring GetUid() const { return uid; }
  std::wstring GetRefer() const { return refer; }

  // Download queue; each does nothing without a downloader.
  void SubmitVersionFileTask();
  void SubmitUpgradeProgramTask();
  void SubmitReportTask(const std::wstring& url, int taskId, const std::wstring& fileName);
  void OnTaskFinished(int result, int taskId, DownloadTask* task);
  static void OnDownloadNotify(uintptr_t userData, uint32_t taskId, int32_t code, int32_t result,
                               uintptr_t extra);

  // A game form whose window is gone may still be running its own handler (its close
  // button destroyed it): it is freed when the message loop next takes a message.
  void RetireGameForm(CFormGame* game);

  HINSTANCE hInstance = nullptr;
  wchar_t title[100] = {};
  wchar_t windowClass[100] = {};
  CFormBack formBack;
  CFormLogin formLogin;
  CFormGame* formGame = nullptr;
  CFormThirdLogin* formThirdLogin = nullptr;
  HTTPDownloader* downloader = nullptr;
  UsageReporter reporter;
  std::wstring latestVersion;
  std::wstring loginUrl;
  std::wstring versionCheckUrl;
  std::wstring versionDownloadUrl;
  std::wstring refer;
  std::wstring uid;
  int topMost = 0;
  std::wstring userName;
  std::wstring gameServer;
  int runCount = 0;

 private:
  void Submit(DownloadTask& task, int taskId);
  void OnVersionFile(const std::wstring& file);
  void StartUpgradeProgram(const std::wstring& path);
  void ShowAfterFailedUpgrade();

  std::wstring upgradeSignature;  // of the version file this run fetched
  bool versionTaskSubmitted_ = false;
  CFormGame* retiredGame_ = nullptr;
};

// The running client's module: the program's or the library's global, or a test's own.
CGlobalModule& Module();

// WTL's application module of the client.
extern CAppModule _AppModule;

LRESULT AppWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
ATOM RegisterWindowClass(HINSTANCE instance);
// The entry point's work, shared by the program and StartGlider.
int RunClient(HINSTANCE instance);
