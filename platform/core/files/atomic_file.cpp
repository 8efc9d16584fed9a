#include "platform/core/files/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/env/last_error.h"
#include "platform/winbase.h"

namespace glider::core {

namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting a failed close (a late write error on some file systems).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool MakeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string prefix = path.substr(0, slash);
    if (!prefix.empty() && mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
      SetLastErrorFromErrno();
      return false;
    }
    if (slash == std::string::npos) return true;
  }
}

bool ReadWholeFile(const std::string& path, std::string& content, bool& exists) {
  content.clear();
  exists = false;
  Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return true;
    SetLastErrorFromErrno();
    return false;
  }
  exists = true;
  char buffer[8192];
  for (;;) {
    ssize_t n = read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastErrorFromErrno();
      return false;
    }
    if (n == 0) return true;
    content.append(buffer, static_cast<size_t>(n));
  }
}

bool ReplaceFileAtomically(const std::string& path, const std::string& content) {
  std::string folder = FolderOf(path);
  std::string base = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
  std::string temp = folder + "/." + base + ".XXXXXX";
  Fd fd(mkostemp(temp.data(), O_CLOEXEC));
  if (fd.get() < 0) {
    SetLastErrorFromErrno();
    return false;
  }
  struct stat old {};
  mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  bool ok = fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), content) && fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  if (ok) ok = rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    int err = errno;
    unlink(temp.c_str());
    SetLastError(ErrorFromErrno(err));
    return false;
  }
  // The rename itself reaches the disk with the folder.
  Fd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) fsync(dir.get());
  return true;
}

namespace {

// Temporary files of path that a writer killed while it held the lock left behind:
// nobody else writes them, since every writer of path holds the lock.
void RemoveDeadWritersTemporaries(const std::string& path) {
  std::string folder = FolderOf(path);
  std::string base = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
  std::string prefix = "." + base + ".";
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
      unlink((folder + "/" + name).c_str());
  }
  closedir(dir);
}

}  // namespace

bool UpdateFileLocked(const std::string& path,
                      const std::function<bool(std::string& content, bool exists)>& edit) {
  Fd lock(open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (lock.get() < 0) {
    SetLastErrorFromErrno();
    return false;
  }
  while (flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) {
      SetLastErrorFromErrno();
      return false;
    }
  }
  RemoveDeadWritersTemporaries(path);
  std::string content;
  bool exists = false;
  if (!ReadWholeFile(path, content, exists)) return false;
  std::string before = content;
  if (!edit(content, exists)) return true;
  if (exists && content == before) return true;
  return ReplaceFileAtomically(path, content);  // the lock goes with its descriptor
}

}  // namespace glider::core
