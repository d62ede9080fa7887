#include "commands.h"

#include <array>

namespace windlock::host {

HMENU BuildMainMenu() {
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kCommandExit, L"E&xit");
  HMENU go = CreatePopupMenu();
  AppendMenuW(go, MF_STRING, kCommandBack, L"&Back\tAlt+Left");
  AppendMenuW(go, MF_STRING, kCommandForward, L"&Forward\tAlt+Right");
  AppendMenuW(go, MF_STRING, kCommandReload, L"&Reload\tF5");
  AppendMenuW(go, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(go, MF_STRING, kCommandFocusAddress, L"&Address\tAlt+D");
  HMENU view = CreatePopupMenu();
  AppendMenuW(view, MF_STRING, kCommandToggleBar, L"&Windlock Bar\tCtrl+Shift+W");
  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(go), L"&Go");
  return menu;
}

HACCEL BuildAccelerators() {
  std::array<ACCEL, 5> keys = {{
      {FALT | FVIRTKEY, VK_LEFT, kCommandBack},
      {FALT | FVIRTKEY, VK_RIGHT, kCommandForward},
      {FVIRTKEY, VK_F5, kCommandReload},
      {FALT | FVIRTKEY, 'D', kCommandFocusAddress},
      {FCONTROL | FSHIFT | FVIRTKEY, 'W', kCommandToggleBar},
  }};
  return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

}  // namespace windlock::host
