#pragma once
// Conversions between the program's code-page-936 text, UTF-16 and UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace web {

using Bytes = std::vector<unsigned char>;

// Percent-encodes `text`. With keepUnreserved, "-", ".", digits and ASCII
// letters stay as they are; every other byte becomes %XX (upper-case hex).
// With utf8, the code-page-936 text is converted to UTF-8 first.
std::string UrlEncode(const std::string& text, bool keepUnreserved = false, bool utf8 = false);

// Code-page-936 text to UTF-8, whatever the system's ANSI code page is.
std::string LocalToUtf8(const std::string& text);

// Little-endian UTF-16 units of `text`, the terminating zero unit included.
Bytes MultiByteToUtf16(const std::string& text, unsigned codePage = 65001);

// Text in `codePage` (0: the ANSI code page) from UTF-16 units as above,
// up to the first zero unit. Fewer than two bytes give empty text; a
// trailing odd byte is ignored.
std::string Utf16ToMultiByte(const Bytes& utf16, unsigned codePage = 0);

// The Windows code page for a charset name, compared without ASCII case:
// UTF-8, GBK/GB2312/CP936, GB18030, Big5, Shift_JIS, EUC-KR, ISO-8859-1,
// Windows-1252, US-ASCII, and "Unicode"/UTF-16/UTF-16LE (1200). Empty when
// the name is unknown.
std::optional<unsigned> CharsetCodePage(const std::string& charset);

// `data` re-encoded from charset `from` to charset `to` (empty names mean
// "UTF-8" and "GBK"), through UTF-16 without any other detour. A byte-order
// mark at the start of the input is dropped and none is written. When
// `startOffset` is given, that many bytes of the result are skipped.
// Unknown charset names, code pages the system lacks (Wine has no GB18030)
// and empty input give empty bytes. Bytes invalid in
// `from`, and characters `to` cannot hold, are replaced as Windows does.
Bytes ConvertCharset(const Bytes& data, const std::string& from = "UTF-8", const std::string& to = "GBK",
                     std::optional<size_t> startOffset = std::nullopt);

// Helpers for code that talks to wide Windows APIs.
std::wstring Cp936ToWide(const std::string& text);
std::string WideToCp936(const std::wstring& text);

}  // namespace web
