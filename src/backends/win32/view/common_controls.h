#pragma once

namespace windlock::win32 {

// Registers the common control classes the bar's windows use (list view, animation, tabs,
// trackbar and the other bar classes, buttons and edits), once per process however many threads
// ask at once; fails with an Error, and a later call tries again.
void InitCommonControlsOnce();

}  // namespace windlock::win32
