// The syntax files and starter settings shipped with the program, and damaged copies of them.
#include <gtest/gtest.h>

#include "../syntax/ConfigTree.h"
#include "TempFolder.h"
#include "config/AppSettings.h"
#include "config/Classify.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "syntax/Highlighter.h"
#include "syntax/LineScan.h"
#include "text/Document.h"
#include "text/LineReader.h"

namespace {

// The build copies the shipped files into "res" beside the test program.
std::wstring ResFolder() { return platform::FolderOf(platform::ModulePath()) + L"\\res"; }

std::vector<std::wstring> ShippedSyntaxFiles() {
  std::vector<std::wstring> names;
  for (const auto& found : platform::ListFolder(ResFolder() + L"\\*.syntax")) names.push_back(found.name);
  return names;
}

// The bytes of a file given by a program path.
std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  platform::FileHandle file = platform::OpenForReading(path);
  if (file == platform::invalidFile) return bytes;
  char buffer[4096];
  std::uint32_t count = 0;
  while (platform::ReadFile(file, buffer, sizeof buffer, count) && count > 0) bytes.append(buffer, count);
  platform::CloseFile(file);
  return bytes;
}

// A file's lines joined with line feeds, as the configuration reader sees them.
std::wstring ReadText(const std::wstring& path) {
  LineReader reader(path);
  std::wstring text, line;
  while (reader.ReadLine(line)) text += line + L"\n";
  return text;
}

// Every value and section of part is in whole, with the same contents.
bool Contains(const ConfigNode& whole, const ConfigNode& part) {
  for (const auto& [key, node] : part.entries) {
    auto found = whole.entries.find(key);
    if (found == whole.entries.end() || found->second->type != node->type) return false;
    const ConfigNode& other = *found->second;
    if (node->IsSection() ? !Contains(other, *node)
                          : other.number != node->number || other.text != node->text ||
                                other.numbers != node->numbers)
      return false;
  }
  return true;
}

class ShippedSettings : public testing::Test {
 protected:
  void SetUp() override {
    folder.Write(L"fum.opt", ReadBytes(ResFolder() + L"\\fum.opt"));
  }
  TempFolder folder;
};

TEST(ShippedSyntax, EveryFileLoadsAndItsKeywordsCanBeMatched) {
  auto names = ShippedSyntaxFiles();
  ASSERT_GE(names.size(), 7u);
  SyntaxCache cache(ResFolder());
  for (const auto& name : names) {
    SCOPED_TRACE(testing::PrintToString(name));
    const SyntaxDef* def = cache.Load(name);
    ASSERT_NE(def, nullptr);
    EXPECT_FALSE(def->keywords.empty());
    EXPECT_FALSE(def->wordSet.empty());
    // The highlighter reads a word as a word-first character and word characters after it; a
    // keyword of any other shape would never be coloured.
    for (const auto& [word, keywordClass] : def->keywords) {
      bool matchable = IsWordFirst(*def, word[0]);
      for (std::size_t i = 1; i < word.size(); ++i) matchable = matchable && IsWordChar(*def, word[i]);
      EXPECT_TRUE(matchable) << testing::PrintToString(word);
      EXPECT_EQ(KeywordClass(*def, word), keywordClass);
    }
  }
}

TEST(ShippedSyntax, CommentsAndStringsShowOnTheLineThatHoldsThem) {
  struct {
    const wchar_t* file;
    const wchar_t* line;
    int string;   // index of a character inside a string, or -1
    int comment;  // index of a character inside a comment, or -1
  } const cases[] = {
      {L"c.syntax", L"x = \"s\"; // note /* */", 5, 12},
      {L"config.syntax", L"name = \"value\"", 8, -1},
      {L"html.syntax", L"<a href=\"x\"> <!-- note --> text", 9, 17},
      {L"ini.syntax", L"key = \"v\" ; note", 7, 13},
      {L"makefile.syntax", L"CC = \"gcc\" # note", 6, 14},
      {L"python.syntax", L"s = 'x' # note", 5, 11},
      {L"sh.syntax", L"echo \"hi\" # note", 6, 13},
      {L"tex.syntax", L"text % note", -1, 8},
  };
  EXPECT_EQ(std::size(cases), ShippedSyntaxFiles().size());
  SyntaxCache cache(ResFolder());
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.file)));
    const SyntaxDef* def = cache.Load(c.file);
    ASSERT_NE(def, nullptr);
    std::vector<ColourRun> runs;
    TokenizeText(*def, c.line, {}, 4, runs);
    auto kindAt = [&](int index) {
      for (const auto& run : runs)
        if (run.index <= index && index < run.index + run.length) return run.kind;
      return -1;
    };
    EXPECT_EQ(kindAt(c.string), c.string >= 0 ? runString : -1);
    EXPECT_EQ(kindAt(c.comment), c.comment >= 0 ? runComment : -1);
  }
}

TEST_F(ShippedSettings, ClassesChooseTheirSyntaxDefinitions) {
  AppSettings settings(folder.Path(L"fum.opt"), ResFolder());
  EXPECT_EQ(settings.classNames.size(), settings.classes.size());
  EXPECT_GE(settings.classNames.size(), 8u);
  struct Case { const wchar_t* path; const wchar_t* syntaxfile; const wchar_t* keyword; };
  const Case cases[] = {
      {L"\\src\\main.c", L"c.syntax", L"#include"},   {L"\\src\\fum.h", L"c.syntax", L"int"},
      {L"\\src\\fum.rc", L"c.syntax", L"BEGIN"},      {L"\\src\\View.cpp", L"c.syntax", L"class"},
      {L"\\doc\\paper.tex", L"tex.syntax", L"\\section"},
      {L"\\x\\tool.py", L"python.syntax", L"def"},   {L"\\x\\run.sh", L"sh.syntax", L"fi"},
      {L"\\web\\Index.HTML", L"html.syntax", L"DiV"}, {L"\\web\\data.xml", L"html.syntax", L"?xml"},
      {L"\\x\\Makefile", L"makefile.syntax", L"ifeq"},
      {L"\\x\\win.ini", L"ini.syntax", L"TRUE"},     {L"\\x\\fum.opt", L"config.syntax", L"tabsize"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.path)));
    Document document;
    std::wstring path = c.path;
    ClassifyDocument(settings, document, path, platform::FindNamePositions(path).name);
    const SyntaxDef* syntax = SyntaxOf(document);
    ASSERT_NE(syntax, nullptr);
    EXPECT_EQ(syntax, settings.Syntaxes().Find(c.syntaxfile));
    EXPECT_GT(KeywordClass(*syntax, c.keyword), 1);
  }
  Document plain;
  ClassifyDocument(settings, plain, L"\\notes.txt", 1);
  EXPECT_EQ(plain.highlighter, nullptr);
  EXPECT_TRUE(plain.settings.wordwrap);
}

TEST(DamagedFiles, TruncatedFilesKeepEveryEntryBeforeTheCut) {
  // Between them the two files hold every construct of the format; the larger one is cut at
  // every third character to keep the test short.
  const std::pair<const wchar_t*, std::size_t> files[] = {{L"fum.opt", 1}, {L"c.syntax", 3}};
  for (const auto& [name, stride] : files) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
    const std::wstring text = ReadText(ResFolder() + L"\\" + name);
    ASSERT_FALSE(text.empty());
    ConfigNode wholeLines;  // the lines before the cut, read alone
    std::size_t wholeLinesEnd = 0;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      if (cut > 0 && text[cut - 1] == L'\n') {
        wholeLines = ConfigNode();
        ReadConfigText(wholeLines, text.substr(0, cut));
        wholeLinesEnd = cut;
      }
      if (cut % stride != 0) continue;
      ConfigNode truncated;
      ReadConfigText(truncated, text.substr(0, cut));
      ASSERT_TRUE(Contains(truncated, wholeLines)) << "cut at " << cut << " after line end " << wholeLinesEnd;
    }
  }
}

TEST_F(ShippedSettings, TruncatedSettingsFileLoadsWhatItHolds) {
  const std::string bytes = folder.Read(L"fum.opt");
  ASSERT_FALSE(bytes.empty());
  std::vector<std::wstring> allNames = AppSettings(folder.Path(L"fum.opt"), ResFolder()).classNames;
  for (std::size_t cut = 0; cut < bytes.size(); cut += 13) {
    folder.Write(L"cut.opt", bytes.substr(0, cut));
    AppSettings settings(folder.Path(L"cut.opt"), ResFolder());
    // The class list stands before the class sections: it is read whole or not at all.
    if (!settings.classNames.empty()) { ASSERT_EQ(settings.classNames, allNames) << "cut at " << cut; }
    ASSERT_EQ(settings.classes.size(), settings.classNames.size());
  }
}

}  // namespace
