#pragma once
// Conversions between the program's code-page-936 text, UTF-16 and UTF-8.

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

// Text in `codePage` (0: the ANSI code page) from UTF-16 units as above.
std::string Utf16ToMultiByte(const Bytes& utf16, unsigned codePage = 0);

// Helpers for code that talks to wide Windows APIs.
std::wstring Cp936ToWide(const std::string& text);
std::string WideToCp936(const std::wstring& text);

}  // namespace web
