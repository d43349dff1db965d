#include "htmlview/html_parse.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "web/html_text.h"

namespace html {

namespace {

auto StyleTie(const Style &s) {
  return std::tie(s.sizeCentiPt, s.colour, s.bold, s.italic, s.underline, s.strikeout, s.raiseCentiPt, s.face);
}

struct StyleLess {
  bool operator()(const Style &a, const Style &b) const { return StyleTie(a) < StyleTie(b); }
};

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f'; }
bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

std::wstring Lower(std::wstring s) {
  for (auto &c : s) c = LowerAscii(c);
  return s;
}

int HexValue(wchar_t c) {
  if (IsAsciiDigit(c)) return c - L'0';
  c = LowerAscii(c);
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

// Decodes the character reference at source[pos] == '&' into out and sets
// length to the characters it takes; false for anything else.
bool DecodeEntity(const std::wstring &source, std::size_t pos, std::wstring &out, std::size_t &length) {
  const char32_t c = web::DecodeReference(std::wstring_view(source), pos, length);
  if (c == 0) return false;
  web::AppendUtf16(c, out);
  return true;
}

// Element kinds. Only known elements are kept on the open-element stack;
// everything else is dropped and its text shown in the surrounding style.
enum class Tag {
  P,
  Div,
  Pre,
  H1,
  H2,
  H3,
  H4,
  H5,
  H6,
  Table,
  Tr,
  Td,
  Th,
  Ul,
  Ol,
  Li,
  Blockquote,
  Center,
  Dl,
  Dt,
  Dd,
  Address,
  B,
  Strong,
  I,
  Em,
  U,
  S,
  Strike,
  Code,
  A,
  Sub,
  Sup,
  Big,
  Small,
  Font,
  Span,
  Br,
  Hr,
  Script,
  Style,
  Title,
};

using TagSet = std::uint64_t;
constexpr TagSet Bit(Tag tag) { return TagSet{1} << static_cast<int>(tag); }

struct TagInfo {
  const wchar_t *name;
  Tag tag;
  bool block;
};

const TagInfo kTags[] = {
    {L"p", Tag::P, true},
    {L"div", Tag::Div, true},
    {L"pre", Tag::Pre, true},
    {L"h1", Tag::H1, true},
    {L"h2", Tag::H2, true},
    {L"h3", Tag::H3, true},
    {L"h4", Tag::H4, true},
    {L"h5", Tag::H5, true},
    {L"h6", Tag::H6, true},
    {L"table", Tag::Table, true},
    {L"tr", Tag::Tr, true},
    {L"td", Tag::Td, false},
    {L"th", Tag::Th, false},
    {L"ul", Tag::Ul, true},
    {L"ol", Tag::Ol, true},
    {L"li", Tag::Li, true},
    {L"blockquote", Tag::Blockquote, true},
    {L"center", Tag::Center, true},
    {L"dl", Tag::Dl, true},
    {L"dt", Tag::Dt, true},
    {L"dd", Tag::Dd, true},
    {L"address", Tag::Address, true},
    {L"b", Tag::B, false},
    {L"strong", Tag::Strong, false},
    {L"i", Tag::I, false},
    {L"em", Tag::Em, false},
    {L"u", Tag::U, false},
    {L"s", Tag::S, false},
    {L"strike", Tag::Strike, false},
    {L"code", Tag::Code, false},
    {L"a", Tag::A, false},
    {L"sub", Tag::Sub, false},
    {L"sup", Tag::Sup, false},
    {L"big", Tag::Big, false},
    {L"small", Tag::Small, false},
    {L"font", Tag::Font, false},
    {L"span", Tag::Span, false},
    {L"br", Tag::Br, false},
    {L"hr", Tag::Hr, true},
    {L"script", Tag::Script, false},
    {L"style", Tag::Style, false},
    {L"title", Tag::Title, false},
};

const TagInfo *FindTag(const std::wstring &lowerName) {
  for (const auto &info : kTags)
    if (lowerName == info.name) return &info;
  return nullptr;
}

struct NamedColour {
  const wchar_t *name;
  Colour colour;
};

const NamedColour kNamedColours[] = {
    {L"black", rgb(0, 0, 0)},      {L"white", rgb(255, 255, 255)}, {L"red", rgb(255, 0, 0)},
    {L"green", rgb(0, 128, 0)},    {L"blue", rgb(0, 0, 255)},      {L"yellow", rgb(255, 255, 0)},
    {L"gray", rgb(128, 128, 128)}, {L"grey", rgb(128, 128, 128)},  {L"silver", rgb(192, 192, 192)},
    {L"maroon", rgb(128, 0, 0)},   {L"purple", rgb(128, 0, 128)},  {L"fuchsia", rgb(255, 0, 255)},
    {L"lime", rgb(0, 255, 0)},     {L"olive", rgb(128, 128, 0)},   {L"navy", rgb(0, 0, 128)},
    {L"teal", rgb(0, 128, 128)},   {L"aqua", rgb(0, 255, 255)},    {L"orange", rgb(255, 165, 0)},
};

bool ParseColour(std::wstring value, Colour &colour) {
  value = Lower(value);
  for (const auto &named : kNamedColours) {
    if (value == named.name) {
      colour = named.colour;
      return true;
    }
  }
  if (!value.empty() && value[0] == L'#') value.erase(0, 1);
  int digits[6];
  if (value.size() != 6 && value.size() != 3) return false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    digits[i] = HexValue(value[i]);
    if (digits[i] < 0) return false;
  }
  if (value.size() == 3) {
    colour = rgb(digits[0] * 17, digits[1] * 17, digits[2] * 17);
  } else {
    colour = rgb(digits[0] * 16 + digits[1], digits[2] * 16 + digits[3], digits[4] * 16 + digits[5]);
  }
  return true;
}

// <font size=N>: 1..7 with 3 as the body size; "+N"/"-N" count from 3.
bool ParseFontSize(const std::wstring &value, int &sizeCentiPt) {
  static const int kSizes[] = {540, 800, 900, 1080, 1350, 1800, 2700};
  std::size_t i = 0;
  while (i < value.size() && IsSpace(value[i])) ++i;
  int sign = 0;
  if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) sign = value[i++] == L'+' ? 1 : -1;
  if (i >= value.size() || !IsAsciiDigit(value[i])) return false;
  int n = 0;
  while (i < value.size() && IsAsciiDigit(value[i]) && n < 100) n = n * 10 + (value[i++] - L'0');
  int size = sign == 0 ? n : 3 + sign * n;
  size = std::clamp(size, 1, 7);
  sizeCentiPt = kSizes[size - 1];
  return true;
}

std::wstring FirstFace(const std::wstring &value) {
  std::wstring face = value.substr(0, value.find(L','));
  auto trim = [](wchar_t c) { return IsSpace(c) || c == L'"' || c == L'\''; };
  while (!face.empty() && trim(face.back())) face.pop_back();
  std::size_t start = 0;
  while (start < face.size() && trim(face[start])) ++start;
  return face.substr(start);
}

using Attributes = std::vector<std::pair<std::wstring, std::wstring>>;

const std::wstring *FindAttribute(const Attributes &attributes, const wchar_t *name) {
  for (const auto &a : attributes)
    if (a.first == name) return &a.second;
  return nullptr;
}

bool HasClass(const Attributes &attributes, const wchar_t *name) {
  const std::wstring *value = FindAttribute(attributes, L"class");
  if (!value) return false;
  const std::wstring classes = Lower(*value);
  const std::wstring wanted = name;
  std::size_t i = 0;
  while (i < classes.size()) {
    while (i < classes.size() && IsSpace(classes[i])) ++i;
    std::size_t end = i;
    while (end < classes.size() && !IsSpace(classes[end])) ++end;
    if (end > i && classes.compare(i, end - i, wanted) == 0) return true;
    i = end;
  }
  return false;
}

const wchar_t kSimSun[] = L"\x5B8B\x4F53";  // 宋体

// The box's style sheet, element by element.
Style ElementStyle(Tag tag, const Attributes &attributes, const Style &parent) {
  Style s = parent;
  auto heading = [&s](int size, Colour colour) {
    s.sizeCentiPt = size;
    s.colour = colour;
    s.bold = true;
    s.face = kSimSun;
  };
  const Colour orange = rgb(0xff, 0x99, 0x00);
  switch (tag) {
    case Tag::P:
      s.sizeCentiPt = 900;
      s.colour = rgb(0, 0, 0);
      s.face = kSimSun;
      break;
    case Tag::H1: heading(1400, rgb(0, 0, 0)); break;
    case Tag::H2: heading(1300, orange); break;
    case Tag::H3: heading(1200, orange); break;
    case Tag::H4: heading(1000, rgb(0, 0, 0)); break;
    case Tag::H5: heading(900, orange); break;
    case Tag::H6:
      s.sizeCentiPt = parent.sizeCentiPt * 65 / 100;
      s.colour = rgb(0x62, 0x62, 0x62);
      s.bold = false;
      s.face = kSimSun;
      break;
    case Tag::Pre:
      s.sizeCentiPt = 900;
      s.face = kSimSun;
      break;
    case Tag::Code:
      s.colour = rgb(0x99, 0x00, 0x00);
      s.face = kSimSun;
      break;
    case Tag::A:
      if (FindAttribute(attributes, L"href")) {
        s.colour = rgb(0, 0, 255);
        s.underline = false;
      }
      break;
    case Tag::Sub:
      s.sizeCentiPt = parent.sizeCentiPt * 65 / 100;
      s.raiseCentiPt = parent.raiseCentiPt - parent.sizeCentiPt / 5;
      break;
    case Tag::Sup:
      s.sizeCentiPt = parent.sizeCentiPt * 65 / 100;
      s.raiseCentiPt = parent.raiseCentiPt + parent.sizeCentiPt * 2 / 5;
      break;
    case Tag::Big: s.sizeCentiPt = parent.sizeCentiPt * 125 / 100; break;
    case Tag::Small: s.sizeCentiPt = parent.sizeCentiPt * 75 / 100; break;
    case Tag::B:
    case Tag::Strong:
    case Tag::Th: s.bold = true; break;
    case Tag::I:
    case Tag::Em:
    case Tag::Address: s.italic = true; break;
    case Tag::U: s.underline = true; break;
    case Tag::S:
    case Tag::Strike: s.strikeout = true; break;
    case Tag::Font: {
      Colour c;
      if (const std::wstring *v = FindAttribute(attributes, L"color"); v && ParseColour(*v, c)) s.colour = c;
      if (const std::wstring *v = FindAttribute(attributes, L"size")) ParseFontSize(*v, s.sizeCentiPt);
      if (const std::wstring *v = FindAttribute(attributes, L"face")) {
        std::wstring face = FirstFace(*v);
        if (!face.empty()) s.face = face;
      }
      break;
    }
    default: break;
  }
  if (HasClass(attributes, L"comment")) s.colour = rgb(0, 128, 0);
  // Keep absurd nesting (<big> a thousand times) within what GDI can draw.
  s.sizeCentiPt = std::clamp(s.sizeCentiPt, 100, 20000);
  s.raiseCentiPt = std::clamp(s.raiseCentiPt, -20000, 20000);
  return s;
}

int BlockMargin(Tag tag, const Style &s) {
  switch (tag) {
    case Tag::P:
    case Tag::Pre:
    case Tag::H1:
    case Tag::H2:
    case Tag::H3:
    case Tag::H4:
    case Tag::H5:
    case Tag::H6:
    case Tag::Ul:
    case Tag::Ol:
    case Tag::Blockquote:
    case Tag::Dl: return s.sizeCentiPt / 2;
    default: return 0;
  }
}

int BlockIndent(Tag tag, const Style &s) {
  switch (tag) {
    case Tag::Ul:
    case Tag::Ol:
    case Tag::Blockquote:
    case Tag::Dd: return s.sizeCentiPt * 2;
    default: return 0;
  }
}

// Beyond this depth further elements are dropped like unknown tags, so that
// pathological nesting costs neither memory nor time.
constexpr std::size_t kMaxDepth = 256;

class Parser {
 public:
  explicit Parser(const std::wstring &source) : src_(source), lastGreater_(source.rfind(L'>')) {
    doc_.styles.push_back(Style{});
    styleIndex_.emplace(doc_.styles[0], 0);
  }

  Document Run() {
    std::size_t pos = 0;
    while (pos < src_.size()) {
      std::size_t lt = src_.find(L'<', pos);
      if (lt == std::wstring::npos) {
        run_.append(src_, pos, std::wstring::npos);
        break;
      }
      run_.append(src_, pos, lt - pos);
      pos = Markup(lt);
    }
    FlushRun();
    while (!stack_.empty()) Pop();
    return std::move(doc_);
  }

 private:
  struct Open {
    Tag tag;
    std::size_t style;
    bool block;
    int link;
  };

  // Handles the markup at src_[lt] == '<' and returns where text goes on.
  std::size_t Markup(std::size_t lt) {
    const std::size_t n = src_.size();
    wchar_t next = lt + 1 < n ? src_[lt + 1] : 0;
    if (next == L'!') {
      FlushRun();
      if (src_.compare(lt, 4, L"<!--") == 0) {
        std::size_t end = src_.find(L"-->", lt + 4);
        return end == std::wstring::npos ? n : end + 3;
      }
      std::size_t end = src_.find(L'>', lt);
      return end == std::wstring::npos ? n : end + 1;
    }
    if (next == L'?') {
      FlushRun();
      std::size_t end = src_.find(L'>', lt);
      return end == std::wstring::npos ? n : end + 1;
    }
    bool closing = next == L'/';
    std::size_t nameStart = lt + (closing ? 2 : 1);
    if (nameStart >= n || !IsAsciiLetter(src_[nameStart])) {
      run_ += L'<';  // a stray '<' is text
      return lt + 1;
    }
    std::size_t end = FindTagEnd(nameStart);
    if (end == std::wstring::npos) {
      run_ += L'<';
      return lt + 1;
    }
    std::size_t nameEnd = nameStart;
    while (nameEnd < end && (IsAsciiLetter(src_[nameEnd]) || IsAsciiDigit(src_[nameEnd]))) ++nameEnd;
    const TagInfo *info = FindTag(Lower(src_.substr(nameStart, nameEnd - nameStart)));
    if (!info) {
      // Unknown tags are dropped; adjacent text still counts as one run.
      return end + 1;
    }
    FlushRun();
    if (closing) {
      Close(info->tag);
      return end + 1;
    }
    if (info->tag == Tag::Script || info->tag == Tag::Style || info->tag == Tag::Title)
      return SkipRawText(info->name, end + 1);
    OpenTag(*info, ParseAttributes(nameEnd, end));
    return end + 1;
  }

  // The '>' ending a tag, ignoring any inside quoted values; a value whose
  // quote never closes falls back to the first '>'.
  std::size_t FindTagEnd(std::size_t from) const {
    // Past the last '>' nothing can end a tag; without this, text full of
    // "<b" would be scanned to its end once per '<'.
    if (lastGreater_ == std::wstring::npos || from > lastGreater_) return std::wstring::npos;
    wchar_t quote = 0;
    for (std::size_t i = from; i <= lastGreater_; ++i) {
      wchar_t c = src_[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if ((c == L'"' || c == L'\'') && AfterEquals(from, i)) {
        quote = c;  // only a quote that opens an attribute value counts
      } else if (c == L'>') {
        return i;
      }
    }
    return src_.find(L'>', from);
  }

  bool AfterEquals(std::size_t from, std::size_t i) const {
    while (i > from && IsSpace(src_[i - 1])) --i;
    return i > from && src_[i - 1] == L'=';
  }

  Attributes ParseAttributes(std::size_t pos, std::size_t end) const {
    Attributes attributes;
    while (pos < end) {
      while (pos < end && (IsSpace(src_[pos]) || src_[pos] == L'/')) ++pos;
      std::size_t nameStart = pos;
      while (pos < end && !IsSpace(src_[pos]) && src_[pos] != L'=' && src_[pos] != L'/') ++pos;
      if (pos == nameStart) {
        ++pos;
        continue;
      }
      std::wstring name = Lower(src_.substr(nameStart, pos - nameStart));
      while (pos < end && IsSpace(src_[pos])) ++pos;
      std::wstring value;
      if (pos < end && src_[pos] == L'=') {
        ++pos;
        while (pos < end && IsSpace(src_[pos])) ++pos;
        std::size_t valueStart = pos;
        if (pos < end && (src_[pos] == L'"' || src_[pos] == L'\'')) {
          wchar_t quote = src_[pos++];
          valueStart = pos;
          while (pos < end && src_[pos] != quote) ++pos;
          value = src_.substr(valueStart, pos - valueStart);
          if (pos < end) ++pos;
        } else {
          while (pos < end && !IsSpace(src_[pos])) ++pos;
          value = src_.substr(valueStart, pos - valueStart);
        }
      }
      attributes.emplace_back(std::move(name), DecodeEntities(value));
    }
    return attributes;
  }

  // Skips script/style/title content up to its end tag (or the end of the text).
  std::size_t SkipRawText(const wchar_t *name, std::size_t from) const {
    std::wstring endTag = std::wstring(L"</") + name;
    for (std::size_t i = src_.find(L"</", from); i != std::wstring::npos; i = src_.find(L"</", i + 2)) {
      if (Lower(src_.substr(i, endTag.size())) == endTag) {
        std::size_t end = src_.find(L'>', i);
        return end == std::wstring::npos ? src_.size() : end + 1;
      }
    }
    return src_.size();
  }

  std::size_t InternStyle(const Style &s) {
    auto found = styleIndex_.find(s);
    if (found != styleIndex_.end()) return found->second;
    doc_.styles.push_back(s);
    styleIndex_.emplace(s, doc_.styles.size() - 1);
    return doc_.styles.size() - 1;
  }

  std::size_t CurrentStyle() const { return stack_.empty() ? 0 : stack_.back().style; }
  int CurrentLink() const { return stack_.empty() ? -1 : stack_.back().link; }

  // Index of the innermost open element among `match`, searching no
  // further out than the innermost one among `barrier`.
  std::size_t FindOpen(TagSet match, TagSet barrier) const {
    for (std::size_t i = stack_.size(); i-- > 0;) {
      if (match & Bit(stack_[i].tag)) return i;
      if (barrier & Bit(stack_[i].tag)) break;
    }
    return std::wstring::npos;
  }

  void PopTo(std::size_t index) {
    while (stack_.size() > index) Pop();
  }

  void Pop() {
    Open top = stack_.back();
    stack_.pop_back();
    if (top.tag == Tag::Pre) --preDepth_;
    if (top.block) PushBlockItem(ItemKind::BlockEnd, top.style, top.tag);
  }

  // Elements that end implicitly when a sibling starts, as browsers do.
  void CloseImplied(Tag tag, bool block) {
    const TagSet blockBarrier = Bit(Tag::Div) | Bit(Tag::Table) | Bit(Tag::Td) | Bit(Tag::Th) | Bit(Tag::Li) |
                                Bit(Tag::Ul) | Bit(Tag::Ol) | Bit(Tag::Blockquote) | Bit(Tag::Center) | Bit(Tag::Dd) |
                                Bit(Tag::Dt);
    std::size_t index = std::wstring::npos;
    switch (tag) {
      case Tag::Li: index = FindOpen(Bit(Tag::Li), Bit(Tag::Ul) | Bit(Tag::Ol) | Bit(Tag::Table)); break;
      case Tag::Tr: index = FindOpen(Bit(Tag::Tr), Bit(Tag::Table)); break;
      case Tag::Td:
      case Tag::Th: index = FindOpen(Bit(Tag::Td) | Bit(Tag::Th), Bit(Tag::Tr) | Bit(Tag::Table)); break;
      case Tag::Dt:
      case Tag::Dd: index = FindOpen(Bit(Tag::Dt) | Bit(Tag::Dd), Bit(Tag::Dl)); break;
      default:
        if (block) index = FindOpen(Bit(Tag::P), blockBarrier);
        break;
    }
    if (index != std::wstring::npos) PopTo(index);
  }

  void OpenTag(const TagInfo &info, const Attributes &attributes) {
    if (info.tag == Tag::Br) {
      PushLineBreak();
      return;
    }
    CloseImplied(info.tag, info.block);
    if (info.tag == Tag::Hr) {
      PushBlockItem(ItemKind::BlockStart, CurrentStyle(), info.tag);
      PushBlockItem(ItemKind::BlockEnd, CurrentStyle(), info.tag);
      return;
    }
    if (stack_.size() >= kMaxDepth) return;
    std::size_t style = InternStyle(ElementStyle(info.tag, attributes, doc_.styles[CurrentStyle()]));
    if ((info.tag == Tag::Td || info.tag == Tag::Th) && lineHasText_) PushSpace();
    int link = info.tag == Tag::A && FindAttribute(attributes, L"href") ? nextLink_++ : CurrentLink();
    stack_.push_back(Open{info.tag, style, info.block, link});
    if (info.block) PushBlockItem(ItemKind::BlockStart, style, info.tag);
    if (info.tag == Tag::Pre) {
      ++preDepth_;
      skipPreNewline_ = true;
    }
    if (info.tag == Tag::Li) {
      PushText(L"\x00B7", false);
      PushSpace();
    }
  }

  void Close(Tag tag) {
    if (tag == Tag::Br) {  // browsers treat </br> as <br>
      PushLineBreak();
      return;
    }
    std::size_t index = FindOpen(Bit(tag), 0);
    if (index != std::wstring::npos) PopTo(index);
  }

  // --- items -------------------------------------------------------------

  void PushBlockItem(ItemKind kind, std::size_t style, Tag tag) {
    Item item;
    item.kind = kind;
    item.style = style;
    const Style &s = doc_.styles[style];
    item.marginCentiPt = BlockMargin(tag, s);
    item.indentCentiPt = BlockIndent(tag, s);
    if (tag == Tag::Pre) {
      item.hasBackground = true;
      item.background = rgb(0xfb, 0xed, 0xbb);
    }
    doc_.items.push_back(std::move(item));
    lastWasSpace_ = true;
    lineHasText_ = false;
  }

  void PushLineBreak() {
    Item item;
    item.kind = ItemKind::LineBreak;
    item.style = CurrentStyle();
    doc_.items.push_back(std::move(item));
    lastWasSpace_ = true;
    lineHasText_ = false;
  }

  void PushText(const std::wstring &text, bool keepSpaces) {
    if (text.empty()) return;
    std::size_t style = CurrentStyle();
    if (!doc_.items.empty()) {
      Item &last = doc_.items.back();
      if (last.kind == ItemKind::Text && last.style == style && last.keepSpaces == keepSpaces &&
          last.link == CurrentLink()) {
        last.text += text;
        lastWasSpace_ = keepSpaces || text.back() == L' ';
        lineHasText_ = true;
        return;
      }
    }
    Item item;
    item.kind = ItemKind::Text;
    item.style = style;
    item.text = text;
    item.keepSpaces = keepSpaces;
    item.link = CurrentLink();
    doc_.items.push_back(std::move(item));
    lastWasSpace_ = keepSpaces || text.back() == L' ';
    lineHasText_ = true;
  }

  void PushSpace() {
    if (!lastWasSpace_) PushText(L" ", false);
  }

  // Spaces kept as written, tabs to the next multiple of eight columns.
  std::wstring ExpandTabs(const std::wstring &text) {
    std::wstring out;
    for (wchar_t c : text) {
      if (c == L'\t') {
        do {
          out += L' ';
          ++column_;
        } while (column_ % 8 != 0);
      } else {
        out += c == L'\f' ? L' ' : c;
        ++column_;
      }
    }
    return out;
  }

  static bool IsLineEnd(const std::wstring &text, std::size_t i) {
    return text[i] == L'\n' || (text[i] == L'\r' && (i + 1 >= text.size() || text[i + 1] != L'\n'));
  }

  void PushPreformatted(const std::wstring &text) {
    std::size_t start = 0;
    if (skipPreNewline_) {
      if (text.compare(0, 2, L"\r\n") == 0)
        start = 2;
      else if (!text.empty() && (text[0] == L'\n' || text[0] == L'\r'))
        start = 1;
    }
    std::size_t segment = start;
    for (std::size_t i = start; i < text.size(); ++i) {
      if (text[i] == L'\r' && !IsLineEnd(text, i)) {  // the CR of CR LF
        PushText(ExpandTabs(text.substr(segment, i - segment)), true);
        segment = i + 1;
      } else if (IsLineEnd(text, i)) {
        PushText(ExpandTabs(text.substr(segment, i - segment)), true);
        PushLineBreak();
        column_ = 0;
        segment = i + 1;
      }
    }
    PushText(ExpandTabs(text.substr(segment)), true);
  }

  // A run is the text between two tags. Outside pre its whitespace
  // collapses, except that line breaks between its first and last visible
  // characters stay line breaks and the indentation after them is kept:
  // the program's status texts are plain text with CR LF line ends.
  void FlushRun() {
    if (run_.empty()) return;
    std::wstring text = DecodeEntities(run_);
    run_.clear();
    if (preDepth_ > 0) {
      PushPreformatted(text);
      skipPreNewline_ = false;
      return;
    }
    skipPreNewline_ = false;
    std::size_t first = 0;
    while (first < text.size() && IsSpace(text[first])) ++first;
    if (first == text.size()) {
      PushSpace();
      return;
    }
    std::size_t last = text.size() - 1;
    while (IsSpace(text[last])) --last;
    if (first > 0) PushSpace();
    std::size_t i = first;
    while (i <= last) {
      std::size_t j = i;
      if (!IsSpace(text[i])) {
        while (j <= last && !IsSpace(text[j])) ++j;
        PushText(text.substr(i, j - i), false);
        i = j;
        continue;
      }
      std::size_t breaks = 0, indentStart = 0;
      for (; j <= last && IsSpace(text[j]); ++j) {
        if (IsLineEnd(text, j)) {
          ++breaks;
          indentStart = j + 1;
        }
      }
      if (breaks == 0) {
        PushSpace();
      } else {
        for (std::size_t k = 0; k < breaks; ++k) PushLineBreak();
        column_ = 0;
        std::wstring indent;
        for (std::size_t k = indentStart; k < j; ++k)
          if (text[k] != L'\r') indent += text[k];
        PushText(ExpandTabs(indent), true);
      }
      i = j;
    }
    if (last + 1 < text.size()) PushSpace();
  }

  // Entity references decoded; control characters other than whitespace dropped.
  static std::wstring DecodeEntities(const std::wstring &raw) {
    std::wstring out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size();) {
      std::size_t length = 0;
      if (raw[i] == L'&' && DecodeEntity(raw, i, out, length)) {
        i += length;
        continue;
      }
      wchar_t c = raw[i++];
      if (c < 0x20 && !IsSpace(c)) continue;
      out += c;
    }
    return out;
  }

  const std::wstring &src_;
  const std::size_t lastGreater_;
  Document doc_;
  std::map<Style, std::size_t, StyleLess> styleIndex_;
  std::vector<Open> stack_;
  std::wstring run_;
  int preDepth_ = 0;
  bool skipPreNewline_ = false;
  bool lastWasSpace_ = true;  // the document starts at the start of a line
  bool lineHasText_ = false;
  std::size_t column_ = 0;
  int nextLink_ = 0;
};

}  // namespace

Document Parse(const std::wstring &source) { return Parser(source).Run(); }

}  // namespace html
