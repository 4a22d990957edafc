// GUI tests of the FEDIT window under the real window system: the editor font and its cell
// size, the grid when the line spacing eats the line, painted pixels, scroll bars, placement
// of the find bar, and messages and the stylus reaching the view.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "FakeSurface.h"
#include "TempFolder.h"
#include "comun/resource.h"
#include "ViewHost.h"
#include "config/AppSettings.h"
#include "syntax/SyntaxDef.h"
#include "text/Line.h"
#include "view/Caret.h"
#include "view/CaretCommands.h"
#include "view/Grid.h"
#include "view/Paint.h"

namespace {

LOGFONTW FontOf(HFONT font) {
  LOGFONTW logFont{};
  GetObjectW(font, sizeof logFont, &logFont);
  return logFont;
}

TEST(ViewWindowTest, EditorFontWidthScaling) {
  ViewHost host(300, 200, {L"x"}, PlainSettings());
  HDC dc = GetDC(host.frame);
  const int pixelHeight = GetDeviceCaps(dc, LOGPIXELSY) * 100 / 720;
  ReleaseDC(host.frame, dc);

  // At 100 percent without metrics the font is made once, from the point size.
  const auto plain = CreateEditorFont(host.frame, L"Courier New", 100, 0, 100, nullptr);
  ASSERT_TRUE(plain);
  EXPECT_EQ(FontOf(plain.Get()).lfHeight, -pixelHeight);
  EXPECT_EQ(FontOf(plain.Get()).lfWidth, 0);
  EXPECT_EQ(std::wstring(FontOf(plain.Get()).lfFaceName), L"Courier New");

  FontMetrics full, half;
  const auto measured = CreateEditorFont(host.frame, L"Courier New", 100, 1, 100, &full);
  EXPECT_EQ(FontOf(measured.Get()).lfWeight, FW_BOLD);
  ASSERT_GT(full.characterWidth, 0);
  ASSERT_GT(full.height, 0);

  // 50 percent: made again with the measured cell height and half the width of "M".
  const auto narrow = CreateEditorFont(host.frame, L"Courier New", 100, 2, 50, &half);
  const LOGFONTW narrowFont = FontOf(narrow.Get());
  EXPECT_NEAR(half.characterWidth, full.characterWidth / 2.0, 1.0);
  EXPECT_EQ(narrowFont.lfWidth, half.characterWidth);
  EXPECT_LT(narrowFont.lfHeight, 0);
  EXPECT_NE(narrowFont.lfHeight, -pixelHeight);  // the cell height, not the point size
  EXPECT_TRUE(narrowFont.lfItalic);

  // A face name longer than the field is cut to fit.
  const auto longName = CreateEditorFont(host.frame, std::wstring(40, L'F'), 100, 48, 100, nullptr);
  EXPECT_EQ(std::wstring(FontOf(longName.Get()).lfFaceName), std::wstring(31, L'F'));
  EXPECT_EQ(FontOf(longName.Get()).lfQuality, PROOF_QUALITY | CLEARTYPE_QUALITY);
}

TEST(ViewWindowTest, LineSpacingThatEatsTheLineKeepsTheGrid) {
  DocClass settings = PlainSettings();
  settings.fontsize = 100;
  settings.fontwidthrel = 100;
  ViewHost host(300, 200, {L"one", L"two"}, settings);
  host.Apply(settings);
  const int height = host.view->lineHeight;
  const int rows = host.view->visibleRows;
  const int columns = host.view->visibleColumns;
  ASSERT_GT(height, 0);
  for (int spacing : {height, height + 5}) {
    DocClass squeezed = settings;
    squeezed.linespacing = spacing;
    host.Apply(squeezed);
    EXPECT_EQ(host.view->lineHeight, height);
    EXPECT_EQ(host.view->visibleRows, rows);
    EXPECT_EQ(host.view->visibleColumns, columns);
    // Painting and resizing go on with that grid.
    SetWindowPos(host.frame, nullptr, 0, 0, 320, 260, SWP_NOMOVE | SWP_NOZORDER);
    RedrawWindow(host.view->window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(host.view->visibleRows, rows);
    SetWindowPos(host.frame, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  }
  DocClass compressed = settings;
  compressed.linespacing = 2;
  host.Apply(compressed);
  EXPECT_EQ(host.view->lineHeight, height - 2);
}

// The view painted into a memory bitmap that starts out red.
class Snapshot {
 public:
  explicit Snapshot(ViewWindow& view) {
    RECT client;
    GetClientRect(view.window, &client);
    HDC screen = GetDC(view.window);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(view.window, screen);
    previous_ = SelectObject(dc_, bitmap_);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc_, &client, red);
    DeleteObject(red);
    SetBkColor(dc_, GetSysColor(COLOR_WINDOW));
    SetTextColor(dc_, GetSysColor(COLOR_WINDOWTEXT));
    PaintView(view, dc_, client);
  }
  ~Snapshot() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  // How many pixels of a rectangle have the colour.
  int Count(const RECT& area, COLORREF colour) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) count += At(x, y) == colour;
    return count;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

RECT CellRect(const ViewWindow& view, int column, int row) {
  return {view.leftMargin + column * view.characterWidth, row * view.lineHeight,
          view.leftMargin + (column + 1) * view.characterWidth, (row + 1) * view.lineHeight};
}

int CellArea(const ViewWindow& view) { return view.characterWidth * view.lineHeight; }

TEST(ViewWindowTest, SelectedCellsShowTheHighlightExactlyBetweenTheColumns) {
  DocClass settings = PlainSettings();
  settings.fontwidthrel = 100;
  ViewHost host(400, 300, {L"xxxx\txxxx", L"xx"}, settings);
  host.Apply(settings);
  ViewWindow& view = *host.view;
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  SetPos(view.anchor, 2, 0);   // column 2
  SetPos(view.caret, 6, 0);    // after the tab (columns 4 to 7) and one more x: column 9
  view.selectionActive = true;
  Snapshot shot(view);
  for (int column = 0; column < 12; ++column) {
    const bool selected = column >= 2 && column < 9;
    const int highlighted = shot.Count(CellRect(view, column, 0), highlight);
    if (selected)
      EXPECT_GT(highlighted, CellArea(view) / 2) << "column " << column;
    else
      EXPECT_EQ(highlighted, 0) << "column " << column;
  }
  // The second row is not selected; nothing is left red.
  EXPECT_EQ(shot.Count(CellRect(view, 0, 1), highlight), 0);
  RECT client;
  GetClientRect(view.window, &client);
  EXPECT_EQ(shot.Count(client, RGB(255, 0, 0)), 0);
}

TEST(ViewWindowTest, RowsBelowTheDocumentAreBackgroundAndMarksShowBesideFirstRowsOnly) {
  DocClass settings = PlainSettings(true);
  settings.fontwidthrel = 100;
  ViewHost host(200, 300, {std::wstring(60, L'w'), L"x"}, settings);
  host.Apply(settings);
  ViewWindow& view = *host.view;
  ASSERT_GE(host.document->lines[0].SegmentCount(), 2);
  host.document->lines[0].SetState(lineState::markBit);
  Snapshot shot(view);
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  const int rows = host.document->TotalRows();
  ASSERT_LT(rows, view.visibleRows);
  RECT below{0, rows * view.lineHeight, view.leftMargin + view.visibleColumns * view.characterWidth,
             view.visibleRows * view.lineHeight};
  EXPECT_EQ(shot.Count(below, background), (below.right - below.left) * (below.bottom - below.top));
  auto margin = [&](int row) {
    return RECT{0, row * view.lineHeight, view.leftMargin, (row + 1) * view.lineHeight};
  };
  const int marginArea = view.leftMargin * view.lineHeight;
  EXPECT_LT(shot.Count(margin(0), background), marginArea);  // the sign
  EXPECT_EQ(shot.Count(margin(1), background), marginArea);  // continuation row
  EXPECT_EQ(shot.Count(margin(rows - 1), background), marginArea);
}

TEST(ViewWindowTest, KeywordsAndCommentsTakeTheirColours) {
  SyntaxDef def;
  def.singleLineComment = L"//";
  def.wordFirstSet = {{L'a', L'z'}};
  def.wordSet = {{L'a', L'z'}};
  def.keywords[L"int"] = 2;
  DocClass settings = PlainSettings();
  settings.fontwidthrel = 100;
  settings.hassyntax = true;
  settings.syntax = &def;
  settings.colours[0] = RGB(0, 0, 255);
  settings.colours[9] = RGB(0, 160, 0);
  ViewHost host(400, 200, {L"int x; // c"}, settings);
  host.Apply(settings);
  ViewWindow& view = *host.view;
  Snapshot shot(view);
  auto cells = [&](int first, int last) {
    RECT area = CellRect(view, first, 0);
    area.right = CellRect(view, last, 0).right;
    return area;
  };
  EXPECT_GT(shot.Count(cells(0, 2), RGB(0, 0, 255)), 0);
  EXPECT_EQ(shot.Count(cells(4, 5), RGB(0, 0, 255)), 0);
  EXPECT_GT(shot.Count(cells(7, 10), RGB(0, 160, 0)), 0);
}

TEST(ViewWindowTest, ScrollBarsClampAsTheFakeSurfaceDoes) {
  ViewHost host(300, 200, {L"x"}, PlainSettings());
  // A surface over a plain window with both bars, so that no view resets them on WM_SIZE.
  ViewWindow probe(*host.document, host.frame, nullptr);
  probe.window = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VSCROLL | WS_HSCROLL, 0, 0,
                                 200, 150, host.frame, nullptr, GetModuleHandleW(nullptr), nullptr);
  FakeSurface fake;
  struct Case { unsigned mask; ScrollBarState state; } cases[] = {
      {scrollAll, {0, 99, 10, 95, 0}},  {scrollAll, {0, 99, 10, -4, 0}},
      {scrollAll, {0, 3, 8, 2, 0}},     {scrollAll, {0, -9, 0, 0, 0}},
      {scrollAll, {0, 86, 5, 90, 0}},   {scrollPos, {0, 0, 0, 200, 0}},
      {scrollAll, {0, 0, 1, 0, 0}},     {scrollAll, {5, 2, 1, 3, 0}},
  };
  for (ScrollBar bar : {ScrollBar::vertical, ScrollBar::horizontal}) {
    for (const Case& c : cases) {
      probe.windowSurface.SetScrollBar(bar, c.mask, c.state);
      fake.SetScrollBar(bar, c.mask, c.state);
      const ScrollBarState real = probe.windowSurface.GetScrollBar(bar);
      const ScrollBarState expected = fake.GetScrollBar(bar);
      EXPECT_EQ(real.min, expected.min);
      EXPECT_EQ(real.max, expected.max);
      EXPECT_EQ(real.page, expected.page);
      EXPECT_EQ(real.pos, expected.pos) << c.state.max << " " << c.state.pos;
    }
  }
  DestroyWindow(probe.window);
  probe.window = nullptr;
}

TEST(ViewWindowTest, ABarIsSetInTheWindowOnlyWhenItsThumbMoves) {
  ViewHost host(300, 200, {L"x"}, PlainSettings());
  ViewWindow probe(*host.document, host.frame, nullptr);
  probe.window = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VSCROLL | WS_HSCROLL, 0, 0,
                                 200, 150, host.frame, nullptr, GetModuleHandleW(nullptr), nullptr);
  auto windowBar = [&] {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(probe.window, SB_VERT, &info);
    return info;
  };
  WindowSurface& surface = probe.windowSurface;
  surface.SetScrollBar(ScrollBar::vertical, scrollAll, {0, 999999, 40, 0, 0});
  EXPECT_EQ(windowBar().nMax, 999999);
  // One more row moves the thumb by far less than a pixel: the window's bar stays as it is,
  // while the view reads the exact state.
  surface.SetScrollBar(ScrollBar::vertical, scrollAll, {0, 1000000, 40, 0, 0});
  EXPECT_EQ(windowBar().nMax, 999999);
  EXPECT_EQ(surface.GetScrollBar(ScrollBar::vertical).max, 1000000);
  surface.SetScrollBar(ScrollBar::vertical, scrollPos, {0, 0, 0, 500000, 0});
  EXPECT_EQ(windowBar().nMax, 1000000);
  EXPECT_EQ(windowBar().nPos, 500000);
  DestroyWindow(probe.window);
  probe.window = nullptr;
}

TEST(ViewWindowTest, MessagesReachTheView) {
  std::vector<std::wstring> lines(60, L"text");
  ViewHost host(300, 200, lines, PlainSettings());
  ViewWindow& view = *host.view;
  SendMessageW(host.frame, WM_CHAR, L'a', 1);
  SendMessageW(host.frame, WM_CHAR, L'\r', 1);
  EXPECT_EQ(std::wstring(host.document->lines[0].Text()), L"a");
  EXPECT_EQ(std::wstring(host.document->lines[1].Text()), L"text");
  EXPECT_EQ(host.notes.lineNumber, L"2");
  ResetWheel();
  SendMessageW(host.frame, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
  EXPECT_EQ(view.firstRow, 3);
  SendMessageW(view.window, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(view.firstRow, 3 + view.visibleRows);
  SendMessageW(host.frame, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_GT(view.caret.line, 1);
  // Commands of the view's context menu go on to the main window.
  SendMessageW(view.window, WM_COMMAND, IDM_COPY, 0);
  EXPECT_EQ(host.commands, std::vector<int>{IDM_COPY});
}

TEST(ViewWindowTest, ResizePlacesTheFindBarBelowTheView) {
  InitCommonControls();
  for (bool wrap : {false, true}) {
    ViewHost host(400, 300, {std::wstring(200, L'y')}, PlainSettings(wrap));
    HWND findBar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE,
                                   0, 0, 10, 10, host.frame, nullptr, GetModuleHandleW(nullptr), nullptr);
    RECT client;
    GetClientRect(host.frame, &client);
    const FindBarStrip strip{findBar, 24, 24};
    ResizeView(*host.view, client.right, client.bottom, strip);
    RECT viewRect, barRect, viewClient;
    GetWindowRect(host.view->window, &viewRect);
    GetClientRect(host.view->window, &viewClient);
    GetWindowRect(findBar, &barRect);
    MapWindowPoints(nullptr, host.frame, reinterpret_cast<POINT*>(&viewRect), 2);
    MapWindowPoints(nullptr, host.frame, reinterpret_cast<POINT*>(&barRect), 2);
    EXPECT_EQ(viewRect.bottom, client.bottom - 24);
    // Right under the view: under its horizontal scroll bar while that shows.
    EXPECT_EQ(barRect.top, wrap ? viewClient.bottom : viewRect.bottom) << "wrap " << wrap;
    EXPECT_EQ(barRect.right - barRect.left, client.right);
    DestroyWindow(findBar);
  }
}

TEST(ViewWindowTest, ClassSettingsResolveTheSyntaxFile) {
  TempFolder folder;
  folder.Write(L"mini.syntax", "mlinecommentbegin = \"(*\"\nmlinecommentend = \"*)\"\n");
  std::wstring syntaxFolder = folder.Path(L"mini.syntax");
  syntaxFolder.resize(syntaxFolder.size() - std::wstring(L"\\mini.syntax").size());
  AppSettings settings(folder.Path(L"fum.opt"), syntaxFolder);
  ViewHost host(300, 200, {L"a (* b", L"c", L"d *) e"}, PlainSettings(true));
  DocClass docClass = PlainSettings(true);
  docClass.hassyntax = true;
  docClass.syntaxfile = L"mini.syntax";
  ViewClassApplier(*host.view, settings)(*host.document, docClass);
  ASSERT_NE(host.document->highlighter, nullptr);
  EXPECT_EQ(lineState::Code(host.document->lines[1].State()), 14);
  // A syntax file that cannot be read switches highlighting off in the document only.
  docClass.syntaxfile = L"missing.syntax";
  ApplyClassSettings(*host.view, settings, docClass);
  EXPECT_EQ(host.document->highlighter, nullptr);
  EXPECT_FALSE(host.view->docClass.hassyntax);
}

// What the context menu showed, read while it is open, and then closed.
struct MenuSeen { bool shown = false; UINT copy = 0; UINT paste = 0; UINT mark = 0; };
MenuSeen seen;

void CALLBACK ReadMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if (!menuWindow) return;
  KillTimer(nullptr, timer);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  seen.shown = true;
  seen.copy = GetMenuState(menu, IDM_COPY, MF_BYCOMMAND);
  seen.paste = GetMenuState(menu, IDM_PASTE, MF_BYCOMMAND);
  seen.mark = GetMenuState(menu, IDM_MARK, MF_BYCOMMAND);
  EndMenu();
}

TEST(ViewWindowTest, StylusTapsDoubleTapsAndTheContextMenu) {
  DocClass settings = PlainSettings();
  settings.fontwidthrel = 100;
  ViewHost host(400, 300, {L"alpha beta gamma", L"second"}, settings);
  host.Apply(settings);
  ViewWindow& view = *host.view;
  auto at = [&](int column, int row) {
    return MAKELPARAM(view.leftMargin + column * view.characterWidth + 1, row * view.lineHeight + 2);
  };
  SendMessageW(view.window, WM_LBUTTONDOWN, MK_LBUTTON, at(3, 1));
  SendMessageW(view.window, WM_LBUTTONUP, 0, at(3, 1));
  EXPECT_EQ(view.caret.line, 1);
  EXPECT_EQ(view.caret.index, 3);
  EXPECT_FALSE(view.selectionActive);
  EXPECT_EQ(GetCapture(), nullptr);

  // A drag ends when the view loses the mouse to another window: later moves select no more.
  SendMessageW(view.window, WM_LBUTTONDOWN, MK_LBUTTON, at(0, 0));
  SendMessageW(view.window, WM_MOUSEMOVE, MK_LBUTTON, at(2, 0));
  ASSERT_EQ(GetCapture(), view.window);
  ReleaseCapture();
  SendMessageW(view.window, WM_MOUSEMOVE, 0, at(4, 1));
  EXPECT_TRUE(view.selectionActive);
  EXPECT_EQ(view.caret.line, 0);
  EXPECT_EQ(view.caret.index, 2);
  EndSelection(view);

  SendMessageW(view.window, WM_LBUTTONDBLCLK, MK_LBUTTON, at(7, 0));
  SendMessageW(view.window, WM_LBUTTONUP, 0, at(7, 0));
  ASSERT_TRUE(view.selectionActive);
  EXPECT_EQ(view.anchor.index, 6);
  EXPECT_EQ(view.caret.index, 10);

  // The right button opens the menu on the selection and keeps it.
  host.document->lines[0].SetState(lineState::markBit);
  seen = {};
  SetTimer(nullptr, 0, 50, ReadMenu);
  SendMessageW(view.window, WM_RBUTTONDOWN, MK_RBUTTON, at(1, 1));
  EXPECT_TRUE(seen.shown);
  EXPECT_FALSE(seen.copy & MF_GRAYED);
  EXPECT_TRUE(seen.mark & MF_CHECKED);
  EXPECT_TRUE(view.selectionActive);
  EXPECT_EQ(view.caret.index, 10);

  // Without a selection the caret moves to the point first, and Copy is greyed.
  EndSelection(view);
  seen = {};
  SetTimer(nullptr, 0, 50, ReadMenu);
  SendMessageW(view.window, WM_RBUTTONDOWN, MK_RBUTTON, at(2, 1));
  EXPECT_TRUE(seen.shown);
  EXPECT_TRUE(seen.copy & MF_GRAYED);
  EXPECT_FALSE(seen.mark & MF_CHECKED);
  EXPECT_EQ(view.caret.line, 1);
  EXPECT_EQ(view.caret.index, 2);
}

}  // namespace
