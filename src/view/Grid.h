// The character grid of the edit view: cell size, visible columns and rows, and laying the
// document out for them.
#pragma once

#include "view/EditView.h"

struct DocClass;
struct TextClass;

// Takes a new cell size (from the view's font) and recomputes the visible columns and rows
// for the client area. A cell size below one pixel (a line spacing that eats the whole line
// height) keeps the previous cell size, or one pixel when there was none. Nothing but the
// cell size changes while the client area is empty.
void SetCellSize(EditView& view, int characterWidth, int lineHeight);
// Visible columns for a client width: whole cells between the margin and the caret's room.
int ColumnsForWidth(const EditView& view, int width);

// WM_SIZE of the view's window.
void OnViewSize(EditView& view, int width, int height);

// Lays the document out for settings and the visible columns; when that changed anything,
// normalises caret and anchor, brings the caret back into view (policy 1) and updates the
// scroll bars. Returns whether the layout changed.
bool RelayoutView(EditView& view, const TextClass& settings);

// The layout half of applying a class (its syntax definition already resolved): lays the
// document out for it as RelayoutView does, gives the document the class (its layout values
// and highlighting) and the view its own copy of it, and invalidates the whole window. A change
// of the syntax definition alone also lays every line out again, since the lines' highlighter
// states and word breaks depend on it.
void ApplyLayoutSettings(EditView& view, const DocClass& settings);
