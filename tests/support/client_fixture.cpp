#include "tests/support/client_fixture.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/GlobalModule.h"
#include "platform/core/env/command_line.h"
#include "platform/core/resource_module.h"
#include "platform/core/window/message_queue.h"
#include "platform/headless/headless_driver.h"
#include "util/Folders.h"

namespace glider::test {

TempHome::TempHome(const std::wstring& args) {
  SetEnv("XDG_DATA_HOME", (Root() / ".local/share").string());
  SetEnv("XDG_CACHE_HOME", (Root() / ".cache").string());
  SetArgs(args);
}

TempHome::~TempHome() { glider::core::SetCommandLineOverride(std::nullopt); }

void TempHome::SetArgs(const std::wstring& args) {
  std::wstring line = L"/opt/glider/glider";
  if (!args.empty()) line += L" " + args;
  glider::core::SetCommandLineOverride(line);
}

std::filesystem::path TempHome::SettingsFile() const {
  return Root() / ".config" / std::filesystem::path(u8"Vemo游戏") / "velk" / "Glider.ini";
}

std::string TempHome::ReadSettings() const { return ReadText(SettingsFile()); }

std::unique_ptr<CGlobalModule> MakeModule() { return std::make_unique<CGlobalModule>(); }

int RunClient(CGlobalModule& module, const std::function<void()>& script, int timeoutMs) {
  // This thread is the client's user-interface thread.
  auto ui = glider::core::CurrentQueue();
  if (!glider::core::UiQueue()) glider::core::SetUiQueue(ui);
  std::atomic<bool> finished{false};
  std::thread scripter([&] {
    script();
    // A script that failed half-way must not leave the client running.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!finished.load()) {
      if (std::chrono::steady_clock::now() >= deadline) {
        glider::core::Post(*ui, MSG{nullptr, WM_QUIT, 99, 0, 0, {}});
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));  // poll interval
    }
  });
  auto instance =
      reinterpret_cast<HINSTANCE>(const_cast<glider::core::ResourceModule*>(&glider_resource_module()));
  int code = ::RunClient(instance);
  finished = true;
  scripter.join();
  (void)module;
  return code;
}

void OnUi(const std::function<void()>& fn) { glider::headless::RunOnUi(fn); }

}  // namespace glider::test
