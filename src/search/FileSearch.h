// Find in Files: the walk through a folder's files and the search of each one's lines with a
// matcher of the search engine, run on a thread of its own while the window shows progress.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

class LineMatcher;

// A file open in the editor with changes not saved: its text as the editor holds it, searched
// in place of the file's bytes so that its hits name the lines the user sees.
struct OpenFileText {
  std::wstring path;  // the file's full path
  std::wstring text;  // its lines, each but the last ended by a line feed
};

struct FileSearchRequest {
  std::wstring folder;                 // a full path
  std::vector<std::wstring> patterns;  // wildcard patterns of the names searched; none: all
  bool subfolders = true;
  std::vector<OpenFileText> openTexts;
};

// A line with at least one hit.
struct HitLine {
  std::wstring path;  // relative to the searched folder
  int line = 1;       // counted from 1
  std::wstring text;  // the line, cut short after maxHitText units, line breaks made blanks
};

struct FileSearchResult {
  std::vector<HitLine> lines;  // in the order of the walk
  int filesWithHits = 0;
  int filesSearched = 0;
  int unreadable = 0;          // files that matched the patterns but could not be read
  int costlyLines = 0;         // lines an expression was too costly to match in: no hits there
  bool cancelled = false;
};

// What the searching thread tells the window while it runs, and the window's request to stop.
struct FileSearchProgress {
  std::atomic<bool> cancel{false};
  std::atomic<int> filesSearched{0};
  std::atomic<int> hits{0};
};

// The longest part of a line a hit line keeps.
inline constexpr std::size_t maxHitText = 1000;

// The patterns of a list separated by ";", each trimmed of blanks; empty entries are dropped.
std::vector<std::wstring> SplitPatterns(std::wstring_view list);

// Searches every file of the request's folder (and its subfolders) whose name matches one of
// the patterns ("*.*" and "*" match every name) for lines in which matcher finds a hit. Hidden
// files and folders (the system's hidden attribute, or a name that begins with a dot), linked
// folders, devices and pipes, and files that look binary (a NUL in their first 8 KB, unless they
// begin with a UTF-16 byte-order mark; the rest of such a file is not read) are passed over.
// Files are read in their own encoding as documents are; a file of the request's openTexts is
// searched in the text given there. The walk goes through each folder in name order, its files
// before its subfolders. It stops soon after progress.cancel is set (within a line), with what it
// found so far. A matcher that gives up on a line is restarted for the next one.
FileSearchResult SearchFiles(const FileSearchRequest& request, LineMatcher& matcher,
                             FileSearchProgress& progress);

// The hit lines as the results document shows them, "path(line): text", each ended by a
// carriage return and a line feed.
std::wstring HitLinesText(const FileSearchResult& result);
