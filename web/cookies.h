#pragma once
// The cookie jar kept by WebAccess when its caller supplies one: a single
// text of name=value entries joined by "; ", as sent in a Cookie header.

#include <string>

namespace web {

// Merges the cookies of a response into `jar`: fresh values replace old ones
// by name (exact, case-sensitive), entries ending in "=deleted" are dropped,
// exact duplicates go. The result lists the fresh entries in the server's
// order, then the old entries the response did not name. Every ASCII and
// full-width space is first removed from both `jar` and `fresh`, in place.
// `jar` receives the result, which is also returned.
std::string MergeCookies(std::string& jar, std::string& fresh);

// The name of one cookie entry: its bytes before the first "=" (the whole
// entry without one), trimmed of spaces.
std::string CookieName(const std::string& entry);

// `text` split at `delimiter`, exact duplicate pieces removed, joined again
// with `delimiter`. An empty delimiter leaves the text as it is.
std::string JoinDistinct(const std::string& text, const std::string& delimiter);

}  // namespace web
