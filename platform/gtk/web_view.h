// The gtk driver's web engine: a WebKitWebView placed in its window's GtkFixed at the
// rectangle of the browser control's child window.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/browser/web_engine.h"
#include "platform/core/window/window.h"

namespace glider::gtk {

std::unique_ptr<core::WebEngine> CreateWebView(core::Window& w, core::WebEngineHost& host);
// The child window moved, changed size or visibility: the view follows.
void PlaceWebView(core::Window& w);
// Whether widget is (or lies inside) one of our embedded views.
bool InEmbeddedView(GtkWidget* widget);

// The stored web data (cache, cookies, storage) as URL cache entries; UI thread only.
std::vector<std::wstring> WebDataEntries();
bool DeleteWebDataEntry(const std::wstring& sourceUrl);

}  // namespace glider::gtk
