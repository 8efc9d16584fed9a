#include "platform/core/env/last_error.h"

#include <cerrno>

#include "platform/winbase.h"

namespace {
thread_local DWORD lastError = 0;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

namespace glider::core {

DWORD ErrorFromErrno(int err) {
  switch (err) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
      return 112;  // ERROR_DISK_FULL
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENAMETOOLONG:
      return 206;  // ERROR_FILENAME_EXCED_RANGE
    default:
      return 31;  // ERROR_GEN_FAILURE
  }
}

DWORD SetLastErrorFromErrno() {
  DWORD code = ErrorFromErrno(errno);
  SetLastError(code);
  return code;
}

}  // namespace glider::core
