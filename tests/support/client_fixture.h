// Runs the client in-process on the headless driver with a temporary home.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/scratch_home.h"

class CGlobalModule;

namespace glider::test {

// A fresh home for one test: HOME, XDG folders and TMPDIR point into a temporary
// folder that is removed afterwards. The command line is the program path plus args.
class TempHome : public ScratchHome {
 public:
  explicit TempHome(const std::wstring& args = L"");
  ~TempHome();
  void SetArgs(const std::wstring& args);
  // The program's settings file, $XDG_CONFIG_HOME/Vemo游戏/velk/Glider.ini.
  std::filesystem::path SettingsFile() const;
  std::string ReadSettings() const;
};

// Constructs the module as the program does before main, with the program's resources.
std::unique_ptr<CGlobalModule> MakeModule();

// Runs the client's entry point on this thread while script runs on another; the script
// ends the run by closing the client (a watchdog ends it after timeoutMs). Returns the
// exit code.
int RunClient(CGlobalModule& module, const std::function<void()>& script, int timeoutMs = 20000);

// Reads the module on the user-interface thread.
void OnUi(const std::function<void()>& fn);

}  // namespace glider::test
