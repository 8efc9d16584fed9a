// The GTK side of one top-level window record.
#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "platform/core/window/window.h"

namespace glider::gtk {

struct NativeWindow {
  HWND hwnd = nullptr;
  GtkWidget* window = nullptr;  // undecorated toplevel
  GtkWidget* fixed = nullptr;   // holds embedded views; our pixels are drawn beneath them
  bool mapped = false;
  bool iconified = false;
  // The desktop is moving or sizing the window for the user: report where it goes.
  bool systemLoop = false;
  int lastX = 0;
  int lastY = 0;
  std::vector<uint32_t> keyed;  // the pixels of a colour-keyed window as drawn
};

NativeWindow* NativeOf(core::Window& w);

// Map and unmap, place, stack and decorate the native window as the record says.
void SyncNative(core::Window& w);
// Window shape from the region, input shape from the pixels that are not clear.
void SyncShape(core::Window& w);

}  // namespace glider::gtk
