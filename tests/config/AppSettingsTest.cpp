// The settings object: first run, loading and saving every key, recent files.
#include "config/AppSettings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "comun/resource.h"
#include "platform/Platform.h"

#include "../syntax/ConfigTree.h"
#include "TempFolder.h"

namespace {

class Settings : public testing::Test {
 protected:
  std::wstring Path() const { return folder.Path(L"fum.opt"); }
  std::wstring SyntaxFolder() const { return folder.Path(L"syntax"); }
  // The saved file as read back by the configuration reader.
  std::wstring SavedTree() const {
    ConfigFile file;
    file.Load(Path());
    return DumpTree(file.Root());
  }

  TempFolder folder;
};

TEST_F(Settings, FirstRunTakesDefaultsAndWritesEveryKey) {
  {
    AppSettings settings(Path(), SyntaxFolder());
    EXPECT_TRUE(settings.classes.empty());
    EXPECT_TRUE(settings.classNames.empty());
    EXPECT_TRUE(settings.commands.empty());
    EXPECT_TRUE(settings.recent.empty());
    EXPECT_EQ(settings.lastDirectory, L"\\");  // the other general values show in the file
    DocClass expected;
    expected.name = L"default";
    expected.filter = JoinStringList({L"*.*"});
    EXPECT_EQ(settings.defaultClass, expected);
    EXPECT_EQ(settings.KeyBindingCount(), keyBindingCount);
  }
  EXPECT_EQ(SavedTree(),
            L"assocs:n0= "
            L"clases{classlist:n0= default{closebrackets:s=)]} "
            L"colores:n12=16711680,10040064,8388608,3368550,13209,8388736,16711833,13408512,"
            L"7829367,32768,13145750,9856100, delimiters:s= \t,.;:-=?!+ filter:l1=*.*|| "
            L"fontcleartype:i=1 fontfamily:s=Courier New fontflags:i=0 fontproof:i=0 "
            L"fontsize:i=75 fontstyle:s=Normal fontwidthrel:i=90 hassyntax:i=0 indent:i=1 "
            L"linespacing:i=0 openbrackets:s=([{ relindent:i=2 syntaxfile:s= tabsize:i=2 "
            L"wordwrap:i=1 } nclasses:i=0 } "
            L"commands{cmdlist:n0= } "
            L"general{defdir:s=\\ defext:s=txt dirfollowsdoc:i=1 "
            L"filter:l4=Text Files|*.txt|All Files|*.*|| foopenflags:i=0 fosaveflags:i=0 "
            L"tbfindactive:i=0 winheight:i=0 winleft:i=0 winmaximized:i=0 wintop:i=0 "
            L"winwidth:i=0 } "
            L"nrecent:i=0 progname:s= recent:n0= version:s= ");
}

TEST_F(Settings, FilesReadInPartAreNeitherTakenNorWrittenBack) {
  const std::string settingsText = "defext = \"c\"\r\nnrecent = 1\r\n";
  const std::string sessionText = "reopen = 0\r\n";
  folder.Write(L"fum.opt", settingsText);
  folder.Write(L"fum.session", sessionText);
  {
    // A read fails after the first bytes of the settings file: the session file is not read.
    platform::testing::FailReadsAfter(20);
    AppSettings settings(Path(), SyntaxFolder());
    platform::testing::FailReadsAfter(-1);
    EXPECT_EQ(settings.defext, L"txt") << "nothing of a file read in part is taken";
    EXPECT_TRUE(settings.session.reopen);
    settings.AddRecent(L"C:\\a.txt");
    EXPECT_FALSE(settings.Save());
  }
  EXPECT_EQ(folder.Read(L"fum.opt"), settingsText);
  EXPECT_EQ(folder.Read(L"fum.session"), sessionText);
}

TEST_F(Settings, LoadsClassesInListOrderUpToTheirCount) {
  folder.Write(L"fum.opt",
               "<clases><default>tabsize = 5 fontsize = 90</default>\r\n"
               "nclasses = 3 classlist = {\"zeta\",\"alpha\",\"zeta\",\"beta\"}\r\n"
               "<zeta>filter = {\"*.z\"}</zeta><alpha>tabsize = 3</alpha></clases>\r\n");
  AppSettings settings(Path(), SyntaxFolder());
  EXPECT_EQ(settings.defaultClass.tabsize, 5);
  EXPECT_EQ(settings.defaultClass.filter, JoinStringList({L"*.*"}));
  // A name listed twice is one class; beta lies beyond nclasses.
  EXPECT_EQ(settings.classNames, (std::vector<std::wstring>{L"zeta", L"alpha"}));
  ASSERT_EQ(settings.classes.size(), 2u);
  EXPECT_EQ(settings.classes[L"alpha"].tabsize, 3);
  // Every key of a named class takes its built-in default, not the default class's value.
  EXPECT_EQ(settings.classes[L"zeta"].tabsize, 2);
  EXPECT_EQ(settings.classes[L"zeta"].fontsize, 75);
  EXPECT_EQ(settings.classes[L"zeta"].filter, JoinStringList({L"*.z"}));
  EXPECT_EQ(settings.classes[L"zeta"].name, L"zeta");
  // Without a count no class is read, nor one whose name a plain key holds.
  folder.Write(L"fum.opt", "<clases>classlist = {\"a\"} <a>tabsize = 3</a></clases>\r\n");
  EXPECT_TRUE(AppSettings(Path(), SyntaxFolder()).classNames.empty());
  folder.Write(L"fum.opt", "<clases>nclasses = 2 classlist = {\"a\",\"b\"} a = 1</clases>\r\n");
  EXPECT_EQ(AppSettings(Path(), SyntaxFolder()).classNames, std::vector<std::wstring>{L"b"});
}

TEST_F(Settings, ReadsAtMostNineRecentFiles) {
  std::string list;
  for (int i = 0; i < 10; ++i) list += (i ? ",\"" : "\"") + std::to_string(i) + "\"";
  folder.Write(L"fum.opt", "nrecent = 3 recent = {" + list + "}\r\n");
  AppSettings settings(Path(), SyntaxFolder());
  // nrecent is never read: the list itself counts.
  ASSERT_EQ(settings.recent.size(), 9u);
  EXPECT_EQ(settings.recent.front(), L"0");
  EXPECT_EQ(settings.recent.back(), L"8");
}

TEST_F(Settings, AddRecentMovesKnownPathsAndDropsTheOldest) {
  AppSettings settings(Path(), SyntaxFolder());
  int rebuilt = 0;
  settings.onRecentChanged = [&] { ++rebuilt; };
  for (const wchar_t* path : {L"c", L"b", L"a"}) settings.AddRecent(path);
  EXPECT_EQ(settings.recent, (std::vector<std::wstring>{L"a", L"b", L"c"}));
  settings.AddRecent(L"c");
  EXPECT_EQ(settings.recent, (std::vector<std::wstring>{L"c", L"a", L"b"}));
  settings.AddRecent(L"d");
  EXPECT_EQ(settings.recent.size(), 4u);
  for (const wchar_t* path : {L"5", L"6", L"7", L"8", L"9"}) settings.AddRecent(path);
  EXPECT_EQ(settings.recent,
            (std::vector<std::wstring>{L"9", L"8", L"7", L"6", L"5", L"d", L"c", L"a", L"b"}));
  settings.AddRecent(L"new");
  EXPECT_EQ(settings.recent.size(), 9u);
  EXPECT_EQ(settings.recent.front(), L"new");
  EXPECT_EQ(settings.recent.back(), L"a");
  EXPECT_EQ(rebuilt, 11);
}

TEST_F(Settings, AFileIsOneRecentFileUnderTheSpellingLastUsed) {
  AppSettings settings(Path(), SyntaxFolder());
  TempFolder folder;
  folder.Write(L"Notes.txt", "x");
  std::filesystem::create_directory(folder.Native(L"sub"));
  const std::wstring other = folder.Path(L"sub\\..\\Notes.txt");
  settings.AddRecent(folder.Path(L"Notes.txt"));
  settings.AddRecent(folder.Path(L"b.txt"));
  settings.AddRecent(other);
  EXPECT_EQ(settings.recent, (std::vector<std::wstring>{other, folder.Path(L"b.txt")}));
}

TEST_F(Settings, SaveRewritesClassesAndCommandsAndKeepsUnknownKeys) {
  folder.Write(L"fum.opt",
               "mine = 42 <general>other = \"kept\"</general> <extra>x = 1</extra>\r\n"
               "<clases>nclasses = 2 classlist = {\"a\",\"b\"} <a>tabsize = 3</a> <b></b></clases>\r\n"
               "<commands>cmdlist = {\"one\",\"two\"} <one>cmdline = \"1\"</one>\r\n"
               "<two>cmdline = \"2\"</two></commands>\r\n");
  {
    AppSettings settings(Path(), SyntaxFolder());
    settings.classNames = {L"b", L"b"};  // a name listed twice is saved once
    settings.classes.erase(L"a");
    settings.commands.erase(settings.commands.begin());
    settings.tbfindactive = true;
    settings.recent = {L"\\x"};
  }
  ConfigFile file;
  file.Load(Path());
  EXPECT_EQ(file.GetInt(L"mine", 0), 42);
  EXPECT_EQ(file.GetInt(L"nrecent", 0), 1);
  EXPECT_TRUE(file.Root().Section(L"extra"));
  const ConfigNode* classes = file.Root().Section(L"clases");
  ASSERT_TRUE(classes);
  EXPECT_FALSE(classes->Section(L"a"));
  EXPECT_TRUE(classes->Section(L"b"));
  EXPECT_TRUE(classes->Section(L"default"));
  EXPECT_EQ(classes->Value(L"nclasses")->number, 1);
  EXPECT_EQ(classes->Value(L"classlist")->text, JoinStringList({L"b"}));
  const ConfigNode* commands = file.Root().Section(L"commands");
  ASSERT_TRUE(commands);
  EXPECT_FALSE(commands->Section(L"one"));
  EXPECT_EQ(commands->Section(L"two")->Value(L"cmdline")->text, L"2");
  EXPECT_EQ(commands->Value(L"cmdlist")->text, JoinStringList({L"two"}));
  file.EnterSection(L"general");
  EXPECT_EQ(file.GetString(L"other", L""), L"kept");
  EXPECT_EQ(file.GetInt(L"tbfindactive", 0), 1);
}

TEST_F(Settings, SavedSettingsLoadBackEqual) {
  {
    AppSettings settings(Path(), SyntaxFolder());
    settings.defaultClass.tabsize = 6;
    DocClass c = settings.defaultClass;
    c.name = L"c";
    c.filter = JoinStringList({L"*.c", L"*.h"});
    c.fontfamily = L"Tahoma";
    settings.classNames = {L"c"};
    settings.classes[L"c"] = c;
    settings.commands.push_back({L"build", L"make", L"all", false, true, true});
    settings.assocs = JoinStringList({L".c"});
    settings.filter = JoinStringList({L"All", L"*.*", L"odd"});
    settings.defext = L"c";
    settings.defdir = L"\\docs";
    settings.dirfollowsdoc = false;
    settings.tbfindactive = true;
    settings.foopenflags = 3;
    settings.fosaveflags = 4;
    settings.recent = {L"\\one", L"\\two"};
    settings.winleft = -20;
    settings.wintop = 30;
    settings.winwidth = 400;
    settings.winheight = 500;
    settings.winmaximized = true;
  }
  AppSettings settings(Path(), SyntaxFolder());
  EXPECT_EQ(settings.defaultClass.tabsize, 6);
  ASSERT_EQ(settings.classNames, (std::vector<std::wstring>{L"c"}));
  EXPECT_EQ(settings.classes[L"c"].filter, JoinStringList({L"*.c", L"*.h"}));
  EXPECT_EQ(settings.classes[L"c"].fontfamily, L"Tahoma");
  ASSERT_EQ(settings.commands.size(), 1u);
  const ToolCommand& build = settings.commands[0];
  EXPECT_EQ(build.name + L" " + build.cmdline + L" " + build.cmdargs, L"build make all");
  EXPECT_FALSE(build.savedoc);
  EXPECT_TRUE(build.saveall);
  EXPECT_TRUE(build.capture);
  EXPECT_EQ(settings.assocs, JoinStringList({L".c"}));
  // Only whole name/pattern pairs are stored.
  EXPECT_EQ(settings.filter, JoinStringList({L"All", L"*.*"}));
  EXPECT_EQ(settings.defext, L"c");
  EXPECT_EQ(settings.defdir, L"\\docs");
  EXPECT_EQ(settings.lastDirectory, L"\\docs");
  EXPECT_FALSE(settings.dirfollowsdoc);
  EXPECT_TRUE(settings.tbfindactive);
  EXPECT_EQ(settings.foopenflags, 3);
  EXPECT_EQ(settings.fosaveflags, 4);
  EXPECT_EQ(settings.recent, (std::vector<std::wstring>{L"\\one", L"\\two"}));
  EXPECT_EQ((std::vector<int>{settings.winleft, settings.wintop, settings.winwidth,
                              settings.winheight}),
            (std::vector<int>{-20, 30, 400, 500}));
  EXPECT_TRUE(settings.winmaximized);
}

TEST_F(Settings, TheWindowsPlaceIsBroughtIntoRangeWhereItIsRead) {
  folder.Write(L"fum.opt",
               "<general>winleft = -99999 wintop = 99999 winwidth = -5 winheight = 70000"
               "</general>");
  AppSettings settings(Path(), SyntaxFolder());
  EXPECT_EQ(settings.winleft, -maxWindowExtent);
  EXPECT_EQ(settings.wintop, maxWindowExtent);
  EXPECT_EQ(settings.winwidth, 0);
  EXPECT_EQ(settings.winheight, maxWindowExtent);
}

TEST_F(Settings, NamesOfTheSettingsOwnKeysNeverBreakTheFile) {
  // Classes or commands named like the keys beside them would put their keys into the wrong
  // section; they are skipped, and the other entries survive.
  folder.Write(L"fum.opt",
               "<clases>nclasses = 3 classlist = {\"nclasses\",\"default\",\"ok\"} <ok>tabsize = 3</ok>"
               "</clases><commands>cmdlist = {\"cmdlist\",\"run\"} <run>cmdline = \"r\"</run>"
               "</commands>\r\n");
  {
    AppSettings settings(Path(), SyntaxFolder());
    EXPECT_EQ(settings.classNames, (std::vector<std::wstring>{L"ok"}));
    ASSERT_EQ(settings.commands.size(), 2u);
    EXPECT_EQ(settings.commands[1].cmdline, L"r");
  }
  AppSettings settings(Path(), SyntaxFolder());
  EXPECT_EQ(settings.classNames, (std::vector<std::wstring>{L"ok"}));
  EXPECT_EQ(settings.classes[L"ok"].tabsize, 3);
  ASSERT_EQ(settings.commands.size(), 2u);
  EXPECT_EQ(settings.commands[1].cmdline, L"r");
  const ToolCommand& run = settings.commands[1];  // flags it does not give are off
  EXPECT_FALSE(run.savedoc || run.saveall || run.capture);
}

TEST_F(Settings, NamesATagCannotHoldAreNeverWrittenAsSections) {
  folder.Write(L"fum.opt", "<clases>nclasses = 1 classlist = {\"ok\"} <ok>tabsize = 3</ok></clases>\r\n");
  {
    AppSettings settings(Path(), SyntaxFolder());
    for (const wchar_t* name : {L"a>b", L"/etc", L"two\nlines"}) {
      EXPECT_TRUE(AppSettings::IsReservedClassName(name));
      EXPECT_TRUE(AppSettings::IsReservedCommandName(name));
      settings.classNames.push_back(name);
      settings.classes[name].tabsize = 7;
    }
    settings.classNames.push_back(L"gone");  // listed without a class
    settings.commands.resize(1);
    settings.commands[0].name = L"</commands>";
    settings.commands[0].cmdline = L"cmd";
  }
  AppSettings settings(Path(), SyntaxFolder());
  EXPECT_EQ(settings.classNames, (std::vector<std::wstring>{L"ok"}));
  EXPECT_EQ(settings.classes[L"ok"].tabsize, 3);
  EXPECT_EQ(settings.defaultClass.tabsize, 2);
  ASSERT_EQ(settings.commands.size(), 1u);
  EXPECT_EQ(settings.commands[0].cmdline, L"");  // listed, but with no section of its own
}

TEST_F(Settings, AnEmptyFileFilterListGivesTheDefaults) {
  folder.Write(L"fum.opt", "<general>filter = {}</general>\r\n");
  AppSettings settings(Path(), SyntaxFolder());
  EXPECT_EQ(settings.filter, JoinStringList({L"Text Files", L"*.txt", L"All Files", L"*.*"}));
}

TEST_F(Settings, StoredValuesOutOfRangeSurviveASaveAndTheDefaultKeepsItsSyntax) {
  // The syntax file is missing this time: the class is used without highlighting, but the file
  // still asks for it next time.
  folder.Write(L"fum.opt",
               "<clases><default>hassyntax = 1 syntaxfile = \"gone.syntax\" tabsize = 0</default>"
               "</clases>\r\n");
  {
    AppSettings settings(Path(), SyntaxFolder());
    EXPECT_EQ(settings.defaultClass.tabsize, 1);
    EXPECT_FALSE(settings.Resolved(settings.defaultClass).hassyntax);
  }
  ConfigFile file;
  file.Load(Path());
  ASSERT_TRUE(file.EnterSection(L"clases") && file.EnterSection(L"default"));
  EXPECT_EQ(file.GetInt(L"hassyntax", 0), 1);
  EXPECT_EQ(file.GetInt(L"tabsize", 2), 0);
}

TEST(SettingsPath, ReplacesTheLastThreeCharacters) {
  EXPECT_EQ(SettingsPathFor(L"C:\\Programs\\fum.exe"), L"C:\\Programs\\fum.opt");
  EXPECT_EQ(SettingsPathFor(L"\\x"), L"opt");
}

// The bindings in their order, keys spelled as users read them: "Alt+0x3F" a key code, "char1"
// a character code, any other key a virtual key.
TEST(KeyBindings, FollowTheKeyTableInOrder) {
  const std::pair<std::string, int> table[] = {
      {"Ctrl+4", IDM_CLOSE}, {"Ctrl+5", IDM_FINDTEXT}, {"Ctrl+6", IDM_NEXTWINDOW},
      {"Ctrl+B", IDM_DOCSTART}, {"Ctrl+Shift+B", IDM_DOCSTARTEXTEND}, {"Ctrl+C", IDM_COPY},
      {"Ctrl+Shift+C", IDM_COPYAPPEND}, {"Ctrl+D", IDM_DELETEWORD}, {"Ctrl+E", IDM_DOCEND},
      {"Ctrl+Shift+E", IDM_DOCENDEXTEND}, {"Ctrl+G", IDM_GOTOLINE}, {"Ctrl+I", IDM_BLOCKINDENT},
      {"Ctrl+Shift+I", IDM_BLOCKUNINDENT}, {"Ctrl+M", IDM_MATCH}, {"Ctrl+F", IDM_FINDNEXT},
      {"Ctrl+Q", IDM_EXIT}, {"Ctrl+R", IDM_FINDPREV}, {"Ctrl+S", IDM_SAVE}, {"Ctrl+V", IDM_PASTE},
      {"Ctrl+X", IDM_CUT}, {"Ctrl+Shift+X", IDM_CUTAPPEND}, {"Ctrl+Y", IDM_REDO},
      {"Ctrl+Z", IDM_UNDO}, {"Shift+Alt+0x3F", IDM_ABOUT}, {"char1", IDM_ABOUT},
      {"F2", IDM_NEXTMARK}, {"Shift+F2", IDM_PREVMARK}, {"Ctrl+F2", IDM_MARK},
      {"Ctrl+F4", IDM_CLOSE}, {"F5", IDM_FINDTEXT}, {"Ctrl+F6", IDM_NEXTWINDOW},
      {"Ctrl+Tab", IDM_NEXTWINDOW}, {"Ctrl+Shift+Tab", IDM_PREVWINDOW},
      // The desktop's usual keys, on keys the handheld's leave free.
      {"Ctrl+Shift+A", IDM_SELECTALL}, {"Ctrl+N", IDM_NEW}, {"Ctrl+O", IDM_OPEN},
      {"Ctrl+Shift+S", IDM_SAVEAS}, {"Ctrl+W", IDM_CLOSE}, {"Ctrl+Space", IDM_COMPLETEWORD},
      {"Ctrl+Shift+F", IDM_FINDINFILES}, {"F4", IDM_GOTOLOCATION}, {"F8", IDM_NEXTLOCATION},
      {"Shift+F8", IDM_PREVLOCATION}};
  ASSERT_EQ(std::size(table), defaultKeyBindings.size());
  for (std::size_t i = 0; i < std::size(table); ++i) {
    std::string key = table[i].first;
    int flags = keyVirtual;
    for (auto [name, flag] : {std::pair{"Ctrl+", keyControl}, {"Shift+", keyShift}, {"Alt+", keyAlt}})
      if (key.find(name) != std::string::npos) flags |= flag, key.erase(key.find(name), std::strlen(name));
    int code = key.size() == 1 ? key[0] : key[0] == 'F' ? 0x6F + std::stoi(key.substr(1)) : 0;
    if (key == "Tab") code = 0x09;
    if (key == "Space") code = 0x20;
    if (key.starts_with("0x")) code = std::stoi(key, nullptr, 16);
    if (key == "char1") flags = 0, code = 1;
    SCOPED_TRACE(table[i].first);
    EXPECT_EQ(defaultKeyBindings[i].flags, flags);
    EXPECT_EQ(defaultKeyBindings[i].key, code);
    EXPECT_EQ(defaultKeyBindings[i].command, table[i].second);
  }
}

}  // namespace
