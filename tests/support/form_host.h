// Hosts one toolkit form at a time on a test window class whose procedure hands the
// form's messages to it, on the calling thread.
#pragma once

#include "ui/KXForm.h"

namespace glider::test {

extern const wchar_t kTestFormClass[];

// Creates the form's window with the given client bounds; messages go to the form.
bool HostForm(CKXForm& form, const RECT& bounds);
// Closes the form's window and stops routing to it.
void UnhostForm(CKXForm& form);

}  // namespace glider::test
