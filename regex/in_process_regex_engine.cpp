// The in-process engine: Boost.Regex over UTF-16, with the patterns
// rewritten so that they mean what they mean to "VBScript.RegExp".

#include <boost/regex.hpp>

#include <atomic>
#include <exception>
#include <vector>

#include "regex/regex_engine.h"
#include "regex/jscript_pattern.h"

namespace regex {

namespace {

// Boost's traits ask the C++ locale (towlower) for the lower case of every unit
// they compare while ignoring case: thousands of calls per result line, and
// the bulk of a search. The same answers, each asked once per process.
class CachedCaseTraits : public boost::cpp_regex_traits<wchar_t> {
 public:
  wchar_t translate_nocase(wchar_t c) const { return Lower(c); }
  wchar_t translate(wchar_t c) const { return c; }
  wchar_t translate(wchar_t c, bool icase) const { return icase ? Lower(c) : c; }
  wchar_t tolower(wchar_t c) const { return Lower(c); }

 private:
  wchar_t Lower(wchar_t c) const {
    // 0: not asked yet (the lower case of 0 is 0, asked again harmlessly).
    static std::atomic<wchar_t> known[0x10000];
    wchar_t lower = known[c].load(std::memory_order_relaxed);
    if (lower == 0) {
      lower = boost::cpp_regex_traits<wchar_t>::tolower(c);
      known[c].store(lower, std::memory_order_relaxed);
    }
    return lower;
  }
};

using WideRegex = boost::basic_regex<wchar_t, CachedCaseTraits>;

struct FoundMatch {
  size_t start = 0;
  std::wstring text;
  std::vector<std::wstring> groups;  // a group that took no part is empty
};

using WideIt = std::wstring::const_iterator;

// Calls `onMatch` for each match the way Execute and Replace walk a subject:
// after an empty match the next search starts one character further on.
// A pattern that runs away (Boost gives up on too much backtracking) counts
// as matching nothing.
template <typename OnMatch>
bool ForEachMatch(const WideRegex& re, const std::wstring& subject, bool global, OnMatch onMatch) {
  try {
    const WideIt begin = subject.begin(), end = subject.end();
    WideIt from = begin;
    boost::match_results<WideIt> m;
    std::vector<boost::match_results<WideIt>> found;
    while (true) {
      auto flags = boost::match_default;
      if (from != begin) flags |= boost::match_prev_avail;
      // `begin` as the base lets lookbehinds see the text before `from`.
      if (!boost::regex_search(from, end, m, re, flags, begin)) break;
      found.push_back(m);
      if (!global) break;
      from = m[0].second;
      if (m[0].first == m[0].second) {
        if (from == end) break;
        ++from;
      }
    }
    for (const auto& match : found) onMatch(match);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// JScript's replacement syntax: $$, $&, $`, $', $n and $nn.
std::wstring ExpandReplacement(const std::wstring& replacement, const boost::match_results<WideIt>& m,
                               const std::wstring& subject) {
  std::wstring out;
  const size_t groups = m.size() - 1;
  for (size_t i = 0; i < replacement.size(); ++i) {
    const wchar_t c = replacement[i];
    const wchar_t next = i + 1 < replacement.size() ? replacement[i + 1] : L'\0';
    if (c != L'$' || next == L'\0') {
      out += c;
    } else if (next == L'$') {
      out += L'$';
      ++i;
    } else if (next == L'&') {
      out += m.str(0);
      ++i;
    } else if (next == L'`') {
      out.append(subject.begin(), m[0].first);
      ++i;
    } else if (next == L'\'') {
      out.append(m[0].second, subject.end());
      ++i;
    } else if (next >= L'0' && next <= L'9') {
      const size_t one = static_cast<size_t>(next - L'0');
      const wchar_t third = i + 2 < replacement.size() ? replacement[i + 2] : L'\0';
      const size_t two = (third >= L'0' && third <= L'9') ? one * 10 + static_cast<size_t>(third - L'0') : 0;
      if (two >= 1 && two <= groups) {
        out += m.str(static_cast<int>(two));
        i += 2;
      } else if (one >= 1 && one <= groups) {
        out += m.str(static_cast<int>(one));
        i += 1;
      } else {
        out += c;
      }
    } else {
      out += c;
    }
  }
  return out;
}

class InProcessRegexEngine final : public RegexEngine {
 public:
  std::unique_ptr<RegexEngine> Copy() const override { return std::make_unique<InProcessRegexEngine>(*this); }

  bool Search(const std::wstring& pattern, const std::wstring& subject, const SearchOptions& options) override {
    pattern_ = pattern;
    global_ = options.global;
    matches_.clear();
    compiled_ = false;
    std::wstring translated;
    if (!TranslateJScriptPattern(pattern, options.multiline, translated)) return false;
    try {
      boost::regex_constants::syntax_option_type syntax = boost::regex_constants::ECMAScript;
      if (options.ignoreCase) syntax |= boost::regex_constants::icase;
      re_.assign(translated, syntax);
    } catch (const std::exception&) {
      return false;
    }
    compiled_ = true;
    ForEachMatch(re_, subject, global_, [&](const boost::match_results<WideIt>& m) {
      FoundMatch found;
      found.start = static_cast<size_t>(m[0].first - subject.begin());
      found.text = m.str(0);
      for (size_t g = 1; g < m.size(); ++g) found.groups.push_back(m.str(static_cast<int>(g)));
      matches_.push_back(std::move(found));
    });
    return true;
  }

  std::wstring PatternText() const override { return pattern_; }

  std::wstring ReplaceMatches(const std::wstring& subject, const std::wstring& replacement) const override {
    if (!compiled_) return {};
    std::wstring out;
    WideIt copied = subject.begin();
    const bool ran = ForEachMatch(re_, subject, global_, [&](const boost::match_results<WideIt>& m) {
      out.append(copied, m[0].first);
      out += ExpandReplacement(replacement, m, subject);
      copied = m[0].second;
    });
    if (!ran) return subject;
    out.append(copied, subject.end());
    return out;
  }

  int MatchCount() const override { return static_cast<int>(matches_.size()); }

  bool MatchAt(int index, std::wstring& text, size_t* firstIndex) const override {
    if (index < 0 || index >= MatchCount()) return false;
    text = matches_[static_cast<size_t>(index)].text;
    if (firstIndex) *firstIndex = matches_[static_cast<size_t>(index)].start;
    return true;
  }

  bool SubMatchAt(int index, int group, std::wstring& text) const override {
    if (index < 0 || index >= MatchCount()) return false;
    const auto& groups = matches_[static_cast<size_t>(index)].groups;
    if (group < 0 || group >= static_cast<int>(groups.size())) return false;
    text = groups[static_cast<size_t>(group)];
    return true;
  }

  int SubMatchCount() const override { return matches_.empty() ? 0 : static_cast<int>(matches_.front().groups.size()); }

  EngineKind Kind() const override { return EngineKind::InProcess; }

 private:
  std::wstring pattern_;
  bool global_ = true;
  bool compiled_ = false;
  WideRegex re_;
  std::vector<FoundMatch> matches_;
};

}  // namespace

std::unique_ptr<RegexEngine> CreateInProcessRegexEngine() { return std::make_unique<InProcessRegexEngine>(); }

}  // namespace regex
