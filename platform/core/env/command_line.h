// The process's command line, as GetCommandLineW gives it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace glider::core {

// Tests set the command line the client sees; nullopt returns to the real one.
void SetCommandLineOverride(std::optional<std::wstring> line);

// Arguments joined by spaces, each one holding a space (or empty) in double quotes.
std::wstring JoinCommandLine(const std::vector<std::wstring>& args);

}  // namespace glider::core
