#include "host/band.h"

#include "bar/band_menu.h"
#include "common/error.h"
#include "host/subclass_hook.h"
#include "settings/settings_store.h"

namespace windlock {
namespace {

constexpr uint8_t kVkBack = 0x08;
constexpr uint8_t kVkEnd = 0x23;

// A COM method reports a failure through its result only.
template <typename Body>
HResult Guarded(Body&& body) {
  try {
    return body();
  } catch (const Error& error) {
    return HResultFromError(error);
  }
}

}  // namespace

Band::Band(Apartment& apartment) : apartment_(apartment), windows_(apartment.platform().windows) {
  LoadSettings(apartment_.module().settings, apartment_.platform());
}

Band::~Band() {
  CloseDW();
}

BarForm* Band::bar_form() const {
  if (!holds_form_ || apartment_.bar_form_load_count() != form_load_) return nullptr;
  return apartment_.bar_form();
}

HResult Band::SetSite(BandSite* site) {
  return Guarded([&] {
    // What the old site gave goes first, whatever becomes of the new one: the browser destroys
    // the old site once this returns, also when the new one is refused or fails half-way.
    BarForm* form = bar_form();
    if (form && form->CurrentIE()) form->SetCurrentIE(nullptr);
    input_object_site_ = nullptr;
    site_ = nullptr;
    if (!site) return kSOk;
    site_ = site;
    if (!site->HasWindow()) return kEFail;
    if (!bar_form()) {
      BarForm& form = apartment_.LoadBarForm();
      holds_form_ = true;
      form_load_ = apartment_.bar_form_load_count();
      form.SetBand(this);
      HookWindow(windows_, form.hWnd(), *this);
    }
    AttachBrowser();
    parent_window_ = site->GetWindow();
    bar_window_ = bar_form()->hWnd();
    windows_.SetStyle(bar_window_, windows_.GetStyle(bar_window_) | kWsChild | kWsClipSiblings);
    windows_.SetParent(bar_window_, parent_window_);
    input_object_site_ = site->GetInputObjectSite();
    return kSOk;
  });
}

HResult Band::GetSite(BandSite*& site) {
  site = site_;
  return site_ ? kSOk : kEFail;
}

HResult Band::GetWindow(WindowHandle& window) {
  window = bar_window_;
  return kSOk;
}

void Band::AttachBrowser() {
  BarForm* form = bar_form();
  if (!site_ || !form) return;
  form->SetCurrentIE(nullptr);
  form->SetCurrentIE(&site_->QueryBrowser());
}

HResult Band::ShowDW(bool show) {
  return Guarded([&] {
    BarForm* form = bar_form();
    if (form && bar_window_ != 0) {
      windows_.ShowWindow(bar_window_, show);
      form->ShowSkin(show);
    }
    return kSOk;
  });
}

HResult Band::CloseDW() {
  return Guarded([&] {
    BarForm* form = bar_form();
    holds_form_ = false;
    // Also when the form is already gone: its window went with it.
    bar_window_ = 0;
    if (!form) return kSOk;
    form->SetCurrentIE(nullptr);
    form->SetBand(nullptr);
    UnhookWindow(windows_, form->hWnd());
    apartment_.UnloadBarForm();
    return kSOk;
  });
}

HResult Band::GetBandInfo(BandInfo& info) {
  if (info.mask & kDbimMinSize) info.min_size = {350, 160};
  if (info.mask & kDbimMaxSize) info.max_size = {-1, -1};
  if (info.mask & kDbimIntegral) info.integral = {1, 1};
  if (info.mask & kDbimActual) info.actual = {0, 0};
  if (info.mask & kDbimTitle) info.title = "Larkspan";
  if (info.mask & kDbimModeFlags) info.mode_flags = kDbimfVariableHeight;
  return kSOk;
}

HResult Band::UIActivateIO(bool activate) {
  return Guarded([&] {
    if (activate && bar_window_ != 0) windows_.SetFocus(bar_window_);
    return kSOk;
  });
}

HResult Band::TranslateAcceleratorIO(const WindowMessage& message) {
  return Guarded([&] {
    // A key for a window outside the bar: the focus left it from one of its controls, whose
    // windows the band does not watch. The key is the window's own.
    if (bar_window_ != 0 && message.window != 0 &&
        !windows_.IsWithin(message.window, bar_window_)) {
      if (has_focus_) NotifyFocus(false);
      return kSFalse;
    }
    if (message.message == kWmKeyDown && message.wparam == kVkBack) {
      windows_.SendWindowMessage({message.window, kWmChar, kVkBack, message.lparam});
    } else if (message.message == kWmKeyDown && message.wparam == kVkEnd) {
      windows_.SendWindowMessage({message.window, kWmKeyDown, kVkEnd, message.lparam});
    }
    return kSOk;
  });
}

HResult Band::QueryContextMenu(MenuHandle menu, uint32_t index_menu, uint32_t id_cmd_first,
                               uint32_t id_cmd_last, uint32_t /*flags*/) {
  return Guarded([&] {
    return BuildBandMenu(apartment_.module(), apartment_.platform(), menu, index_menu, id_cmd_first,
                         id_cmd_last);
  });
}

HResult Band::InvokeCommand(uint32_t command_offset) {
  BarForm* form = bar_form();
  if (!form) return kENotImpl;
  return Guarded([&] {
    windows_.SetFocus(bar_window_);
    form->HandleMenuCommand(command_offset);
    return kSOk;
  });
}

void Band::GiveUpFocus() {
  Guarded([&] {
    if (input_object_site_) NotifyFocus(false);
    return kSOk;
  });
}

intptr_t Band::WindowProc(const WindowMessage& message) {
  const uint32_t clicked = static_cast<uint32_t>(message.wparam & 0xFFFF);
  if (message.message == kWmSetFocus && input_object_site_) {
    NotifyFocus(true);
  } else if (message.message == kWmParentNotify && input_object_site_ && !has_focus_ &&
             (clicked == kWmLButtonDown || clicked == kWmRButtonDown ||
              clicked == kWmMButtonDown)) {
    // A click on one of the bar's controls gives that control the focus without the bar window
    // seeing it: the band has the focus from then on.
    NotifyFocus(true);
  } else if (message.message == kWmKillFocus && input_object_site_ &&
             !windows_.IsWithin(static_cast<WindowHandle>(message.wparam), bar_window_)) {
    // The focus that goes on to one of the bar's own controls stays in the band.
    NotifyFocus(false);
  }
  return windows_.CallWindowProcedure(OldWindowProcedure(windows_, message.window), message);
}

void Band::NotifyFocus(bool has_focus) {
  has_focus_ = has_focus;
  if (input_object_site_) input_object_site_->OnFocusChangeIS(has_focus);
}

}  // namespace windlock
