// The FEDIT window: the edit view's child window of the main window, its font and its
// painting.
//
// How the main window uses a view:
//   1. RegisterViewClass(instance) once (CreateViewWindow also does it when needed).
//   2. auto view = std::make_unique<ViewWindow>(document, mainWindow, &frameNotifications);
//      CreateViewWindow(*view) creates the hidden child window and runs InitView; false when
//      the window could not be made.
//   3. Apply the document's class: ApplyClassSettings(*view, settings, docClass), or pass
//      ViewClassApplier(*view, settings) to ClassifyDocument.
//   4. Whenever the document becomes the shown one: InitView(*view) (after hiding the
//      previously shown view's window).
//   5. On WM_SIZE of the main window, and when the find bar is shown or hidden:
//      ResizeView(*view, clientWidth, clientHeight, findBarStrip).
//   6. WM_KEYDOWN: OnKeyDown(*view, key, shift, ctrl) (view/Keys.h); WM_CHAR and WM_MOUSEWHEEL
//      go unchanged to view->window. WM_SETFOCUS / WM_KILLFOCUS of the main window:
//      FrameFocusGained(*view) / FrameFocusLost(*view).
//   7. Commands: view/Editing.h, view/CaretCommands.h and view/Clipboard.h, one function each.
//   8. Destroying the ViewWindow destroys its window, font and brush; the document must outlive
//      it.
#pragma once

#include <windows.h>

#include <functional>

#include "pocketpc/GdiWin32.h"
#include "view/CellTextWin32.h"
#include "view/EditView.h"

class AppSettings;
class Document;
struct DocClass;

struct ViewWindow;

// The ViewSurface of a FEDIT window: Win32 calls on its window handle.
class WindowSurface final : public ViewSurface {
 public:
  explicit WindowSurface(ViewWindow& owner) : owner_(owner) {}
  void ClientSize(int& width, int& height) const override;
  void Invalidate(const PixelRect& rect, bool erase) override;
  void InvalidateAll(bool erase) override;
  void Scroll(int dx, int dy, const PixelRect& area) override;
  void UpdateNow() override;
  void SetScrollBar(ScrollBar bar, unsigned mask, const ScrollBarState& state) override;
  ScrollBarState GetScrollBar(ScrollBar bar) const override;
  void CreateCaret(int width, int height) override;
  void DestroyCaret() override;
  void ShowCaret() override;
  void HideCaret() override;
  void SetCaretPos(int x, int y) override;
  bool ClipboardHasText() const override;
  bool OpenClipboard() override;
  void CloseClipboard() override;
  std::optional<std::wstring> GetClipboardText() override;
  void EmptyClipboard() override;
  bool SetClipboardText(const std::wstring& text) override;

  // Draws the scroll bars whose drawing was put off (see SetScrollBar).
  void RedrawScrollBars();

 private:
  // Where the thumb of a bar in a state stands in pixels: a bar whose thumb would not move
  // or change its size is not set again, since drawing a changed bar is slow.
  struct Thumb {
    bool shown = false;
    int offset = 0;
    int size = 0;
    friend bool operator==(const Thumb&, const Thumb&) = default;
  };
  Thumb ThumbOf(ScrollBar bar, const ScrollBarState& state) const;

  ViewWindow& owner_;
  // What each bar was last asked to hold, clamped as the bar clamps it: a request that asks
  // for exactly that again changes nothing and is not passed on. Once a bar was set whole
  // (known), this is its state for the view, and the window's bar is set only when its thumb
  // moves in pixels (given_ is what the window's bar holds).
  ScrollBarState requested_[2];
  ScrollBarState given_[2];
  bool known_[2] = {false, false};
  // A bar changed without being drawn: the redraw is posted, so that it follows the repaint of
  // the text and several changes in a row cost one drawing.
  bool redrawPosted_ = false;
  bool undrawn_[2] = {false, false};
};

struct ViewWindow : EditView {
  // A view of document in a child window of frameWindow, not created yet.
  ViewWindow(Document& doc, HWND frameWindow, ViewFrame* viewFrame);
  ~ViewWindow();

  HWND frameWindow = nullptr;  // the main window, the view's parent
  HWND window = nullptr;       // the view's own window, or null before CreateViewWindow
  platform::GdiObject<HFONT> font;  // all text of the view is drawn with it
  // Draws the characters that are not one unit to a cell, in faces chosen for font.
  CellTextPainter cellText;
  // Solid brush of the window DC's background colour, taken when the window is created.
  platform::GdiObject<HBRUSH> backgroundBrush;
  platform::GdiObject<HBITMAP> markSign;  // the 6 x 6 mark of marked lines (bitmap 102)
  WindowSurface windowSurface{*this};
  // Goes to the line typed in the find bar's goto line field (its command reaches the view).
  std::function<void(ViewWindow&)> onGotoLine;
};

// The find bar strip below the view, as the main window keeps it.
struct FindBarStrip {
  HWND window = nullptr;   // the find bar, or null
  int reservedHeight = 0;  // 0 while the find bar is hidden, else its height
  int height = 0;          // the find bar's own height
};

// Registers the window class "FEDIT" once per process.
bool RegisterViewClass(HINSTANCE instance);
// Creates the view's window over the whole client area of the frame and runs InitView. False,
// with nothing set, when the window could not be created.
bool CreateViewWindow(ViewWindow& view);
// Shows the window and sets font, grid, placement, scroll bars, layout and caret up anew: when
// the window was created and every time its document becomes the shown one.
void InitView(ViewWindow& view, const FindBarStrip& findBar = {});
// Places the view in the frame's client area above the find bar strip, and the find bar
// below the view when it is shown.
void ResizeView(ViewWindow& view, int width, int height, const FindBarStrip& findBar = {});
// Hides the view's window (another document is being shown).
void HideView(ViewWindow& view);

// The main window received or lost the keyboard focus while this view is shown.
void FrameFocusGained(ViewWindow& view);
void FrameFocusLost(ViewWindow& view);

// Applies a class to the view's document: syntax definition, font and grid, layout, caret and
// scroll bars; then the document takes its own copy of the class.
void ApplyClassSettings(ViewWindow& view, AppSettings& settings, const DocClass& docClass);
// The same as a ClassApplier for ClassifyDocument.
std::function<void(Document&, const DocClass&)> ViewClassApplier(ViewWindow& view,
                                                                 AppSettings& settings);

// Builds the view's font from the class settings and takes its cell size.
void UpdateFontMetrics(ViewWindow& view, const DocClass& settings);

struct FontMetrics {
  int characterWidth = 0;  // width of "M", scaled by the width percentage
  int height = 0;          // the font's tmHeight
};
// The editor font: face, size in tenths of a point, flags (1 bold, 2 italic, 16 ClearType,
// 32 proof quality), width in percent of the face's own. With metrics, also its cell size
// (left untouched when the measurement fails). The DC of window gives the resolution.
platform::GdiObject<HFONT> CreateEditorFont(HWND window, const std::wstring& face, int size,
                                            int flags, int widthPercent, FontMetrics* metrics);

// The view's context menu at a point of its client area: Cut and Copy while a selection is
// active, Paste while the clipboard holds text, Mark checked on a marked line. The chosen
// command reaches the main window through the view.
void ShowContextMenu(ViewWindow& view, int x, int y);

// Draws or clears the mark sign of one screen row; with no dc, the window's own.
void DrawMarkMargin(ViewWindow& view, HDC dc, int screenRow, bool marked);

// The window procedure's paint handler, callable on any DC for a client rectangle.
void PaintView(ViewWindow& view, HDC dc, const RECT& paint);
