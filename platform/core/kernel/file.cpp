// Files over POSIX descriptors.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/core/env/last_error.h"
#include "platform/core/kernel/kernel_object.h"
#include "platform/core/kernel/wide_text.h"
#include "platform/errhandlingapi.h"
#include "platform/fileapi.h"

namespace glider::core {
namespace {

class FileObject : public KernelObject {
 public:
  explicit FileObject(int fd) : KernelObject(Kind::kFile), fd_(fd) {}
  ~FileObject() override { close(fd_); }
  int fd() const { return fd_; }

 private:
  int fd_;
};

// Windows refuses these characters in a file name.
bool IsWindowsFileName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return false;
  for (unsigned char c : name) {
    if (c < 0x20 || std::strchr("<>:\"|?*", c) != nullptr) return false;
  }
  return true;
}

std::shared_ptr<FileObject> LookupFile(HANDLE file) {
  auto object = LookupHandleAs<FileObject>(file, KernelObject::Kind::kFile);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

}  // namespace
}  // namespace glider::core

using glider::core::FileObject;

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
  if (fileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string path = glider::core::NativePath(fileName);
  if (!glider::core::IsWindowsFileName(path)) {
    SetLastError(123);  // ERROR_INVALID_NAME
    return INVALID_HANDLE_VALUE;
  }
  bool read = (desiredAccess & GENERIC_READ) != 0;
  bool write = (desiredAccess & GENERIC_WRITE) != 0;
  int flags = O_CLOEXEC | (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY);
  switch (creationDisposition) {
    case CREATE_NEW:
      flags |= O_CREAT | O_EXCL;
      break;
    case CREATE_ALWAYS:
      flags |= O_CREAT | O_TRUNC;
      break;
    case OPEN_EXISTING:
      break;
    case OPEN_ALWAYS:
      flags |= O_CREAT;
      break;
    case TRUNCATE_EXISTING:
      flags |= O_TRUNC;
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return INVALID_HANDLE_VALUE;
  }
  int fd = open(path.c_str(), flags, 0644);
  if (fd < 0) {
    glider::core::SetLastErrorFromErrno();
    return INVALID_HANDLE_VALUE;
  }
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = glider::core::InsertHandle(std::make_shared<FileObject>(fd));
  if (handle == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return INVALID_HANDLE_VALUE;
  }
  SetLastError(0);
  return handle;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped) {
  if (bytesWritten != nullptr) *bytesWritten = 0;
  auto object = glider::core::LookupFile(file);
  if (!object) return FALSE;
  if (overlapped != nullptr || (buffer == nullptr && bytesToWrite > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const char* bytes = static_cast<const char*>(buffer);
  DWORD done = 0;
  while (done < bytesToWrite) {
    ssize_t n = write(object->fd(), bytes + done, bytesToWrite - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      glider::core::SetLastErrorFromErrno();
      if (bytesWritten != nullptr) *bytesWritten = done;
      return FALSE;
    }
    done += static_cast<DWORD>(n);
  }
  if (bytesWritten != nullptr) *bytesWritten = done;
  return TRUE;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) {
  if (bytesRead != nullptr) *bytesRead = 0;
  auto object = glider::core::LookupFile(file);
  if (!object) return FALSE;
  if (overlapped != nullptr || (buffer == nullptr && bytesToRead > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ssize_t n;
  do {
    n = read(object->fd(), buffer, bytesToRead);
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    glider::core::SetLastErrorFromErrno();
    return FALSE;
  }
  if (bytesRead != nullptr) *bytesRead = static_cast<DWORD>(n);
  return TRUE;
}

DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh) {
  auto object = glider::core::LookupFile(file);
  struct stat info {};
  if (!object || fstat(object->fd(), &info) != 0) {
    if (object) glider::core::SetLastErrorFromErrno();
    return INVALID_FILE_SIZE;
  }
  uint64_t size = static_cast<uint64_t>(info.st_size);
  if (fileSizeHigh != nullptr) *fileSizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(0);
  return static_cast<DWORD>(size & 0xFFFFFFFF);
}

BOOL DeleteFileW(LPCWSTR fileName) {
  if (fileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string path = glider::core::NativePath(fileName);
  struct stat info {};
  // Only files are deleted, as on Windows: never a folder or a device such as /dev/null.
  if (lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (unlink(path.c_str()) != 0) {
    glider::core::SetLastErrorFromErrno();
    return FALSE;
  }
  return TRUE;
}
