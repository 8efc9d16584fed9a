#include "net/DownloadTask.h"

#include <cstring>
#include <new>

DownloadTask* CopyDownloadTask(const DownloadTask& task) {
  DownloadTask* copy = new (std::nothrow) DownloadTask;
  if (copy == nullptr) return nullptr;
  copy->url = task.url;
  copy->destPath = task.destPath;
  if (task.postData != nullptr && task.postLength > 0) {
    copy->postData = new (std::nothrow) BYTE[task.postLength];
    if (copy->postData == nullptr) {
      delete copy;
      return nullptr;
    }
    std::memcpy(copy->postData, task.postData, task.postLength);
    copy->postLength = task.postLength;
  }
  copy->retries = task.retries;
  copy->callback = task.callback;
  copy->userData = task.userData;
  copy->taskId = task.taskId;
#ifdef GLIDER_LIBRARY
  copy->lengthOptional = task.lengthOptional;
#endif
  copy->nameFromUrl = task.nameFromUrl;
  copy->uniqueName = task.uniqueName;
  copy->deleteOnFailure = task.deleteOnFailure;
  return copy;
}
