#pragma once
// Turning what a result page writes into what a person reads and what a
// client receives: character references decoded, tags removed from names.

#include <cstddef>
#include <string>
#include <string_view>

namespace web {

// The character reference that starts at text[pos] (an '&'): a named one of
// HTML 4 (and "&apos;"), which must end in ";", or a decimal "&#65;" or
// hexadecimal "&#x41;" one, whose ";" may be missing as browsers allow.
// Returns its code point and sets `length` to the characters it spans; a
// number that names no character gives U+FFFD. Returns 0, and leaves
// `length` alone, when no reference starts at `pos`.
template <class Char>
char32_t DecodeReference(std::basic_string_view<Char> text, size_t pos, size_t& length);

extern template char32_t DecodeReference(std::basic_string_view<char> text, size_t pos, size_t& length);
extern template char32_t DecodeReference(std::basic_string_view<wchar_t> text, size_t pos, size_t& length);

// Appends code point `c` to `out` as UTF-16 (a surrogate pair above U+FFFF).
void AppendUtf16(char32_t c, std::wstring& out);

enum class HtmlCut {
  // Link text: tags removed, then references decoded (so a decoded "&lt;"
  // stays text), runs of white space and control characters (the no-break
  // space included) folded to one space, trimmed of ASCII and full-width
  // spaces; a character GBK cannot hold becomes "?". A text that would end
  // up empty is returned unchanged.
  Name,
  // An attribute value: references decoded, nothing else touched. A decoded
  // character outside ASCII is written as UTF-8 percent-escapes, as a URL
  // carries it.
  Link,
};

// `html` (code-page-936 text cut out of a page) as the page means it.
std::string DecodeHtmlText(const std::string& html, HtmlCut cut);

}  // namespace web
