// Works the settings sheet of a running fum.exe through its controls' messages.
#include "SettingsSheetDriver.h"

#include <commctrl.h>
#include <prsht.h>

#include "comun/resource.h"

bool SheetDriver::Open() {
  fum_.PostCommand(IDM_SETTINGS);
  sheet_ = fum_.WaitForDialog(L"Settings");
  return sheet_ != nullptr;
}

int SheetDriver::PageCount() const {
  HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETTABCONTROL, 0, 0));
  return static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
}

void SheetDriver::ShowPage(int index) const { SendMessageW(sheet_, PSM_SETCURSEL, index, 0); }

HWND SheetDriver::Page() const {
  return reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::wstring SheetDriver::Text(int id) const {
  wchar_t text[512] = {};
  SendMessageW(Control(id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

void SheetDriver::SetText(int id, const std::wstring& text) const {
  SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void SheetDriver::TypeName(int id, const std::wstring& text) const {
  SetText(id, text);
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE),
               reinterpret_cast<LPARAM>(Control(id)));
}

void SheetDriver::Click(int id) const { SendMessageW(Control(id), BM_CLICK, 0, 0); }

void SheetDriver::ClickLater(int id) const {
  PostMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(Control(id)));
}

void SheetDriver::Choose(int id, const std::wstring& text) const {
  HWND control = Control(id);
  wchar_t className[32] = {};
  GetClassNameW(control, className, 32);
  bool combo = lstrcmpiW(className, L"ComboBox") == 0;
  auto index = SendMessageW(control, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT,
                            static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(control));
}

int SheetDriver::FindSection(const std::wstring& name) const {
  return static_cast<int>(SendMessageW(Control(IDC_CLS_SECTION), CB_FINDSTRINGEXACT,
                                       static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(name.c_str())));
}

void SheetDriver::PressOk() const { PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0); }

bool SheetDriver::AnswerMessage(std::wstring* caption, std::wstring* text) const {
  HWND box = fum_.WaitForDialog(nullptr, sheet_);
  if (!box) return false;
  if (caption) *caption = WindowText(box);
  if (text) *text = DialogMessage(box);
  fum_.Press(box, IDOK);
  return true;
}

bool SheetDriver::WaitClosed(DWORD timeoutMs) const {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (IsWindow(sheet_) && IsWindowVisible(sheet_)) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(20);
  }
  return true;
}
