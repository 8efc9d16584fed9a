#include "tests/support/scratch_home.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "util/Folders.h"

namespace glider::test {

ScratchHome::ScratchHome() {
  std::string pattern = (std::filesystem::temp_directory_path() / "glider-home-XXXXXX").string();
  root_ = mkdtemp(pattern.data()) ? pattern : std::string("/nonexistent-scratch-home");
  std::filesystem::create_directories(root_ / ".config");
  std::filesystem::create_directories(root_ / "tmp");
  SetEnv("HOME", root_.string());
  SetEnv("XDG_CONFIG_HOME", Config().string());
  SetEnv("TMPDIR", (root_ / "tmp").string());
  glider::util::ResetFolderCachesForTesting();
}

ScratchHome::~ScratchHome() {
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
    if (it->second) {
      setenv(it->first.c_str(), it->second->c_str(), 1);
    } else {
      unsetenv(it->first.c_str());
    }
  }
  glider::util::ResetFolderCachesForTesting();
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

void ScratchHome::SetEnv(const char* name, std::optional<std::string> value) {
  const char* old = getenv(name);
  saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  if (value) {
    setenv(name, value->c_str(), 1);
  } else {
    unsetenv(name);
  }
}

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

}  // namespace glider::test
