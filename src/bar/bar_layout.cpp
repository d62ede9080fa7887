#include <algorithm>
#include <string>

#include "bar/bar_form.h"
#include "common/skin_paths.h"
#include "common/twips.h"
#include "forms/error_message.h"

namespace windlock {
namespace {

// Where the look not in use waits, out of sight.
constexpr float kParked = -20000;
constexpr float kPreviewOpenHeight = 2505;
constexpr float kPreviewClosedHeight = 390;

// Clears a flag when the layout ends, however it ends.
struct Reentry {
  bool& flag;
  ~Reentry() { flag = false; }
};

}  // namespace

BarControls BarForm::AddDesignControls() {
  // Containers first: a window is made inside the window of its frame.
  accessible_name = "Windlock";
  Control& popup = AddControl("framePopup", ControlKind::kFrame);
  popup.accessible_name = "Pop-up stopper";
  Control& images = AddControl("frameImages", ControlKind::kFrame);
  images.accessible_name = "Skin";
  Control& preview_pane = AddControl("Frame1", ControlKind::kFrame);
  preview_pane.accessible_name = "Preview pane";
  preview_pane.container = &popup;
  Control& preview_holder = AddControl("Frame2", ControlKind::kFrame).Place(60, 390, 0, 2055);
  preview_holder.accessible_name = "Preview page";
  preview_holder.container = &preview_pane;
  Control& skin_browser = AddControl("webImages", ControlKind::kBrowser);
  skin_browser.accessible_name = "Skin page";
  skin_browser.container = &images;
  Control& preview_browser = AddControl("MyWeb2", ControlKind::kBrowser);
  preview_browser.accessible_name = "Preview";
  preview_browser.container = &preview_holder;

  Control& bypass = AddControl("lblBypass", ControlKind::kLabel);
  bypass.caption = "Bypass Enabled";
  bypass.visible = false;
  bypass.height = 255;
  bypass.highlight = true;
  bypass.container = &popup;
  ListView& list = AddListView("URLList");
  list.accessible_name = "Captured pop-ups";
  list.left = 0;
  list.top = 240;
  list.container = &popup;
  list.on_mouse_down = [this](bool on_item) { URLList_MouseDown(on_item); };
  list.on_double_click = [this] { URLList_DblClick(); };
  Control& title = AddControl("Label1", ControlKind::kLabel).Place(60, 150, 0, 195);
  title.caption = "Preview Window";
  title.container = &preview_pane;
  Control& preview_box = AddControl("Check1", ControlKind::kCheckBox).Place(0, 130, 255, 225);
  preview_box.value = 1;
  preview_box.accessible_name = "Show preview";
  preview_box.container = &preview_pane;
  preview_box.on_click = [this] { buttons_.Check1_Click(); };
  static constexpr const char* kCaptions[] = {"Open In This Window -->", "Open In New Window",
                                              "Remove From List", "Help"};
  std::array<Control*, 4> buttons{};
  for (int index = 0; index < 4; ++index) {
    Control& button = AddControl("Command1(" + std::to_string(index) + ")", ControlKind::kButton);
    button.caption = kCaptions[index];
    // The arrow is a picture, not words to read out.
    if (index == 0) button.accessible_name = "Open In This Window";
    button.container = &popup;
    button.on_click = [this, index] { buttons_.Command1_Click(index); };
    if (index < 3) {
      button.left = 60;
      button.height = 345;
    } else {
      button.width = 915;
      button.height = 315;
    }
    buttons[static_cast<std::size_t>(index)] = &button;
  }
  Control& shutdown = AddControl("cmdSafeShutdown", ControlKind::kButton).Place(60, 0, 1335, 315);
  shutdown.caption = "Safe Shutdown";
  shutdown.container = &popup;
  shutdown.on_click = [this] { buttons_.cmdSafeShutdown_Click(); };
  // Last, so it shows above both looks while a transition runs.
  Control& clip = AddControl("Animation1", ControlKind::kAnimation);
  clip.accessible_name = "Loading";
  clip.visible = false;
  return BarControls{
      .framePopup = popup,
      .frameImages = images,
      .webImages = skin_browser,
      .Animation1 = clip,
      .lblBypass = bypass,
      .URLList = list,
      .Frame1 = preview_pane,
      .Label1 = title,
      .Check1 = preview_box,
      .Frame2 = preview_holder,
      .MyWeb2 = preview_browser,
      .Command1 = buttons,
      .cmdSafeShutdown = shutdown,
  };
}

void BarForm::LayOut() {
  // The transition owns the frames while it runs; and the layout's own moveTo on the preview
  // page must not set off another layout from inside this one.
  if (timer2_.interval() != 0 || laying_out_) return;
  laying_out_ = true;
  Reentry reentry{laying_out_};
  try {
    BarControls& c = controls_;
    c.Animation1.Place(0, 0, width, height);
    Control& popup = c.framePopup;
    Control& images = c.frameImages;
    bool original = module_.settings.DefaultSkin == kOriginalSkin;
    images.left = original ? kParked : 0;
    images.top = 0;
    popup.left = original ? 0 : kParked;
    popup.top = 0;
    popup.width = width;
    popup.height = height;
    images.width = width;
    images.height = height;

    Control& open_here = *c.Command1[0];
    const float w1 = RoundTwips(popup.width);
    const float h1 = RoundTwips(popup.height);
    const float buttons = RoundTwips(4 * open_here.height + 120);

    Control& frame1 = c.Frame1;
    Control& frame2 = c.Frame2;
    Control& check = c.Check1;
    Control& preview = c.MyWeb2;
    frame1.width = w1;
    frame2.width = frame1.width - 120;
    check.left = frame1.width - check.width - 50;
    c.Label1.width = frame1.width - check.width - 100;
    if (PreviewShown) {
      frame1.height = kPreviewOpenHeight;
      preview.height = frame2.height;
    } else {
      preview.height = frame2.height;
      frame1.height = kPreviewClosedHeight;
    }
    preview.width = frame2.width;
    preview.left = 0;
    preview.top = 0;
    preview.visible = true;
    if (HtmlDocument* document = my_web_->Document()) {
      document->CallFunction("moveTo", {0, 0, static_cast<int32_t>(frame2.width),
                                        static_cast<int32_t>(frame2.height)});
    }

    c.URLList.width = w1;
    // A bar too small for the list keeps an empty one rather than failing every resize.
    c.URLList.height = std::max(0.0f, h1 - buttons - frame1.height - 225);
    c.URLList.column_width = c.URLList.width - 500;
    frame1.top = c.URLList.top + c.URLList.height - 50;

    float top = h1 - buttons;
    for (std::size_t index = 0; index < 3; ++index) {
      Control& button = *c.Command1[index];
      button.width = w1 - 2 * button.left;
      button.top = top;
      top = button.top + button.height;
    }
    Control& help = *c.Command1[3];
    help.top = height - help.height - 60;
    help.left = width - help.width - 60;
    c.cmdSafeShutdown.top = help.top;

    Control& bypass = c.lblBypass;
    bypass.width = w1;
    bypass.top = 0;
    bypass.left = 0;
    c.webImages.Place(0, 0, images.width, images.height);
  } catch (const Error& error) {
    ShowCommonError(platform_.ui, "There Was An Error Resizing The Explorer Bar.", error);
  }
}

}  // namespace windlock
