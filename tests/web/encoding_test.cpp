#include "web/encoding.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

namespace {

struct UrlEncodeCase {
  const char* text;
  bool keep;
  bool utf8;
  const char* expected;
};

TEST(UrlEncode, EncodesAsTheSearchUrlNeeds) {
  const UrlEncodeCase cases[] = {
      {"a b", true, true, "a%20b"},       {"钢", true, true, "%E9%92%A2"},
      {"x_y~z", true, true, "x%5Fy%7Ez"}, {"3.5-1", true, true, "3.5-1"},
      {"a b/c", true, true, "a%20b%2Fc"}, {"abc", false, true, "%61%62%63"},
      {"钢", true, false, "%B8%D6"},      {"", true, true, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(web::UrlEncode(c.text, c.keep, c.utf8), c.expected) << c.text;
  }
}

TEST(LocalToUtf8, ConvertsFromCodePage936) {
  EXPECT_EQ(web::LocalToUtf8(""), "");
  EXPECT_EQ(web::LocalToUtf8("钢铁侠3"),
            "\xE9\x92\xA2\xE9\x93\x81\xE4\xBE\xA0"
            "3");
}

}  // namespace

namespace {

using web::Bytes;

Bytes B(std::initializer_list<int> values) {
  Bytes out;
  for (int v : values) out.push_back(static_cast<unsigned char>(v));
  return out;
}

TEST(MultiByteToUtf16, KeepsTheTerminatingUnit) {
  EXPECT_EQ(web::MultiByteToUtf16("钢", 936), B({0xA2, 0x94, 0x00, 0x00}));
  EXPECT_EQ(web::MultiByteToUtf16("\xE9\x92\xA2"
                                  "A"),
            B({0xA2, 0x94, 0x41, 0x00, 0x00, 0x00}));
  EXPECT_EQ(web::MultiByteToUtf16("", 936), B({0x00, 0x00}));
}

struct Utf16Case {
  Bytes utf16;
  const char* expected;
};

TEST(Utf16ToMultiByte, StopsAtTheFirstZeroUnit) {
  const Utf16Case cases[] = {
      {B({0x41, 0x00, 0xA2, 0x94, 0x00, 0x00}), "A钢"},
      {B({0x41, 0x00, 0x00, 0x00, 0x42, 0x00, 0x00, 0x00}), "A"},
      {B({0x41, 0x00, 0x42, 0x00}), "AB"},  // no terminator
      {B({0x41, 0x00, 0x42}), "A"},         // odd byte left over
      {B({0x41}), ""},
      {B({}), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(web::Utf16ToMultiByte(c.utf16, 936), c.expected) << c.expected;
  }
}

struct ConvertCase {
  const char* label;
  Bytes input;
  const char* from;
  const char* to;
  std::optional<size_t> offset;
  Bytes expected;
};

TEST(ConvertCharset, ConvertsBetweenNamedCharsets) {
  const ConvertCase cases[] = {
      {"defaults", B({0xE9, 0x92, 0xA2}), "", "", std::nullopt, B({0xB8, 0xD6})},
      {"names ignore case", B({0xE9, 0x92, 0xA2}), "utf-8", "Gbk", std::nullopt, B({0xB8, 0xD6})},
      {"GBK to UTF-8", B({0xB8, 0xD6}), "GBK", "UTF-8", std::nullopt, B({0xE9, 0x92, 0xA2})},
      {"GB2312", B({0xB8, 0xD6}), "GB2312", "UTF-8", std::nullopt, B({0xE9, 0x92, 0xA2})},
      {"CP936", B({0xE9, 0x92, 0xA2}), "UTF-8", "CP936", std::nullopt, B({0xB8, 0xD6})},
      // 鐵 in Big5 ends in 0x4B, an ASCII letter.
      {"to Big5", B({0xE9, 0x8B, 0xBC, 0xE9, 0x90, 0xB5}), "UTF-8", "Big5", std::nullopt, B({0xBF, 0xFB, 0xC5, 0x4B})},
      {"from Big5", B({0xBF, 0xFB, 0xC5, 0x4B}), "BIG5", "UTF-8", std::nullopt,
       B({0xE9, 0x8B, 0xBC, 0xE9, 0x90, 0xB5})},
      {"Shift_JIS", B({0x93, 0xFA, 0x96, 0x7B}), "Shift_JIS", "UTF-8", std::nullopt,
       B({0xE6, 0x97, 0xA5, 0xE6, 0x9C, 0xAC})},
      {"ISO-8859-1", B({0xE9}), "ISO-8859-1", "UTF-8", std::nullopt, B({0xC3, 0xA9})},
      {"Windows-1252", B({0x80}), "Windows-1252", "UTF-8", std::nullopt, B({0xE2, 0x82, 0xAC})},
      {"to Unicode", B({0x41, 0xE9, 0x92, 0xA2}), "UTF-8", "Unicode", std::nullopt, B({0x41, 0x00, 0xA2, 0x94})},
      {"from Unicode", B({0x41, 0x00, 0xA2, 0x94}), "Unicode", "GBK", std::nullopt, B({0x41, 0xB8, 0xD6})},
      {"UTF-8 mark dropped", B({0xEF, 0xBB, 0xBF, 0xE9, 0x92, 0xA2}), "UTF-8", "GBK", std::nullopt, B({0xB8, 0xD6})},
      {"UTF-16 mark dropped", B({0xFF, 0xFE, 0x41, 0x00}), "Unicode", "UTF-8", std::nullopt, B({0x41})},
      {"start offset", B({0xE9, 0x92, 0xA2, 0x41}), "UTF-8", "GBK", 2, B({0x41})},
      {"offset zero", B({0xE9, 0x92, 0xA2}), "UTF-8", "GBK", 0, B({0xB8, 0xD6})},
      {"offset past the end", B({0xE9, 0x92, 0xA2}), "UTF-8", "GBK", 10, B({})},
      {"zero bytes survive", B({0x41, 0x00, 0x42}), "UTF-8", "GBK", std::nullopt, B({0x41, 0x00, 0x42})},
      {"unknown source", B({0x41}), "klingon", "GBK", std::nullopt, B({})},
      {"unknown target", B({0x41}), "UTF-8", "UTF-9", std::nullopt, B({})},
      {"empty input", B({}), "UTF-8", "GBK", std::nullopt, B({})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(web::ConvertCharset(c.input, c.from, c.to, c.offset), c.expected) << c.label;
  }
}

TEST(ConvertCharset, Gb18030NeedsTheSystemCodePage) {
  // Euro sign and an emoji: GBK has neither, GB18030 has both. Wine 8 has no
  // code page 54936; there the conversion must give nothing rather than
  // something wrong.
  const Bytes utf8 = B({0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80});
  const Bytes gb18030 = B({0xA2, 0xE3, 0x94, 0x39, 0xFC, 0x36});
  const bool available = IsValidCodePage(54936);
  EXPECT_EQ(web::ConvertCharset(utf8, "UTF-8", "GB18030"), available ? gb18030 : Bytes());
  EXPECT_EQ(web::ConvertCharset(gb18030, "gb18030", "UTF-8"), available ? utf8 : Bytes());
}

TEST(ConvertCharset, DefaultArgumentsAreUtf8ToGbk) {
  EXPECT_EQ(web::ConvertCharset(B({0xE9, 0x92, 0xA2, 0xE9, 0x93, 0x81})), B({0xB8, 0xD6, 0xCC, 0xFA}));
}

TEST(ConvertCharset, InvalidBytesDoNotLoseTheRest) {
  // How the bad byte is replaced is up to Windows; the text around it stays.
  const Bytes out = web::ConvertCharset(B({0x41, 0xFF, 0xE9, 0x92, 0xA2}));
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(out.front(), 0x41);
  EXPECT_EQ(Bytes(out.end() - 2, out.end()), B({0xB8, 0xD6}));
}

}  // namespace
