#include "platform/core/kernel/process_launcher.h"
#include "platform/core/kernel/wide_text.h"

namespace glider::core {

// Backslashes are literal except before a quote: 2n of them then a quote give
// n backslashes and toggle quoting, 2n+1 give n backslashes and a literal quote.
std::vector<std::string> SplitCommandLine(const std::wstring& commandLine) {
  std::vector<std::string> words;
  std::wstring word;
  bool inWord = false;
  bool quoted = false;
  size_t i = 0;
  while (i < commandLine.size()) {
    wchar_t c = commandLine[i];
    if ((c == L' ' || c == L'\t') && !quoted) {
      if (inWord) words.push_back(WideToUtf8(word));
      word.clear();
      inWord = false;
      ++i;
      continue;
    }
    inWord = true;
    if (c == L'\\') {
      size_t count = 0;
      while (i < commandLine.size() && commandLine[i] == L'\\') {
        ++count;
        ++i;
      }
      if (i < commandLine.size() && commandLine[i] == L'"') {
        word.append(count / 2, L'\\');
        if (count % 2 == 1) {
          word += L'"';
          ++i;
        }
      } else {
        word.append(count, L'\\');
      }
      continue;
    }
    if (c == L'"') {
      quoted = !quoted;
    } else {
      word += c;
    }
    ++i;
  }
  if (inWord) words.push_back(WideToUtf8(word));
  return words;
}

}  // namespace glider::core
