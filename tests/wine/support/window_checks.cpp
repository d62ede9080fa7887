#include "support/window_checks.h"

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include "support/dll_under_test.h"
#include "support/identity.h"

namespace windlock_test {

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// WM_GETTEXT, not GetWindowText, which reads only captions of another process's windows.
std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, &length);
  return text;
}

namespace {

// The window's client object, as a screen reader gets it; none when the window gives none.
ComPtr<IAccessible> ClientObjectOf(HWND window) {
  ComPtr<IAccessible> object;
  AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, object.PutVoid());
  return object;
}

VARIANT Self() {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

}  // namespace

std::wstring AccessibleNameOf(HWND window) {
  ComPtr<IAccessible> object = ClientObjectOf(window);
  BSTR name = nullptr;
  if (!object || object->get_accName(Self(), &name) != S_OK || !name) return {};
  std::wstring text(name, SysStringLen(name));
  SysFreeString(name);
  return text;
}

LONG AccessibleRoleOf(HWND window) {
  ComPtr<IAccessible> object = ClientObjectOf(window);
  VARIANT role{};
  if (!object || object->get_accRole(Self(), &role) != S_OK || role.vt != VT_I4) return 0;
  return role.lVal;
}

void ExpectEveryControlNamed(HWND window) {
  for (HWND child : Descendants(window)) {
    const std::wstring parent = ClassOf(GetParent(child));
    if (parent != L"WindlockForm" && parent != L"WindlockFrame") continue;
    EXPECT_NE(L"", AccessibleNameOf(child)) << "an unnamed " << Narrow(ClassOf(child));
  }
}

namespace {

BOOL CALLBACK CollectWindow(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

}  // namespace

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindDescendant(HWND window, const std::wstring& window_class, const std::wstring& text) {
  for (HWND child : Descendants(window)) {
    if ((window_class.empty() || ClassOf(child) == window_class) && TextOf(child).starts_with(text))
      return child;
  }
  return nullptr;
}

RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool ShowsInside(HWND control, HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  RECT rect{};
  GetWindowRect(control, &rect);
  return IsWindowVisible(control) && rect.left >= client.left && rect.right <= client.right &&
         rect.top >= client.top && rect.bottom <= client.bottom;
}

void ExpectChildrenInside(HWND window) {
  for (HWND child : Descendants(window)) {
    const RECT rect = RectInParent(child);
    if (!IsWindowVisible(child) || rect.right <= 0 || ClassOf(GetParent(child)) == WC_LISTVIEWW)
      continue;
    RECT parent{};
    GetClientRect(GetParent(child), &parent);
    SCOPED_TRACE(Narrow(ClassOf(child) + L" " + TextOf(child)));
    EXPECT_GE(rect.left, 0);
    EXPECT_GE(rect.top, 0);
    EXPECT_LE(rect.right, parent.right);
    EXPECT_LE(rect.bottom, parent.bottom);
  }
}

void ExpectCaptionsFit(HWND window) {
  for (HWND child : Descendants(window)) {
    const std::wstring window_class = ClassOf(child);
    const bool button = window_class == L"Button";
    if ((!button && window_class != L"Static") || !ShowsInside(child, window)) continue;
    std::wstring caption = TextOf(child);
    if (caption.empty()) continue;
    const LONG style = GetWindowLongPtrW(child, GWL_STYLE);
    const LONG type = style & BS_TYPEMASK;
    // A label wraps its words unless told not to; a button's caption is one line.
    const bool one_line = button || (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
    const int room = !button ? 0 : type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ? 20 : 8;
    RECT client{};
    GetClientRect(child, &client);
    RECT needed{0, 0, client.right - room, 0};
    HDC dc = GetDC(child);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &needed,
              DT_CALCRECT | (one_line ? DT_SINGLELINE : DT_WORDBREAK) |
                  (!button && (style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
    SelectObject(dc, previous);
    ReleaseDC(child, dc);
    EXPECT_LE(needed.right + room, client.right) << Narrow(caption);
    EXPECT_LE(needed.bottom, client.bottom) << Narrow(caption);
  }
}

}  // namespace windlock_test
