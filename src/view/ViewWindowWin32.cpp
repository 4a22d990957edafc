// The FEDIT window: class, creation, placement, its window procedure and its surface.
#include "view/ViewWindowWin32.h"

#include <commctrl.h>

#include <algorithm>
#include <string_view>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "config/DocClass.h"
#include "text/Document.h"
#include "text/Line.h"
#include "view/Caret.h"
#include "view/Grid.h"
#include "view/Keys.h"
#include "view/Mouse.h"
#include "platform/HandlerGuard.h"
#include "platform/HandlerNesting.h"
#include "pocketpc/PocketPC.h"

namespace {

constexpr wchar_t viewClassName[] = L"FEDIT";
// Posted to the view to draw scroll bars whose drawing was put off.
constexpr UINT redrawScrollBarsMessage = WM_APP + 1;

HINSTANCE InstanceOf(HWND window) {
  HINSTANCE instance =
      window ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)) : nullptr;
  return instance ? instance : GetModuleHandleW(nullptr);
}

RECT ToRect(const PixelRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

int BarOf(ScrollBar bar) { return bar == ScrollBar::vertical ? SB_VERT : SB_HORZ; }

int X(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int Y(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

// The arrow over the mark margin; elsewhere the class cursor (the I-beam) stays.
void SetMarginCursor(const ViewWindow& view, int x) {
  if (x <= view.leftMargin) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

bool IsTapAndHold(const ViewWindow& view, int x, int y) {
  SHRGINFO info{};
  info.cbSize = sizeof info;
  info.hwndClient = view.window;
  info.ptDown = {x, y};
  info.dwFlags = SHRG_RETURNCMD;
  return SHRecognizeGesture(&info) == GN_CONTEXTMENU;
}

void Press(ViewWindow& view, int x, int y, bool shift, bool contextGesture) {
  SetMarginCursor(view, x);
  if (GetFocus() != view.frameWindow) SetFocus(view.frameWindow);
  SetCapture(view.window);
  if (OnPress(view, x, y, shift, contextGesture)) ShowContextMenu(view, x, y);
}

void Release(ViewWindow& view, int x, int y) {
  SetMarginCursor(view, x);
  if (OnRelease(view, x, y)) ReleaseCapture();
}

LRESULT OnPaint(ViewWindow& view) {
  const platform::PaintDc paint(view.window);
  const RECT& area = paint.Area();
  if (area.right * area.bottom > 0) PaintView(view, paint.Get(), area);
  return 0;
}

// One message for the view; false leaves it to the default window procedure.
bool HandleMessage(ViewWindow& view, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_PAINT:
      result = OnPaint(view);
      return true;
    case WM_SIZE:
      OnViewSize(view, LOWORD(lParam), HIWORD(lParam));
      return true;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (lParam) return false;  // a scroll bar control, not the window's own
      OnScrollBar(view, message == WM_VSCROLL ? ScrollBar::vertical : ScrollBar::horizontal,
                  LOWORD(wParam));
      return true;
    case WM_MOUSEWHEEL:
      OnMouseWheel(view, GET_WHEEL_DELTA_WPARAM(wParam));
      return true;
    case WM_LBUTTONDOWN:
      Press(view, X(lParam), Y(lParam), (wParam & MK_SHIFT) != 0,
            IsTapAndHold(view, X(lParam), Y(lParam)));
      return true;
    case WM_LBUTTONDBLCLK:
      if (!OnDoubleTap(view, X(lParam), Y(lParam), (wParam & MK_SHIFT) != 0))
        Press(view, X(lParam), Y(lParam), (wParam & MK_SHIFT) != 0, false);
      return true;
    case WM_MOUSEMOVE:
      SetMarginCursor(view, X(lParam));
      OnDrag(view, X(lParam), Y(lParam));
      return true;
    case WM_LBUTTONUP:
      Release(view, X(lParam), Y(lParam));
      return true;
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a menu, a dialog, the system): the release that would
      // end the drag never comes here, so the drag ends now, as a release where it stands.
      if (reinterpret_cast<HWND>(lParam) != view.window) OnRelease(view, 0, 0);
      return true;
    case WM_RBUTTONDOWN:
      // The right button opens the menu on the press, as a tap-and-hold does.
      Press(view, X(lParam), Y(lParam), false, true);
      return true;
    case WM_RBUTTONUP:
      return true;
    case WM_CHAR:
      // A repeated key types one character per message.
      return OnChar(view, static_cast<wchar_t>(wParam));
    case redrawScrollBarsMessage:
      view.windowSurface.RedrawScrollBars();
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_GOTOLINE) {
        if (view.onGotoLine) view.onGotoLine(view);
      } else {
        result = SendMessageW(view.frameWindow, message, wParam, lParam);
      }
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The tap-and-hold wait, the context menu and the scroll bars' tracking run message loops;
  // requests from other programs that arrive in them wait until this handler has ended.
  platform::HandlerScope scope;
  auto* view = reinterpret_cast<ViewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  const auto byDefault = [&] { return DefWindowProcW(window, message, wParam, lParam); };
  if (!view || view->window != window) return byDefault();
  return platform::Guarded(
      [&] {
        LRESULT result = 0;
        return HandleMessage(*view, message, wParam, lParam, result) ? result : byDefault();
      },
      byDefault);
}

}  // namespace

void ShowContextMenu(ViewWindow& view, int x, int y) {
  const platform::OwnedMenu menu(
      LoadMenuW(InstanceOf(view.frameWindow), MAKEINTRESOURCEW(IDR_VIEWPOPUP)));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu.Get(), 0);
  const UINT selection = view.selectionActive ? MF_ENABLED : MF_GRAYED;
  EnableMenuItem(popup, IDM_CUT, MF_BYCOMMAND | selection);
  EnableMenuItem(popup, IDM_COPY, MF_BYCOMMAND | selection);
  EnableMenuItem(popup, IDM_PASTE,
                 MF_BYCOMMAND | (view.surface->ClipboardHasText() ? MF_ENABLED : MF_GRAYED));
  const bool marked = view.document->lines[view.caret.line].Marked();
  CheckMenuItem(popup, IDM_MARK, MF_BYCOMMAND | (marked ? MF_CHECKED : MF_UNCHECKED));
  // The menu opens at the tapped point of the view.
  POINT point{x, y};
  ClientToScreen(view.window, &point);
  TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN, point.x, point.y, view.window, nullptr);
}

// ---- Surface ----------------------------------------------------------------------------------

void WindowSurface::ClientSize(int& width, int& height) const {
  RECT client{};
  if (owner_.window) GetClientRect(owner_.window, &client);
  width = client.right;
  height = client.bottom;
}

void WindowSurface::Invalidate(const PixelRect& rect, bool erase) {
  const RECT area = ToRect(rect);
  InvalidateRect(owner_.window, &area, erase);
}

void WindowSurface::InvalidateAll(bool erase) { InvalidateRect(owner_.window, nullptr, erase); }

void WindowSurface::Scroll(int dx, int dy, const PixelRect& area) {
  const RECT rect = ToRect(area);
  ScrollWindowEx(owner_.window, dx, dy, &rect, &rect, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
}

void WindowSurface::UpdateNow() { UpdateWindow(owner_.window); }

void WindowSurface::SetScrollBar(ScrollBar bar, unsigned mask, const ScrollBarState& state) {
  const int which = static_cast<int>(bar);
  ScrollBarState wanted = requested_[which];
  if (mask & scrollRange) {
    wanted.min = state.min;
    wanted.max = state.max;
  }
  if (mask & scrollPage) wanted.page = state.page;
  if (mask & scrollPos) wanted.pos = state.pos;
  // The clamping of the window's bars.
  if (wanted.min > wanted.max) wanted.min = wanted.max = 0;
  wanted.page = std::clamp(wanted.page, 0, wanted.max - wanted.min + 1);
  wanted.pos = std::clamp(wanted.pos, wanted.min,
                          std::max(wanted.min, wanted.max - std::max(wanted.page - 1, 0)));
  if (known_[which] && wanted == requested_[which]) return;
  const bool wasKnown = known_[which];
  requested_[which] = wanted;
  known_[which] = known_[which] || (mask & scrollAll) == scrollAll;
  if (wasKnown && ThumbOf(bar, wanted) == ThumbOf(bar, given_[which])) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = known_[which] ? SIF_RANGE | SIF_PAGE | SIF_POS : mask;
  info.nMin = wanted.min;
  info.nMax = wanted.max;
  info.nPage = static_cast<UINT>(wanted.page);
  info.nPos = wanted.pos;
  given_[which] = wanted;
  // The bar takes its new state (and shows or hides) at once; only its drawing waits.
  SetScrollInfo(owner_.window, BarOf(bar), &info, FALSE);
  undrawn_[which] = true;
  if (!redrawPosted_) redrawPosted_ = PostMessageW(owner_.window, redrawScrollBarsMessage, 0, 0);
  if (!redrawPosted_) RedrawScrollBars();
}

void WindowSurface::RedrawScrollBars() {
  redrawPosted_ = false;
  RECT client{};
  GetClientRect(owner_.window, &client);
  // The bars lie outside the client area, right of it and below it (client coordinates).
  const int width = GetSystemMetrics(SM_CXVSCROLL), height = GetSystemMetrics(SM_CYHSCROLL);
  const RECT bars[2] = {{0, client.bottom, client.right + width, client.bottom + height},
                        {client.right, 0, client.right + width, client.bottom + height}};
  for (int which = 0; which < 2; ++which) {
    if (!undrawn_[which]) continue;
    undrawn_[which] = false;
    RedrawWindow(owner_.window, &bars[which], nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

ScrollBarState WindowSurface::GetScrollBar(ScrollBar bar) const {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ScrollBarState state;
  if (GetScrollInfo(owner_.window, BarOf(bar), &info)) {
    state.min = info.nMin;
    state.max = info.nMax;
    state.page = static_cast<int>(info.nPage);
    state.pos = info.nPos;
    state.trackPos = info.nTrackPos;
  }
  const int which = static_cast<int>(bar);
  if (!known_[which]) return state;
  // The window's bar may lag behind by less than a pixel; a drag to its far end reaches the
  // far end of the view's range.
  const ScrollBarState& given = given_[which];
  const int givenLast = given.max - std::max(given.page - 1, 0);
  ScrollBarState logical = requested_[which];
  logical.trackPos = state.trackPos >= givenLast
                         ? logical.max - std::max(logical.page - 1, 0)
                         : std::clamp(state.trackPos, logical.min, logical.max);
  return logical;
}

WindowSurface::Thumb WindowSurface::ThumbOf(ScrollBar bar, const ScrollBarState& state) const {
  const long long range = static_cast<long long>(state.max) - state.min + 1;
  if (state.page >= range) return {};  // nothing to scroll: the bar is hidden or disabled
  RECT client{};
  GetClientRect(owner_.window, &client);
  const bool vertical = bar == ScrollBar::vertical;
  const int arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
  const int length = static_cast<int>(vertical ? client.bottom : client.right);
  const int track = std::max(0, length - 2 * arrow);
  const int smallest = GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  const int size = state.page > 0
                       ? std::max(smallest, static_cast<int>(track * static_cast<long long>(state.page) / range))
                       : smallest;
  const long long steps = range - std::max(state.page, 1);
  const int offset = steps > 0 ? static_cast<int>(std::max(0, track - size) *
                                                  static_cast<long long>(state.pos - state.min) / steps)
                               : 0;
  return {true, offset, size};
}

void WindowSurface::CreateCaret(int width, int height) {
  ::CreateCaret(owner_.window, nullptr, width, height);
}
void WindowSurface::DestroyCaret() { ::DestroyCaret(); }
void WindowSurface::ShowCaret() { ::ShowCaret(owner_.window); }
void WindowSurface::HideCaret() { ::HideCaret(owner_.window); }
void WindowSurface::SetCaretPos(int x, int y) { ::SetCaretPos(x, y); }

bool WindowSurface::ClipboardHasText() const {
  return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
}
bool WindowSurface::OpenClipboard() { return ::OpenClipboard(owner_.window) != FALSE; }
void WindowSurface::CloseClipboard() { ::CloseClipboard(); }
void WindowSurface::EmptyClipboard() { ::EmptyClipboard(); }

std::optional<std::wstring> WindowSurface::GetClipboardText() {
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (!text) return std::nullopt;
  // Another program may have put a block without a terminating NUL there: never read past it.
  const std::wstring_view block(text, GlobalSize(data) / sizeof(wchar_t));
  const std::wstring copy(block.substr(0, block.find(L'\0')));
  GlobalUnlock(data);
  return copy;
}

bool WindowSurface::SetClipboardText(const std::wstring& text) {
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  auto* target = static_cast<wchar_t*>(GlobalLock(memory));
  if (!target) {
    GlobalFree(memory);
    return false;
  }
  text.copy(target, text.size());
  target[text.size()] = L'\0';
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_UNICODETEXT, memory)) {
    GlobalFree(memory);
    return false;
  }
  return true;
}

// ---- The view window --------------------------------------------------------------------------

ViewWindow::ViewWindow(Document& doc, HWND frame, ViewFrame* viewFrame) : frameWindow(frame) {
  viewNumber = NextViewNumber();
  Attach(doc, windowSurface, viewFrame);
}

ViewWindow::~ViewWindow() {
  if (window) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
}

bool RegisterViewClass(HINSTANCE instance) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSW windowClass{};
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = ViewProc;
  windowClass.cbWndExtra = 4;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_FUM));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = viewClassName;
  registered = RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

bool CreateViewWindow(ViewWindow& view) {
  const HINSTANCE instance = InstanceOf(view.frameWindow);
  if (!RegisterViewClass(instance)) return false;
  RECT client{};
  GetClientRect(view.frameWindow, &client);
  const auto childId = static_cast<UINT_PTR>(4 * (view.viewNumber + 25));
  HWND window = CreateWindowExW(0, viewClassName, L"", WS_CHILD | WS_VSCROLL | WS_HSCROLL, 0, 0,
                                client.right, client.bottom, view.frameWindow,
                                reinterpret_cast<HMENU>(childId), instance, nullptr);
  if (!window) return false;
  view.window = window;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&view));
  view.backgroundBrush.Reset(CreateSolidBrush(GetBkColor(platform::WindowDc(window).Get())));
  view.markSign.Reset(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_MARK), IMAGE_BITMAP, 0, 0, 0)));
  InitView(view);
  return true;
}

void InitView(ViewWindow& view, const FindBarStrip& findBar) {
  Document& document = *view.document;
  view.onScreen = true;
  ShowWindow(view.window, SW_SHOW);
  UpdateFontMetrics(view, view.docClass);
  RECT client{};
  GetClientRect(view.frameWindow, &client);
  ResizeView(view, client.right, client.bottom, findBar);
  UpdateScrollBars(view);
  if (RelayoutView(view, document.settings)) ResizeView(view, client.right, client.bottom, findBar);
  view.surface->InvalidateAll(true);
  view.surface->UpdateNow();
  view.surface->CreateCaret(view.caretWidth, view.lineHeight);
  ShowCaretAt(view);
}

void ResizeView(ViewWindow& view, int width, int height, const FindBarStrip& findBar) {
  MoveWindow(view.window, 0, 0, width, height - findBar.reservedHeight, TRUE);
  if (findBar.window && findBar.reservedHeight > 0) {
    RECT client{};
    GetClientRect(view.window, &client);
    int top = client.bottom;
    // Below the horizontal scroll bar while it shows.
    if (!view.document->settings.wordwrap && view.horizontalPage > 0)
      top += GetSystemMetrics(SM_CYHSCROLL);
    MoveWindow(findBar.window, 0, top, width, findBar.height, TRUE);
    SendMessageW(findBar.window, TB_AUTOSIZE, 0, 0);
  }
  view.surface->InvalidateAll(false);
}

void HideView(ViewWindow& view) {
  view.onScreen = false;
  ShowWindow(view.window, SW_HIDE);
}

void FrameFocusGained(ViewWindow& view) {
  view.surface->CreateCaret(view.caretWidth, view.lineHeight);
  ShowCaretAt(view);
}

void FrameFocusLost(ViewWindow& view) {
  view.caretShown = false;
  view.surface->HideCaret();
  view.surface->DestroyCaret();
}

void ApplyClassSettings(ViewWindow& view, AppSettings& settings, const DocClass& docClass) {
  const DocClass resolved = settings.Resolved(docClass);
  UpdateFontMetrics(view, resolved);
  ApplyLayoutSettings(view, resolved);
}

std::function<void(Document&, const DocClass&)> ViewClassApplier(ViewWindow& view,
                                                                 AppSettings& settings) {
  return [&view, &settings](Document&, const DocClass& docClass) {
    ApplyClassSettings(view, settings, docClass);
  };
}
