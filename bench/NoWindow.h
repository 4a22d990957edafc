// A window that is not there, for benchmarks of the edit view's commands.
#pragma once

#include <algorithm>

#include "view/EditView.h"

namespace bench {

// A window that is not there: it keeps scroll bars as the window system clamps them and
// ignores every drawing.
class NoWindow final : public ViewSurface {
 public:
  void ClientSize(int& width, int& height) const override {
    width = 652;
    height = 640;
  }
  void Invalidate(const PixelRect&, bool) override {}
  void InvalidateAll(bool) override {}
  void Scroll(int, int, const PixelRect&) override {}
  void UpdateNow() override {}
  void SetScrollBar(ScrollBar which, unsigned mask, const ScrollBarState& state) override {
    ScrollBarState& bar = bars_[static_cast<int>(which)];
    if (mask & scrollPage) bar.page = state.page;
    if (mask & scrollRange) {
      bar.min = state.min;
      bar.max = std::max(state.min, state.max);
    }
    if (mask & scrollPos) bar.pos = state.pos;
    bar.page = std::clamp(bar.page, 0, bar.max - bar.min + 1);
    bar.pos = std::clamp(bar.pos, bar.min, std::max(bar.min, bar.max - std::max(bar.page - 1, 0)));
  }
  ScrollBarState GetScrollBar(ScrollBar which) const override {
    return bars_[static_cast<int>(which)];
  }
  void CreateCaret(int, int) override {}
  void DestroyCaret() override {}
  void ShowCaret() override {}
  void HideCaret() override {}
  void SetCaretPos(int, int) override {}

 private:
  ScrollBarState bars_[2];
};

}  // namespace bench
