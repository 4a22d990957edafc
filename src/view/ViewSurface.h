// What the edit view asks of its window and of the frame: the surface a FEDIT window (or a
// test's recording fake) implements, and the notifications the main window receives.
#pragma once

#include <optional>
#include <string>

// A rectangle in client pixels; right and bottom are exclusive.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

enum class ScrollBar { horizontal = 0, vertical = 1 };

// Which members of a ScrollBarState a SetScrollBar call sets (the values of the window
// system's SIF_RANGE, SIF_PAGE and SIF_POS).
enum ScrollMask : unsigned {
  scrollRange = 1,
  scrollPage = 2,
  scrollPos = 4,
  scrollAll = scrollRange | scrollPage | scrollPos,
};

struct ScrollBarState {
  int min = 0;
  int max = 0;
  int page = 0;
  int pos = 0;
  int trackPos = 0;  // where the thumb is being dragged
  friend bool operator==(const ScrollBarState&, const ScrollBarState&) = default;
};

// Scroll-bar request codes (the values of the window system's SB_ codes).
enum ScrollCode : int {
  scrollLineUp = 0,
  scrollLineDown = 1,
  scrollPageUp = 2,
  scrollPageDown = 3,
  scrollThumbPosition = 4,
  scrollThumbTrack = 5,
  scrollTop = 6,
  scrollBottom = 7,
  scrollEnd = 8,
};

// The view's own window. Every drawing goes through invalidation; nothing here paints.
class ViewSurface {
 public:
  virtual ~ViewSurface() = default;

  // Width and height of the client area in pixels.
  virtual void ClientSize(int& width, int& height) const = 0;
  // Adds rect to the area to repaint; erase also clears it with the class background first.
  virtual void Invalidate(const PixelRect& rect, bool erase) = 0;
  virtual void InvalidateAll(bool erase) = 0;
  // Moves the pixels of area by (dx, dy), clipped to area, and invalidates (with erasing) what
  // the move uncovers.
  virtual void Scroll(int dx, int dy, const PixelRect& area) = 0;
  // Paints the invalid area now.
  virtual void UpdateNow() = 0;

  // Sets the members of a bar that mask names. The window system keeps a bar consistent:
  // page is clamped to [0, max - min + 1] and pos to [min, max - max(page - 1, 0)].
  virtual void SetScrollBar(ScrollBar bar, unsigned mask, const ScrollBarState& state) = 0;
  virtual ScrollBarState GetScrollBar(ScrollBar bar) const = 0;

  // The system caret of the view's window.
  virtual void CreateCaret(int width, int height) = 0;
  virtual void DestroyCaret() = 0;
  virtual void ShowCaret() = 0;
  virtual void HideCaret() = 0;
  virtual void SetCaretPos(int x, int y) = 0;

  // The clipboard, holding UTF-16 text only. Open fails when another program holds it.
  virtual bool ClipboardHasText() const { return false; }
  virtual bool OpenClipboard() { return false; }
  virtual void CloseClipboard() {}
  // The clipboard's text up to its terminator, or none when it holds no text.
  virtual std::optional<std::wstring> GetClipboardText() { return std::nullopt; }
  // Empties the clipboard (between Open and Close).
  virtual void EmptyClipboard() {}
  // Hands text to the clipboard; false when the memory for it could not be had.
  virtual bool SetClipboardText(const std::wstring&) { return false; }
};

// What the view tells the main window. Every member may be left empty.
class ViewFrame {
 public:
  virtual ~ViewFrame() = default;
  // Cut, Copy, Undo, Save and the title may have changed: after an invalidation of the
  // selection and after every edit the view applies.
  virtual void RefreshCommandStates() {}
  // The text of the find bar's line number field: the caret's line, counted from 1.
  virtual void SetLineNumberText(const std::wstring&) {}
};
