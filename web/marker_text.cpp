#include "web/marker_text.h"

#include <climits>

namespace web {

namespace {

bool IsLeadByte(unsigned char b) { return b >= 0x80; }

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsSpaceAt(const std::string& text, size_t index, size_t length) {
  if (length == 1) return text[index] == ' ';
  return static_cast<unsigned char>(text[index]) == 0xA1 && static_cast<unsigned char>(text[index + 1]) == 0xA1;
}

// Compares `needle` with `subject` from the character boundary `at`. Only
// the bytes of single-byte characters of the subject are folded: the second
// byte of a double-byte character may look like a letter but is not one.
bool MatchesAt(const std::string& subject, size_t at, const std::string& needle, bool caseSensitive) {
  if (subject.size() - at < needle.size()) return false;
  size_t i = 0;
  while (i < needle.size()) {
    const size_t length = CharLength(subject, at + i);
    if (length == 1 && !caseSensitive) {
      if (FoldAscii(subject[at + i]) != FoldAscii(needle[i])) return false;
    } else if (subject.compare(at + i, length, needle, i, length) != 0) {
      return false;
    }
    i += length;
  }
  return true;
}

// Byte index where the host of a URL starts: after "http://" or "https://"
// at its beginning (any case), else 0 for a URL without scheme.
size_t HostStart(const std::string& url) {
  const std::string head = LowerAscii(url.substr(0, 8));
  if (head.compare(0, 8, "https://") == 0) return 8;
  if (head.compare(0, 7, "http://") == 0) return 7;
  return 0;
}

size_t HostEnd(const std::string& url, size_t hostStart) {
  const size_t end = url.find_first_of("/?#", hostStart);
  return end == std::string::npos ? url.size() : end;
}

}  // namespace

size_t CharLength(const std::string& text, size_t index) {
  return (IsLeadByte(static_cast<unsigned char>(text[index])) && index + 1 < text.size()) ? 2 : 1;
}

int FindText(const std::string& subject, const std::string& needle, int start, bool caseSensitive) {
  if (start < 1) start = 1;
  const size_t from = static_cast<size_t>(start) - 1;
  if (from > subject.size()) return -1;
  size_t at = 0;
  while (at < from) at += CharLength(subject, at);
  return FindTextFromBoundary(subject, needle, static_cast<int>(at) + 1, caseSensitive);
}

int FindTextFromBoundary(const std::string& subject, const std::string& needle, int start, bool caseSensitive) {
  if (start < 1) start = 1;
  const size_t from = static_cast<size_t>(start) - 1;
  if (needle.empty()) return from <= subject.size() ? start : -1;
  // The first byte decides most positions; a lead byte is never folded.
  const char first = caseSensitive ? needle[0] : FoldAscii(needle[0]);
  for (size_t at = from; at < subject.size() && subject.size() - at >= needle.size(); at += CharLength(subject, at)) {
    const char here = caseSensitive ? subject[at] : FoldAscii(subject[at]);
    if (here == first && MatchesAt(subject, at, needle, caseSensitive)) return static_cast<int>(at) + 1;
  }
  return -1;
}

std::string LowerAscii(const std::string& text) {
  std::string out = text;
  for (size_t i = 0; i < out.size(); i += CharLength(out, i)) out[i] = FoldAscii(out[i]);
  return out;
}

std::string TrimSpaces(const std::string& text) {
  size_t first = text.size();
  size_t last = 0;  // one past the last byte that is not a space
  for (size_t i = 0; i < text.size();) {
    const size_t length = CharLength(text, i);
    if (!IsSpaceAt(text, i, length)) {
      if (first == text.size()) first = i;
      last = i + length;
    }
    i += length;
  }
  return first == text.size() ? std::string() : text.substr(first, last - first);
}

std::string RemoveSpaces(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t length = CharLength(text, i);
    if (!IsSpaceAt(text, i, length)) out.append(text, i, length);
    i += length;
  }
  return out;
}

std::string ExpandQuoteMarker(const std::string& text) {
  static const std::string kMarker = "#引号";
  std::string out;
  int from = 1;
  for (int at; (at = FindText(text, kMarker, from, true)) != -1; from = at + static_cast<int>(kMarker.size())) {
    out.append(text, static_cast<size_t>(from) - 1, static_cast<size_t>(at - from));
    out += '"';
  }
  out.append(text, static_cast<size_t>(from) - 1, std::string::npos);
  return out;
}

std::string TextBetween(const std::string& subject, const std::string& left, const std::string& right, int start,
                        bool caseSensitive) {
  const std::string leftMarker = ExpandQuoteMarker(left);
  const std::string rightMarker = ExpandQuoteMarker(right);
  const int found = FindText(subject, leftMarker, start, caseSensitive);
  if (found == -1) return {};
  const int p = found + static_cast<int>(leftMarker.size());
  const int q = FindText(subject, rightMarker, p, caseSensitive);
  if (q == -1) return {};
  return subject.substr(static_cast<size_t>(p) - 1, static_cast<size_t>(q - p));
}

std::string HeaderValue(const std::string& line) {
  const size_t colon = line.find(':');
  return colon == std::string::npos ? std::string() : TrimSpaces(line.substr(colon + 1));
}

std::string UrlHost(const std::string& url, bool keepPort) {
  const size_t start = HostStart(url);
  std::string host = LowerAscii(url.substr(start, HostEnd(url, start) - start));
  if (!keepPort) host = host.substr(0, host.find(':'));
  return host;
}

int UrlPort(const std::string& url) {
  const std::string host = UrlHost(url, true);
  // ':' (0x3A) is never the second byte of a double-byte character.
  const size_t colon = host.rfind(':');
  if (colon == std::string::npos) return LowerAscii(url.substr(0, 5)) == "https" ? 443 : 80;
  int port = 0;
  for (size_t i = colon + 1; i < host.size() && host[i] >= '0' && host[i] <= '9'; ++i) {
    const int digit = host[i] - '0';
    port = port > (INT_MAX - digit) / 10 ? INT_MAX : port * 10 + digit;
  }
  return port;
}

std::string UrlPath(const std::string& url) {
  const size_t start = HostStart(url);
  const size_t end = HostEnd(url, start);
  if (end == url.size()) return "/";
  return url[end] == '/' ? url.substr(end) : "/" + url.substr(end);
}

}  // namespace web
