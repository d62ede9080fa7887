#pragma once

#include <array>
#include <memory>

#include "bar/bar_buttons.h"
#include "bar/preview_browser_handlers.h"
#include "bar/script_bridge.h"
#include "bar/skin_transition.h"
#include "capture/bar_flags.h"
#include "capture/bypass_indicator.h"
#include "capture/capture_context.h"
#include "capture/capture_sound.h"
#include "capture/captured_list.h"
#include "capture/hosting_browser_handlers.h"
#include "forms/form.h"
#include "forms/form_window.h"
#include "platform/platform.h"
#include "platform/script_external.h"
#include "settings/settings.h"

namespace windlock {

class Band;

// frmBand's own controls under their design names (the runner and skin pages find them by those
// names too).
struct BarControls {
  Control& framePopup;
  Control& frameImages;
  Control& webImages;
  Control& Animation1;
  Control& lblBypass;
  ListView& URLList;
  Control& Frame1;
  Control& Label1;
  Control& Check1;
  Control& Frame2;
  Control& MyWeb2;
  // "Open In This Window -->", "Open In New Window", "Remove From List", "Help".
  std::array<Control*, 4> Command1;
  Control& cmdSafeShutdown;
};

// frmBand, the window that fills the Explorer Bar: it owns the preview and skin browsers, the
// captured list and its views, the sound device, the bar's flags and timers, and is bound to the
// hosting browser (CurrentIE). Pages in the skin browser reach its script bridge as
// window.external.
class BarForm : public Form {
 public:
  BarForm(Platform& platform, ModuleData& module);
  ~BarForm() override;

  // Start-up: flags cleared, the preview browser restricted and its events connected, the skin
  // browser given the form as window.external, the XML mirror made with its root "URLS". A fault
  // is shown and ends the start-up; the form is loaded all the same.
  void Load();
  // The form's Activate event: the first one hides a bar that was hidden last time, opens the
  // loading clip and loads the skin page; later ones do nothing.
  void Activate() override;
  // Resizing the form to an inner size in twips: the layout runs.
  void Resize(float new_width, float new_height) override;
  // Places both looks and the controls of the built-in one for the form's size; does nothing
  // while a skin transition moves the frames.
  void LayOut();
  // The bar was shown or hidden (ShowDW): the skin page is loaded, or the skin browser blanked.
  void ShowSkin(bool shown);
  // Switches to skin number `number` (10 "Original", 11 + k the k-th skin folder).
  void ApplySkin(int32_t number) {
    if (loaded()) transition_.ApplySkin(number);
  }
  // A command of the bar's context menu, by its offset; an offset that names no item runs
  // nothing.
  void HandleMenuCommand(uint32_t offset);
  // The bar's menu at the mouse position, for a skin that asks for it; a choice runs.
  void ShowContextMenu();

  // What the deferred-action timer does 500 ms after a script asked for it, once the script
  // has returned.
  enum class DeferredAction { kSkinsPage = 0, kOptions = 1, kMenuCommand = 2 };
  // `menu_offset`: the command a kMenuCommand runs.
  void ScheduleDeferredAction(DeferredAction action, uint32_t menu_offset = 0);

  // Connects the hosting browser's events to the bar (none disconnects them).
  void SetCurrentIE(Browser* browser);
  Browser* CurrentIE() const { return current_ie_; }
  void SetBand(Band* band) { band_ = band; }
  Band* band() const { return band_; }

  WindowHandle hWnd() const { return window_.get(); }
  // Whether the bar window is showing.
  bool showing() const;

  Platform& platform() { return platform_; }
  ModuleData& module() { return module_; }
  const Settings& settings() const { return module_.settings; }
  BarFlags& flags() { return flags_; }
  Browser& MyWeb() { return *my_web_; }
  Browser& webImages() { return *web_images_; }
  ListView& URLList() { return controls_.URLList; }
  BarControls& controls() { return controls_; }
  // Timer2, which runs only while a skin transition moves the frames.
  Timer& transition_timer() { return timer2_; }
  CapturedList& captured() { return captured_; }
  BarButtons& buttons() { return buttons_; }
  CaptureSound& sound() { return sound_; }
  ScriptBridge& bridge() { return bridge_; }
  Animation& Animation1() { return *animation1_; }
  // The XML mirror of the captured list; none after teardown.
  XmlDocument* xml_mirror() { return captured_.mirror(); }

  // The list view's mouse events: a double click opens the selection in new windows; a press
  // tells the context menu whether it landed on an item.
  void URLList_DblClick();
  void URLList_MouseDown(bool on_item);

  // The preview pane is open (mirrors the check box Check1).
  bool PreviewShown = true;

 protected:
  // Teardown. Each step runs whatever the one before it did: a fault here must never take the
  // browser down.
  void OnUnload() override;

 private:
  // The form's controls with their design-time placement.
  BarControls AddDesignControls();
  void Timer3_Timer();
  // The options dialog, modal, wired to this bar's skin switch, skin browsing and sound.
  void ShowOptions();
  // Lets the browser's menu loop finish (a WM_NULL posted to the bar window).
  void PostNull();
  // The addresses of the selected entries, one a line, on the clipboard.
  void CopySelection();

  Platform& platform_;
  ModuleData& module_;
  FormWindow window_;
  // Before the platform controls: each is made for the control that shows it.
  BarControls controls_;
  std::unique_ptr<PreviewControl> my_web2_;
  Browser* my_web_;
  std::unique_ptr<Browser> web_images_;
  std::unique_ptr<SoundDevice> mm_control1_;
  std::unique_ptr<Animation> animation1_;
  std::unique_ptr<BrowserCustomizer> customizer_;
  CaptureSound sound_;
  BarFlags flags_;
  CapturedList captured_;
  BypassIndicator bypass_;
  CaptureContext context_;
  HostingBrowserHandlers hosting_events_;
  PreviewBrowserHandlers preview_events_;
  SkinBrowserHandlers skin_events_;
  BarButtons buttons_;
  SkinTransition transition_;
  ScriptBridge bridge_;
  Timer& timer1_;
  Timer& timer2_;
  Timer& timer3_;
  DeferredAction deferred_ = DeferredAction::kSkinsPage;
  uint32_t deferred_menu_offset_ = 0;
  Browser* current_ie_ = nullptr;
  Band* band_ = nullptr;
  bool activated_ = false;
  bool preview_connected_ = false;
  bool laying_out_ = false;
};

}  // namespace windlock
