#pragma once
// Searching and cutting code-page-936 text.
//
// Every function here follows the same rules, so the HTTP routine and the
// result-page parser cut text the same way:
// - Positions are 1-based byte positions; a failed search gives -1.
// - A byte of 0x80 or above and the byte after it are one double-byte
//   character. Character boundaries are always counted from the first byte
//   of the text, and a match never starts on the second byte of a character.
// - Ignoring case folds the ASCII letters A-Z/a-z of single-byte characters
//   only; every other byte, including the second byte of a double-byte
//   character, compares exactly.
// - Trimming removes ASCII spaces (0x20) and the full-width space (A1 A1)
//   at both ends, whole characters only.
// - Inputs are never changed; results are new texts.

#include <string>

namespace web {

// Length in bytes (1 or 2) of the character starting at 0-based `index`;
// a lead byte at the very end of the text counts as one byte.
size_t CharLength(const std::string& text, size_t index);

// 1-based position of the first `needle` in `subject` that starts on a
// character boundary at or after position `start`, or -1. A start below 1
// is taken as 1. An empty needle is found at the first boundary at or after
// `start` (the end of the text counts), -1 when `start` lies past the end.
int FindText(const std::string& subject, const std::string& needle, int start = 1, bool caseSensitive = false);

// FindText for a `start` already known to be a character boundary (a
// position a search returned, or the position just past its match), which
// spares the walk from the first byte: repeated searches over one text stay
// linear in its length.
int FindTextFromBoundary(const std::string& subject, const std::string& needle, int start, bool caseSensitive = false);

// `text` with A-Z of its single-byte characters turned into a-z.
std::string LowerAscii(const std::string& text);

// `text` without leading and trailing ASCII and full-width spaces.
std::string TrimSpaces(const std::string& text);

// `text` with every ASCII and full-width space removed, wherever it stands.
std::string RemoveSpaces(const std::string& text);

// `text` with every "#引号" (exact bytes) replaced by one double quote, so a
// marker can be written with a quote in it.
std::string ExpandQuoteMarker(const std::string& text);

// The text strictly between the first `left` at or after `start` and the
// next `right` after it; empty when either is missing. Both markers may use
// "#引号" for a double quote. Case is ignored unless `caseSensitive`.
std::string TextBetween(const std::string& subject, const std::string& left, const std::string& right, int start = 1,
                        bool caseSensitive = false);

// The trimmed text after the first colon of a header line; empty without one.
std::string HeaderValue(const std::string& line);

// Lower-cased host of `url` (a URL without scheme is taken as http), with
// ":port" kept when `keepPort` is set and the URL names one. The host ends
// at the first "/", "?" or "#" after the scheme.
std::string UrlHost(const std::string& url, bool keepPort = false);

// The TCP port of `url`: the digits after the host's last colon (0 without
// digits, saturating instead of overflowing), else 443 for an https URL and
// 80 for any other.
int UrlPort(const std::string& url);

// Everything after the host of `url`, exactly as written (path, query and
// fragment), always starting with "/": "/" when nothing follows the host.
std::string UrlPath(const std::string& url);

}  // namespace web
