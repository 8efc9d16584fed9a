#include "platform/core/atl/message_loop.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <thread>

#include "platform/atlapp.h"

namespace {

std::mutex gLoopsMutex;
std::map<std::thread::id, CMessageLoop*>& Loops() {
  static std::map<std::thread::id, CMessageLoop*> loops;
  return loops;
}

}  // namespace

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* filter) {
  if (!filter) return FALSE;
  filters_.push_back(filter);
  return TRUE;
}

BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
  auto it = std::find(filters_.begin(), filters_.end(), filter);
  if (it == filters_.end()) return FALSE;
  filters_.erase(it);
  return TRUE;
}

BOOL CMessageLoop::PreTranslateMessage(MSG* msg) {
  for (auto it = filters_.rbegin(); it != filters_.rend(); ++it)
    if ((*it)->PreTranslateMessage(msg)) return TRUE;
  return FALSE;
}

int CMessageLoop::Run() {
  MSG msg{};
  for (;;) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) continue;
    if (!got) break;
    if (!PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

HRESULT CAppModule::Init(void*, HINSTANCE instance) {
  instance_ = instance;
  return S_OK;
}

void CAppModule::Term() {
  std::lock_guard<std::mutex> lock(gLoopsMutex);
  Loops().clear();
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop) {
  std::lock_guard<std::mutex> lock(gLoopsMutex);
  auto [it, inserted] = Loops().emplace(std::this_thread::get_id(), loop);
  return inserted ? TRUE : FALSE;
}

BOOL CAppModule::RemoveMessageLoop() {
  std::lock_guard<std::mutex> lock(gLoopsMutex);
  return Loops().erase(std::this_thread::get_id()) ? TRUE : FALSE;
}

CMessageLoop* CAppModule::GetMessageLoop() const {
  std::lock_guard<std::mutex> lock(gLoopsMutex);
  auto it = Loops().find(std::this_thread::get_id());
  return it == Loops().end() ? nullptr : it->second;
}

namespace glider::core {

BOOL OfferToMessageFilters(MSG* msg) {
  CMessageLoop* loop = nullptr;
  {
    std::lock_guard<std::mutex> lock(gLoopsMutex);
    auto it = Loops().find(std::this_thread::get_id());
    if (it != Loops().end()) loop = it->second;
  }
  return loop ? loop->PreTranslateMessage(msg) : FALSE;
}

}  // namespace glider::core
