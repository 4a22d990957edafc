// The completion list's window: an owner-drawn list box without data of its own (the frame's
// CompletionList holds the words), shown under the word at the caret without taking the
// activation or the focus from the main window, which keeps the keys.
#include "frame/CompletionPopup.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "comun/resource.h"
#include "frame/MainFrame.h"
#include "platform/HandlerGuard.h"
#include "text/Document.h"
#include "text/Line.h"
#include "text/TextPos.h"
#include "text/WordIndex.h"
#include "view/Keys.h"

namespace {

constexpr UINT_PTR listSubclassId = 3;
constexpr UINT_PTR viewSubclassId = 4;
constexpr int mostRowsShown = 8;

std::vector<Document*> OpenTexts(const MainFrame& frame) {
  std::vector<Document*> texts;
  for (const auto& document : frame.documents) texts.push_back(document->text.get());
  return texts;
}

int RowsShown(const MainFrame& frame) {
  return std::min(mostRowsShown, static_cast<int>(frame.completion.Candidates().size()));
}

// Width of the widest candidate in the view's font, in pixels: of a long list only the words
// longest in characters are measured, so that a short prefix in a large vocabulary costs no
// more than a long one.
int WidestCandidate(const ViewWindow& view, const std::vector<std::wstring>& words) {
  constexpr std::size_t measured = 64;
  std::vector<const std::wstring*> longest;
  for (const auto& word : words) longest.push_back(&word);
  const auto count = std::min(measured, longest.size());
  std::partial_sort(longest.begin(), longest.begin() + static_cast<std::ptrdiff_t>(count),
                    longest.end(), [](const auto* a, const auto* b) { return a->size() > b->size(); });
  const platform::WindowDc dc(view.window);
  const HGDIOBJ old = SelectObject(dc.Get(), view.font.Get());
  int widest = 0;
  for (std::size_t i = 0; i < count; ++i) {
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), longest[i]->c_str(), static_cast<int>(longest[i]->size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  SelectObject(dc.Get(), old);
  return widest;
}

// Under the row of the caret, from the start of the word it completes; above that row when the
// view has no room below it.
void PlaceList(MainFrame& frame, ViewWindow& view) {
  const std::vector<std::wstring>& words = frame.completion.Candidates();
  const int rows = RowsShown(frame);
  const bool scrolls = static_cast<int>(words.size()) > rows;
  const int border = 2 * GetSystemMetrics(SM_CXBORDER);
  const int width = std::min(WidestCandidate(view, words) + 2 * view.characterWidth + border +
                                 (scrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0),
                             std::max(1, view.visibleColumns) * view.characterWidth);
  const int height = rows * view.lineHeight + 2 * GetSystemMetrics(SM_CYBORDER);

  TextPos start = view.caret;
  SetPos(start, PrefixAtCaret(view).start, view.caret.line);
  const int row = AbsoluteRow(start) - view.firstRow;
  // The words in the list stand one cell in from its edge: the edge goes one cell and the border
  // left of the word, so that the words stand under it.
  POINT corner{view.leftMargin + (start.visualColumn - view.firstColumn - 1) * view.characterWidth -
                   border / 2,
               (row + 1) * view.lineHeight};
  RECT client{};
  GetClientRect(view.window, &client);
  if (corner.y + height > client.bottom && row * view.lineHeight - height >= 0)
    corner.y = row * view.lineHeight - height;
  corner.x = std::max(0L, std::min(corner.x, client.right - width));
  ClientToScreen(view.window, &corner);
  SetWindowPos(frame.completionWindow, nullptr, corner.x, corner.y, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The list box shows the candidates and the selection of the frame's list.
void ShowChoice(MainFrame& frame) {
  SendMessageW(frame.completionWindow, LB_SETCOUNT, frame.completion.Candidates().size(), 0);
  SendMessageW(frame.completionWindow, LB_SETCURSEL, frame.completion.Selected(), 0);
  InvalidateRect(frame.completionWindow, nullptr, TRUE);
}

void Take(MainFrame& frame) {
  if (ViewWindow* view = frame.ActiveView()) {
    frame.completion.Take(*view);
  } else {
    frame.completion.Close();
  }
  CloseCompletion(frame);
}

LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR data) {
  MainFrame& frame = *reinterpret_cast<MainFrame*>(data);
  const auto byDefault = [&] { return DefSubclassProc(window, message, wParam, lParam); };
  return platform::Guarded(
      [&]() -> LRESULT {
        switch (message) {
          case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;  // the main window keeps the activation and the keys
          case WM_LBUTTONDOWN: {
            // A tap takes the word under it.
            const auto item = static_cast<DWORD>(SendMessageW(window, LB_ITEMFROMPOINT, 0, lParam));
            if (HIWORD(item) == 0) {
              frame.completion.Select(LOWORD(item));
              Take(frame);
            }
            return 0;
          }
          case WM_LBUTTONDBLCLK:
          case WM_LBUTTONUP:
          case WM_MOUSEMOVE:
            return 0;
          case WM_NCDESTROY:
            RemoveWindowSubclass(window, ListProc, listSubclassId);
            break;
          default:
            break;
        }
        return byDefault();
      },
      byDefault);
}

// While the list is open, the stylus or a scroll of the view closes it.
LRESULT CALLBACK ViewWatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
      CloseCompletion(*reinterpret_cast<MainFrame*>(data));
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, ViewWatchProc, viewSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void OpenList(MainFrame& frame, ViewWindow& view) {
  frame.completionWindow = CreateWindowExW(
      WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"LISTBOX", nullptr,
      WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT,
      0, 0, 0, 0, frame.mainWindow, nullptr, frame.instance, nullptr);
  if (!frame.completionWindow) {
    frame.completion.Close();
    return;
  }
  SetWindowSubclass(frame.completionWindow, ListProc, listSubclassId, reinterpret_cast<DWORD_PTR>(&frame));
  SendMessageW(frame.completionWindow, WM_SETFONT, reinterpret_cast<WPARAM>(view.font.Get()), FALSE);
  SendMessageW(frame.completionWindow, LB_SETITEMHEIGHT, 0, view.lineHeight);
  frame.completionView = view.window;
  SetWindowSubclass(view.window, ViewWatchProc, viewSubclassId, reinterpret_cast<DWORD_PTR>(&frame));
  ShowChoice(frame);
  PlaceList(frame, view);
  ShowWindow(frame.completionWindow, SW_SHOWNOACTIVATE);
}

// After the view's text changed under the open list: it follows the word before the caret.
void FollowTyping(MainFrame& frame, ViewWindow& view) {
  const std::vector<Document*> texts = OpenTexts(frame);
  if (!frame.completion.Follow(view, texts)) {
    CloseCompletion(frame);
    return;
  }
  ShowChoice(frame);
  PlaceList(frame, view);
}

void Move(MainFrame& frame, int delta) {
  frame.completion.Move(delta);
  SendMessageW(frame.completionWindow, LB_SETCURSEL, frame.completion.Selected(), 0);
}

void DrawItem(MainFrame& frame, const DRAWITEMSTRUCT& item) {
  const std::vector<std::wstring>& words = frame.completion.Candidates();
  if (item.itemID >= words.size()) return;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT text = item.rcItem;
  ViewWindow* view = frame.ActiveView();
  text.left += view ? view->characterWidth : 0;
  const HGDIOBJ old = view ? SelectObject(item.hDC, view->font.Get()) : nullptr;
  const std::wstring& word = words[item.itemID];
  DrawTextW(item.hDC, word.c_str(), static_cast<int>(word.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (old) SelectObject(item.hDC, old);
}

// A key-down while the list is open; true when it chose from the list.
bool OnListKey(MainFrame& frame, ViewWindow& view, WPARAM key) {
  const int page = std::max(1, RowsShown(frame) - 1);
  switch (key) {
    case VK_UP: Move(frame, -1); return true;
    case VK_DOWN: Move(frame, 1); return true;
    case VK_PRIOR: Move(frame, -page); return true;
    case VK_NEXT: Move(frame, page); return true;
    case VK_TAB: return true;  // takes the word as its character arrives
    case VK_BACK: {
      const bool ctrl = GetKeyState(VK_CONTROL) < 0;
      OnKeyDown(view, keyBack, GetKeyState(VK_SHIFT) < 0, ctrl);
      FollowTyping(frame, view);
      return true;
    }
    case VK_HOME: case VK_END: case VK_LEFT: case VK_RIGHT: case VK_DELETE:
      CloseCompletion(frame);  // the caret leaves the word: the key then moves it
      return false;
    default:
      return false;  // Shift and the keys of characters: the characters decide
  }
}

// A character while the list is open; true when it needs nothing more.
bool OnListChar(MainFrame& frame, ViewWindow& view, wchar_t ch) {
  if (ch == L'\r' || ch == L'\t') {
    Take(frame);
    return true;
  }
  if (ch == 27) {  // Escape closes the list and changes nothing
    CloseCompletion(frame);
    return true;
  }
  if (!WordsOf(*view.document).Chars().IsPart(ch)) {
    CloseCompletion(frame);
    return false;
  }
  SendMessageW(view.window, WM_CHAR, ch, 1);
  FollowTyping(frame, view);
  return true;
}

}  // namespace

void CompleteWord(MainFrame& frame) {
  CloseCompletion(frame);
  ViewWindow* view = frame.ActiveView();
  if (!view) return;
  const std::vector<Document*> texts = OpenTexts(frame);
  if (frame.completion.Start(*view, texts) == CompletionList::Outcome::listed) OpenList(frame, *view);
}

bool CompletionMessage(MainFrame& frame, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!frame.completion.IsOpen()) return false;
  ViewWindow* view = frame.ActiveView();
  if (!view || !frame.completion.IsFor(*view)) {
    CloseCompletion(frame);
    return false;
  }
  switch (message) {
    case WM_KEYDOWN:
      return OnListKey(frame, *view, wParam);
    case WM_CHAR:
      return OnListChar(frame, *view, static_cast<wchar_t>(wParam));
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (!item || item->hwndItem != frame.completionWindow) return false;
      DrawItem(frame, *item);
      return true;
    }
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == frame.completionWindow) return true;
      if (LOWORD(wParam) != IDM_COMPLETEWORD) CloseCompletion(frame);
      return false;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) CloseCompletion(frame);
      return false;
    case WM_KILLFOCUS:
    case WM_SIZE:
    case WM_MOVE:
    case WM_MOUSEWHEEL:
    case WM_INITMENUPOPUP:
    case WM_SYSCOMMAND:
    case WM_SYSKEYDOWN:
      CloseCompletion(frame);
      return false;
    default:
      return false;
  }
}

void CloseCompletion(MainFrame& frame) {
  frame.completion.Close();
  if (frame.completionView && IsWindow(frame.completionView))
    RemoveWindowSubclass(frame.completionView, ViewWatchProc, viewSubclassId);
  frame.completionView = nullptr;
  if (HWND window = std::exchange(frame.completionWindow, nullptr)) DestroyWindow(window);
}

bool CountWordsInIdleTime(MainFrame& frame) {
  // The shown document first: its words are the likeliest to be wanted.
  if (OpenDocument* shown = frame.ActiveDocument(); shown && !CountWordsAhead(*shown->text, unitsCountedInIdleTime))
    return true;
  for (const auto& document : frame.documents) {
    if (!CountWordsAhead(*document->text, unitsCountedInIdleTime)) return true;
  }
  return false;
}
