// Lets a driver offer native input to the filters of the calling thread's message loop.
#pragma once

#include "platform/winuser.h"

namespace glider::core {

// TRUE when a filter of the thread's registered loop consumed the message.
BOOL OfferToMessageFilters(MSG* msg);

}  // namespace glider::core
