#pragma once
// The engines behind RegexObject. Both speak UTF-16 and count from 0.

#include <memory>
#include <string>

#include "regex/regex_object.h"

namespace regex {

struct SearchOptions {
  bool ignoreCase = true;
  bool multiline = true;
  bool global = true;
};

class RegexEngine {
 public:
  virtual ~RegexEngine() = default;
  virtual std::unique_ptr<RegexEngine> Copy() const = 0;
  virtual bool Search(const std::wstring& pattern, const std::wstring& subject, const SearchOptions& options) = 0;
  virtual std::wstring PatternText() const = 0;
  virtual std::wstring ReplaceMatches(const std::wstring& subject, const std::wstring& replacement) const = 0;
  virtual int MatchCount() const = 0;
  // Match `index`: its text and, when `firstIndex` is given, the UTF-16
  // offset where it starts.
  virtual bool MatchAt(int index, std::wstring& text, size_t* firstIndex) const = 0;
  virtual bool SubMatchAt(int index, int group, std::wstring& text) const = 0;
  virtual int SubMatchCount() const = 0;
  virtual EngineKind Kind() const = 0;
};

// Null when "VBScript.RegExp" cannot be created on this system.
std::unique_ptr<RegexEngine> CreateComRegexEngine();
std::unique_ptr<RegexEngine> CreateInProcessRegexEngine();

}  // namespace regex
