#pragma once
// Rewrites a JScript-style pattern for Boost.Regex so that both read it
// alike: "." and the anchors know only JScript's line terminators, \d \w \b
// are ASCII-only, \uXXXX is a code unit, and escapes Boost would read as its
// own extensions (\A, \Q, \l, POSIX classes, ...) stay plain characters.

#include <string>

namespace regex {

// False for what JScript rejects and Boost would accept (lookbehind, inline
// modifiers, possessive repeats, a trailing backslash, an open class).
bool TranslateJScriptPattern(const std::wstring& pattern, bool multiline, std::wstring& translated);

}  // namespace regex
