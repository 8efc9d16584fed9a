// One task at a time, run on the test thread as a worker would run it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "net/HTTPDownloader.h"
#include "platform/handleapi.h"
#include "tests/support/DownloadRecorder.h"
#include "tests/support/LoopbackHttpServer.h"

namespace {

namespace fs = std::filesystem;
using glider::test::DownloadRecorder;
using glider::test::HttpRequest;
using glider::test::HttpResponse;
using glider::test::LoopbackHttpServer;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Downloader : public ::testing::Test {
 protected:
  Downloader()
      : server_([this](const HttpRequest& r) { return Answer(r); }),
        folder_(fs::temp_directory_path() /
                ("glider_dl_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::create_directories(folder_);
    wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  }
  ~Downloader() override {
    CloseHandle(wake_);
    fs::remove_all(folder_);
  }

  static HttpResponse Answer(const HttpRequest& r) {
    HttpResponse response;
    std::string path = r.target.substr(0, r.target.find('?'));
    if (path == "/missing") response.status = 404;
    if (path == "/empty") response.body = "";
    if (path == "/body.bin") response.body = glider::test::PatternBody(25000);
    if (path == "/nolength") {
      response.body = "abc";
      response.sendLength = false;
    }
    if (path == "/cut") {
      response.body = glider::test::PatternBody(25000);
      response.sendBytes = 12000;
    }
    if (path.rfind("/dir/", 0) == 0) response.body = "[x]\r\n";
    if (path == "/nolength-big") {
      response.body = glider::test::PatternBody(25000);
      response.sendLength = false;
    }
    if (path == "/post") response.body = r.method + ":" + r.body;
    return response;
  }

  // Queues nothing: runs the task as a worker does and returns the notes.
  void Run(const std::wstring& url, const std::wstring& dest, int retries = 0,
           void (*adjust)(DownloadTask&) = nullptr) {
    DownloadTask task;
    task.url = url;
    task.destPath = dest;
    task.retries = retries;
    recorder_.Fill(task, 5);
    if (adjust != nullptr) adjust(task);
    ProcessDownloadTask(CopyDownloadTask(task), &stop_, wake_);
  }
  int32_t LastResult() const {
    auto done = recorder_.Done();
    return done.empty() ? 99 : done.back().result;
  }
  std::wstring Dest(const std::string& name) const { return (folder_ / name).wstring(); }

  LoopbackHttpServer server_;
  fs::path folder_;
  DownloadRecorder recorder_;
  volatile LONG stop_ = 0;
  HANDLE wake_ = nullptr;
};

TEST_F(Downloader, WithoutDestinationOnlyTheStatusCounts) {
  Run(server_.Url("/ok"), L"");
  Run(server_.Url("/missing"), L"");
  Run(server_.Url("/nolength"), L"");
  auto notes = recorder_.Notes();
  ASSERT_EQ(notes.size(), 6u);
  EXPECT_EQ(notes[0].code, DownloadStarted);
  EXPECT_EQ(notes[1].result, DownloadOk);
  EXPECT_EQ(notes[1].taskId, 5u);
  EXPECT_EQ(notes[3].result, DownloadBadStatus);
  EXPECT_EQ(notes[5].result, DownloadOk);
  EXPECT_TRUE(recorder_.Progress().empty());
}

TEST_F(Downloader, SavesTheBodyWithProgressPerBlock) {
  Run(server_.Url("/body.bin"), Dest("body.bin"));
  EXPECT_EQ(LastResult(), DownloadOk);
  EXPECT_EQ(recorder_.Progress(), (std::vector<uintptr_t>{40, 81, 100}));
  EXPECT_EQ(ReadAll(folder_ / "body.bin"), glider::test::PatternBody(25000));
}

TEST_F(Downloader, EmptyBodyGivesEmptyFileWithoutProgress) {
  Run(server_.Url("/empty"), Dest("empty"));
  EXPECT_EQ(LastResult(), DownloadOk);
  EXPECT_TRUE(recorder_.Progress().empty());
  EXPECT_TRUE(fs::exists(folder_ / "empty"));
  EXPECT_EQ(fs::file_size(folder_ / "empty"), 0u);
}

TEST_F(Downloader, FailuresAreNotifiedBeforeTheFileIsDeleted) {
  const std::pair<const char*, int32_t> cases[] = {
      {"/nolength", DownloadBadStatus},  // never saved without a length
      {"/cut", DownloadReadFailed},      // a body cut short is not a success
  };
  for (const auto& [path, result] : cases) {
    Run(server_.Url(path), Dest("out"));
    EXPECT_EQ(LastResult(), result) << path;
    EXPECT_FALSE(fs::exists(folder_ / "out")) << path;
  }
  EXPECT_TRUE(recorder_.Done().back().fileExisted);  // the handler still saw the partial file
}

TEST_F(Downloader, FailureDeletesAFileLeftByAnEarlierTask) {
  std::ofstream(folder_ / "old.ini") << "old";
  Run(server_.Url("/missing"), Dest("old.ini"));
  EXPECT_EQ(LastResult(), DownloadBadStatus);
  EXPECT_FALSE(fs::exists(folder_ / "old.ini"));
}

TEST_F(Downloader, NameFromUrlAppendsTheLastSegment) {
  auto nameFromUrl = [](DownloadTask& t) { t.nameFromUrl = 1; };
  for (const std::wstring& dest : {folder_.wstring(), folder_.wstring() + L"\\"}) {
    Run(server_.Url("/dir/app.ini"), dest, 0, nameFromUrl);
    EXPECT_EQ(LastResult(), DownloadOk);
    EXPECT_EQ(recorder_.Done().back().destPath, folder_.wstring() + L"\\app.ini");
    EXPECT_EQ(ReadAll(folder_ / "app.ini"), "[x]\r\n");
  }
  Run(server_.Url("/dir/ps.gif?id=38"), folder_.wstring(), 0, nameFromUrl);
  EXPECT_EQ(LastResult(), DownloadCreateFailed);
  // A backslash in the segment would leave the folder.
  Run(server_.Url("/dir/..\\..\\x.ini"), folder_.wstring(), 0, nameFromUrl);
  EXPECT_EQ(LastResult(), DownloadCreateFailed);
  EXPECT_FALSE(fs::exists(folder_.parent_path() / "x.ini"));
}

TEST_F(Downloader, UniqueNamesDiffer) {
  auto unique = [](DownloadTask& t) { t.uniqueName = 1; };
  Run(server_.Url("/dir/a.ini"), folder_.wstring(), 0, unique);
  Run(server_.Url("/dir/a.ini"), folder_.wstring(), 0, unique);
  auto done = recorder_.Done();
  ASSERT_EQ(done.size(), 2u);
  EXPECT_NE(done[0].destPath, done[1].destPath);
  std::wregex name(L".*\\\\[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}_a\\.ini");
  for (const auto& note : done) {
    EXPECT_TRUE(std::regex_match(note.destPath, name));
    EXPECT_TRUE(note.fileExisted);
  }
}

TEST_F(Downloader, RetriesMakeThreeAttemptsAndNotifyOnce) {
  Run(server_.Url("/missing"), L"", 2);
  EXPECT_EQ(server_.Requests().size(), 3u);
  auto done = recorder_.Done();
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].result, DownloadBadStatus);
}

TEST_F(Downloader, UnreachableHostFailsToSend) {
  int port;
  {
    LoopbackHttpServer closed([](const HttpRequest&) { return HttpResponse{}; });
    port = closed.port();
  }
  Run(L"http://127.0.0.1:" + std::to_wstring(port) + L"/x", L"");
  EXPECT_EQ(LastResult(), DownloadRequestFailed);
  Run(L"not a url", L"");
  EXPECT_EQ(LastResult(), DownloadOpenFailed);
}

TEST_F(Downloader, PostSendsBodyAndFormHeader) {
  Run(server_.Url("/post"), Dest("post"), 0, [](DownloadTask& t) {
    t.postData = new BYTE[3]{'a', '=', '1'};
    t.postLength = 3;
  });
  EXPECT_EQ(LastResult(), DownloadOk);
  EXPECT_EQ(ReadAll(folder_ / "post"), "POST:a=1");
  auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].headers.find("Content-Type: application/x-www-form-urlencoded; charset=UTF-8;\r\n"),
            std::string::npos);
}

TEST_F(Downloader, OptionalLengthReadsTheBodyToItsEnd) {
  const std::pair<const char*, std::vector<uintptr_t>> cases[] = {
      {"/nolength", {0}},  // 3 bytes of an assumed 10240
      {"/nolength-big", {100, 100, 100}},
  };
  for (const auto& [path, progress] : cases) {
    DownloadTask task;
    task.url = server_.Url(path);
    task.destPath = Dest("report");
    recorder_.Fill(task);
    bool settled = false;
    EXPECT_EQ(RunDownloadTransfer(task, &stop_, settled, true), DownloadOk) << path;
    EXPECT_EQ(recorder_.Progress(), progress) << path;
    EXPECT_EQ(ReadAll(folder_ / "report"),
              path == std::string("/nolength") ? "abc" : glider::test::PatternBody(25000));
    fs::remove(folder_ / "report");
    recorder_.Clear();
  }
}

TEST_F(Downloader, StopFlagSetBeforehandRunsNoAttempt) {
  stop_ = 1;
  Run(server_.Url("/ok"), L"");
  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_TRUE(recorder_.Done().empty());
}

}  // namespace
