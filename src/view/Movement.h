// Caret movement primitives on positions: characters, rows, words and the ends of rows and of
// the document.
#pragma once

#include "text/TextPos.h"

class Line;

// One character left or right, stepping between the rows of a wrapped line without changing
// the index, and between lines at their ends. Nothing at the ends of the document.
void CharLeft(TextPos& pos);
void CharRight(TextPos& pos);
// n rows up (n < 0) or down, stopping at the first or last row, then to column in that row.
void MoveRows(TextPos& pos, int n, int column);
void RowStart(TextPos& pos);
void RowEnd(TextPos& pos);
void DocumentStart(TextPos& pos);
void DocumentEnd(TextPos& pos);
// To the start of the previous or the next word.
void WordLeft(TextPos& pos);
void WordRight(TextPos& pos);
// Whether ch counts as part of a word in the position's document.
bool IsWordCharacter(const TextPos& pos, wchar_t ch);
// The index after the character that starts at index (before the line's end), and the start of
// the character that ends at index (after the line's start): whole characters with their marks.
int NextCharacter(const Line& line, int index);
int PreviousCharacter(const Line& line, int index);
