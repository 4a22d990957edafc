// Matching file names against wildcard patterns ("?", "*" and bracketed character sets).
#pragma once

#include <string>

// True when pattern covers the whole name. "?" matches one character, "*" any run (the empty
// one included), "[...]" one character of the set: single characters and ranges such as
// "A-Z", tested against the name's character in upper case (the set itself is taken as
// written; a set without "]" never matches). Other characters match regardless of case.
bool WildcardMatch(const std::wstring& name, const std::wstring& pattern);
