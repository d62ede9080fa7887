#pragma once

#include <windows.h>

namespace windlock::host {

// Where the host window's parts go, in its client coordinates.
struct HostLayout {
  RECT back{};
  RECT forward{};
  RECT reload{};
  RECT address{};
  RECT bar_button{};
  RECT bar_title{};
  RECT bar_pane{};
  RECT browser{};
};

// What the layout depends on: the client area's size, the height the status line takes at the
// bottom, the width the bar asks for (0 while it is hidden), the screen's dots per inch and the
// height the address box needs for its font (0: the row's height).
struct LayoutInput {
  SIZE client{};
  int status_height = 0;
  int bar_width = 0;
  int dpi = 96;
  int address_height = 0;
  // Whether the row of buttons is shown; without it the panes start at the top.
  bool toolbar = true;
};

// A row of buttons and the address box (centred in the row's height) at the top; below it the bar
// at the left and the browser pane beside it. The bar gets the width it asks for as long as the
// browser keeps a third of the window; no part is ever given a negative size.
HostLayout LayOut(const LayoutInput& input);

}  // namespace windlock::host
