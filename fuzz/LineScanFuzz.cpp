// Fuzzes the end-state scan and the tokenizer with random definitions and lines: the runs must
// cover the line in order, and the scan of a line kept in code-page bytes must give what the
// scan of its widened text gives.
#include <cstdlib>
#include <vector>

#include "FuzzInput.h"
#include "syntax/LineScan.h"
#include "text/CodePage.h"
#include "text/Line.h"

namespace {

// With two characters of the code page's upper half (the bytes 0xE9 and 0x80 in Windows-1252).
const wchar_t alphabet[] = L"ab/*\"'\\<>#\t -_1\xE9\x20AC";

SyntaxDef RandomDefinition(FuzzInput& in) {
  SyntaxDef def;
  def.ignoreCase = in.Byte() & 1;
  def.syntaxInEmphasisOnly = in.Byte() & 1;
  std::wstring* fields[] = {&def.singleLineComment, &def.commentBegin, &def.commentEnd,
                            &def.stringBegin, &def.stringEnd, &def.stringBegin2,
                            &def.stringEnd2, &def.emphasisBegin, &def.emphasisEnd,
                            &def.emphasisBegin2, &def.emphasisEnd2, &def.stringEscape};
  for (auto* field : fields) *field = in.Text(2, alphabet);
  // A construct without its terminator does not exist.
  std::pair<std::wstring*, std::wstring*> pairs[] = {
      {&def.commentBegin, &def.commentEnd}, {&def.stringBegin, &def.stringEnd},
      {&def.stringBegin2, &def.stringEnd2}, {&def.emphasisBegin, &def.emphasisEnd},
      {&def.emphasisBegin2, &def.emphasisEnd2}};
  for (auto [begin, end] : pairs)
    if (end->empty()) begin->clear();
  def.wordFirstSet = {{L'a', L'b'}};
  def.wordSet = {{L'a', L'b'}, {L'1', L'1'}, {L'_', L'_'}};
  def.keywords = {{L"ab", 2}, {L"a1", 5}, {L"AB", 10}};
  return def;
}

void CheckRuns(const std::vector<ColourRun>& runs, int length) {
  int next = 0;
  for (const auto& run : runs) {
    if (run.kind < 0 || run.kind > 13 || run.length <= 0 || run.index < next || run.index >= length)
      std::abort();
    next = run.index + (run.kind == runBlank ? 1 : run.length);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  SyntaxDef def = RandomDefinition(in);
  int tabSize = 1 + in.Number(8);
  std::wstring text = in.Rest(alphabet);
  // The line as a file keeps it, and the text it stands for.
  std::string bytes;
  codepage::AppendAnsi(text.data(), text.size(), bytes);
  text.resize(codepage::ToWide(bytes.data(), bytes.size(), text.data()));
  const Line narrow(bytes.data(), static_cast<int>(bytes.size()));
  std::vector<ColourRun> runs;
  for (int entering : {0, 1, 4, 5, 7, 9, 11, 13, 14, 15, 16, 17, 18}) {
    LineEndState state = ScanLineEnd(def, text, entering);
    LineEndState fromBytes = ScanLineEnd(def, narrow, entering);
    if (fromBytes.code != state.code || fromBytes.constructPosition != state.constructPosition)
      std::abort();
    if (state.code < 0 || state.code > 18) std::abort();
    if (state.constructPosition < -1 || state.constructPosition > static_cast<int>(text.size()))
      std::abort();
    TokenizeText(def, text, state, tabSize, runs);
    CheckRuns(runs, static_cast<int>(text.size()));
  }
  return 0;
}
