// The editor font of a view and the cell size it gives.
#include <windows.h>

#include <algorithm>
#include <string>

#include "config/DocClass.h"
#include "view/Grid.h"
#include "view/ViewWindowWin32.h"

namespace {

constexpr int fontFlagBold = 1;
constexpr int fontFlagItalic = 2;
constexpr int fontFlagClearType = 16;
constexpr int fontFlagProof = 32;

LOGFONTW EditorLogFont(const std::wstring& face, int height, int width, int flags) {
  LOGFONTW logFont{};
  logFont.lfHeight = height;
  logFont.lfWidth = width;
  logFont.lfWeight = (flags & fontFlagBold) ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = (flags & fontFlagItalic) ? TRUE : FALSE;
  logFont.lfCharSet = 0;
  logFont.lfOutPrecision = 0;
  BYTE quality = 0;
  if (flags & fontFlagProof) quality |= PROOF_QUALITY;
  if (flags & fontFlagClearType) quality |= CLEARTYPE_QUALITY;
  logFont.lfQuality = quality;
  const std::size_t length = std::min(face.size(), std::size(logFont.lfFaceName) - 1);
  face.copy(logFont.lfFaceName, length);
  logFont.lfFaceName[length] = L'\0';
  return logFont;
}

}  // namespace

platform::GdiObject<HFONT> CreateEditorFont(HWND window, const std::wstring& face, int size,
                                            int flags, int widthPercent, FontMetrics* metrics) {
  const platform::WindowDc dc(window);
  const int pixelHeight = GetDeviceCaps(dc.Get(), LOGPIXELSY) * size / 720;
  LOGFONTW logFont = EditorLogFont(face, -pixelHeight, 0, flags);
  platform::GdiObject<HFONT> font(CreateFontIndirectW(&logFont));
  if ((widthPercent == 100 && !metrics) || !font) return font;
  SIZE extent{};
  {
    const platform::SelectedObject selected(dc.Get(), font.Get());
    // A font that measures no height cannot be scaled either: it is returned as it is.
    if (!GetTextExtentExPointW(dc.Get(), L"M", 1, 0, nullptr, nullptr, &extent) || extent.cy <= 0)
      return font;
  }
  int characterWidth = extent.cx;
  if (widthPercent != 100) {
    const long long cx = extent.cx, cy = extent.cy;
    const int width = static_cast<int>((cx * 10000 / cy) * cy * widthPercent / 1000000);
    logFont = EditorLogFont(face, -extent.cy, width, flags);
    if (HFONT scaled = CreateFontIndirectW(&logFont)) {
      font.Reset(scaled);
      characterWidth = width;
    }
  }
  if (metrics) {
    const platform::SelectedObject selected(dc.Get(), font.Get());
    TEXTMETRICW textMetrics{};
    if (GetTextMetricsW(dc.Get(), &textMetrics)) {
      metrics->characterWidth = characterWidth;
      metrics->height = textMetrics.tmHeight;
    }
  }
  return font;
}

void UpdateFontMetrics(ViewWindow& view, const DocClass& settings) {
  int flags = settings.fontflags;
  if (settings.fontcleartype) flags |= fontFlagClearType;
  if (settings.fontproof) flags |= fontFlagProof;
  view.cellText.Reset();
  view.font.Reset();
  FontMetrics metrics;
  view.font = CreateEditorFont(view.frameWindow ? view.frameWindow : view.window,
                               settings.fontfamily, settings.fontsize, flags,
                               settings.fontwidthrel, &metrics);
  SetCellSize(view, metrics.characterWidth, metrics.height - settings.linespacing);
}
