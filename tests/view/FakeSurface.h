// A recording stand-in for the FEDIT window and the main window, for the view's native tests:
// it keeps what was invalidated and scrolled, and scroll bars that clamp as the window
// system's do.
#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/DocClass.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/TextTestUtil.h"
#include "view/Caret.h"
#include "view/EditView.h"
#include "view/Grid.h"

class FakeSurface final : public ViewSurface {
 public:
  struct Scrolled {
    int dx;
    int dy;
    PixelRect area;
    friend bool operator==(const Scrolled&, const Scrolled&) = default;
  };

  int width = 0;
  int height = 0;
  std::vector<PixelRect> invalidated;  // without erasing
  int invalidatedAll = 0;
  std::vector<Scrolled> scrolled;
  int updates = 0;
  ScrollBarState bars[2];
  int caretX = -1;
  int caretY = -1;
  int caretHides = 0;  // hides not yet balanced by a show
  std::optional<std::wstring> clipboard;
  bool clipboardLocked = false;  // another program holds it

  void Forget() {
    invalidated.clear();
    invalidatedAll = 0;
    scrolled.clear();
    updates = 0;
  }
  const ScrollBarState& Bar(ScrollBar bar) const { return bars[static_cast<int>(bar)]; }

  void ClientSize(int& w, int& h) const override {
    w = width;
    h = height;
  }
  void Invalidate(const PixelRect& rect, bool) override { invalidated.push_back(rect); }
  void InvalidateAll(bool) override { ++invalidatedAll; }
  void Scroll(int dx, int dy, const PixelRect& area) override { scrolled.push_back({dx, dy, area}); }
  void UpdateNow() override { ++updates; }

  void SetScrollBar(ScrollBar which, unsigned mask, const ScrollBarState& state) override {
    ScrollBarState& bar = bars[static_cast<int>(which)];
    if (mask & scrollPage) bar.page = state.page;
    if (mask & scrollRange) {
      bar.min = state.min;
      bar.max = state.max;
      if (bar.min > bar.max) bar.min = bar.max = 0;
    }
    if (mask & scrollPos) bar.pos = state.pos;
    bar.page = std::clamp(bar.page, 0, bar.max - bar.min + 1);
    bar.pos = std::clamp(bar.pos, bar.min, std::max(bar.min, bar.max - std::max(bar.page - 1, 0)));
  }
  ScrollBarState GetScrollBar(ScrollBar which) const override { return Bar(which); }

  void CreateCaret(int, int) override { caretHides = 1; }
  void DestroyCaret() override {}
  void ShowCaret() override { caretHides = std::max(0, caretHides - 1); }
  void HideCaret() override { ++caretHides; }
  void SetCaretPos(int x, int y) override {
    caretX = x;
    caretY = y;
  }

  bool ClipboardHasText() const override { return clipboard.has_value(); }
  bool OpenClipboard() override { return !clipboardLocked; }
  std::optional<std::wstring> GetClipboardText() override { return clipboard; }
  void EmptyClipboard() override { clipboard.reset(); }
  bool SetClipboardText(const std::wstring& text) override {
    clipboard = text;
    return true;
  }
};

class FakeFrame final : public ViewFrame {
 public:
  int refreshes = 0;
  std::wstring lineNumber;
  void RefreshCommandStates() override { ++refreshes; }
  void SetLineNumberText(const std::wstring& text) override { lineNumber = text; }
};

// Plain text settings: no syntax, relative indent 2, automatic indentation.
inline DocClass PlainSettings(bool wordwrap = false, int tabsize = 4) {
  DocClass settings;
  settings.wordwrap = wordwrap;
  settings.tabsize = tabsize;
  settings.relindent = 2;
  settings.indent = true;
  return settings;
}

// A document shown in a view on a fake window with 8 x 16 pixel cells: columns x rows of
// text area (the window is as wide as the margin, the columns and the caret's room).
struct ViewFixture {
  std::unique_ptr<Document> document;
  FakeSurface surface;
  FakeFrame frame;
  EditView view;

  static constexpr int cellWidth = 8;
  static constexpr int cellHeight = 16;

  ViewFixture(const std::vector<std::wstring>& lines, int columns, int rows, DocClass settings = PlainSettings()) {
    document = std::make_unique<Document>();
    SetText(lines);
    surface.width = 10 + columns * cellWidth + 2;
    surface.height = rows * cellHeight;
    view.Attach(*document, surface, &frame);
    view.onScreen = true;
    SetCellSize(view, cellWidth, cellHeight);
    ApplyLayoutSettings(view, settings);
    UpdateScrollBars(view);
    surface.Forget();
  }

  void SetText(const std::vector<std::wstring>& lines) { SetLines(*document, lines); }

  void Place(int line, int index) {
    SetPos(view.caret, index, line);
    view.anchor = view.caret;
    view.selectionActive = false;
    view.desiredColumn = view.caret.visualColumn;
  }
  void Select(int anchorLine, int anchorIndex, int caretLine, int caretIndex) {
    SetPos(view.anchor, anchorIndex, anchorLine);
    SetPos(view.caret, caretIndex, caretLine);
    view.selectionActive = true;
    view.desiredColumn = view.caret.visualColumn;
  }

  std::vector<std::wstring> Lines() const {
    std::vector<std::wstring> lines;
    for (int i = 0; i < document->LineCount(); ++i) lines.emplace_back(document->lines[i].Text());
    return lines;
  }
};
