// The program's entry point.
#include "app/GlobalModule.h"
#include "platform/core/resource_module.h"
#include "platform/gtk/gtk_driver.h"
#include "platform/objbase.h"

// Constructed before main: loads the settings and counts the run.
static CGlobalModule gModuleInstance;

int main() {
  glider::gtk::Install();
  CoInitialize(nullptr);
  OleInitialize(nullptr);
  auto instance =
      reinterpret_cast<HINSTANCE>(const_cast<glider::core::ResourceModule*>(&glider_resource_module()));
  int result = RunClient(instance);
  OleUninitialize();
  CoUninitialize();
  return result;
}
