// The edit view of one document, apart from its window: caret, selection, scroll position and
// the character grid. The window side (src/view/ViewWindowWin32.h) implements its surface.
#pragma once

#include "config/DocClass.h"
#include "text/TextPos.h"
#include "view/ViewSurface.h"

class Document;

// Scroll policies of UpdateCaret: how far to scroll when the caret has left the view.
enum CaretChangeFlags : int {
  caretKeepScreenRow = 1,  // page moves: scroll by the rows the caret moved
  caretCentre = 2,         // jumps to a line: put the caret row in the middle
  caretRowMove = 4,        // up, down, the stylus, find: minimal scroll
  caretJump = 8,           // home, end, document ends, words: minimal scroll
  caretCharMove = 16,      // left, right: minimal scroll
};

struct EditView {
  EditView() = default;
  EditView(const EditView&) = delete;
  EditView& operator=(const EditView&) = delete;

  // Attaches the view to its document, window surface and frame (each not owned; frame may be
  // null) and puts the caret and the anchor at the start of the document.
  void Attach(Document& doc, ViewSurface& viewSurface, ViewFrame* viewFrame);

  Document* document = nullptr;  // the document shown; not owned
  // The document's own copy of its class: the layout part is the document's settings, the rest
  // (font, colours, brackets) is the view's.
  DocClass docClass;
  ViewSurface* surface = nullptr;  // the view's window; not owned
  ViewFrame* frame = nullptr;      // the main window's side, or null; not owned
  int viewNumber = 0;  // running number over all views of the process, from 1

  // The selection is the text between anchor and caret, in (line, index) order, and exists
  // only while selectionActive; it may be empty. Without a selection the anchor equals the
  // caret after every caret update.
  bool selectionActive = false;
  TextPos anchor;
  TextPos caret;
  int desiredColumn = 0;  // the visual column vertical moves aim at

  int visibleColumns = 0;  // whole cells across the text area
  int visibleRows = 0;     // whole rows in the window
  int firstColumn = 0;     // visual column shown at the left edge of the text area
  int firstRow = 0;        // visual row shown at the top
  int horizontalPage = 0;  // page of the horizontal scroll bar, in columns
  // Set once the cell size is known; size changes before are ignored.
  bool metricsValid = false;
  int characterWidth = 0;  // pixels per cell; positive once metricsValid
  int lineHeight = 0;      // pixels per visual row; positive once metricsValid
  int leftMargin = 10;     // pixels left of the text area, where mark signs go
  int caretWidth = 2;      // also kept free at the right edge of the text area

  bool tracking = false;    // a stylus drag selection is in progress
  bool caretShown = false;  // the caret is shown
  // The view is the one on screen. The system caret and the line number field belong to it
  // alone: a view behind it (a Replace All through every document) leaves them alone.
  bool onScreen = false;
  // A find has just selected its hit; cleared by every caret update and every edit.
  bool findHitSelected = false;
};

// The next view number: every new view takes one.
int NextViewNumber();
