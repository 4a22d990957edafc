// The paths the folder tree walks and the rules of OK on the typed name.
#include <gtest/gtest.h>

#include <map>

#include "filedialog/FolderPaths.h"
#include "filedialog/TypedName.h"

using namespace filedialog;

namespace {

std::string Narrow(const std::wstring& text) { return {text.begin(), text.end()}; }

TEST(FolderPaths, ComponentsWalkFromTheDrive) {
  struct Case {
    const wchar_t* path;
    const wchar_t* joined;  // the components joined again; empty for none
  };
  const Case cases[] = {
      {L"C:\\Users\\me\\a.txt", L"C:\\Users\\me\\a.txt"},
      {L"c:", L"C:\\"},
      {L"C:\\", L"C:\\"},
      {L"D:\\a\\\\b\\", L"D:\\a\\b"},
      {L"\\My Documents\\src", L"E:\\My Documents\\src"},  // on the current drive
      {L"\\", L"E:\\"},
      {L"C:\\a\\.\\b\\..\\c", L"C:\\a\\c"},
      {L"C:\\..\\..\\x", L"C:\\x"},  // never above the drive
      {L"relative\\x", L""},
      {L"1:\\x", L""},  // no drive letter
      {L"\\\\server\\share", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinComponents(PathComponents(c.path, L"E:")), c.joined) << Narrow(c.path);
  }
  EXPECT_TRUE(PathComponents(L"\\x", L"").empty());
  EXPECT_EQ(FolderPathOf({L"C:", L"My Documents", L"src"}), L"C:\\My Documents\\src\\");
  EXPECT_EQ(FolderPathOf({}), L"");
}

TEST(FolderPaths, AChildIsFoundByItsWholeNameOnly) {
  const std::vector<std::wstring> children = {L"Alpha", L"src2", L"SRC", L"srcold"};
  EXPECT_EQ(FindChildFor(children, L"src"), 2);
  EXPECT_EQ(FindChildFor(children, L"alpha"), 0);
  // A folder whose name only begins with the name, or is a part of it, is another folder.
  EXPECT_EQ(FindChildFor(children, L"ALP"), -1);
  EXPECT_EQ(FindChildFor(children, L"src2x"), -1);
  EXPECT_EQ(FindChildFor({L"tests", L"srcold"}, L"test"), -1);
}

// A file system of a few paths for the lookups of OK.
class TypedNames : public ::testing::Test {
 protected:
  std::optional<ChosenPath> Resolve(const std::wstring& typed, std::size_t buffer = 261,
                                    const std::wstring& folder = L"C:\\docs\\") {
    return ResolveTypedName(typed, folder, L"txt", buffer, [this](const std::wstring& path) {
      auto found = existing.find(path);
      return found == existing.end() ? PathKind::none : found->second;
    });
  }
  std::map<std::wstring, PathKind> existing = {
      {L"C:\\docs\\notes", PathKind::file},
      {L"C:\\docs\\src", PathKind::folder},
      {L"C:\\docs\\a.txt", PathKind::file},
      {L"C:\\", PathKind::folder},
  };
};

TEST_F(TypedNames, ResolveToPathsWithTheDefaultExtensionOnlyWhereItBelongs) {
  struct Case {
    const wchar_t* typed;
    const wchar_t* path;
    PathKind kind;
    std::size_t name, extension;
  };
  const Case cases[] = {
      // A name without a dot that does not exist gets the default extension, existing or not.
      {L"a", L"C:\\docs\\a.txt", PathKind::file, 8, 10},
      {L"new", L"C:\\docs\\new.txt", PathKind::none, 8, 12},
      // One that exists as typed is taken as typed; so is a folder.
      {L"notes", L"C:\\docs\\notes", PathKind::file, 8, 0},
      {L"src", L"C:\\docs\\src", PathKind::folder, 8, 0},
      // A final dot is dropped and stops the default extension.
      {L"plain.", L"C:\\docs\\plain", PathKind::none, 8, 0},
      {L"b.md", L"C:\\docs\\b.md", PathKind::none, 8, 10},
      // A dot in a folder name is no extension.
      {L"v1.2\\readme", L"C:\\docs\\v1.2\\readme.txt", PathKind::none, 13, 20},
      // Full paths with their drive, root-based paths and ways up.
      {L"D:\\x\\y.c", L"D:\\x\\y.c", PathKind::none, 5, 7},
      {L"\\top", L"C:\\top.txt", PathKind::none, 3, 7},
      {L"..", L"C:\\", PathKind::folder, 3, 0},
      {L"src\\..\\a.txt", L"C:\\docs\\a.txt", PathKind::file, 8, 10},
      {L"s\\..\\a.txt", L"C:\\docs\\a.txt", PathKind::file, 8, 10},
  };
  for (const Case& c : cases) {
    std::optional<ChosenPath> chosen = Resolve(c.typed);
    ASSERT_TRUE(chosen) << Narrow(c.typed);
    EXPECT_EQ(chosen->path, c.path) << Narrow(c.typed);
    EXPECT_EQ(chosen->kind, c.kind) << Narrow(c.typed);
    EXPECT_EQ(chosen->namePosition, c.name) << Narrow(c.typed);
    EXPECT_EQ(chosen->extensionPosition, c.extension) << Narrow(c.typed);
  }
}

TEST_F(TypedNames, NothingHappensForAnEmptyNameANameWithoutDriveOrAPathTooLong) {
  EXPECT_FALSE(Resolve(L""));
  EXPECT_EQ(Resolve(L".")->path, L"C:\\docs");  // the folder itself, not a name
  EXPECT_EQ(Resolve(L"src\\")->kind, PathKind::folder);
  EXPECT_FALSE(Resolve(L"new\\"));  // a folder that is not there
  EXPECT_FALSE(Resolve(L"name", 261, L""));  // at the drive list, a name needs its drive
  EXPECT_TRUE(Resolve(L"C:", 261, L""));
  // "C:\docs\abc" with its NUL needs 12 characters, 16 with the default extension.
  EXPECT_FALSE(Resolve(L"abc.d", 12));
  EXPECT_FALSE(Resolve(L"abc.d", 13));  // no room for the NUL
  EXPECT_TRUE(Resolve(L"abc.d", 14));
  EXPECT_FALSE(Resolve(L"abc", 15));
  EXPECT_TRUE(Resolve(L"abc", 16));
}

TEST(OkSteps, FollowTheModeTheFlagsAndWhatExists) {
  struct Case { bool save; std::uint32_t flags; PathKind kind; OkStep step; };
  const Case cases[] = {
      {true, askBeforeReplacing, PathKind::folder, OkStep::enterFolder},
      {false, 0, PathKind::folder, OkStep::enterFolder},
      {true, askBeforeReplacing, PathKind::file, OkStep::askReplace},
      {true, 0, PathKind::file, OkStep::accept},
      {true, askBeforeReplacing, PathKind::none, OkStep::accept},
      {false, fileMustExist, PathKind::file, OkStep::accept},
      {false, fileMustExist | askBeforeCreating, PathKind::none, OkStep::stay},
      {false, askBeforeCreating, PathKind::none, OkStep::askCreate},
      {false, 0, PathKind::none, OkStep::create},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NextOkStep(c.save, c.flags, c.kind), c.step)
        << c.save << " " << c.flags << " " << static_cast<int>(c.kind);
  }
}

}  // namespace
