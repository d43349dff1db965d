#include "web/cookies.h"

#include <algorithm>
#include <vector>

#include "web/marker_text.h"

namespace web {

namespace {

// Pieces of `text` between `delimiter`s; empty pieces count, except the one
// after a trailing delimiter (and so an empty text has no pieces).
std::vector<std::string> SplitEntries(const std::string& text, char delimiter) {
  std::vector<std::string> pieces;
  size_t from = 0;
  for (size_t at; (at = text.find(delimiter, from)) != std::string::npos; from = at + 1) {
    pieces.push_back(text.substr(from, at - from));
  }
  if (from < text.size()) pieces.push_back(text.substr(from));
  return pieces;
}

bool IsDeletionMarker(const std::string& entry) {
  static const std::string kDeleted = "=deleted";
  return entry.size() >= kDeleted.size() &&
         entry.compare(entry.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0;
}

}  // namespace

std::string CookieName(const std::string& entry) { return TrimSpaces(entry.substr(0, entry.find('='))); }

std::string JoinDistinct(const std::string& text, const std::string& delimiter) {
  if (delimiter.empty()) return text;
  std::vector<std::string> seen;
  std::string out;
  size_t from = 0;
  while (true) {
    const size_t at = text.find(delimiter, from);
    std::string piece = text.substr(from, at == std::string::npos ? std::string::npos : at - from);
    if (std::find(seen.begin(), seen.end(), piece) == seen.end()) {
      out += piece;
      out += delimiter;
      seen.push_back(std::move(piece));
    }
    if (at == std::string::npos) break;
    from = at + delimiter.size();
  }
  out.resize(out.size() - delimiter.size());
  return out;
}

std::string MergeCookies(std::string& jar, std::string& fresh) {
  jar = RemoveSpaces(jar);
  fresh = RemoveSpaces(fresh);
  std::vector<std::string> merged = SplitEntries(fresh, ';');
  for (const std::string& old : SplitEntries(jar, ';')) {
    const std::string name = CookieName(old);
    const bool named = std::any_of(merged.begin(), merged.end(),
                                   [&](const std::string& entry) { return CookieName(entry) == name; });
    if (!named) merged.push_back(old);
  }
  std::string joined;
  for (const std::string& entry : merged) {
    if (!IsDeletionMarker(entry)) joined += entry + "; ";
  }
  if (!joined.empty()) joined.resize(joined.size() - 2);  // the final "; "
  jar = JoinDistinct(joined, "; ");
  return jar;
}

}  // namespace web
