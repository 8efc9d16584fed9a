// The shared library's only export.
#include "app/GlobalModule.h"
#include "platform/core/resource_module.h"
#include "platform/gtk/gtk_driver.h"

// Constructed when the library is loaded: loads the settings and counts the run.
static CGlobalModule gModuleInstance;

extern "C" __attribute__((visibility("default"))) void StartGlider() {
  // The module serves one run per load of the library: its login window is gone after
  // the first, so a second call returns at once.
  static bool started = false;
  if (started) return;
  started = true;
  glider::gtk::Install();
  auto instance =
      reinterpret_cast<HINSTANCE>(const_cast<glider::core::ResourceModule*>(&glider_resource_module()));
  RunClient(instance);
}
