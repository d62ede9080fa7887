#include "backends/win32/view/hosted_controls.h"

#include <vector>

#include "backends/win32/com/module.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {
namespace {

constexpr const wchar_t* kParkingClass = L"WindlockParking";

}  // namespace

HostedControls::~HostedControls() {
  if (parking_) DestroyWindow(parking_);
}

HWND HostedControls::parking() {
  if (parking_) return parking_;
  RegisterModuleClass(kParkingClass, DefWindowProcW);
  // A hidden pop-up rather than a message-only window: an in-place control needs a real parent.
  parking_ = CreateWindowExW(0, kParkingClass, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, nullptr,
                             nullptr, ModuleHandle(), nullptr);
  if (!parking_) throw ErrorFromWin32(GetLastError());
  return parking_;
}

HostedControl* HostedControls::Find(const Control& holder) const {
  auto found = controls_.find(&holder);
  return found == controls_.end() ? nullptr : found->second;
}

bool HostedControls::TranslateAccelerator(MSG& message) const {
  // A page's script run by the key may make or remove hosted controls: each is looked up anew.
  std::vector<const Control*> holders;
  holders.reserve(controls_.size());
  for (const auto& entry : controls_) holders.push_back(entry.first);
  for (const Control* holder : holders) {
    auto found = controls_.find(holder);
    if (found != controls_.end() && found->second->TranslateAccelerator(message)) return true;
  }
  return false;
}

}  // namespace windlock::win32
