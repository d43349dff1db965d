#pragma once
// Regular-expression matching over code-page-936 text.
//
// The matching is done by the system's COM engine "VBScript.RegExp". Where
// that engine cannot be created (Windows is retiring VBScript), the same
// operations run on an in-process engine with the same syntax and rules for
// what this program uses: JScript-style patterns, greedy groups, "." never
// matching a line break, the IgnoreCase/Global/Multiline switches and
// Replace with $n.
//
// Create, use and destroy an object on one thread: construction calls
// CoInitialize and destruction the matching CoUninitialize.

#include <memory>
#include <string>

namespace regex {

// Tests run every case on both engines; this makes every later Search in the
// process use the in-process engine.
void ForceInProcessEngineForTests(bool force);

enum class EngineKind { None, Com, InProcess };

// Keeps COM initialised on the calling thread while it lives. Every
// RegexObject pairs its own CoInitialize and CoUninitialize; on a thread
// where nothing else holds COM, the last uninitialise tears the apartment
// down and unloads the engine, so the next object loads it all again (tens
// of milliseconds under Wine). Objects made within a session share one
// initialisation. Create and destroy it on one thread.
class EngineSession {
 public:
  EngineSession();
  ~EngineSession();
  EngineSession(const EngineSession&) = delete;
  EngineSession& operator=(const EngineSession&) = delete;

 private:
  long comInit_;
};

class RegexEngine;

class RegexObject {
 public:
  RegexObject();
  virtual ~RegexObject();
  // Shares the engine state of `other` (COM references are counted) and
  // copies its subject.
  RegexObject(const RegexObject& other);
  RegexObject& operator=(RegexObject other);

  // Compiles `pattern` and collects the matches in `subject`. With
  // quotePlaceholder, every "#引号" of the pattern stands for one '"'.
  // True when the engine produced a match collection, also an empty one;
  // false for an invalid pattern.
  bool Search(const std::string& pattern, const std::string& subject, bool caseSensitive = false, bool multiline = true,
              bool global = true, bool quotePlaceholder = false);
  // The pattern of the last Search; empty before the first.
  std::string PatternText() const;
  // The last subject with the matches of the last pattern replaced
  // (all of them when global was on): $1..$99, $&, $`, $' and $$ expand.
  std::string ReplaceMatches(const std::string& replacement) const;
  int MatchCount() const;
  // Match `index` (1-based); empty text when out of range. `position`, when
  // given, receives the 0-based byte offset of the match in the subject,
  // or -1 when there is no such match.
  std::string MatchText(int index, int* position = nullptr) const;
  // Group `group` (1-based) of match `index`. `position` receives the 0-based
  // byte offset of the first place within the match where the group's
  // text stands, -1 when the group's text is empty or out of range.
  std::string SubMatchText(int index, int group, int* position = nullptr) const;
  // Capture groups of the first match; 0 without a match.
  int SubMatchCount() const;

  // Which engine ran the last Search; None before the first. Callers tell
  // "no engine could run" from "no match" with EngineAvailable.
  EngineKind Engine() const;
  bool EngineAvailable() const { return Engine() != EngineKind::None; }

 private:
  // 0-based byte offset in subject_ of UTF-16 unit `unit` of wideSubject_.
  int BytePosition(size_t unit) const;

  long comInit_;  // the HRESULT of CoInitialize; uninitialise only after success
  std::unique_ptr<RegexEngine> engine_;
  std::string subject_;
  std::wstring wideSubject_;
};

}  // namespace regex
