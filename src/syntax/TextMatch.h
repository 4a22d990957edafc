// Exact matching of construct openers and terminators inside a line.
#pragma once

#include <string_view>

#include "text/NarrowText.h"

// The characters of text from index on equal token (case-sensitive); false when too short.
bool CompareAt(std::wstring_view text, int index, std::wstring_view token);
bool CompareAt(const NarrowText& text, int index, std::wstring_view token);

// Index of the last character of the first occurrence of terminator at or after from that is
// not escaped (preceded by an odd number of escape[0] characters), or -1.
int FindTerminator(std::wstring_view text, int from, std::wstring_view terminator,
                   std::wstring_view escape);
int FindTerminator(const NarrowText& text, int from, std::wstring_view terminator,
                   std::wstring_view escape);
