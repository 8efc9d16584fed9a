// Text conversion and small text operations.
#pragma once

#include <ctime>
#include <string>
#include <vector>

// Wide text to the ANSI code page (UTF-8) and back. False, with the output
// unchanged, for a null input or a failed conversion.
bool ToNarrow(const wchar_t* text, std::string& out);
bool ToWide(const char* text, std::wstring& out);

// Every occurrence of pattern removed, searching on after each removal (so the
// removals make no new matches).
std::wstring RemoveAll(const std::wstring& text, const std::wstring& pattern);
// The pieces between separators; empty pieces are kept except after the last separator.
std::vector<std::wstring> SplitString(const std::wstring& separator, const std::wstring& text);
// The integer at the start of the text (blanks, an optional sign, decimal digits);
// 0 when there is none or it does not fit in an int.
int ParseInt(const std::wstring& text);
// The text after the first "name=" in the address up to the next '&'; empty when absent.
std::wstring GetUrlParam(const std::wstring& name, const std::wstring& address);
// A new GUID as 36 upper-case characters with dashes; empty when none can be made.
std::wstring NewGuidText();
// 32 lower-case hexadecimal digits for 16 bytes, high half of each byte first.
std::wstring HexText(const unsigned char* bytes);
// The time as local time through wcsftime (128 characters at most); empty on failure.
std::wstring FormatLocalTime(const wchar_t* format, std::time_t time);
