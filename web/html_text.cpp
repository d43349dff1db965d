#include "web/html_text.h"

#include "web/encoding.h"
#include "web/marker_text.h"

namespace web {

namespace {

// HTML 4's Latin-1 names, U+00A0 to U+00FF in order.
const char* const kLatin1Names[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

// The Greek capitals and small letters run in order from these code points
// (U+03A2 is unassigned, so capital Sigma follows Rho directly).
const char* const kGreekCapitals[] = {
    "Alpha", "Beta",    "Gamma", "Delta", "Epsilon", "Zeta",  "Eta", "Theta",   "Iota", "Kappa", "Lambda", "Mu",   "Nu",
    "Xi",    "Omicron", "Pi",    "Rho",   nullptr,   "Sigma", "Tau", "Upsilon", "Phi",  "Chi",   "Psi",    "Omega"};
const char* const kGreekSmall[] = {
    "alpha", "beta",    "gamma", "delta", "epsilon", "zeta",  "eta", "theta",   "iota", "kappa", "lambda", "mu",   "nu",
    "xi",    "omicron", "pi",    "rho",   "sigmaf",  "sigma", "tau", "upsilon", "phi",  "chi",   "psi",    "omega"};

struct NamedReference {
  const char* name;
  char32_t codePoint;
};

// The rest of HTML 4's special and symbol names, and "apos".
const NamedReference kOtherNames[] = {
    {"quot", 34},     {"amp", 38},       {"apos", 39},     {"lt", 60},       {"gt", 62},       {"OElig", 338},
    {"oelig", 339},   {"Scaron", 352},   {"scaron", 353},  {"Yuml", 376},    {"fnof", 402},    {"circ", 710},
    {"tilde", 732},   {"thetasym", 977}, {"upsih", 978},   {"piv", 982},     {"ensp", 8194},   {"emsp", 8195},
    {"thinsp", 8201}, {"zwnj", 8204},    {"zwj", 8205},    {"lrm", 8206},    {"rlm", 8207},    {"ndash", 8211},
    {"mdash", 8212},  {"lsquo", 8216},   {"rsquo", 8217},  {"sbquo", 8218},  {"ldquo", 8220},  {"rdquo", 8221},
    {"bdquo", 8222},  {"dagger", 8224},  {"Dagger", 8225}, {"bull", 8226},   {"hellip", 8230}, {"permil", 8240},
    {"prime", 8242},  {"Prime", 8243},   {"lsaquo", 8249}, {"rsaquo", 8250}, {"oline", 8254},  {"frasl", 8260},
    {"euro", 8364},   {"image", 8465},   {"weierp", 8472}, {"real", 8476},   {"trade", 8482},  {"alefsym", 8501},
    {"larr", 8592},   {"uarr", 8593},    {"rarr", 8594},   {"darr", 8595},   {"harr", 8596},   {"crarr", 8629},
    {"lArr", 8656},   {"uArr", 8657},    {"rArr", 8658},   {"dArr", 8659},   {"hArr", 8660},   {"forall", 8704},
    {"part", 8706},   {"exist", 8707},   {"empty", 8709},  {"nabla", 8711},  {"isin", 8712},   {"notin", 8713},
    {"ni", 8715},     {"prod", 8719},    {"sum", 8721},    {"minus", 8722},  {"lowast", 8727}, {"radic", 8730},
    {"prop", 8733},   {"infin", 8734},   {"ang", 8736},    {"and", 8743},    {"or", 8744},     {"cap", 8745},
    {"cup", 8746},    {"int", 8747},     {"there4", 8756}, {"sim", 8764},    {"cong", 8773},   {"asymp", 8776},
    {"ne", 8800},     {"equiv", 8801},   {"le", 8804},     {"ge", 8805},     {"sub", 8834},    {"sup", 8835},
    {"nsub", 8836},   {"sube", 8838},    {"supe", 8839},   {"oplus", 8853},  {"otimes", 8855}, {"perp", 8869},
    {"sdot", 8901},   {"lceil", 8968},   {"rceil", 8969},  {"lfloor", 8970}, {"rfloor", 8971}, {"lang", 9001},
    {"rang", 9002},   {"loz", 9674},     {"spades", 9824}, {"clubs", 9827},  {"hearts", 9829}, {"diams", 9830},
};

constexpr size_t kLongestName = 8;  // "thetasym"

char32_t FindInRun(const std::string& name, const char* const* names, size_t count, char32_t first) {
  for (size_t i = 0; i < count; ++i) {
    if (names[i] != nullptr && name == names[i]) return first + static_cast<char32_t>(i);
  }
  return 0;
}

// Names compare exactly: "&AMP;" is not a reference in HTML 4.
char32_t NamedCodePoint(const std::string& name) {
  if (char32_t c = FindInRun(name, kLatin1Names, 96, 0xA0)) return c;
  if (char32_t c = FindInRun(name, kGreekCapitals, sizeof kGreekCapitals / sizeof *kGreekCapitals, 0x391)) return c;
  if (char32_t c = FindInRun(name, kGreekSmall, sizeof kGreekSmall / sizeof *kGreekSmall, 0x3B1)) return c;
  for (const NamedReference& entry : kOtherNames) {
    if (name == entry.name) return entry.codePoint;
  }
  return 0;
}

template <class Char>
bool IsAsciiDigit(Char c) {
  return c >= '0' && c <= '9';
}

template <class Char>
int HexDigit(Char c) {
  if (IsAsciiDigit(c)) return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

template <class Char>
bool IsAsciiLetter(Char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

void AppendPercentUtf8(char32_t c, std::string& out) {
  unsigned char bytes[4];
  size_t count;
  if (c < 0x800) {
    bytes[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
    count = 2;
  } else if (c < 0x10000) {
    bytes[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
    count = 3;
  } else {
    bytes[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
    count = 4;
  }
  for (size_t i = 1; i < count; ++i) {
    bytes[i] = static_cast<unsigned char>(0x80 | ((c >> (6 * (count - 1 - i))) & 0x3F));
  }
  static const char kHex[] = "0123456789ABCDEF";
  for (size_t i = 0; i < count; ++i) {
    out += '%';
    out += kHex[bytes[i] >> 4];
    out += kHex[bytes[i] & 0x0F];
  }
}

// Tags go, text stays: a tag is "<" followed by a letter, "/", "!" or "?",
// up to the next ">" outside quotes, a comment up to "-->"; either left
// open runs to the end.
std::wstring WithoutTags(const std::wstring& html) {
  std::wstring out;
  for (size_t i = 0; i < html.size(); ++i) {
    const wchar_t next = i + 1 < html.size() ? html[i + 1] : L'\0';
    const bool opensTag = html[i] == L'<' && (IsAsciiLetter(next) || next == L'/' || next == L'!' || next == L'?');
    if (!opensTag) {
      out += html[i];
      continue;
    }
    if (html.compare(i, 4, L"<!--") == 0) {
      const size_t end = html.find(L"-->", i + 4);
      if (end == std::wstring::npos) break;
      i = end + 2;
      continue;
    }
    wchar_t quote = 0;
    for (++i; i < html.size(); ++i) {
      if (quote != 0) {
        if (html[i] == quote) quote = 0;
      } else if (html[i] == L'"' || html[i] == L'\'') {
        quote = html[i];
      } else if (html[i] == L'>') {
        break;
      }
    }
  }
  return out;
}

std::wstring WithReferencesDecoded(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size();) {
    size_t length = 0;
    if (text[i] == L'&') {
      if (const char32_t c = DecodeReference(std::wstring_view(text), i, length)) {
        AppendUtf16(c, out);
        i += length;
        continue;
      }
    }
    out += text[i++];
  }
  return out;
}

bool IsFoldedSpace(wchar_t c) { return c <= L' ' || c == 0x7F || c == 0xA0; }

std::wstring WithSpacesFolded(const std::wstring& text) {
  std::wstring out;
  bool pendingSpace = false;
  for (wchar_t c : text) {
    if (IsFoldedSpace(c)) {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) out += L' ';
    pendingSpace = false;
    out += c;
  }
  return out;
}

// Code page 936 with "?" for each character it cannot hold. Converting
// character by character is only needed when the whole text does not
// come back unchanged.
std::string ToGbk(const std::wstring& text) {
  const std::string whole = WideToCp936(text);
  if (Cp936ToWide(whole) == text) return whole;
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    const std::wstring one = text.substr(i, pair ? 2 : 1);
    if (pair) ++i;
    const std::string bytes = WideToCp936(one);
    out += Cp936ToWide(bytes) == one ? bytes : "?";
  }
  return out;
}

std::string DecodeName(const std::string& html) {
  const std::string text = TrimSpaces(ToGbk(WithSpacesFolded(WithReferencesDecoded(WithoutTags(Cp936ToWide(html))))));
  return text.empty() ? html : text;
}

std::string DecodeLink(const std::string& value) {
  std::string out;
  for (size_t i = 0; i < value.size();) {
    size_t length = 0;
    if (value[i] == '&') {
      if (const char32_t c = DecodeReference(std::string_view(value), i, length)) {
        if (c < 0x80) {
          out += static_cast<char>(c);
        } else {
          AppendPercentUtf8(c, out);
        }
        i += length;
        continue;
      }
    }
    out += value[i++];
  }
  return out;
}

}  // namespace

template <class Char>
char32_t DecodeReference(std::basic_string_view<Char> text, size_t pos, size_t& length) {
  const size_t n = text.size();
  size_t i = pos + 1;
  if (i < n && text[i] == '#') {
    ++i;
    const bool hex = i < n && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    const size_t digitsStart = i;
    char32_t value = 0;
    for (; i < n && (hex ? HexDigit(text[i]) >= 0 : IsAsciiDigit(text[i])); ++i) {
      // Saturates: any number past the last code point is no character.
      if (value <= 0x10FFFF) value = value * (hex ? 16 : 10) + static_cast<char32_t>(HexDigit(text[i]));
    }
    if (i == digitsStart) return 0;
    if (i < n && text[i] == ';') ++i;
    length = i - pos;
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0xFFFD;
    return value;
  }
  std::string name;
  for (; i < n && name.size() <= kLongestName && (IsAsciiLetter(text[i]) || IsAsciiDigit(text[i])); ++i)
    name += static_cast<char>(text[i]);
  if (i >= n || text[i] != ';') return 0;
  const char32_t c = NamedCodePoint(name);
  if (c != 0) length = i + 1 - pos;
  return c;
}

template char32_t DecodeReference(std::basic_string_view<char> text, size_t pos, size_t& length);
template char32_t DecodeReference(std::basic_string_view<wchar_t> text, size_t pos, size_t& length);

void AppendUtf16(char32_t c, std::wstring& out) {
  if (c >= 0x10000) {
    c -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (c >> 10));
    out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
  } else {
    out += static_cast<wchar_t>(c);
  }
}

std::string DecodeHtmlText(const std::string& html, HtmlCut cut) {
  return cut == HtmlCut::Name ? DecodeName(html) : DecodeLink(html);
}

}  // namespace web
