#pragma once

#include <memory>

#include "backends/win32/view/control_window.h"

namespace windlock::win32 {

// The window of each kind of control, made hidden at `place`.

// A static text; only a label with a Click handler asks for the mouse.
std::unique_ptr<ControlWindow> MakeLabelWindow(const Control& label, const ChildPlace& place);
std::unique_ptr<ControlWindow> MakeButtonWindow(bool is_default, const ChildPlace& place);
std::unique_ptr<ControlWindow> MakeCheckBoxWindow(const ChildPlace& place);
// A frame: a window that holds the controls inside it.
std::unique_ptr<ControlWindow> MakeFrameWindow(const ChildPlace& place);
// A picture: a frame that shows the picture its control names, stretched to fill it.
std::unique_ptr<ControlWindow> MakePictureWindow(const ChildPlace& place);
std::unique_ptr<ControlWindow> MakeTextBoxWindow(const ChildPlace& place);
std::unique_ptr<ControlWindow> MakeListBoxWindow(const ChildPlace& place);
std::unique_ptr<ControlWindow> MakeSliderWindow(const ChildPlace& place);
std::unique_ptr<ControlWindow> MakeTabStripWindow(const ChildPlace& place);
std::unique_ptr<ControlWindow> MakeListViewWindow(const ChildPlace& place);

}  // namespace windlock::win32
