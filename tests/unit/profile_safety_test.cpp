// A writer that dies or fails half-way never costs the old file, and two writing
// processes lose nothing of each other.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/text/utf.h"
#include "platform/winbase.h"
#include "tests/support/scratch_home.h"

namespace {

using glider::test::ReadText;
using glider::test::ScratchHome;
using glider::test::WriteText;

const std::string kOld = "; keep me\n[Common]\nRunCount=41\n";

// Runs body in a child process whose files may not grow past 4 KiB; returns its wait status.
int RunWithSmallFileLimit(bool ignoreSignal, const std::function<int()>& body) {
  pid_t child = fork();
  if (child == 0) {
    if (ignoreSignal) signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ProfileSafety, AWriterKilledMidWriteLeavesTheOldFile) {
  ScratchHome home;
  auto file = home.Root() / "Glider.ini";
  WriteText(file, kOld);
  std::wstring path = glider::core::Utf8ToWide(file.string());
  std::wstring big(20000, L'x');
  int status = RunWithSmallFileLimit(false, [&] {
    return WritePrivateProfileStringW(L"Common", L"Big", big.c_str(), path.c_str()) ? 0 : 1;
  });
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
  EXPECT_EQ(ReadText(file), kOld);
  auto temporaries = [&] {
    int n = 0;
    for (const auto& name : FolderEntries(home.Root())) n += name.rfind(".Glider.ini.", 0) == 0;
    return n;
  };
  EXPECT_EQ(temporaries(), 1);  // the dead writer's
  // The dead writer's lock went with it, and the next writer clears its temporary away.
  EXPECT_TRUE(WritePrivateProfileStringW(L"Common", L"RunCount", L"42", path.c_str()));
  EXPECT_EQ(ReadText(file), "; keep me\n[Common]\nRunCount=42\n");
  EXPECT_EQ(temporaries(), 0);
}

TEST(ProfileSafety, AFailedWriteReportsFalseAndLeavesNoTrace) {
  ScratchHome home;
  auto folder = home.Root() / "data";
  auto file = folder / "Glider.ini";
  WriteText(file, kOld);
  std::wstring path = glider::core::Utf8ToWide(file.string());
  std::wstring big(20000, L'x');
  // The disk "fills up": writes past the limit fail with EFBIG.
  int status = RunWithSmallFileLimit(true, [&] {
    BOOL ok = WritePrivateProfileStringW(L"Common", L"Big", big.c_str(), path.c_str());
    return ok ? 10 : GetLastError() == 112 ? 0 : 11;
  });
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadText(file), kOld);
  EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"Glider.ini", "Glider.ini.lock"}));
}

TEST(ProfileSafety, TwoProcessesWritingDifferentKeysLoseNothing) {
  ScratchHome home;
  auto file = home.Root() / "Glider.ini";
  std::wstring path = glider::core::Utf8ToWide(file.string());
  constexpr int kKeys = 40;
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = fork();
    if (children[p] == 0) {
      close(gate[1]);
      char go;
      if (read(gate[0], &go, 1) != 0) _exit(3);  // both start when the gate closes
      for (int k = 0; k < kKeys; ++k) {
        std::wstring key = L"p" + std::to_wstring(p) + L"k" + std::to_wstring(k);
        if (!WritePrivateProfileStringW(p ? L"One" : L"Zero", key.c_str(), L"v", path.c_str())) _exit(1);
      }
      _exit(0);
    }
  }
  close(gate[0]);
  close(gate[1]);
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  int found = 0;
  for (int p = 0; p < 2; ++p) {
    for (int k = 0; k < kKeys; ++k) {
      std::wstring key = L"p" + std::to_wstring(p) + L"k" + std::to_wstring(k);
      wchar_t value[8];
      GetPrivateProfileStringW(p ? L"One" : L"Zero", key.c_str(), L"", value, 8, path.c_str());
      found += std::wstring(value) == L"v";
    }
  }
  EXPECT_EQ(found, 2 * kKeys);
}

}  // namespace
