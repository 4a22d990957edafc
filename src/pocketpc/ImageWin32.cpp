// Transparent copies of images: the destination shows through the source's key colour.
#include "pocketpc/PocketPC.h"

BOOL TransparentImage(HDC hdcDest, LONG DstX, LONG DstY, LONG DstCx, LONG DstCy, HANDLE hSrc,
                      LONG SrcX, LONG SrcY, LONG SrcCx, LONG SrcCy, COLORREF TransparentColor) {
  if (!hdcDest || !hSrc) return FALSE;
  HDC source = nullptr;
  HDC ownDc = nullptr;
  HGDIOBJ previous = nullptr;
  if (GetObjectType(hSrc) == OBJ_BITMAP) {
    ownDc = CreateCompatibleDC(hdcDest);
    if (!ownDc) return FALSE;
    previous = SelectObject(ownDc, hSrc);
    source = ownDc;
  } else {
    source = static_cast<HDC>(hSrc);
  }
  BOOL done = GdiTransparentBlt(hdcDest, DstX, DstY, DstCx, DstCy, source, SrcX, SrcY, SrcCx,
                                SrcCy, TransparentColor);
  if (ownDc) {
    SelectObject(ownDc, previous);
    DeleteDC(ownDc);
  }
  return done;
}
