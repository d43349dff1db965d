#include "web/encoding.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace web {

namespace {

constexpr unsigned kLocalCodePage = 936;

bool IsUnreserved(unsigned char b) {
  return b == '-' || b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

constexpr unsigned kUtf16LE = 1200;

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::wstring DecodeCharset(const Bytes& data, unsigned codePage) {
  std::wstring units;
  if (codePage == kUtf16LE) {
    units.resize(data.size() / 2);
    std::memcpy(units.data(), data.data(), units.size() * 2);
  } else {
    const char* bytes = reinterpret_cast<const char*>(data.data());
    const int size = static_cast<int>(data.size());
    const int count = MultiByteToWideChar(codePage, 0, bytes, size, nullptr, 0);
    if (count <= 0) return {};
    units.resize(static_cast<size_t>(count));
    MultiByteToWideChar(codePage, 0, bytes, size, units.data(), count);
  }
  if (!units.empty() && units[0] == 0xFEFF) units.erase(0, 1);
  return units;
}

Bytes EncodeCharset(const std::wstring& units, unsigned codePage) {
  if (units.empty()) return {};
  if (codePage == kUtf16LE) {
    Bytes out(units.size() * 2);
    std::memcpy(out.data(), units.data(), out.size());
    return out;
  }
  const int count = static_cast<int>(units.size());
  const int size = WideCharToMultiByte(codePage, 0, units.data(), count, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  Bytes out(static_cast<size_t>(size));
  WideCharToMultiByte(codePage, 0, units.data(), count, reinterpret_cast<char*>(out.data()), size, nullptr, nullptr);
  return out;
}

// Code page 936 keeps ASCII as it is; such text needs no conversion call,
// which costs more than the copy for the many short cuts of a page.
template <typename Text>
bool IsAscii(const Text& text) {
  return std::all_of(text.begin(), text.end(), [](auto c) { return static_cast<unsigned>(c) < 0x80; });
}

}  // namespace

std::string UrlEncode(const std::string& text, bool keepUnreserved, bool utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  const std::string input = utf8 ? LocalToUtf8(text) : text;
  std::string out;
  out.reserve(input.size() * 3);
  for (unsigned char b : input) {
    if (keepUnreserved && IsUnreserved(b)) {
      out += static_cast<char>(b);
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    }
  }
  return out;
}

std::string LocalToUtf8(const std::string& text) {
  return Utf16ToMultiByte(MultiByteToUtf16(text, kLocalCodePage), CP_UTF8);
}

Bytes MultiByteToUtf16(const std::string& text, unsigned codePage) {
  const int units = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
  if (units <= 0) return {};
  Bytes out(static_cast<size_t>(units) * 2, 0);
  MultiByteToWideChar(codePage, 0, text.c_str(), -1, reinterpret_cast<wchar_t*>(out.data()), units);
  return out;
}

std::string Utf16ToMultiByte(const Bytes& utf16, unsigned codePage) {
  if (utf16.size() < 2) return {};
  std::wstring units(reinterpret_cast<const wchar_t*>(utf16.data()), utf16.size() / 2);
  const int size = WideCharToMultiByte(codePage, 0, units.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<size_t>(size) * 2, ' ');
  WideCharToMultiByte(codePage, 0, units.c_str(), -1, out.data(), size * 2, nullptr, nullptr);
  out.resize(out.find('\0'));
  return out;
}

std::wstring Cp936ToWide(const std::string& text) {
  if (IsAscii(text)) return std::wstring(text.begin(), text.end());
  const int units = MultiByteToWideChar(kLocalCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(kLocalCodePage, 0, text.data(), static_cast<int>(text.size()), out.data(), units);
  return out;
}

std::string WideToCp936(const std::wstring& text) {
  if (IsAscii(text)) return std::string(text.begin(), text.end());
  const int size = WideCharToMultiByte(kLocalCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(kLocalCodePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

std::optional<unsigned> CharsetCodePage(const std::string& charset) {
  struct Entry {
    const char* name;
    unsigned codePage;
  };
  static const Entry kCharsets[] = {
      {"utf-8", CP_UTF8},   {"utf8", CP_UTF8},  {"gbk", 936},          {"gb2312", 936},      {"cp936", 936},
      {"windows-936", 936}, {"gb18030", 54936}, {"big5", 950},         {"shift_jis", 932},   {"shift-jis", 932},
      {"sjis", 932},        {"euc-kr", 949},    {"iso-8859-1", 28591}, {"latin1", 28591},    {"windows-1252", 1252},
      {"us-ascii", 20127},  {"ascii", 20127},   {"unicode", kUtf16LE}, {"utf-16", kUtf16LE}, {"utf-16le", kUtf16LE},
  };
  std::string folded = charset;
  for (char& c : folded) c = FoldAscii(c);
  for (const Entry& entry : kCharsets) {
    if (folded == entry.name) return entry.codePage;
  }
  return std::nullopt;
}

Bytes ConvertCharset(const Bytes& data, const std::string& from, const std::string& to,
                     std::optional<size_t> startOffset) {
  const std::optional<unsigned> source = CharsetCodePage(from.empty() ? "UTF-8" : from);
  const std::optional<unsigned> target = CharsetCodePage(to.empty() ? "GBK" : to);
  if (!source || !target || data.empty() || data.size() > INT_MAX) return {};
  Bytes out = EncodeCharset(DecodeCharset(data, *source), *target);
  if (startOffset) {
    out.erase(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(std::min(*startOffset, out.size())));
  }
  return out;
}

}  // namespace web
