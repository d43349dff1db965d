#include "web/cookies.h"

#include <gtest/gtest.h>

namespace {

struct MergeCase {
  const char* jar;
  const char* fresh;
  const char* merged;
  const char* freshAfter;
};

TEST(MergeCookies, FreshValuesReplaceOldOnesByName) {
  const MergeCase cases[] = {
      {"a=1; b=2", "b=3", "b=3; a=1", "b=3"},
      {"a=1; b=2", "b=deleted", "a=1", "b=deleted"},
      {"", "x=1; y=2", "x=1; y=2", "x=1;y=2"},
      {"a=1; a=2", "", "a=1", ""},
      {"a=1", "A=5", "A=5; a=1", "A=5"},
      {"k=hello world", "", "k=helloworld", ""},
      {"", "", "", ""},
      {"a=1;", "", "a=1", ""},  // a trailing ";" is no entry
      // Empty entries count, but only once.
      {"", "a=1;;b=2", "a=1; ; b=2", "a=1;;b=2"},
      {"", "a=1; ; ;b=2", "a=1; ; b=2", "a=1;;;b=2"},
      {"", ";a=1", "; a=1", ";a=1"},
      // Deletion markers: exact, case-sensitive, in the jar as well.
      {"a=1", "a=DELETED", "a=DELETED", "a=DELETED"},
      {"x=deleted; y=1", "", "y=1", ""},
      {"a=1; b=2", "a=deleted; b=deleted", "", "a=deleted;b=deleted"},
      // Entries without "=" are named by their whole text.
      {"flag; a=1", "flag", "flag; a=1", "flag"},
      // Full-width spaces go too, but never half of a character.
      {"s=1\xA1\xA1x", "t = 2", "t=2; s=1x", "t=2"},
      {"s=\xB0\xA1\xA1\xB0", "", "s=\xB0\xA1\xA1\xB0", ""},
      {"sid=abc; theme=dark", "sid=xyz; lang=zh", "sid=xyz; lang=zh; theme=dark", "sid=xyz;lang=zh"},
  };
  for (const auto& c : cases) {
    std::string jar = c.jar;
    std::string fresh = c.fresh;
    const std::string result = web::MergeCookies(jar, fresh);
    EXPECT_EQ(result, c.merged) << "jar '" << c.jar << "', fresh '" << c.fresh << "'";
    EXPECT_EQ(jar, c.merged) << "jar '" << c.jar << "', fresh '" << c.fresh << "'";
    EXPECT_EQ(fresh, c.freshAfter) << "jar '" << c.jar << "', fresh '" << c.fresh << "'";
  }
}

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals) {
  const std::pair<const char*, const char*> cases[] = {
      {"a=1", "a"}, {" a =1", "a"}, {"flag", "flag"}, {"=v", ""}, {"a=b=c", "a"}, {"", ""},
  };
  for (const auto& [entry, name] : cases) EXPECT_EQ(web::CookieName(entry), name) << entry;
}

struct JoinCase {
  const char* text;
  const char* delimiter;
  const char* expected;
};

TEST(JoinDistinct, DropsExactDuplicatePieces) {
  const JoinCase cases[] = {
      {"a; b; a", "; ", "a; b"}, {"a; A; a=1; a", "; ", "a; A; a=1"}, {"", "; ", ""}, {"x,,x,", ",", "x,"},
      {"ab", "", "ab"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(web::JoinDistinct(c.text, c.delimiter), c.expected) << "'" << c.text << "' at '" << c.delimiter << "'";
  }
}

}  // namespace
