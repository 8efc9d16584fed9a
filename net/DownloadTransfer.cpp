// Per-task processing and one HTTP attempt over WinINet.
#include <random>

#include "net/HTTPDownloader.h"
#include "platform/fileapi.h"
#include "platform/handleapi.h"
#include "platform/processthreadsapi.h"
#include "platform/wininet.h"

namespace {

constexpr DWORD kBlockSize = 10240;

void Notify(const DownloadTask& task, int32_t code, int32_t result, uintptr_t extra) {
  if (task.callback != nullptr) task.callback(task.userData, task.taskId, code, result, extra);
}

// Same format as the application's GUID text: "%.8X-%.4X-%.4X-%.2X%.2X-%.2X%.2X%.2X%.2X%.2X%.2X".
std::wstring FreshGuidText() {
  std::random_device random;
  unsigned bytes[16];
  for (unsigned& byte : bytes) byte = random() & 0xFF;
  wchar_t text[40];
  swprintf(text, 40, L"%.2X%.2X%.2X%.2X-%.2X%.2X-%.2X%.2X-%.2X%.2X-%.2X%.2X%.2X%.2X%.2X%.2X", bytes[0],
           bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8], bytes[9],
           bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
  return text;
}

std::wstring LastSegment(const std::wstring& url) {
  size_t slash = url.rfind(L'/');
  return slash == std::wstring::npos ? std::wstring() : url.substr(slash + 1);
}

// Appends the file name to the folder. False for a name that would leave
// the folder: a backslash is a separator for the file system.
bool SettlePath(DownloadTask& task) {
  std::wstring segment = LastSegment(task.url);
  if (segment.find(L'\\') != std::wstring::npos || segment == L"." || segment == L"..") return false;
  std::wstring& path = task.destPath;
  if (path.empty() || (path.back() != L'\\' && path.back() != L'/')) path += L'\\';
  if (task.nameFromUrl != 0) {
    path += segment;
  } else {
    path += FreshGuidText() + L"_" + segment;
  }
  return true;
}

bool QueryNumber(HINTERNET request, DWORD query, DWORD* value) {
  DWORD size = sizeof(*value);
  return HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_NUMBER, value, &size, nullptr) != FALSE;
}

// Closes the handles of one attempt in order: request, connection, root.
struct AttemptHandles {
  HINTERNET root = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  HANDLE file = INVALID_HANDLE_VALUE;
  ~AttemptHandles() {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (request != nullptr) InternetCloseHandle(request);
    if (connection != nullptr) InternetCloseHandle(connection);
    if (root != nullptr) InternetCloseHandle(root);
  }
};

int ReadBody(DownloadTask& task, HINTERNET request, HANDLE file, DWORD length, bool lengthKnown,
             const volatile LONG* stopFlag) {
  BYTE block[kBlockSize];
  uint64_t received = 0;
  bool readToEnd = false;  // a length-less body is read until the server has no more
  for (;;) {
    if (!readToEnd && received >= length) break;
    if (ReadStopFlag(stopFlag)) return DownloadCancelled;
    DWORD read = 0;
    if (!InternetReadFile(request, block, kBlockSize, &read)) return DownloadReadFailed;
    if (read == 0) {
      // A body cut short before its announced length is a failed read, not a success.
      return lengthKnown && received < length ? DownloadReadFailed : DownloadOk;
    }
    received += read;
    if (!lengthKnown && received >= length && read == kBlockSize) readToEnd = true;
    uint64_t percent = length == 0 ? 100 : received * 100 / length;
    Notify(task, DownloadProgress, 0, static_cast<uintptr_t>(percent > 100 ? 100 : percent));
    DWORD written = 0;
    if (!WriteFile(file, block, read, &written, nullptr) || written != read) return DownloadWriteFailed;
  }
  return DownloadOk;
}

bool LengthOptional(const DownloadTask& task) {
#ifdef GLIDER_LIBRARY
  return task.lengthOptional != 0;
#else
  return false;
#endif
}

}  // namespace

int RunDownloadTransfer(DownloadTask& task, const volatile LONG* stopFlag, bool& pathSettled,
                        bool lengthOptional) {
  wchar_t host[1024], user[256], password[256], path[1024];
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof(parts);
  parts.lpszHostName = host;
  parts.dwHostNameLength = 1024;
  parts.lpszUserName = user;
  parts.dwUserNameLength = 256;
  parts.lpszPassword = password;
  parts.dwPasswordLength = 256;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = 1024;
  // A URL that cannot be split (or whose parts do not fit) opens nothing.
  if (!InternetCrackUrlW(task.url.c_str(), 0, 0, &parts)) return DownloadOpenFailed;

  AttemptHandles handles;
  handles.root = InternetOpenW(L"HTTPDownloader", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (handles.root == nullptr) return DownloadOpenFailed;
  if (ReadStopFlag(stopFlag)) return DownloadCancelled;
  handles.connection =
      InternetConnectW(handles.root, host, parts.nPort, user, password, INTERNET_SERVICE_HTTP, 0, 0);
  if (handles.connection == nullptr) return DownloadOpenFailed;
  if (ReadStopFlag(stopFlag)) return DownloadCancelled;
  bool post = task.postData != nullptr;
  handles.request =
      HttpOpenRequestW(handles.connection, post ? L"POST" : L"GET", path, nullptr, nullptr, nullptr, 0, 0);
  if (handles.request == nullptr) return DownloadRequestFailed;
  if (post && !HttpAddRequestHeadersW(
                  handles.request, L"Content-Type: application/x-www-form-urlencoded; charset=UTF-8;\r\n",
                  static_cast<DWORD>(-1), HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE)) {
    return DownloadRequestFailed;
  }
  if (ReadStopFlag(stopFlag)) return DownloadCancelled;
  if (!HttpSendRequestW(handles.request, nullptr, 0, task.postData, task.postLength)) {
    return ReadStopFlag(stopFlag) ? DownloadCancelled : DownloadRequestFailed;
  }
  if (ReadStopFlag(stopFlag)) return DownloadCancelled;
  DWORD status = 0;
  if (!QueryNumber(handles.request, HTTP_QUERY_STATUS_CODE, &status) || status >= 400)
    return DownloadBadStatus;
  if (task.destPath.empty()) return DownloadOk;

  bool nameFromUrl = task.nameFromUrl != 0 || task.uniqueName != 0;
  if (nameFromUrl && !pathSettled && !SettlePath(task)) return DownloadCreateFailed;
  pathSettled = true;
  DWORD length = 0;
  bool lengthKnown = QueryNumber(handles.request, HTTP_QUERY_CONTENT_LENGTH, &length);
  if (!lengthKnown) {
    if (!lengthOptional) return DownloadBadStatus;
    length = kBlockSize;
  }
  if (ReadStopFlag(stopFlag)) return DownloadCancelled;
  handles.file = CreateFileW(task.destPath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handles.file == INVALID_HANDLE_VALUE) return DownloadCreateFailed;
  int result = ReadBody(task, handles.request, handles.file, length, lengthKnown, stopFlag);
  if (result == DownloadReadFailed && ReadStopFlag(stopFlag)) result = DownloadCancelled;
  return result;
}

void ProcessDownloadTask(DownloadTask* task, const volatile LONG* stopFlag, HANDLE wakeEvent) {
  Notify(*task, DownloadStarted, 0, 0);
  int result = DownloadOk;
  bool pathSettled = false;
  for (int attempt = 0; attempt <= task->retries && !ReadStopFlag(stopFlag); ++attempt) {
    if (attempt > 0) {
      // About a second between attempts; a stop request ends the pause at once.
      DWORD start = GetTickCount();
      while (!ReadStopFlag(stopFlag) && GetTickCount() - start < 1000) {
        WaitForSingleObject(wakeEvent, 100);
      }
      if (ReadStopFlag(stopFlag)) break;
    }
    result = RunDownloadTransfer(*task, stopFlag, pathSettled, LengthOptional(*task));
    if (result == DownloadOk) break;
  }
  bool stopped = ReadStopFlag(stopFlag);
  if (!stopped) Notify(*task, DownloadDone, result, reinterpret_cast<uintptr_t>(task));
  if ((stopped || result != DownloadOk) && !task->destPath.empty() && task->deleteOnFailure != 0) {
    DeleteFileW(task->destPath.c_str());
  }
  delete task;
}
