// Loading a document from a text file and saving it to one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class Document;

// Why a file could not be loaded.
enum class LoadFailure {
  none,
  cannotRead,   // not there, not readable, or a read failed before the end
  lineTooLong,  // a line holds more characters than a line can (Line::maxLength)
  cancelled,    // the progress callback asked to stop
};

// Told how far a load or save got, in steps of the whole (done of total, at most every few
// megabytes or tens of thousands of lines); returns false to stop it. It may run the message
// loop, so it is never called while a look at a line's characters (Line::Peek) is in use.
using FileProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Replaces the document's lines by the file's lines, laid out for the document's settings and
// wrap width, and stamps the document with the bytes read. False, with the document unchanged
// and the reason in failure when it is given, when the file could not be read whole.
// A load stopped by progress leaves the document unchanged as well.
bool LoadText(Document& document, const std::wstring& path, LoadFailure* failure = nullptr,
              const FileProgress& progress = {});
// Writes the lines in the document's encoding, each with its own line end, and stamps the document with the bytes written. On
// success clears the modified flag, unless a character had to be replaced because the
// encoding cannot store it (the file then differs from the text), and marks the undo history
// as not matching the file. False, with the file and the document unchanged, when the file could
// not be written completely.
// A save stopped by progress is a failed one: the file keeps its old content.
bool SaveText(Document& document, const std::wstring& path, const FileProgress& progress = {});
// True when the document's encoding can store every character of its text, so that a save
// writes the text as it is.
bool EncodingHoldsText(const Document& document);
// Every line ends in a line feed alone (or a carriage return and a line feed), new ones too;
// a line ending in a carriage return keeps CR LF (with a line feed alone it would read back
// without that carriage return).
void SetLineEnds(Document& document, bool lineFeed);
// True when every line but the last ends in the form new lines take.
bool LineEndsAlike(const Document& document);

namespace textfile::testing {
// Makes LoadText and every edit refuse lines longer than units (0: the real limit again), so
// that tests need no file of gigabytes.
void SetLongestLine(std::size_t units);
}  // namespace textfile::testing
