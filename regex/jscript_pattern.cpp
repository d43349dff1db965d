#include "regex/jscript_pattern.h"

namespace regex {

namespace {

const wchar_t kLineTerminators[] = L"\\n\\r\\x{2028}\\x{2029}";
const wchar_t kWordChars[] = L"A-Za-z0-9_";
const wchar_t kSpaces[] =
    L"\\t\\n\\v\\f\\r \\x{A0}\\x{1680}\\x{2000}-\\x{200A}\\x{2028}\\x{2029}\\x{202F}\\x{205F}\\x{3000}\\x{FEFF}";

bool IsHex(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

std::wstring Bracket(const std::wstring& members, bool negated) { return (negated ? L"[^" : L"[") + members + L"]"; }

// \xhh and \uXXXX: appends the code unit and steps past its digits; a
// letter without its full set of digits stands for itself.
bool TranslateHexEscape(const std::wstring& p, size_t& i, std::wstring& out) {
  const size_t digits = p[i] == L'x' ? 2 : 4;
  for (size_t k = 1; k <= digits; ++k) {
    if (i + k >= p.size() || !IsHex(p[i + k])) return false;
  }
  out += L"\\x{" + p.substr(i + 1, digits) + L"}";
  i += digits;
  return true;
}

// One escape sequence; `i` is at the character after the backslash.
void TranslateEscape(const std::wstring& p, size_t& i, bool inClass, std::wstring& out) {
  const wchar_t c = p[i];
  switch (c) {
    case L'd': out += inClass ? L"0-9" : L"[0-9]"; return;
    case L'w': out += inClass ? std::wstring(kWordChars) : Bracket(kWordChars, false); return;
    case L's': out += inClass ? std::wstring(kSpaces) : Bracket(kSpaces, false); return;
    case L'D': out += inClass ? L"\\D" : L"[^0-9]"; return;
    case L'W': out += inClass ? L"\\W" : Bracket(kWordChars, true); return;
    case L'S': out += inClass ? L"\\S" : Bracket(kSpaces, true); return;
    case L'b':
      if (inClass) {
        out += L"\\x{08}";
      } else {
        const std::wstring w = Bracket(kWordChars, false);
        out += L"(?:(?<=" + w + L")(?!" + w + L")|(?<!" + w + L")(?=" + w + L"))";
      }
      return;
    case L'B': {
      if (inClass) {
        out += L'B';
        return;
      }
      const std::wstring w = Bracket(kWordChars, false);
      out += L"(?:(?<=" + w + L")(?=" + w + L")|(?<!" + w + L")(?!" + w + L"))";
      return;
    }
    case L'x':
    case L'u':
      if (!TranslateHexEscape(p, i, out)) out += c;
      return;
    case L'c':
      if (i + 1 < p.size() && IsAsciiLetter(p[i + 1])) {
        out += L"\\c";
        out += p[++i];
      } else {
        out += L"\\\\c";
      }
      return;
    case L'f':
    case L'n':
    case L'r':
    case L't':
    case L'v':
      out += L'\\';
      out += c;
      return;
    default:
      if (IsAsciiLetter(c)) {
        out += c;  // JScript reads an unknown letter escape as the letter
      } else {
        out += L'\\';
        out += c;
      }
  }
}

// A class from its '['; `i` ends on its ']'.
bool TranslateClass(const std::wstring& p, size_t& i, std::wstring& out) {
  size_t k = i + 1;
  const bool negated = k < p.size() && p[k] == L'^';
  if (negated) ++k;
  if (k < p.size() && p[k] == L']') {
    out += negated ? L"[\\s\\S]" : L"(?!)";  // JScript's [^] and []
    i = k;
    return true;
  }
  out += negated ? L"[^" : L"[";
  for (; k < p.size(); ++k) {
    const wchar_t c = p[k];
    if (c == L']') {
      out += L']';
      i = k;
      return true;
    }
    if (c == L'\\') {
      if (++k >= p.size()) return false;
      TranslateEscape(p, k, true, out);
    } else if (c == L'[') {
      out += L"\\[";
    } else {
      out += c;
    }
  }
  return false;
}

// Length of a counted repeat {n}, {n,} or {n,m} starting at `i`; 0 when
// the brace starts none and is a plain character.
size_t CountedRepeatLength(const std::wstring& p, size_t i) {
  size_t k = i + 1;
  const auto digits = [&] {
    const size_t from = k;
    while (k < p.size() && p[k] >= L'0' && p[k] <= L'9') ++k;
    return k > from;
  };
  if (!digits()) return 0;
  if (k < p.size() && p[k] == L',') {
    ++k;
    digits();
  }
  return k < p.size() && p[k] == L'}' ? k - i + 1 : 0;
}

}  // namespace

bool TranslateJScriptPattern(const std::wstring& p, bool multiline, std::wstring& out) {
  out.clear();
  const std::wstring notTerminator = Bracket(kLineTerminators, true);
  bool afterQuantifier = false;
  for (size_t i = 0; i < p.size(); ++i) {
    const wchar_t c = p[i];
    bool quantifier = false;
    switch (c) {
      case L'\\':
        if (i + 1 >= p.size()) return false;
        TranslateEscape(p, ++i, false, out);
        break;
      case L'.': out += notTerminator; break;
      case L'^': out += multiline ? L"(?<!" + notTerminator + L")" : std::wstring(L"(?<![\\s\\S])"); break;
      case L'$': out += multiline ? L"(?!" + notTerminator + L")" : std::wstring(L"(?![\\s\\S])"); break;
      case L'[':
        if (!TranslateClass(p, i, out)) return false;
        break;
      case L'(':
        if (i + 1 < p.size() && p[i + 1] == L'?') {
          const wchar_t kind = i + 2 < p.size() ? p[i + 2] : L'\0';
          if (kind != L':' && kind != L'=' && kind != L'!') return false;
        }
        out += c;
        break;
      case L'*':
      case L'+':
      case L'?':
        // A lazy mark may follow a repeat; a second repeat may not.
        if (afterQuantifier && c != L'?') return false;
        quantifier = !afterQuantifier;
        out += c;
        break;
      case L'{': {
        const size_t length = CountedRepeatLength(p, i);
        if (length == 0) {
          out += L"\\{";
          break;
        }
        if (afterQuantifier) return false;
        out += p.substr(i, length);
        i += length - 1;
        quantifier = true;
        break;
      }
      case L'}': out += L"\\}"; break;
      default: out += c;
    }
    afterQuantifier = quantifier;
  }
  return true;
}

}  // namespace regex
