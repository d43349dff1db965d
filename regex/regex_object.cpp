#include "regex/regex_object.h"

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <utility>

#include "regex/regex_engine.h"
#include "web/encoding.h"

namespace regex {

namespace {

std::atomic<bool> g_forceInProcess{false};

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace

void ForceInProcessEngineForTests(bool force) { g_forceInProcess = force; }

EngineSession::EngineSession() : comInit_(CoInitialize(nullptr)) {}

EngineSession::~EngineSession() {
  if (SUCCEEDED(comInit_)) CoUninitialize();
}

RegexObject::RegexObject() : comInit_(CoInitialize(nullptr)) {}

RegexObject::~RegexObject() {
  engine_.reset();
  subject_.clear();
  // A thread already in the multithreaded apartment refuses CoInitialize;
  // that refusal must not be paired with an uninitialise.
  if (SUCCEEDED(comInit_)) CoUninitialize();
}

RegexObject::RegexObject(const RegexObject& other)
    : comInit_(CoInitialize(nullptr)),
      engine_(other.engine_ ? other.engine_->Copy() : nullptr),
      subject_(other.subject_),
      wideSubject_(other.wideSubject_) {}

RegexObject& RegexObject::operator=(RegexObject other) {
  std::swap(engine_, other.engine_);
  std::swap(subject_, other.subject_);
  std::swap(wideSubject_, other.wideSubject_);
  return *this;
}

bool RegexObject::Search(const std::string& pattern, const std::string& subject, bool caseSensitive, bool multiline,
                         bool global, bool quotePlaceholder) {
  engine_.reset();
  if (!g_forceInProcess) engine_ = CreateComRegexEngine();
  if (!engine_) engine_ = CreateInProcessRegexEngine();
  const std::string effective = quotePlaceholder ? ReplaceAll(pattern, "#引号", "\"") : pattern;
  SearchOptions options;
  options.ignoreCase = !caseSensitive;
  options.multiline = multiline;
  options.global = global;
  subject_ = subject;
  wideSubject_ = web::Cp936ToWide(subject);
  return engine_->Search(web::Cp936ToWide(effective), wideSubject_, options);
}

std::string RegexObject::PatternText() const { return engine_ ? web::WideToCp936(engine_->PatternText()) : ""; }

std::string RegexObject::ReplaceMatches(const std::string& replacement) const {
  if (!engine_) return {};
  return web::WideToCp936(engine_->ReplaceMatches(wideSubject_, web::Cp936ToWide(replacement)));
}

int RegexObject::MatchCount() const { return engine_ ? engine_->MatchCount() : 0; }

std::string RegexObject::MatchText(int index, int* position) const {
  std::wstring text;
  size_t first = 0;
  const bool found = engine_ && engine_->MatchAt(index - 1, text, position ? &first : nullptr);
  if (position) *position = found ? BytePosition(first) : -1;
  return found ? web::WideToCp936(text) : std::string();
}

std::string RegexObject::SubMatchText(int index, int group, int* position) const {
  std::wstring match, text;
  size_t first = 0;
  const bool found = engine_ && engine_->MatchAt(index - 1, match, position ? &first : nullptr) &&
                     engine_->SubMatchAt(index - 1, group - 1, text);
  if (position) {
    const size_t within = found && !text.empty() ? match.find(text) : std::wstring::npos;
    *position = within == std::wstring::npos ? -1 : BytePosition(first + within);
  }
  return found ? web::WideToCp936(text) : std::string();
}

int RegexObject::SubMatchCount() const { return engine_ ? engine_->SubMatchCount() : 0; }

EngineKind RegexObject::Engine() const { return engine_ ? engine_->Kind() : EngineKind::None; }

int RegexObject::BytePosition(size_t unit) const {
  if (unit > wideSubject_.size()) return -1;
  // The units before the match convert back to the bytes before it: the
  // subject came from code page 936, so every unit has its own character.
  return static_cast<int>(web::WideToCp936(wideSubject_.substr(0, unit)).size());
}

}  // namespace regex
