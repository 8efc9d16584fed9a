// A temporary home for one test: HOME, XDG_CONFIG_HOME and TMPDIR point into a fresh
// folder, restored and removed at the end; the folder caches of util/ are reset both ways.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace glider::test {

class ScratchHome {
 public:
  ScratchHome();
  ~ScratchHome();
  ScratchHome(const ScratchHome&) = delete;
  ScratchHome& operator=(const ScratchHome&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Config() const { return root_ / ".config"; }
  // Sets (or with nullopt unsets) a variable until the end of the test.
  void SetEnv(const char* name, std::optional<std::string> value);

 private:
  std::filesystem::path root_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

std::string ReadText(const std::filesystem::path& file);
void WriteText(const std::filesystem::path& file, const std::string& text);

}  // namespace glider::test
