// The one operation through which every change of a document's text passes.
#pragma once

#include <string>
#include <string_view>

class Document;
struct TextPos;

// Edit kinds: the low three bits of the flags of ReplaceText. They decide how the change is
// recorded for undo.
enum EditKind : int {
  editTyping = 0,          // typing one character; runs merge into one record
  editDeleteForward = 1,   // deleting the character after the caret; runs merge
  editDeleteBackward = 2,  // deleting the character before the caret; runs merge
  editOther = 3,           // any other edit, and the first edit of a group
  editContinue = 4,        // continues the group of the edit before it
  editReplace = 5,         // a replacement, recorded as 3 (one record when it deletes and inserts)
};
inline constexpr int editKindMask = 7;
inline constexpr int editIntoRedo = 8;   // record into the redo list (undo replays)
inline constexpr int editKeepRedo = 16;  // leave the redo list alone (redo replays)
// The text separates lines with CR LF only; a lone CR or LF in it is a character of its line.
// Replays of undo records and of recovery journals, which hold text in that form, pass it.
inline constexpr int editCrLfBreaks = 32;

// What an edit, an undo or a redo changed, for the view.
struct ChangeRecord {
  int firstRow = -1;  // first visual row to repaint
  int lastRow = -1;   // last visual row whose content changed
  int rowDelta = -1;  // change of the document's number of visual rows
  int endIndex = 0;   // the position just after the inserted text (the start of the range
  int endLine = 0;    // when nothing was inserted): where the caret goes
};

// Replaces the text between two positions (in either order) by text, in which a carriage
// return and line feed, a lone carriage return or a lone line feed separates lines. Keeps the
// layout, row totals, widest line and highlighter states consistent and records the change for
// undo as one step: an insertion that replaces deleted text is undone and redone with it.
ChangeRecord ReplaceText(Document& document, const TextPos& first, const TextPos& second,
                         std::wstring_view text, int flags);

// The text between two positions in order, in the form undo records and recovery journals keep
// it (replays read it, flags editIntoRedo, editKeepRedo or editCrLfBreaks): each line break is
// written as the line ends, a line feed alone or a carriage return and a line feed, and every
// carriage return a line ends in before its break is written twice, so that a line ending in one
// before a line feed alone is not taken for a line ending in CR LF.
std::wstring TextBetween(const Document& document, const TextPos& from, const TextPos& to);
// Joins two texts of that form that stand one after the other in the document (piece after
// into, or before it with pieceFirst), so that the result is in that form too.
void JoinRecordTexts(std::wstring& into, std::wstring_view piece, bool pieceFirst);

// Typed or pasted text, as ReplaceText takes it without editCrLfBreaks, written in the form
// undo records keep: its line breaks take the document's form, a line feed alone with lineFeed.
std::wstring RecordForm(std::wstring_view typed, bool lineFeed);

// Adds next, a change made after those total stands for, to total (which may stand for none
// yet): the rows to repaint cover both changes, counted in the text after next, and the caret
// goes where next puts it.
void AddChange(ChangeRecord& total, const ChangeRecord& next);
