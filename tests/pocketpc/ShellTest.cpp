// Dialogs shown the handheld way, the activation handler and the help viewer's addresses.
#include "TestWindow.h"
#include "pocketpc/PocketPC.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> dialogCommands;

INT_PTR CALLBACK RecordingDialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND) dialogCommands.push_back(LOWORD(wParam));
  return message == WM_INITDIALOG || message == WM_COMMAND;
}

// A small dialog with a frame but no caption buttons, owned by owner.
HWND CreateDialogOwnedBy(HWND owner) {
  struct {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
  } dialog{{WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 0, 10, 10, 100, 60}, 0, 0, 0};
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &dialog.header, owner,
                                    RecordingDialogProc, 0);
}

TEST(InitDialog, CoversTheOwnerAndTheDoneButtonConfirms) {
  const struct {
    DWORD flags;
    bool coversOwner;
    int closeAnswer;  // what the caption's close button sends
  } cases[] = {
      {SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN, true, IDOK},
      {SHIDIF_SIZEDLGFULLSCREEN, true, IDCANCEL},
      {SHIDIF_DONEBUTTON, false, IDOK},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    TestWindow owner(300, 400);
    HWND dialog = CreateDialogOwnedBy(owner.Handle());
    ASSERT_NE(dialog, nullptr);
    RECT before{};
    GetWindowRect(dialog, &before);
    SHINITDLGINFO info{SHIDIM_FLAGS, dialog, c.flags};
    EXPECT_TRUE(SHInitDialog(&info));

    RECT ownerRect{}, dialogRect{};
    GetWindowRect(owner.Handle(), &ownerRect);
    GetWindowRect(dialog, &dialogRect);
    EXPECT_EQ(EqualRect(&dialogRect, c.coversOwner ? &ownerRect : &before) != 0, true);
    if (c.flags & SHIDIF_DONEBUTTON) {
      EXPECT_TRUE(GetWindowLongW(dialog, GWL_STYLE) & WS_SYSMENU);
    }
    dialogCommands.clear();
    SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump(20);  // the dialog manager posts its answer
    EXPECT_EQ(dialogCommands, std::vector<int>{c.closeAnswer});
    DestroyWindow(dialog);
  }
}

TEST(HandleActivate, GivesTheFocusBackToWhereItWas) {
  TestWindow first;
  SHACTIVATEINFO state{};
  state.cbSize = sizeof(state);
  first.filter = [&](UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_ACTIVATE) return false;
    SHHandleWMActivate(first.Handle(), wParam, lParam, &state, 0);
    return true;
  };
  HWND field = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 100,
                               20, first.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(first.Handle());
  SetFocus(field);
  Pump(20);

  {
    TestWindow second;
    SetForegroundWindow(second.Handle());
    Pump(20);
    EXPECT_EQ(state.hwndLastFocus, field);
    EXPECT_EQ(state.fActive, 0u);
    SetForegroundWindow(first.Handle());
    Pump(20);
  }
  EXPECT_EQ(state.fActive, 1u);
  EXPECT_EQ(GetFocus(), field);
}

TEST(HandleActivate, WithNothingRememberedFocusesTheWindowItself) {
  TestWindow other;
  TestWindow window;
  SHACTIVATEINFO state{};
  state.cbSize = sizeof(state);
  SetForegroundWindow(other.Handle());
  Pump(20);
  SHHandleWMActivate(window.Handle(), MAKEWPARAM(WA_ACTIVE, 0), 0, &state, 0);
  EXPECT_EQ(GetFocus(), window.Handle());
}

TEST(HelpViewer, AHelpLinkBecomesTheAddressOfTheFileBesideTheProgram) {
  const struct {
    const wchar_t* link;
    const wchar_t* folder;
    const wchar_t* url;
  } cases[] = {
      {L"file:fum.htm#Main_Contents", L"C:\\fum", L"file:///C:/fum/fum.htm#Main_Contents"},
      {L"file:fum.htm#fileopen", L"C:\\Program Files\\fum\\",
       L"file:///C:/Program%20Files/fum/fum.htm#fileopen"},
      {L"file:fum.htm", L"C:\\a#b", L"file:///C:/a%23b/fum.htm"},
      {L"file:D:\\docs\\help.htm#x", L"C:\\fum", L"file:///D:/docs/help.htm#x"},
      {L"file:\\Windows\\fum.htm#assocs", L"C:\\fum", L"file:///Windows/fum.htm#assocs"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pocketpc::HelpLinkToUrl(c.link, c.folder), c.url) << c.link;
  }
}

}  // namespace
