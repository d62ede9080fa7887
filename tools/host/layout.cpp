#include "layout.h"

#include <algorithm>

namespace windlock::host {
namespace {

// Sizes in pixels at 96 dots per inch.
constexpr int kMargin = 4;
constexpr int kRowHeight = 26;
constexpr int kButtonWidth = 72;
constexpr int kBarButtonWidth = 110;
constexpr int kMinAddressWidth = 60;
constexpr int kTitleHeight = 22;
constexpr int kSplitterWidth = 4;

RECT Rect(int left, int top, int right, int bottom) {
  right = std::max(left, right);
  bottom = std::max(top, bottom);
  return {left, top, right, bottom};
}

}  // namespace

HostLayout LayOut(const LayoutInput& input) {
  auto scaled = [&](int pixels) { return MulDiv(pixels, input.dpi, 96); };
  const int width = std::max<int>(0, input.client.cx);
  const int margin = scaled(kMargin);
  const int row_top = margin;
  const int row_bottom = row_top + scaled(kRowHeight);

  HostLayout layout;
  int x = margin;
  for (RECT* button : {&layout.back, &layout.forward, &layout.reload}) {
    *button = Rect(x, row_top, x + scaled(kButtonWidth), row_bottom);
    x = button->right + margin;
  }
  // The bar's button keeps the right end; the address box takes what is between.
  int bar_button_left =
      std::max(x + scaled(kMinAddressWidth) + margin, width - margin - scaled(kBarButtonWidth));
  const int address_height = input.address_height > 0
                                 ? std::min(input.address_height, row_bottom - row_top)
                                 : row_bottom - row_top;
  const int address_top = row_top + (row_bottom - row_top - address_height) / 2;
  layout.address = Rect(x, address_top, bar_button_left - margin, address_top + address_height);
  layout.bar_button =
      Rect(bar_button_left, row_top, bar_button_left + scaled(kBarButtonWidth), row_bottom);

  const int panes_top = input.toolbar ? row_bottom + margin : 0;
  const int panes_bottom =
      std::max(panes_top, static_cast<int>(input.client.cy) - input.status_height);
  int browser_left = 0;
  if (input.bar_width > 0) {
    int bar_width = std::min(input.bar_width, width * 2 / 3);
    layout.bar_title =
        Rect(0, panes_top, bar_width, std::min(panes_top + scaled(kTitleHeight), panes_bottom));
    layout.bar_pane = Rect(0, layout.bar_title.bottom, bar_width, panes_bottom);
    browser_left = std::min(width, bar_width + scaled(kSplitterWidth));
  }
  layout.browser = Rect(browser_left, panes_top, width, panes_bottom);
  return layout;
}

}  // namespace windlock::host
