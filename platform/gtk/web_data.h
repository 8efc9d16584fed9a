// The web context every view shares: cookies persisted in SQLite under the user's data
// folder, the cache under the user's cache folder.
#pragma once

#include <webkit2/webkit2.h>

namespace glider::gtk {

WebKitWebContext* SharedContext();

}  // namespace glider::gtk
