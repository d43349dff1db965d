#include "web/encoding.h"

#include <windows.h>

namespace web {

namespace {

constexpr unsigned kLocalCodePage = 936;

bool IsUnreserved(unsigned char b) {
  return b == '-' || b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
         (b >= 'a' && b <= 'z');
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
  // The units must end in a zero unit; a short or odd array is taken as empty.
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
  if (text.empty()) return {};
  const int units = MultiByteToWideChar(kLocalCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(kLocalCodePage, 0, text.data(), static_cast<int>(text.size()), out.data(), units);
  return out;
}

std::string WideToCp936(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(kLocalCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(kLocalCodePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

}  // namespace web
