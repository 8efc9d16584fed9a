#include "platform/core/profile/ini_document.h"

#include "platform/core/text/utf.h"

namespace glider::core {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::wstring Unquote(std::wstring_view value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::wstring(value);
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
  if (text.substr(0, kBom.size()) == kBom) {
    bom_ = kBom;
    text.remove_prefix(kBom.size());
  }
  size_t firstEnd = text.find('\n');
  if (firstEnd != std::string_view::npos && firstEnd > 0 && text[firstEnd - 1] == '\r') eol_ = "\r\n";
  finalEol_ = text.empty() || text.back() == '\n';
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string raw(text.substr(start, end - start));
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    lines_.push_back(Parse(std::move(raw)));
    start = end + 1;
  }
}

IniDocument::Line IniDocument::Parse(std::string raw) {
  Line line{std::move(raw), Kind::Other, {}, {}};
  std::wstring wide = Utf8ToWide(line.raw);
  std::wstring_view text = TrimBlanks(wide);
  if (text.empty() || text.front() == L';') return line;
  if (text.front() == L'[') {
    size_t close = text.find(L']');
    line.kind = Kind::Section;
    line.name =
        TrimBlanks(text.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1));
    return line;
  }
  size_t eq = text.find(L'=');
  line.kind = Kind::Entry;
  line.name = TrimBlanks(text.substr(0, eq));
  if (eq != std::wstring_view::npos) line.value = TrimBlanks(text.substr(eq + 1));
  return line;
}

size_t IniDocument::SectionEnd(size_t header) const {
  size_t end = header + 1;
  while (end < lines_.size() && lines_[end].kind != Kind::Section) ++end;
  return end;
}

std::optional<std::pair<size_t, size_t>> IniDocument::FindSection(std::wstring_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && EqualNoCase(lines_[i].name, section))
      return std::pair(i, SectionEnd(i));
  return std::nullopt;
}

std::optional<std::wstring> IniDocument::Get(std::wstring_view section, std::wstring_view key) const {
  auto range = FindSection(section);
  if (!range) return std::nullopt;
  for (size_t i = range->first + 1; i < range->second; ++i)
    if (lines_[i].kind == Kind::Entry && EqualNoCase(lines_[i].name, key)) return Unquote(lines_[i].value);
  return std::nullopt;
}

std::vector<std::wstring> IniDocument::SectionNames() const {
  std::vector<std::wstring> names;
  for (const Line& line : lines_)
    if (line.kind == Kind::Section) names.push_back(line.name);
  return names;
}

std::vector<std::wstring> IniDocument::KeyNames(std::wstring_view section) const {
  std::vector<std::wstring> names;
  auto range = FindSection(section);
  if (!range) return names;
  for (size_t i = range->first + 1; i < range->second; ++i)
    if (lines_[i].kind == Kind::Entry) names.push_back(lines_[i].name);
  return names;
}

void IniDocument::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  auto range = FindSection(section);
  if (!range) {
    lines_.push_back(Parse("[" + WideToUtf8(section) + "]"));
    range = std::pair(lines_.size() - 1, lines_.size());
  }
  for (size_t i = range->first + 1; i < range->second; ++i) {
    if (lines_[i].kind == Kind::Entry && EqualNoCase(lines_[i].name, key)) {
      // The key keeps the spelling it has in the file.
      lines_[i] = Parse(WideToUtf8(lines_[i].name) + "=" + WideToUtf8(value));
      return;
    }
  }
  // After the section's last non-blank line, so blank lines before the next section stay there.
  size_t at = range->second;
  while (at > range->first + 1 && lines_[at - 1].kind == Kind::Other &&
         TrimBlanks(Utf8ToWide(lines_[at - 1].raw)).empty())
    --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                Parse(WideToUtf8(key) + "=" + WideToUtf8(value)));
  finalEol_ = true;
}

void IniDocument::DeleteKey(std::wstring_view section, std::wstring_view key) {
  bool in = false;
  for (size_t i = 0; i < lines_.size();) {
    if (lines_[i].kind == Kind::Section) in = EqualNoCase(lines_[i].name, section);
    if (in && lines_[i].kind == Kind::Entry && EqualNoCase(lines_[i].name, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

void IniDocument::DeleteSection(std::wstring_view section) {
  while (auto range = FindSection(section))
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->first),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->second));
}

std::string IniDocument::Text() const {
  std::string text = bom_;
  for (size_t i = 0; i < lines_.size(); ++i) {
    text += lines_[i].raw;
    if (i + 1 < lines_.size() || finalEol_) text += eol_;
  }
  return text;
}

}  // namespace glider::core
