#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "htmlview/html_layout.h"
#include "htmlview/html_parse.h"
#include "htmlview/html_view.h"

namespace {

// --- parser ----------------------------------------------------------------

// The document as text: text items as written, line breaks as "\n",
// blocks in brackets.
std::wstring Flatten(const html::Document &doc) {
  std::wstring out;
  for (const auto &item : doc.items) {
    switch (item.kind) {
      case html::ItemKind::Text: out += item.text; break;
      case html::ItemKind::LineBreak: out += L'\n'; break;
      case html::ItemKind::BlockStart: out += L'['; break;
      case html::ItemKind::BlockEnd: out += L']'; break;
    }
  }
  return out;
}

struct FlattenCase {
  const wchar_t *name;
  const wchar_t *source;
  const wchar_t *expected;
};

class ParseFlatten : public ::testing::TestWithParam<FlattenCase> {};

TEST_P(ParseFlatten, GivesExpectedItems) {
  EXPECT_EQ(Flatten(html::Parse(GetParam().source)), GetParam().expected) << GetParam().name;
}

const FlattenCase kEntityCases[] = {
    {L"amp", L"a &amp; b", L"a & b"},
    {L"lt gt", L"&lt;b&gt;", L"<b>"},
    {L"quot apos", L"&quot;x&quot;&apos;", L"\"x\"'"},
    {L"nbsp stays a no-break space", L"a&nbsp;b",
     L"a\x00A0"
     L"b"},
    {L"copy", L"&copy;2013",
     L"\x00A9"
     L"2013"},
    {L"decimal and hex", L"&#65;&#x42;&#X43;", L"ABC"},
    {L"decimal CJK", L"&#38050;", L"钢"},
    {L"beyond the BMP", L"&#x1F600;", L"\xD83D\xDE00"},
    {L"numeric without semicolon", L"&#65 x", L"A x"},
    {L"zero", L"&#0;", L"�"},
    {L"overflowing number", L"&#99999999999999999999;", L"�"},
    {L"surrogate code point", L"&#xD800;", L"�"},
    {L"unknown name kept", L"&bogus;", L"&bogus;"},
    {L"bare ampersand", L"AT&T & co", L"AT&T & co"},
    {L"name without semicolon kept", L"&amp x", L"&amp x"},
    {L"no digits", L"&#;&#x;", L"&#;&#x;"},
};
INSTANTIATE_TEST_SUITE_P(Entities, ParseFlatten, ::testing::ValuesIn(kEntityCases));

const FlattenCase kWhitespaceCases[] = {
    {L"spaces collapse", L"a   \t b", L"a b"},
    {L"leading dropped", L"   a", L"a"},
    {L"summary lines stay lines with their indentation",
     L"2013年"
     L"3月\r\n搜索\r\n          预计",
     L"2013年"
     L"3月\n搜索\n          预计"},
    {L"blank line kept", L"a\r\n\r\nb", L"a\n\nb"},
    {L"lone CR is a line end", L"a\rb", L"a\nb"},
    {L"whitespace between tags collapses", L"<b>x</b>\r\n   <i>y</i>", L"x y"},
    {L"line break at run edge collapses", L"<p>\r\n  text\r\n</p>", L"[text ]"},
    {L"pre keeps spaces and breaks", L"<pre>\r\n  a  b\r\n c</pre>", L"[  a  b\n c]"},
    {L"pre expands tabs", L"<pre>a\tb</pre>", L"[a       b]"},
    {L"control characters dropped",
     L"a\x01\x02"
     L"b",
     L"ab"},
};
INSTANTIATE_TEST_SUITE_P(Whitespace, ParseFlatten, ::testing::ValuesIn(kWhitespaceCases));

const FlattenCase kTagCases[] = {
    {L"unknown tags dropped, text kept", L"<blink>a</blink><x:y z=1>b</x:y>", L"ab"},
    {L"script hidden", L"<script>x<b>y</b></script>z", L"z"},
    {L"style hidden", L"<STYLE type=text/css>p{}</STYLE>t", L"t"},
    {L"title hidden", L"<title>t</title>body", L"body"},
    {L"comment hidden", L"a<!-- c <b> -->b", L"ab"},
    {L"doctype hidden", L"<!DOCTYPE html>a", L"a"},
    {L"br", L"a<br>b<BR/>c</br>d", L"a\nb\nc\nd"},
    {L"blocks", L"<div>a</div><p>b</p>", L"[a][b]"},
    {L"paragraphs close each other", L"<p>a<p>b", L"[a][b]"},
    {L"block closes open paragraph", L"<p>a<div>b</div>", L"[a][b]"},
    {L"table cells separated", L"<table><tr><td>a</td><td>b</td></tr><tr><th>c<th>d</table>", L"[[a b][c d]]"},
    {L"list items", L"<ul><li>x<li>y</ul>", L"[[\x00B7 x][\x00B7 y]]"},
    {L"stray end tag", L"</b></p>x", L"x"},
    {L"end tag closes inner elements", L"<div><b><i>a</div>b", L"[a]b"},
    {L"hr is a block", L"a<hr>b", L"a[]b"},
    {L"attributes with '>' in quotes", L"<a href=\"x>y\" title = 'p>q'>t</a>", L"t"},
};
INSTANTIATE_TEST_SUITE_P(Tags, ParseFlatten, ::testing::ValuesIn(kTagCases));

const FlattenCase kMalformedCases[] = {
    {L"lone <", L"<", L"<"},
    {L"stray < in text", L"a < b <3 c<", L"a < b <3 c<"},
    {L"unterminated tag is text", L"x<b class=", L"x<b class="},
    {L"unterminated quote falls back to first >", L"<a href=\"x>t", L"t"},
    {L"unclosed comment hides the rest", L"a<!-- b", L"a"},
    {L"unclosed script hides the rest", L"a<script>b", L"a"},
    {L"unclosed elements end with the document", L"<pre>a<b>b", L"[ab]"},
    {L"end tag without name", L"a</>b</ x>", L"a</>b</ x>"},
};
INSTANTIATE_TEST_SUITE_P(Malformed, ParseFlatten, ::testing::ValuesIn(kMalformedCases));

// The style of the first text item holding `text`.
const html::Style *StyleOf(const html::Document &doc, const std::wstring &text) {
  for (const auto &item : doc.items)
    if (item.kind == html::ItemKind::Text && item.text.find(text) != std::wstring::npos) return &doc.styles[item.style];
  return nullptr;
}

struct StyleCase {
  const wchar_t *source;  // the checked text is always "T"
  int size;
  html::Colour colour;
  bool bold;
  bool italic;
  int raiseSign;
  const wchar_t *face;
};

const html::Colour kBlack = html::rgb(0, 0, 0);
const html::Colour kOrange = html::rgb(0xff, 0x99, 0x00);
const wchar_t kSimSun[] = L"宋体";

const StyleCase kStyleCases[] = {
    {L"T", 900, kBlack, false, false, 0, kSimSun},
    {L"<h1>T</h1>", 1400, kBlack, true, false, 0, kSimSun},
    {L"<h2>T</h2>", 1300, kOrange, true, false, 0, kSimSun},
    {L"<h3>T</h3>", 1200, kOrange, true, false, 0, kSimSun},
    {L"<h4>T</h4>", 1000, kBlack, true, false, 0, kSimSun},
    {L"<h5>T</h5>", 900, kOrange, true, false, 0, kSimSun},
    {L"<h6>T</h6>", 585, html::rgb(0x62, 0x62, 0x62), false, false, 0, kSimSun},
    {L"<b><h6>T</h6></b>", 585, html::rgb(0x62, 0x62, 0x62), false, false, 0, kSimSun},
    {L"<pre>T</pre>", 900, kBlack, false, false, 0, kSimSun},
    {L"<code>T</code>", 900, html::rgb(0x99, 0, 0), false, false, 0, kSimSun},
    {L"<a href=\"magnet:?xt=1\">T</a>", 900, html::rgb(0, 0, 255), false, false, 0, kSimSun},
    {L"<a name=x>T</a>", 900, kBlack, false, false, 0, kSimSun},
    {L"<sub>T</sub>", 585, kBlack, false, false, -1, kSimSun},
    {L"<sup>T</sup>", 585, kBlack, false, false, 1, kSimSun},
    {L"<big>T</big>", 1125, kBlack, false, false, 0, kSimSun},
    {L"<small>T</small>", 675, kBlack, false, false, 0, kSimSun},
    {L"<big><big>T</big></big>", 1406, kBlack, false, false, 0, kSimSun},
    {L"<span class=\"comment\">T</span>", 900, html::rgb(0, 128, 0), false, false, 0, kSimSun},
    {L"<div class='x COMMENT'>T</div>", 900, html::rgb(0, 128, 0), false, false, 0, kSimSun},
    {L"<b>T</b>", 900, kBlack, true, false, 0, kSimSun},
    {L"<strong>T</strong>", 900, kBlack, true, false, 0, kSimSun},
    {L"<i>T</i>", 900, kBlack, false, true, 0, kSimSun},
    {L"<em>T</em>", 900, kBlack, false, true, 0, kSimSun},
    {L"<b>x</b>T", 900, kBlack, false, false, 0, kSimSun},
    {L"<font color=#ff0000>T</font>", 900, html::rgb(255, 0, 0), false, false, 0, kSimSun},
    {L"<font color=\"0000ff\">T</font>", 900, html::rgb(0, 0, 255), false, false, 0, kSimSun},
    {L"<font color=#f80>T</font>", 900, html::rgb(0xff, 0x88, 0), false, false, 0, kSimSun},
    {L"<font color=Green>T</font>", 900, html::rgb(0, 128, 0), false, false, 0, kSimSun},
    {L"<font color=nonsense>T</font>", 900, kBlack, false, false, 0, kSimSun},
    {L"<font size=5>T</font>", 1350, kBlack, false, false, 0, kSimSun},
    {L"<font size=+1>T</font>", 1080, kBlack, false, false, 0, kSimSun},
    {L"<font size=-9>T</font>", 540, kBlack, false, false, 0, kSimSun},
    {L"<font face=\"Arial, Verdana\">T</font>", 900, kBlack, false, false, 0, L"Arial"},
    {L"<font color=red><p>T</p></font>", 900, kBlack, false, false, 0, kSimSun},
    {L"<td>T</td>", 900, kBlack, false, false, 0, kSimSun},
    {L"<th>T</th>", 900, kBlack, true, false, 0, kSimSun},
};

class ParseStyle : public ::testing::TestWithParam<StyleCase> {};

TEST_P(ParseStyle, FollowsTheStyleSheet) {
  const StyleCase &c = GetParam();
  html::Document doc = html::Parse(c.source);
  const html::Style *s = StyleOf(doc, L"T");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->sizeCentiPt, c.size);
  EXPECT_EQ(s->colour, c.colour);
  EXPECT_EQ(s->bold, c.bold);
  EXPECT_EQ(s->italic, c.italic);
  EXPECT_EQ((s->raiseCentiPt > 0) - (s->raiseCentiPt < 0), c.raiseSign);
  EXPECT_EQ(s->face, c.face);
}

INSTANTIATE_TEST_SUITE_P(StyleSheet, ParseStyle, ::testing::ValuesIn(kStyleCases));

TEST(Parse, PreBlockCarriesItsBackground) {
  html::Document doc = html::Parse(L"<div>a</div><pre>b</pre>");
  std::vector<html::Colour> backgrounds;
  for (const auto &item : doc.items)
    if (item.kind == html::ItemKind::BlockStart && item.hasBackground) backgrounds.push_back(item.background);
  EXPECT_EQ(backgrounds, std::vector<html::Colour>{html::rgb(0xfb, 0xed, 0xbb)});
}

TEST(Parse, BulkOfUnterminatedTagsIsText) {
  std::wstring source;
  for (int i = 0; i < 500000; ++i) source += L"<b";
  EXPECT_EQ(Flatten(html::Parse(source)), source);
}

TEST(Parse, TextOfOneLinkSharesItsNumber) {
  html::Document doc = html::Parse(L"a<a href=x>b<b>c</b></a>d<a name=n>e</a><a href=y>f</a>");
  std::wstring links;
  for (const auto &item : doc.items)
    for (wchar_t c : item.text) links += c == L' ' ? L' ' : static_cast<wchar_t>(L'0' + item.link + 1);
  EXPECT_EQ(Flatten(doc), L"abcdef");
  EXPECT_EQ(links, L"011002");  // -1 outside links shows as 0
}

TEST(Parse, DeepNestingIsBounded) {
  std::wstring source;
  for (int i = 0; i < 100000; ++i) source += L"<ul><big><font color=red>";
  source += L"x";
  html::Document doc = html::Parse(source);
  ASSERT_NE(StyleOf(doc, L"x"), nullptr);
  EXPECT_LT(doc.items.size(), 1000u);
  EXPECT_LE(StyleOf(doc, L"x")->sizeCentiPt, 20000);
}

// --- layout ----------------------------------------------------------------

// Latin 6 px, wide characters 12 px, both at 9 pt and scaled with the size.
class FakeMeasurer : public html::Measurer {
 public:
  html::FontMetrics Metrics(const html::Style &style) override {
    return html::FontMetrics{10 * style.sizeCentiPt / 900, 2 * style.sizeCentiPt / 900};
  }
  void Advances(const html::Style &style, const wchar_t *text, std::size_t count, int *advances) override {
    for (std::size_t i = 0; i < count; ++i) advances[i] = (text[i] >= 0x2E80 ? 12 : 6) * style.sizeCentiPt / 900;
  }
};

html::Layout LayOutAt(const html::Document &doc, int width) {
  FakeMeasurer measurer;
  html::LayoutOptions options;
  options.width = width;
  options.padding = 0;
  return html::LayOut(doc, measurer, options);
}

std::vector<std::wstring> LineTexts(const html::Document &doc, const html::Layout &layout) {
  std::vector<std::wstring> lines;
  for (const auto &line : layout.lines) {
    std::wstring text;
    for (std::size_t i = 0; i < line.fragmentCount; ++i) {
      const html::Fragment &f = layout.fragments[line.firstFragment + i];
      text += doc.items[f.item].text.substr(f.begin, f.end - f.begin);
    }
    lines.push_back(text);
  }
  return lines;
}

struct WrapCase {
  const wchar_t *name;
  const wchar_t *source;
  int width;
  std::vector<std::wstring> lines;
};

class LayoutWrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(LayoutWrap, BreaksLinesWhereAllowed) {
  const WrapCase &c = GetParam();
  html::Document doc = html::Parse(c.source);
  EXPECT_EQ(LineTexts(doc, LayOutAt(doc, c.width)), c.lines) << c.name;
}

const WrapCase kWrapCases[] = {
    {L"words wrap at spaces", L"aaa bbb ccc", 42, {L"aaa bbb", L"ccc"}},
    {L"one pixel short", L"aaa bbb", 41, {L"aaa", L"bbb"}},
    {L"long word breaks anywhere", L"abcdefghij", 24, {L"abcd", L"efgh", L"ij"}},
    {L"long word after a short one", L"ab cdefghij", 24, {L"ab", L"cdef", L"ghij"}},
    {L"chinese wraps between characters", L"一二三四五", 36, {L"一二三", L"四五"}},
    {L"comma never starts a line", L"一二三，四", 36, {L"一二", L"三，四"}},
    {L"mixed latin and chinese",
     L"ab中文"
     L"cd",
     24,
     {L"ab中",
      L"文"
      L"cd"}},
    {L"no break inside a word across tags", L"xxxx foo<b>bar</b>", 48, {L"xxxx", L"foobar"}},
    {L"no-break space does not break",
     L"aaa&nbsp;bbb",
     36,
     {L"aaa\x00A0"
      L"bb",
      L"b"}},
    {L"breaks and an empty line", L"a<br><br>b", 100, {L"a", L"", L"b"}},
    {L"summary keeps its indentation", L"a\r\n  b", 100, {L"a", L"  b"}},
    {L"pre keeps leading spaces", L"<pre>  a\n b</pre>", 100, {L"  a", L" b"}},
    {L"space dropped at the wrap", L"aa bb", 12, {L"aa", L"bb"}},
    {L"table row on one line", L"<table><tr><td>a<td>b</table>", 100, {L"a b"}},
};

INSTANTIATE_TEST_SUITE_P(Wrap, LayoutWrap, ::testing::ValuesIn(kWrapCases));

TEST(Layout, PreBackgroundCoversItsLinesOnly) {
  html::Document doc = html::Parse(L"x<pre>a\nb</pre>y");
  html::Layout layout = LayOutAt(doc, 200);
  ASSERT_EQ(LineTexts(doc, layout), (std::vector<std::wstring>{L"x", L"a", L"b", L"y"}));
  ASSERT_EQ(layout.backgrounds.size(), 1u);
  const html::Background &bg = layout.backgrounds[0];
  EXPECT_EQ(bg.colour, html::rgb(0xfb, 0xed, 0xbb));
  EXPECT_GE(bg.top, layout.lines[0].top + layout.lines[0].height);
  EXPECT_LE(bg.top, layout.lines[1].top);
  EXPECT_GE(bg.bottom, layout.lines[2].top + layout.lines[2].height);
  EXPECT_LE(bg.bottom, layout.lines[3].top);
  EXPECT_LT(bg.left, layout.fragments[layout.lines[1].firstFragment].x);
}

TEST(Layout, LinesStackWithoutOverlap) {
  html::Document doc = html::Parse(L"<h1>big</h1>small<sup>up</sup><br><sub>down</sub><p>p</p>end");
  html::Layout layout = LayOutAt(doc, 300);
  ASSERT_GE(layout.lines.size(), 4u);
  for (std::size_t i = 1; i < layout.lines.size(); ++i)
    EXPECT_GE(layout.lines[i].top, layout.lines[i - 1].top + layout.lines[i - 1].height);
  EXPECT_GT(layout.lines[0].height, layout.lines.back().height);
  EXPECT_GE(layout.height, layout.lines.back().top + layout.lines.back().height);
  // On the line of "small" and "up", "up" sits above the baseline.
  const html::Line &line = layout.lines[1];
  ASSERT_EQ(line.fragmentCount, 2u);
  EXPECT_LT(layout.fragments[line.firstFragment + 1].baseline, layout.fragments[line.firstFragment].baseline);
}

TEST(Layout, ListsAreIndented) {
  html::Document doc = html::Parse(L"a<ul><li>b</ul>");
  html::Layout layout = LayOutAt(doc, 300);
  ASSERT_EQ(layout.lines.size(), 2u);
  EXPECT_GT(layout.fragments[layout.lines[1].firstFragment].x, layout.fragments[layout.lines[0].firstFragment].x);
}

TEST(Layout, HugeTextIsLinear) {
  html::Document doc = html::Parse(std::wstring(200000, L'a'));
  html::Layout layout = LayOutAt(doc, 600);
  EXPECT_EQ(layout.lines.size(), 2000u);
}

TEST(Layout, DeepNestingStaysInsideTheBox) {
  std::wstring source;
  for (int i = 0; i < 1000; ++i) source += L"<ul><pre>";
  source += L"text text text";
  html::Document doc = html::Parse(source);
  html::Layout layout = LayOutAt(doc, 200);
  ASSERT_FALSE(layout.fragments.empty());
  for (const auto &f : layout.fragments) EXPECT_LT(f.x, 200);
}

// --- the window ------------------------------------------------------------

std::uint32_t Pixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// A 32-bit top-down DIB section the box renders into via WM_PRINTCLIENT.
struct Rendering {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool RowHas(int y, std::uint32_t colour) const {
    for (int x = 0; x < width; ++x)
      if (at(x, y) == colour) return true;
    return false;
  }
  bool RowIsOnly(int y, std::uint32_t colour) const {
    for (int x = 0; x < width; ++x)
      if (at(x, y) != colour) return false;
    return true;
  }
  bool Has(std::uint32_t colour) const { return std::find(pixels.begin(), pixels.end(), colour) != pixels.end(); }
  // Rows holding anything but `background`.
  std::vector<bool> InkRows(std::uint32_t background) const {
    std::vector<bool> rows(height);
    for (int y = 0; y < height; ++y) rows[y] = !RowIsOnly(y, background);
    return rows;
  }
};

// Draws into a DIB section pre-filled with `fill`, through `message`.
Rendering RenderWith(HWND window, UINT message, std::uint32_t fill) {
  RECT rc{};
  GetClientRect(window, &rc);
  Rendering r;
  r.width = rc.right;
  r.height = rc.bottom;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = r.width;
  bi.bmiHeader.biHeight = -r.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  auto *p = static_cast<std::uint32_t *>(bits);
  std::fill(p, p + static_cast<std::size_t>(r.width) * r.height, fill);
  SendMessageA(window, message, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  GdiFlush();
  r.pixels.assign(p, p + static_cast<std::size_t>(r.width) * r.height);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return r;
}

Rendering Render(HWND window) { return RenderWith(window, WM_PRINTCLIENT, 0x00FF00FF); }

// Bands of consecutive rows with ink.
int CountBands(const std::vector<bool> &rows) {
  int bands = 0;
  for (std::size_t y = 0; y < rows.size(); ++y)
    if (rows[y] && (y == 0 || !rows[y - 1])) ++bands;
  return bands;
}

class HtmlViewWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterHtmlViewClass(instance));
    ASSERT_TRUE(RegisterHtmlViewClass(instance));  // a second call is harmless
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(parent_, nullptr);
    box_ = CreateWindowExA(0, kHtmlViewClassName, "开始搜索", WS_CHILD | WS_VISIBLE, 4, 288 - 200, 592, 158, parent_,
                           nullptr, instance, nullptr);
    ASSERT_NE(box_, nullptr);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
  }

  void SetText(const std::string &bytes) {
    ASSERT_TRUE(SendMessageA(box_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(bytes.c_str())));
  }
  std::string GetText() {
    LRESULT length = SendMessageA(box_, WM_GETTEXTLENGTH, 0, 0);
    std::string buffer(static_cast<std::size_t>(length) + 1, '\x7f');
    LRESULT copied = SendMessageA(box_, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]));
    EXPECT_EQ(copied, length);
    EXPECT_EQ(buffer.back(), '\0');
    buffer.resize(static_cast<std::size_t>(copied));
    return buffer;
  }
  bool HasScrollBar() const { return (GetWindowLongPtrA(box_, GWL_STYLE) & WS_VSCROLL) != 0; }
  SCROLLINFO ScrollInfo() const {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(box_, SB_VERT, &si);
    return si;
  }

  const std::uint32_t background_ = Pixel(GetSysColor(COLOR_BTNFACE));
  HWND parent_ = nullptr;
  HWND box_ = nullptr;
};

TEST_F(HtmlViewWindow, StartsWithTheCreationText) {
  EXPECT_EQ(GetText(), "开始搜索");
  char buffer[64] = {};
  EXPECT_EQ(GetWindowTextA(box_, buffer, sizeof buffer), 8);
  EXPECT_STREQ(buffer, "开始搜索");
}

TEST_F(HtmlViewWindow, TextRoundTripsByteForByte) {
  const std::string cases[] = {
      "钢铁侠3",
      "",
      "\x81\x20\xff\xff\x80 not GBK",  // lead bytes without valid trail bytes
      "trailing lead byte \xb8",
      "<b>markup &amp; entities</b> stay as written\r\n",
      std::string(100000, '\xb8') + "x",
  };
  for (const std::string &bytes : cases) {
    SetText(bytes);
    EXPECT_EQ(GetText(), bytes) << bytes.substr(0, 40);
  }
}

TEST_F(HtmlViewWindow, GetTextTruncatesToTheBuffer) {
  SetText("abcdef");
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(SendMessageA(box_, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(SendMessageA(box_, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
}

TEST_F(HtmlViewWindow, BackgroundIsButtonFaceAroundTheText) {
  Rendering r = Render(box_);
  ASSERT_EQ(r.width, 592);
  ASSERT_EQ(r.height, 158);
  std::vector<bool> ink = r.InkRows(background_);
  EXPECT_EQ(CountBands(ink), 1);
  EXPECT_TRUE(r.RowHas(10, Pixel(RGB(0, 0, 0))));  // the text, in black
  EXPECT_FALSE(r.Has(0x00FF00FF));                 // every pixel painted
  for (int y = 30; y < r.height; ++y) ASSERT_TRUE(r.RowIsOnly(y, background_)) << y;
  for (int y = 0; y < r.height; ++y) ASSERT_EQ(r.at(r.width - 1, y), background_) << y;
}

struct ColourCase {
  const char *content;
  COLORREF colour;
};

TEST_F(HtmlViewWindow, DrawsStyleColours) {
  const ColourCase cases[] = {
      {"plain", RGB(0, 0, 0)},
      {"<code>code</code>", RGB(0x99, 0, 0)},
      {"<a href=\"magnet:?x\">link</a>", RGB(0, 0, 255)},
      {"<span class=comment>comment</span>", RGB(0, 128, 0)},
      {"<h2>heading</h2>", RGB(0xff, 0x99, 0)},
      {"<font color=#ff0000>红色</font>", RGB(255, 0, 0)},
      {"<pre>pre</pre>", RGB(0xfb, 0xed, 0xbb)},
  };
  for (const ColourCase &c : cases) {
    SetText(c.content);
    EXPECT_TRUE(Render(box_).Has(Pixel(c.colour))) << c.content;
  }
}

TEST_F(HtmlViewWindow, FontSizeAndWeightShowInTheGlyphs) {
  struct Measure {
    int inkHeight;
    int inkPixels;
  };
  auto measure = [&](const char *content) {
    SetText(content);
    Rendering r = Render(box_);
    std::vector<bool> rows = r.InkRows(background_);
    Measure m{static_cast<int>(std::count(rows.begin(), rows.end(), true)), 0};
    for (std::uint32_t p : r.pixels) m.inkPixels += p != background_;
    return m;
  };
  Measure body = measure("开始搜索");
  Measure h1 = measure("<h1>开始搜索</h1>");
  Measure small = measure("<small>开始搜索</small>");
  Measure bold = measure("<b>开始搜索</b>");
  EXPECT_GE(body.inkHeight, 9);  // 9 pt is 12 pixels at 96 dpi
  EXPECT_LE(body.inkHeight, 13);
  EXPECT_GT(h1.inkHeight, body.inkHeight + 4);
  EXPECT_LT(small.inkHeight, body.inkHeight);
  EXPECT_GT(bold.inkPixels, body.inkPixels);
}

TEST_F(HtmlViewWindow, HoveredLinkIsUnderlined) {
  SetText("<a href=\"magnet:?x\">链接</a> 正文");
  const std::uint32_t blue = Pixel(RGB(0, 0, 255));
  auto bluePixels = [&] {
    Rendering r = Render(box_);
    return std::count(r.pixels.begin(), r.pixels.end(), blue);
  };
  auto plain = bluePixels();
  ASSERT_GT(plain, 0);
  SendMessageA(box_, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_GT(bluePixels(), plain);
  SendMessageA(box_, WM_MOUSEMOVE, 0, MAKELPARAM(300, 100));
  EXPECT_EQ(bluePixels(), plain);
  SendMessageA(box_, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  SendMessageA(box_, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(bluePixels(), plain);
}

TEST_F(HtmlViewWindow, PreBackgroundLiesBehindThePreBlock) {
  SetText("above<pre>in pre\r\nsecond</pre>below");
  Rendering r = Render(box_);
  const std::uint32_t pre = Pixel(RGB(0xfb, 0xed, 0xbb));
  std::vector<bool> preRows(r.height);
  for (int y = 0; y < r.height; ++y) preRows[y] = r.RowHas(y, pre);
  EXPECT_EQ(CountBands(preRows), 1);
  // Three lines of text; the middle two ("in pre", "second") on the pre colour.
  int first = static_cast<int>(std::find(preRows.begin(), preRows.end(), true) - preRows.begin());
  int last = static_cast<int>(preRows.rend() - std::find(preRows.rbegin(), preRows.rend(), true)) - 1;
  EXPECT_GT(last - first, 24);
  EXPECT_FALSE(r.RowHas(first - 1, pre));
  for (int y = first; y <= last; ++y) EXPECT_EQ(r.at(r.width / 2, y), pre) << y;  // text ends before mid-box
  std::vector<bool> ink = r.InkRows(background_);
  EXPECT_TRUE(std::find(ink.begin(), ink.begin() + first, true) != ink.begin() + first);  // "above"
  EXPECT_TRUE(std::find(ink.begin() + last + 1, ink.end(), true) != ink.end());           // "below"
}

TEST_F(HtmlViewWindow, SummaryLineBreaksGiveSeparateLines) {
  SetText("2013年3月5日9时\r\n搜索完成：本页共有资源20个\r\n          预计共有资源：2400个");
  Rendering r = Render(box_);
  EXPECT_EQ(CountBands(r.InkRows(background_)), 3);
  // The indented third line starts to the right of the second.
  auto firstInkColumn = [&](int fromY, int toY) {
    for (int x = 0; x < r.width; ++x)
      for (int y = fromY; y < toY; ++y)
        if (r.at(x, y) != background_) return x;
    return r.width;
  };
  std::vector<bool> ink = r.InkRows(background_);
  std::vector<int> starts;
  for (int y = 0; y < r.height; ++y)
    if (ink[y] && (y == 0 || !ink[y - 1])) starts.push_back(y);
  ASSERT_EQ(starts.size(), 3u);
  EXPECT_GT(firstInkColumn(starts[2], starts[2] + 10), firstInkColumn(starts[1], starts[1] + 10) + 30);
}

TEST_F(HtmlViewWindow, ScrollBarOnlyForTallContent) {
  EXPECT_FALSE(HasScrollBar());
  std::string tall;
  for (int i = 0; i < 60; ++i) tall += "line " + std::to_string(i) + "<br>";
  SetText(tall);
  ASSERT_TRUE(HasScrollBar());
  SCROLLINFO si = ScrollInfo();
  RECT rc{};
  GetClientRect(box_, &rc);
  EXPECT_EQ(si.nMin, 0);
  EXPECT_EQ(static_cast<int>(si.nPage), rc.bottom);
  EXPECT_GT(si.nMax + 1, 60 * 12);
  EXPECT_EQ(si.nPos, 0);
  SetText("short again");
  EXPECT_FALSE(HasScrollBar());
}

TEST_F(HtmlViewWindow, ScrollingShiftsTheRendering) {
  std::string tall;
  for (int i = 0; i < 60; ++i) tall += "line " + std::to_string(i) + (i % 3 ? "<br>" : "<br><br>");
  SetText(tall);
  ASSERT_TRUE(HasScrollBar());
  std::vector<bool> before = Render(box_).InkRows(background_);

  struct Step {
    UINT message;
    WPARAM wParam;
  };
  const Step steps[] = {
      {WM_VSCROLL, SB_LINEDOWN},
      {WM_VSCROLL, SB_PAGEDOWN},
      {WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))},
  };
  for (const Step &step : steps) {
    SendMessageA(box_, WM_VSCROLL, SB_TOP, 0);
    SendMessageA(box_, step.message, step.wParam, 0);
    int pos = ScrollInfo().nPos;
    ASSERT_GT(pos, 0) << step.message << " " << step.wParam;
    std::vector<bool> after = Render(box_).InkRows(background_);
    for (int y = 0; y + pos < static_cast<int>(before.size()); ++y)
      ASSERT_EQ(after[y], before[y + pos]) << "row " << y << " after scrolling to " << pos;
  }

  SendMessageA(box_, WM_VSCROLL, SB_BOTTOM, 0);
  SCROLLINFO si = ScrollInfo();
  EXPECT_EQ(si.nPos, si.nMax + 1 - static_cast<int>(si.nPage));
  SendMessageA(box_, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(ScrollInfo().nPos, si.nPos);  // stays at the end
  SetText(tall);
  EXPECT_EQ(ScrollInfo().nPos, 0);  // new content starts at the top
}

TEST_F(HtmlViewWindow, NarrowingRelaysOut) {
  SetText("一段不算很长的中文文字，在宽的框里一行就放得下，窄了就要换很多行才行。");
  EXPECT_FALSE(HasScrollBar());
  SetWindowPos(box_, nullptr, 0, 0, 40, 158, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(HasScrollBar());
  SetWindowPos(box_, nullptr, 0, 0, 592, 158, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_FALSE(HasScrollBar());
}

TEST_F(HtmlViewWindow, PaintIgnoresTheDcInWParam) {
  Rendering r = RenderWith(box_, WM_PAINT, 0x00FF00FF);
  EXPECT_TRUE(std::all_of(r.pixels.begin(), r.pixels.end(), [](std::uint32_t p) { return p == 0x00FF00FF; }));
  r = RenderWith(box_, WM_ERASEBKGND, 0x00FF00FF);
  EXPECT_TRUE(std::all_of(r.pixels.begin(), r.pixels.end(), [](std::uint32_t p) { return p == 0x00FF00FF; }));
  EXPECT_EQ(SendMessageA(box_, WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(HtmlViewWindow, MalformedContentSurvives) {
  std::string deep;
  for (int i = 0; i < 50000; ++i) deep += "<div><b><pre>";
  std::string huge;
  for (int i = 0; i < 100000; ++i) huge += "钢铁侠3 Iron Man <i>x</i> &amp; ";
  const std::string cases[] = {
      "<",
      "<<<>>>",
      "<b",
      "a < b",
      "&",
      "&#",
      "&#x",
      "&#99999999999;",
      "<!--",
      "<script>",
      "<pre>",
      "</pre></p></b>",
      "<a href=\"unterminated>text",
      "<font size=999999999 color=#zzzzzz face=>x",
      "<sup><sup><sup><sup><sup><sup><sup><sup>deep",
      deep,
      huge,
      std::string(2000000, 'a'),
      "\x81<\xfe>\x80&\xff;",
  };
  for (const std::string &content : cases) {
    SetText(content);
    EXPECT_EQ(static_cast<std::size_t>(SendMessageA(box_, WM_GETTEXTLENGTH, 0, 0)), content.size());
    Rendering r = Render(box_);
    EXPECT_FALSE(r.Has(0x00FF00FF)) << content.substr(0, 40);
  }
  SetText("a < b");
  EXPECT_GT(CountBands(Render(box_).InkRows(background_)), 0);  // the stray '<' line shows
}

}  // namespace
