#include "web/encoding.h"

#include <gtest/gtest.h>

namespace {

struct UrlEncodeCase {
  const char* text;
  bool keep;
  bool utf8;
  const char* expected;
};

TEST(UrlEncode, EncodesAsTheSearchUrlNeeds) {
  const UrlEncodeCase cases[] = {
      {"a b", true, true, "a%20b"},
      {"钢", true, true, "%E9%92%A2"},
      {"x_y~z", true, true, "x%5Fy%7Ez"},
      {"3.5-1", true, true, "3.5-1"},
      {"a b/c", true, true, "a%20b%2Fc"},
      {"abc", false, true, "%61%62%63"},
      {"钢", true, false, "%B8%D6"},
      {"", true, true, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(web::UrlEncode(c.text, c.keep, c.utf8), c.expected) << c.text;
  }
}

TEST(LocalToUtf8, ConvertsFromCodePage936) {
  EXPECT_EQ(web::LocalToUtf8(""), "");
  EXPECT_EQ(web::LocalToUtf8("钢铁侠3"), "\xE9\x92\xA2\xE9\x93\x81\xE4\xBE\xA0" "3");
}

}  // namespace
