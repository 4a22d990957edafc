// The configuration reader's state machine: tags, keys, integers, quoted strings and lists.
#include "syntax/ConfigReader.h"

#include <climits>

namespace {

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }
bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

// Integers larger than an int can hold stop growing at the largest magnitude (INT_MAX + 1 for
// negative numbers); the reader never overflows.
constexpr long long maxMagnitude = static_cast<long long>(INT_MAX) + 1;

}  // namespace

ConfigReader::ConfigReader(ConfigNode& section) : current_(&section) {}

void ConfigReader::ReadLine(const std::wstring& line) {
  for (wchar_t ch : line) {
    if (ch == L'\0') continue;
    while (!Step(ch)) {
    }
  }
  EndLine();
}

void ConfigReader::EndLine() {
  // A number or a key never continues on the next line: "a = 1" followed by a line "2 = x"
  // are two entries, as the writer puts them.
  if (state_ == State::integer)
    EndInteger();
  else if (state_ == State::key)
    Step(L' ');
}

void ConfigReader::Finish() {
  // The last number of a file is complete even without a character after it.
  if (state_ == State::integer) EndInteger();
  state_ = State::between;
  name_.clear();
  key_.clear();
  keyComplete_ = false;
  hasKey_ = false;
  escape_ = false;
  string_.clear();
  inList_ = false;
  listNumbers_.clear();
  listStrings_.clear();
}

bool ConfigReader::Step(wchar_t ch) {
  switch (state_) {
    case State::between:
      return StepBetween(ch);
    case State::tagStart:
      // The character after '<' decides between a closing and an opening tag.
      if (ch == L'/') {
        state_ = State::closeTag;
        return true;
      }
      state_ = State::openTag;
      return false;
    case State::openTag:
      if (ch == L'>')
        OpenSection();
      else
        name_ += ch;
      return true;
    case State::closeTag:
      if (ch == L'>')
        CloseSection();
      else
        name_ += ch;
      return true;
    case State::key:
      if (IsBlank(ch)) {
        keyComplete_ = true;
        state_ = State::between;
      } else if (ch == L'=') {
        hasKey_ = true;
        state_ = State::value;
      } else {
        key_ += ch;
      }
      return true;
    case State::value:
      return StepValue(ch);
    case State::integer:
      return StepInteger(ch);
    case State::quoted:
      StepQuoted(ch);
      return true;
  }
  return true;
}

bool ConfigReader::StepBetween(wchar_t ch) {
  if (IsBlank(ch)) return true;
  if (ch == L'<') {
    // A key standing alone before a tag belongs to the section it stands in.
    FlushLoneKey();
    name_.clear();
    state_ = State::tagStart;
    return true;
  }
  if (ch == L'=') {
    // Only a key completed by blanks owns this value; otherwise the value is read and dropped.
    hasKey_ = keyComplete_;
    keyComplete_ = false;
    state_ = State::value;
    return true;
  }
  FlushLoneKey();
  key_.clear();
  state_ = State::key;
  return false;
}

bool ConfigReader::StepValue(wchar_t ch) {
  if (IsBlank(ch)) return true;
  if (ch == L'"') {
    string_.clear();
    escape_ = false;
    state_ = State::quoted;
  } else if (IsDigit(ch) || ch == L'-') {
    negative_ = ch == L'-';
    magnitude_ = negative_ ? 0 : ch - L'0';
    state_ = State::integer;
  } else if (ch == L'{') {
    inList_ = true;
    listNumbers_.clear();
    listStrings_.clear();
  } else if (ch == L'}' && inList_) {
    EndList();
  }
  // Anything else, ',' inside a list included, is skipped.
  return true;
}

bool ConfigReader::StepInteger(wchar_t ch) {
  if (IsDigit(ch)) {
    magnitude_ = magnitude_ * 10 + (ch - L'0');
    if (magnitude_ > maxMagnitude) magnitude_ = maxMagnitude;
    return true;
  }
  EndInteger();
  return false;
}

void ConfigReader::EndInteger() {
  long long value = negative_ ? -magnitude_ : magnitude_;
  if (value > INT_MAX) value = INT_MAX;
  if (inList_) {
    listNumbers_.push_back(static_cast<int>(value));
    state_ = State::value;
  } else {
    StoreEntry(MakeIntNode(static_cast<int>(value)));
  }
}

void ConfigReader::StepQuoted(wchar_t ch) {
  if (escape_) {
    string_ += ch;
    escape_ = false;
  } else if (ch == L'\\') {
    escape_ = true;
  } else if (ch == L'"') {
    if (inList_) {
      listStrings_.push_back(std::move(string_));
      string_.clear();
      state_ = State::value;
    } else {
      StoreEntry(MakeStringNode(std::move(string_)));
      string_.clear();
    }
  } else {
    string_ += ch;
  }
}

void ConfigReader::OpenSection() {
  // Writing and destroying the tree recurse once per level; a damaged file must not nest
  // deeper than that can go. Tags beyond the limit are ignored.
  if (depth_ < maxSectionDepth) {
    auto section = std::make_unique<ConfigNode>();
    section->parent = current_;
    current_ = current_->Store(name_, std::move(section));
    ++depth_;
  }
  name_.clear();
  state_ = State::between;
}

void ConfigReader::CloseSection() {
  // The nearest enclosing section that holds a section of this name becomes current; a tag
  // that closes nothing open is ignored.
  int levels = 1;
  for (ConfigNode* outer = current_->parent; outer && levels <= depth_;
       outer = outer->parent, ++levels) {
    if (outer->Section(name_)) {
      current_ = outer;
      depth_ -= levels;
      break;
    }
  }
  name_.clear();
  state_ = State::between;
}

void ConfigReader::StoreEntry(std::unique_ptr<ConfigNode> node) {
  if (hasKey_) current_->Store(key_, std::move(node));
  key_.clear();
  hasKey_ = false;
  keyComplete_ = false;
  inList_ = false;
  state_ = State::between;
}

void ConfigReader::FlushLoneKey() {
  if (!keyComplete_) return;
  current_->Store(key_, MakeStringNode(L""));
  key_.clear();
  keyComplete_ = false;
}

void ConfigReader::EndList() {
  // A list holding any quoted string is a string list of its strings; integers mixed into
  // it are dropped. A list without strings, an empty one included, is an integer list.
  if (!listStrings_.empty())
    StoreEntry(MakeStringListNode(listStrings_));
  else
    StoreEntry(MakeIntListNode(std::move(listNumbers_)));
  listNumbers_.clear();
  listStrings_.clear();
}
