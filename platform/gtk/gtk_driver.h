// The product's driver: GTK3 windows and input on X11.
#pragma once

namespace glider::gtk {

// Opens the display and installs the driver; ends the process with a message when there
// is no display to show windows on.
void Install();

}  // namespace glider::gtk
