// Reading the place a compiler's, grep's or Find in Files' line names.
#include "search/LocationLine.h"

#include <algorithm>

#include "text/Document.h"

namespace {

constexpr std::size_t maxNumberDigits = 9;  // keeps a number within an int

bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }
bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

std::wstring_view TrimLeft(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::wstring_view TrimRight(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Reads a decimal number at the start of text and takes it off; none without a digit there.
std::optional<int> TakeNumber(std::wstring_view& text) {
  std::size_t digits = 0;
  while (digits < text.size() && IsDigit(text[digits])) ++digits;
  if (digits == 0 || digits > maxNumberDigits) return std::nullopt;
  int value = 0;
  for (std::size_t i = 0; i < digits; ++i) value = value * 10 + (text[i] - L'0');
  text.remove_prefix(digits);
  return value;
}

bool TakeChar(std::wstring_view& text, wchar_t ch) {
  if (text.empty() || text.front() != ch) return false;
  text.remove_prefix(1);
  return true;
}

// Whether text can be the path of a place (see ParseLocation). A bare number is one only before
// a parenthesis: "12:30:" is a time, "12(3):" the hit of Find in Files in a file named "12".
bool IsPlausiblePath(std::wstring_view path, bool parenthesis) {
  if (path.empty() || IsBlank(path.back())) return false;
  if (!parenthesis && std::all_of(path.begin(), path.end(), IsDigit)) return false;
  return std::none_of(path.begin(), path.end(), [](wchar_t ch) {
    return ch < 0x20 || ch == L'<' || ch == L'>' || ch == L'"' || ch == L'|' || ch == L'?' ||
           ch == L'*';
  });
}

bool HasDrive(std::wstring_view text) {
  return text.size() >= 3 && ((text[0] >= L'A' && text[0] <= L'Z') || (text[0] >= L'a' && text[0] <= L'z')) &&
         text[1] == L':' && (text[2] == L'\\' || text[2] == L'/');
}

// "path(line)" or "path(line,column)" with blanks allowed before the colon that follows.
std::optional<Location> ParenthesisForm(std::wstring_view head) {
  head = TrimRight(head);
  if (head.empty() || head.back() != L')') return std::nullopt;
  const std::size_t open = head.rfind(L'(');
  if (open == std::wstring_view::npos) return std::nullopt;
  std::wstring_view inside = head.substr(open + 1, head.size() - open - 2);
  Location place;
  const std::optional<int> line = TakeNumber(inside);
  if (!line) return std::nullopt;
  place.line = *line;
  if (TakeChar(inside, L',')) {
    const std::optional<int> column = TakeNumber(inside);
    if (!column) return std::nullopt;
    place.column = *column;
  }
  if (!inside.empty()) return std::nullopt;
  place.path = head.substr(0, open);
  return place;
}

// "line:" or "line:column:" after "path:"; in an include chain "line," too.
std::optional<Location> ColonForm(std::wstring_view head, std::wstring_view rest, bool chain) {
  Location place;
  const std::optional<int> line = TakeNumber(rest);
  if (!line || !(TakeChar(rest, L':') || (chain && TakeChar(rest, L',')))) return std::nullopt;
  place.line = *line;
  std::wstring_view afterColumn = rest;
  if (const std::optional<int> column = TakeNumber(afterColumn); column && TakeChar(afterColumn, L':'))
    place.column = *column;
  place.path = head;
  return place;
}

bool TakeLead(std::wstring_view& text, std::wstring_view lead) {
  if (text.substr(0, lead.size()) != lead) return false;
  text = TrimLeft(text.substr(lead.size()));
  return true;
}

// Passes over the words that lead the lines of an include chain; false when text has none. The
// lines after the first are indented ("from" at the start of a line is a file's name).
bool SkipIncludeChain(std::wstring_view& text, bool indented) {
  return TakeLead(text, L"In file included from ") || (indented && TakeLead(text, L"from "));
}

}  // namespace

std::optional<Location> ParseLocation(std::wstring_view text) {
  const std::size_t length = text.size();
  text = TrimLeft(text);
  // Every file of a chain but the last is followed by a comma.
  const bool chain = SkipIncludeChain(text, text.size() < length);
  // A path holds no colon but the one of its drive: the first other colon ends it.
  const std::size_t colon = text.find(L':', HasDrive(text) ? 2 : 0);
  if (colon == std::wstring_view::npos) return std::nullopt;
  const std::wstring_view head = text.substr(0, colon);
  std::optional<Location> place = ParenthesisForm(head);
  const bool parenthesis = place.has_value();
  if (!place) place = ColonForm(head, text.substr(colon + 1), chain);
  if (!place || place->line < 1 || !IsPlausiblePath(place->path, parenthesis)) return std::nullopt;
  return place;
}

int IndexOfColumn(std::wstring_view line, int column) {
  const int length = static_cast<int>(line.size());
  int index = 0;
  for (int character = 1; character < column && index < length; ++character) {
    const bool pair = index + 1 < length && line[index] >= 0xD800 && line[index] <= 0xDBFF &&
                      line[index + 1] >= 0xDC00 && line[index + 1] <= 0xDFFF;
    index += pair ? 2 : 1;
  }
  return index;
}

int FindLocationLine(const Document& document, int from, bool forward) {
  const int count = document.LineCount();
  const int step = forward ? 1 : -1;
  const int start = forward ? std::max(from + 1, 0) : std::min(from - 1, count - 1);
  for (int line = start; line >= 0 && line < count; line += step) {
    if (ParseLocation(document.lines[line].Peek())) return line;
  }
  return -1;
}
