// The settings pages' common behaviour and their dialog procedure with the map from page
// windows to page objects.
#include "settings/SettingsPage.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdint>
#include <map>

#include "platform/HandlerGuard.h"
#include "pocketpc/PocketPC.h"

namespace {

// Pages by window, from WM_INITDIALOG to WM_DESTROY. Built on first use and kept to the end of
// the process.
std::map<std::int64_t, SettingsPage*>& PageMap() {
  static auto* pages = new std::map<std::int64_t, SettingsPage*>;
  return *pages;
}

std::int64_t KeyOf(HWND window) {
  return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(window));
}

SettingsPage* FindPage(HWND window) {
  auto found = PageMap().find(KeyOf(window));
  return found == PageMap().end() ? nullptr : found->second;
}

INT_PTR OnNotify(HWND window, SettingsPage& page, const NMHDR& header) {
  switch (header.code) {
    case PSN_KILLACTIVE:
      // A page with refused data keeps the sheet on it, and OK does not close the sheet: the
      // user has been told and can mend the field, instead of losing every change of the page.
      SetWindowLongPtrW(window, DWLP_MSGRESULT, page.Validate() ? FALSE : TRUE);
      return TRUE;
    case PSN_APPLY:
      if (page.OnApply()) return FALSE;
      SetWindowLongPtrW(window, DWLP_MSGRESULT, PSNRET_INVALID_NOCHANGEPAGE);
      return TRUE;
    case PSN_HELP:
      page.OnHelp();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::wstring ResourceText(int id) {
  const wchar_t* text = nullptr;
  int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id),
                           reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

void SettingsPage::AttachControl(ControlWrapper& wrapper, int id) { wrapper.Attach(window_, id); }

bool SettingsPage::OnCommand(int, int) { return false; }

bool SettingsPage::OnHelp() {
  if (helpTopic_.empty()) return false;
  StartHelpViewer(helpTopic_.c_str());
  return true;
}

void SettingsPage::SetModified(bool modified) {
  modified_ = modified;
  SendMessageW(GetParent(window_), PSM_CHANGED, reinterpret_cast<WPARAM>(window_), 0);
}

void SettingsPage::Tell(int messageId) const {
  MessageBoxW(window_, ResourceText(messageId).c_str(), L"", MB_OK);
}

bool ListEditorPage::OnCommand(int id, int code) { return OnListCommand(id, code); }

namespace {

INT_PTR OnPageMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* page = reinterpret_cast<SettingsPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
    PageMap()[KeyOf(window)] = page;
    bool accepted = page->OnInit(window);
    if (!accepted) PageMap().erase(KeyOf(window));
    return accepted;
  }
  if (message == WM_DESTROY) {
    PageMap().erase(KeyOf(window));
    return FALSE;
  }
  SettingsPage* page = FindPage(window);
  if (!page) return FALSE;
  if (message == WM_COMMAND) return page->OnCommand(LOWORD(wParam), HIWORD(wParam));
  if (message == WM_DRAWITEM) return page->OnDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
  if (message == WM_NOTIFY) return OnNotify(window, *page, *reinterpret_cast<NMHDR*>(lParam));
  return FALSE;
}

}  // namespace

INT_PTR CALLBACK PageDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::Guarded([&] { return OnPageMessage(window, message, wParam, lParam); },
                           [] { return INT_PTR{FALSE}; });
}
