#pragma once

#include <windows.h>

namespace windlock::host {

// The host window's commands (menu items, accelerators and toolbar buttons send them as
// WM_COMMAND) and the identifiers of its child windows, which tests find them by.
enum Command : WORD {
  kCommandBack = 100,
  kCommandForward,
  kCommandReload,
  kCommandToggleBar,
  kCommandFocusAddress,
  kCommandExit,
};

enum ChildId : WORD {
  kAddressBoxId = 200,
  kStatusLineId,
  kBarTitleId,
  kBarPaneId,
};

// The window class of the host's main window and of the pane the bar lives in.
inline constexpr const wchar_t* kHostWindowClass = L"WindlockHostWindow";
inline constexpr const wchar_t* kBarPaneClass = L"WindlockHostBarPane";
inline constexpr const wchar_t* kHostCaption = L"Windlock Host";

// The status line's parts: the browser's own text, then what the host says about the bar.
inline constexpr int kStatusBrowserPart = 0;
inline constexpr int kStatusBarPart = 1;

// The main menu and the keys that send the commands.
HMENU BuildMainMenu();
HACCEL BuildAccelerators();

}  // namespace windlock::host
