// Transparent copies of images: the destination shows through the source's key colour.
#include "pocketpc/GdiWin32.h"
#include "pocketpc/PocketPC.h"

BOOL TransparentImage(HDC hdcDest, LONG DstX, LONG DstY, LONG DstCx, LONG DstCy, HANDLE hSrc,
                      LONG SrcX, LONG SrcY, LONG SrcCx, LONG SrcCy, COLORREF TransparentColor) {
  if (!hdcDest || !hSrc) return FALSE;
  const auto copyFrom = [&](HDC source) {
    return GdiTransparentBlt(hdcDest, DstX, DstY, DstCx, DstCy, source, SrcX, SrcY, SrcCx, SrcCy,
                             TransparentColor);
  };
  // The source is a device context, or a bitmap drawn through one of our own.
  if (GetObjectType(hSrc) != OBJ_BITMAP) return copyFrom(static_cast<HDC>(hSrc));
  const platform::MemoryDc source(CreateCompatibleDC(hdcDest));
  if (!source) return FALSE;
  const platform::SelectedObject image(source.Get(), hSrc);
  return copyFrom(source.Get());
}
