// Parsing of the small HTML subset shown by the summary box. Pure code: no
// window handles, no GDI; the result is a flat list of items that the layout
// turns into lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace html {

// Windows colour value, 0x00BBGGRR.
using Colour = std::uint32_t;

constexpr Colour rgb(unsigned r, unsigned g, unsigned b) { return static_cast<Colour>(r | (g << 8) | (b << 16)); }

// Resolved character style. Sizes are in hundredths of a point so that the
// percentage rules (65%, 75%, 125%) stay exact enough.
struct Style {
  int sizeCentiPt = 900;
  Colour colour = rgb(0, 0, 0);
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  // Baseline shift for sup (positive, up) and sub (negative), in 1/100 pt.
  int raiseCentiPt = 0;
  std::wstring face = L"\x5B8B\x4F53";  // 宋体
};

enum class ItemKind {
  Text,        // text drawn in `style`
  LineBreak,   // forced line break; an empty line takes the height of `style`
  BlockStart,  // a block begins on a new line
  BlockEnd,
};

struct Item {
  ItemKind kind = ItemKind::Text;
  std::size_t style = 0;  // index into Document::styles
  std::wstring text;      // Text only
  // Text only: spaces are kept as written (pre, indentation after a line
  // break). Otherwise spaces collapse and vanish at the start of a line.
  bool keepSpaces = false;
  // Text only: which <a href> the text belongs to (numbered from 0 in
  // document order), -1 outside links. Hovering underlines a whole link.
  int link = -1;
  // Blocks: vertical margin above and below, extra left indent, and the
  // background drawn behind the block (hasBackground).
  int marginCentiPt = 0;
  int indentCentiPt = 0;
  bool hasBackground = false;
  Colour background = 0;
};

struct Document {
  std::vector<Style> styles;  // styles[0] is the body style
  std::vector<Item> items;
};

// Parses already decoded text (UTF-16). Never fails: unknown tags are
// dropped (their text stays), stray '<' shows as text, unclosed elements end
// with the document.
Document Parse(const std::wstring &source);

}  // namespace html
