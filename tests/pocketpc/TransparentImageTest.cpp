// Transparent copies: the key colour leaves the destination as it was, other pixels are
// copied, stretched and taken from the part of the source asked for.
#include "comun/resource.h"
#include "pocketpc/PocketPC.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr COLORREF key = RGB(255, 0, 255);
constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF blue = RGB(0, 0, 255);
constexpr COLORREF green = RGB(0, 128, 0);

// A 24-bit bitmap selected into its own memory device context.
class Canvas {
 public:
  Canvas(int width, int height, const std::vector<COLORREF>& pixels = {}) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        SetPixel(dc_, x, y, pixels.empty() ? green : pixels[y * width + x]);
      }
    }
  }
  ~Canvas() {
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return dc_; }
  // The bitmap, taken out of the device context so that it can be selected elsewhere.
  HBITMAP Bitmap() {
    if (old_) SelectObject(dc_, old_);
    old_ = nullptr;
    return bitmap_;
  }
  std::vector<COLORREF> Row(int y, int width) const {
    std::vector<COLORREF> row;
    for (int x = 0; x < width; ++x) row.push_back(GetPixel(dc_, x, y));
    return row;
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

TEST(TransparentImage, KeyPixelsLeaveTheDestinationAndOthersAreCopied) {
  const std::vector<COLORREF> source{key, red, key, blue};
  using Row = std::vector<COLORREF>;
  struct Part { int x, y, width, height; };
  const struct {
    const char* name;
    bool fromBitmap;
    Part from;  // in the source
    SIZE to;
    Row firstRow, secondRow;
  } cases[] = {
      {"from a bitmap", true, {0, 0, 4, 1}, {4, 1}, {green, red, green, blue}, {green, green, green, green}},
      {"from a device context", false, {0, 0, 4, 1}, {4, 1}, {green, red, green, blue}, {green, green, green, green}},
      {"stretched", false, {0, 0, 2, 1}, {4, 2}, {green, green, red, red}, {green, green, red, red}},
      {"from the right half", true, {2, 0, 2, 1}, {2, 1}, {green, blue, green, green}, {green, green, green, green}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas from(4, 1, source);
    Canvas to(4, 2);
    HANDLE image = c.fromBitmap ? static_cast<HANDLE>(from.Bitmap()) : static_cast<HANDLE>(from.Dc());
    EXPECT_TRUE(TransparentImage(to.Dc(), 0, 0, c.to.cx, c.to.cy, image, c.from.x, c.from.y,
                                 c.from.width, c.from.height, key));
    EXPECT_EQ(to.Row(0, 4), c.firstRow);
    EXPECT_EQ(to.Row(1, 4), c.secondRow);
  }
}

TEST(TransparentImage, ThePressedCloseButtonShowsOnlyItsCircle) {
  auto bitmap = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_CLOSE), IMAGE_BITMAP, 0, 0, 0));
  ASSERT_NE(bitmap, nullptr);
  Canvas to(17, 17);
  EXPECT_TRUE(TransparentImage(to.Dc(), 0, 0, 17, 17, bitmap, 17, 0, 17, 17, key));
  EXPECT_EQ(GetPixel(to.Dc(), 0, 0), green);    // corner: magenta in the image
  EXPECT_EQ(GetPixel(to.Dc(), 16, 16), green);
  EXPECT_NE(GetPixel(to.Dc(), 8, 8), green);    // the cross
  EXPECT_NE(GetPixel(to.Dc(), 8, 8), key);
  DeleteObject(bitmap);
}

}  // namespace
