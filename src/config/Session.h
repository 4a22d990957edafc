// The session and the places in files: which files were open when the program last ended, and
// where the user left each file worked in lately, kept in a file of their own beside the
// settings file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Where a view stood in its text: the caret, the other end of the selection (the caret itself
// when there is none), and the first visual row and column shown. Never negative; brought into
// the text only when applied, since the file may have changed meanwhile.
struct ViewPlace {
  int caretLine = 0;
  int caretIndex = 0;
  int anchorLine = 0;
  int anchorIndex = 0;
  int firstRow = 0;
  int firstColumn = 0;

  friend bool operator==(const ViewPlace&, const ViewPlace&) = default;
};

// The place of one file, named by the path the document list gives it.
struct FilePlace {
  std::wstring path;
  ViewPlace place;
};

// Places are kept for this many files; the least recently left go first.
inline constexpr std::size_t maxFilePlaces = 100;

class Session {
 public:
  // "Reopen the documents of the last session": a start without file names opens `files`.
  bool reopen = true;
  // The titled documents open when the program last ended, in Window-menu order, and the index
  // of the one that was shown, -1 when none of them was.
  std::vector<std::wstring> files;
  int active = -1;

  // The file at path was left at place: it becomes the most recent place, and beyond
  // maxFilePlaces the oldest is forgotten. An empty path is no file.
  void RememberPlace(const std::wstring& path, const ViewPlace& place);
  // Where the file at path was left, or none.
  const ViewPlace* PlaceOf(const std::wstring& path) const;
  // Most recent first, at most maxFilePlaces, each path once.
  const std::vector<FilePlace>& Places() const { return places_; }

  // Reads the session file. A missing file, or one that cannot be read to its end, leaves
  // everything as it is (false); a damaged one yields what can be read of it: records without
  // a path or with a path seen before are left out, numbers below 0 become 0, an active index
  // outside the files none.
  bool Load(const std::wstring& path);
  // Writes the session file with the safe save of every file; false, with the old file left as
  // it was, when that failed. A file Load found but could not read whole is left as it is.
  bool Save(const std::wstring& path) const;

 private:
  std::vector<FilePlace> places_;
  std::wstring unreadable_;  // the file Load found but could not read whole, else empty
};

// The session file of the settings file at settingsPath: the same folder and name, with
// "session" in place of the last three characters ("fum.opt" gives "fum.session").
std::wstring SessionPathFor(const std::wstring& settingsPath);
