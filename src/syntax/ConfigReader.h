// The reader of the configuration format: a character state machine fed one line at a time,
// whose state and the key and value being collected carry over from line to line.
#pragma once

#include <string>
#include <vector>

#include "syntax/ConfigFile.h"

class ConfigReader {
 public:
  // Sections nest at most this deep below the section the reader starts in.
  static constexpr int maxSectionDepth = 64;

  // Entries go into section (and the sections its tags open); the caller keeps it alive.
  explicit ConfigReader(ConfigNode& section);

  // Consumes one line. Its end contributes no character to a tag, a quoted string or a list,
  // which may run on over several lines, but ends a key or a number. NUL characters are
  // ignored.
  void ReadLine(const std::wstring& line);
  // Ends the file: a number being read is stored, whatever else is being collected dropped.
  void Finish();

 private:
  enum class State { between, tagStart, openTag, closeTag, key, value, integer, quoted };

  // Handles ch in the current state; false when ch is not consumed and must be seen again
  // in the state the call switched to.
  bool Step(wchar_t ch);
  bool StepBetween(wchar_t ch);
  bool StepValue(wchar_t ch);
  bool StepInteger(wchar_t ch);
  void EndInteger();
  void EndLine();
  void StepQuoted(wchar_t ch);

  void OpenSection();
  void CloseSection();
  // Stores node under the entry's key, when there is one, and returns to between entries.
  void StoreEntry(std::unique_ptr<ConfigNode> node);
  // A key completed by a blank and followed by no '=' gets an empty string.
  void FlushLoneKey();
  void EndList();

  ConfigNode* current_;
  int depth_ = 0;  // levels current_ lies below the section the reader started in
  State state_ = State::between;
  std::wstring name_;          // tag name being collected
  std::wstring key_;           // key being collected or completed
  bool keyComplete_ = false;   // key_ ended with a blank and waits for '='
  bool hasKey_ = false;        // the value being read belongs to key_ (else it is dropped)
  bool escape_ = false;        // the previous character of a quoted string was a backslash
  std::wstring string_;        // quoted string being collected
  long long magnitude_ = 0;    // integer being collected, without its sign; saturates
  bool negative_ = false;
  bool inList_ = false;
  std::vector<int> listNumbers_;
  std::vector<std::wstring> listStrings_;
};
