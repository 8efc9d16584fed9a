// Everything the application calls.
#pragma once

#include "platform/shlobj.h"
#include "platform/shlwapi.h"
#include "platform/winbase.h"
#include "platform/windef.h"
#include "platform/winreg.h"
