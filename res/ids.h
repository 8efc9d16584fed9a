// Resource ids of the build being compiled: the program's, or the shared
// library's with GLIDER_LIBRARY. Both lists come from res/draw_art.py.
#pragma once

#if defined(GLIDER_LIBRARY)
#include "res/config/ids.h"
namespace glider::res {
namespace ids = library;
}
#else
#include "res/glider/ids.h"
namespace glider::res {
namespace ids = program;
}
#endif
