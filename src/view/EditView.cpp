// Attaching an edit view to its document and window.
#include "view/EditView.h"

#include "text/Document.h"

void EditView::Attach(Document& doc, ViewSurface& viewSurface, ViewFrame* viewFrame) {
  document = &doc;
  surface = &viewSurface;
  frame = viewFrame;
  if (viewNumber == 0) viewNumber = NextViewNumber();
  caret = TextPos(doc);
  SetPos(caret, 0, 0);
  anchor = caret;
  selectionActive = false;
}

int NextViewNumber() {
  static int viewCount = 0;
  return ++viewCount;
}
