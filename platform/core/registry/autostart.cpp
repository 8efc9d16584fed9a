#include "platform/core/registry/autostart.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/core/env/last_error.h"
#include "platform/core/env/paths.h"
#include "platform/core/files/atomic_file.h"
#include "platform/core/text/utf.h"
#include "platform/winbase.h"
#include "platform/winreg.h"

namespace glider::core {

namespace {

struct Argument {
  std::wstring text;
  bool quoted;
};

// Blanks separate arguments and double quotes group them. A Windows command line, as
// far as a Run value needs it, has no escapes; in an Exec= value a backslash inside
// quotes escapes the next character.
std::vector<Argument> SplitArguments(std::wstring_view line, bool backslashEscapes) {
  std::vector<Argument> args;
  bool inQuotes = false, inArg = false;
  for (size_t i = 0; i < line.size(); ++i) {
    wchar_t c = line[i];
    if (!inQuotes && (c == L' ' || c == L'\t')) {
      inArg = false;
      continue;
    }
    if (!inArg) args.push_back({L"", false});
    inArg = true;
    if (c == L'"') {
      inQuotes = !inQuotes;
      args.back().quoted = true;
    } else if (backslashEscapes && inQuotes && c == L'\\' && i + 1 < line.size()) {
      args.back().text += line[++i];
    } else {
      args.back().text += c;
    }
  }
  return args;
}

constexpr std::wstring_view kReserved = L" \t\n\"'\\><~|&;$*?#()`";

std::string EscapeDesktopString(std::wstring_view text) {
  std::string out;
  for (char c : WideToUtf8(text)) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::wstring UnescapeDesktopString(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char next = text[++i];
    out += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next == 's' ? ' ' : next;
  }
  return Utf8ToWide(out);
}

std::string EntryPath(std::wstring_view name) {
  return ConfigHome() + "/autostart/" + WideToUtf8(name) + ".desktop";
}

// A value name becomes a file name: nothing that leaves the folder.
bool UsableName(std::wstring_view name) {
  return !name.empty() && name != L"." && name != L".." && name.find(L'/') == std::wstring_view::npos &&
         name.find(L'\0') == std::wstring_view::npos;
}

}  // namespace

bool IsRunKeyPath(HKEY hive, std::wstring_view path) {
  return hive == HKEY_CURRENT_USER && EqualNoCase(path, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

std::string DesktopExecFromCommandLine(std::wstring_view commandLine) {
  std::wstring exec;
  for (const Argument& arg : SplitArguments(commandLine, false)) {
    if (!exec.empty()) exec += L' ';
    if (!arg.quoted && !arg.text.empty() && arg.text.find_first_of(kReserved) == std::wstring::npos) {
      exec += arg.text;
      continue;
    }
    exec += L'"';
    for (wchar_t c : arg.text) {
      if (c == L'\\' || c == L'`' || c == L'$' || c == L'"') exec += L'\\';
      exec += c;
    }
    exec += L'"';
  }
  // A lone '%' would be a field code.
  std::wstring doubled;
  for (wchar_t c : exec) doubled += c == L'%' ? std::wstring(L"%%") : std::wstring(1, c);
  return EscapeDesktopString(doubled);
}

std::wstring CommandLineFromDesktopExec(std::string_view exec) {
  std::wstring text = UnescapeDesktopString(exec);
  std::wstring single;
  for (size_t i = 0; i < text.size(); ++i) {
    single += text[i];
    if (text[i] == L'%' && i + 1 < text.size() && text[i + 1] == L'%') ++i;
  }
  std::wstring line;
  for (const Argument& arg : SplitArguments(single, true)) {
    if (!line.empty()) line += L' ';
    line += arg.quoted ? L"\"" + arg.text + L"\"" : arg.text;
  }
  return line;
}

LONG WriteAutostartEntry(std::wstring_view name, std::wstring_view commandLine) {
  if (!UsableName(name)) return ERROR_INVALID_PARAMETER;
  if (!MakeFolders(ConfigHome() + "/autostart")) return static_cast<LONG>(GetLastError());
  std::string entry = "[Desktop Entry]\nType=Application\nName=" + EscapeDesktopString(name) +
                      "\nExec=" + DesktopExecFromCommandLine(commandLine) +
                      "\nX-GNOME-Autostart-enabled=true\n";
  return ReplaceFileAtomically(EntryPath(name), entry) ? ERROR_SUCCESS : static_cast<LONG>(GetLastError());
}

LONG ReadAutostartEntry(std::wstring_view name, std::wstring& commandLine) {
  if (!UsableName(name)) return ERROR_FILE_NOT_FOUND;
  std::string content;
  bool exists = false;
  if (!ReadWholeFile(EntryPath(name), content, exists)) return static_cast<LONG>(GetLastError());
  if (!exists) return ERROR_FILE_NOT_FOUND;
  commandLine.clear();
  bool inMainGroup = false;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string_view line = std::string_view(content).substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.front() == '[') inMainGroup = line == "[Desktop Entry]";
    if (inMainGroup && line.substr(0, 5) == "Exec=") {
      commandLine = CommandLineFromDesktopExec(line.substr(5));
      break;
    }
  }
  return ERROR_SUCCESS;
}

LONG RemoveAutostartEntry(std::wstring_view name) {
  if (!UsableName(name)) return ERROR_FILE_NOT_FOUND;
  if (unlink(EntryPath(name).c_str()) == 0) return ERROR_SUCCESS;
  return static_cast<LONG>(ErrorFromErrno(errno));
}

}  // namespace glider::core
