#include "capture/hosting_browser_handlers.h"

#include "capture/capture_alert.h"
#include "dialogs/add_url_dialog.h"
#include "forms/error_message.h"
#include "forms/page_function.h"
#include "settings/root_domain.h"
#include "settings/settings_store.h"
#include "windlock/band_ids.h"

namespace windlock {

void HostingBrowserHandlers::NewWindow2(Browser*& ppDisp, bool& cancel) {
  std::shared_ptr<Form> alive = context_.bar.KeepAlive();
  try {
    Decide(ppDisp, cancel);
  } catch (const Error& error) {
    cancel = false;
    // Only a window already handed to the preview browser may be recorded as a capture. Set
    // before the message: the bar may be closed while it is up.
    context_.flags.CapturePending = ppDisp != nullptr;
    ShowCommonError(context_.platform.ui,
                    "There Was An Error Handling The New Window Event From The Main Browsing "
                    "Window.",
                    error);
  }
}

void HostingBrowserHandlers::Decide(Browser*& ppDisp, bool& cancel) {
  Settings& settings = context_.module.settings;
  BarFlags& flags = context_.flags;
  if (!context_.bar_showing() && !settings.CaptureWhenClosed) return;

  KeyTable keys{};
  context_.platform.keyboard.GetKeyboardState(keys);
  if (keys[kVkShift] & kKeyDown) return;

  if (flags.OpenNextWindow) {
    flags.OpenNextWindow = false;
    return;
  }

  if (!hosting_) return;
  std::string site = hosting_->LocationURL();
  if (!flags.SafeShutdownRequested) {
    getrootdomain(site);
    if (settings.Sites.Contains(kTrustPrefix + site)) return;
  }

  CallPageFunction(context_.skin, "OnCapture");
  if (settings.PlayAudioCapture != kNoSound) context_.sound.Play(settings.PlayAudioCapture);

  if (flags.SafeShutdownRequested) {
    Alert();
    cancel = true;
    return;
  }

  if (!settings.PromptToAdd) {
    Tell();
  } else {
    context_.module.DialogURL = site;
    if (settings.Sites.Contains(kNoTrustPrefix + site)) {
      Tell();
    } else {
      // With the prompt (or the alert) of an earlier window up, this one is captured unasked.
      if (ShowDecisionWindow(ShowAddUrlDialog) && context_.module.DialogURL == "added") return;
    }
  }
  // Closed while its alert or prompt was up, the bar has nowhere to keep the window: it opens.
  if (!context_.bar.loaded()) return;
  Capture(ppDisp, cancel);
}

bool HostingBrowserHandlers::ShowDecisionWindow(void (*show)(Platform&, ModuleData&)) {
  BarFlags& flags = context_.flags;
  if (flags.DecisionWindowUp) return false;
  flags.DecisionWindowUp = true;
  struct Shown {
    BarFlags& flags;
    ~Shown() { flags.DecisionWindowUp = false; }
  } shown{flags};
  show(context_.platform, context_.module);
  return true;
}

void HostingBrowserHandlers::Alert() {
  ShowDecisionWindow(
      [](Platform& platform, ModuleData& module) { ShowCaptureAlert(platform, module.settings); });
}

void HostingBrowserHandlers::Tell() {
  const Settings& settings = context_.module.settings;
  if (settings.ShowVisualCapture) {
    Alert();
  } else {
    // Heard, not seen: a screen reader still says that a window was captured.
    context_.platform.ui.Announce(context_.bar, settings.PopupAlertMessage);
  }
}

void HostingBrowserHandlers::Capture(Browser*& ppDisp, bool& cancel) {
  ppDisp = &context_.preview;
  cancel = false;
  context_.flags.CapturePending = true;
}

void HostingBrowserHandlers::DocumentComplete(const std::string& /*url*/) {
  std::shared_ptr<Form> alive = context_.bar.KeepAlive();
  BarFlags& flags = context_.flags;
  if (!flags.SafeShutdownRequested) return;
  try {
    flags.SafeShutdownStage2 = true;
    context_.preview.Navigate2(NavigateRequest::To("about:blank"));
  } catch (const Error& error) {
    flags.ClearSafeShutdown();
    ShowCommonError(context_.platform.ui,
                    "There Was An Error Handling The Document Complete Event From The Main "
                    "Browsing Window.",
                    error);
  }
}

void HostingBrowserHandlers::OnQuit() {
  Settings& settings = context_.module.settings;
  if (!settings.AutoStart) return;
  settings.Visible = context_.bar_showing();
  // The window is closing: a failure here can neither be shown nor be allowed to hold it up.
  try {
    SaveSettings(settings, context_.platform.registry);
  } catch (const Error&) {
  }
  try {
    if (hosting_) hosting_->ShowBrowserBar(kBandClsid, true);
  } catch (const Error&) {
  }
}

}  // namespace windlock
