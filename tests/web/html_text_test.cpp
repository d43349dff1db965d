#include "web/html_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using web::HtmlCut;

struct DecodeCase {
  const char* about;
  HtmlCut cut;
  const char* html;
  const char* expected;
};

const DecodeCase kCases[] = {
    // Names: what a person reads.
    {"named reference", HtmlCut::Name, "Tears&amp;Steel 钢铁之泪 (2012)", "Tears&Steel 钢铁之泪 (2012)"},
    {"bold matched word", HtmlCut::Name, "<b>Big</b> Buck Bunny 大雄兔", "Big Buck Bunny 大雄兔"},
    {"nested tags", HtmlCut::Name, "<span class=\"hit\"><b>钢铁</b>侠</span>3", "钢铁侠3"},
    {"attribute holding >", HtmlCut::Name, "<b title=\"a>b\">Big</b> <i data-x='1>0'>Buck</i>", "Big Buck"},
    {"unclosed element", HtmlCut::Name, "<b>Big Buck", "Big Buck"},
    {"tag left open runs to the end", HtmlCut::Name, "Big <b class=\"x\" Buck", "Big"},
    {"comments", HtmlCut::Name, "Big<!-- x > y -->Buck<!-- open", "BigBuck"},
    {"stray angle brackets stay", HtmlCut::Name, "3<4 and 5 > 2, a < b", "3<4 and 5 > 2, a < b"},
    {"decoded tag stays text", HtmlCut::Name, "&lt;b&gt;1080p&lt;/b&gt;", "<b>1080p</b>"},
    {"quotes and Latin letters", HtmlCut::Name, "&quot;Victoria&quot; caf&eacute; &#39;n&apos;",
     "\"Victoria\" café 'n'"},
    {"Greek run with its gap", HtmlCut::Name, "&Rho;&Sigma;&omega;", "ΡΣω"},
    {"decimal and hex", HtmlCut::Name, "&#38050;&#x94C1;&#X4FA0;3", "钢铁侠3"},
    {"Chinese text with references", HtmlCut::Name, "钢铁侠3&amp;复仇者 &lt;蓝光&gt;&middot;国语",
     "钢铁侠3&复仇者 <蓝光>·国语"},
    {"decoded once", HtmlCut::Name, "&amp;amp; &amp;lt;", "&amp; &lt;"},
    {"unknown and wrong-case names", HtmlCut::Name, "&foo; &AMP; &ampx;", "&foo; &AMP; &ampx;"},
    {"unterminated", HtmlCut::Name, "AT&amp T & co &#x; &#", "AT&amp T & co &#x; &#"},
    {"number without ;", HtmlCut::Name, "&#65 &#x42 C", "A B C"},
    {"white space folded", HtmlCut::Name, "  Big\t\r\n Buck&nbsp;&nbsp;Bunny&#160; ", "Big Buck Bunny"},
    {"control characters fold too", HtmlCut::Name, "Big\x01\x7F Buck&#9;&#x0B;Bunny", "Big Buck Bunny"},
    {"space left where a tag went", HtmlCut::Name, "<b> Big </b> Buck", "Big Buck"},
    {"full-width spaces trimmed", HtmlCut::Name, "　钢铁侠　3　", "钢铁侠　3"},
    {"outside GBK", HtmlCut::Name, "&#x1F600; smile&#0;", "? smile?"},
    {"empty result keeps the raw text", HtmlCut::Name, "<b></b>", "<b></b>"},
    {"blank result keeps the raw text", HtmlCut::Name, " &nbsp; ", " &nbsp; "},
    {"empty", HtmlCut::Name, "", ""},

    // Links: what a client receives.
    {"several parameters", HtmlCut::Link,
     "magnet:?xt=urn:btih:ABC&amp;dn=x&amp;tr=udp%3A%2F%2Ft.invalid%3A80&amp;tr=http%3A%2F%2Fu.invalid",
     "magnet:?xt=urn:btih:ABC&dn=x&tr=udp%3A%2F%2Ft.invalid%3A80&tr=http%3A%2F%2Fu.invalid"},
    {"decoded once", HtmlCut::Link, "magnet:?a=1&amp;amp;b=2", "magnet:?a=1&amp;b=2"},
    {"numeric references", HtmlCut::Link, "magnet:?a=1&#38;b=2&#x26;c=3", "magnet:?a=1&b=2&c=3"},
    {"non-ASCII as UTF-8 escapes", HtmlCut::Link, "dn=caf&eacute;&#38050;&#x1F600;",
     "dn=caf%C3%A9%E9%92%A2%F0%9F%98%80"},
    {"quote and tab come out raw", HtmlCut::Link, "dn=a&quot;&#9;b", "dn=a\"\tb"},
    {"tags, spaces and raw text untouched", HtmlCut::Link, "dn=<b>钢铁</b>  x", "dn=<b>钢铁</b>  x"},
    {"unknown and unterminated", HtmlCut::Link, "a=&foo;&amp b=&", "a=&foo;&amp b=&"},
    {"empty link", HtmlCut::Link, "", ""},
};

TEST(DecodeHtmlText, NamesAndLinks) {
  for (const DecodeCase& c : kCases) {
    SCOPED_TRACE(c.about);
    EXPECT_EQ(web::DecodeHtmlText(c.html, c.cut), c.expected) << c.html;
  }
}

}  // namespace
