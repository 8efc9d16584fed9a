// An INI file held as its lines, so that an edit keeps every other line, comment and
// blank as it was. Names match case-insensitively; the first matching section and,
// within it, the first matching key count.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glider::core {

class IniDocument {
 public:
  // UTF-8 text; a BOM is kept, line ends (LF or CRLF) follow the file.
  explicit IniDocument(std::string_view text);

  // The value trimmed of blanks and of one pair of enclosing quotes.
  std::optional<std::wstring> Get(std::wstring_view section, std::wstring_view key) const;
  std::vector<std::wstring> SectionNames() const;
  std::vector<std::wstring> KeyNames(std::wstring_view section) const;

  void Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);
  void DeleteKey(std::wstring_view section, std::wstring_view key);
  void DeleteSection(std::wstring_view section);

  std::string Text() const;

 private:
  enum class Kind { Other, Section, Entry };
  struct Line {
    std::string raw;  // as in the file, without its line end
    Kind kind;
    std::wstring name;
    std::wstring value;
  };
  static Line Parse(std::string raw);
  // [first, end) line indices of the first section with that name (first is its header).
  std::optional<std::pair<size_t, size_t>> FindSection(std::wstring_view section) const;
  size_t SectionEnd(size_t header) const;

  std::string bom_;
  std::string eol_ = "\n";
  bool finalEol_ = true;
  std::vector<Line> lines_;
};

}  // namespace glider::core
