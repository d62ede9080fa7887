#include <algorithm>

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

// The bar's button array.
constexpr const char* kCommand1[] = {"Command1(0)", "Command1(1)", "Command1(2)", "Command1(3)"};

// Clears a flag when the layout ends, however it ends.
struct Reentry {
  bool& flag;
  ~Reentry() { flag = false; }
};

}  // namespace

void BarForm::AddDesignControls() {
  AddControl("framePopup", ControlKind::kFrame);
  AddControl("frameImages", ControlKind::kFrame);
  AddControl("webImages", ControlKind::kFrame);
  AddControl("Animation1", ControlKind::kFrame).visible = false;
  Control& bypass = Design("lblBypass");
  bypass.caption = "Bypass Enabled";
  bypass.visible = false;
  bypass.height = 255;
  url_list_.left = 0;
  url_list_.top = 240;
  AddControl("Frame1", ControlKind::kFrame).left = 0;
  Control& title = AddControl("Label1", ControlKind::kLabel).Place(60, 150, 0, 195);
  title.caption = "Preview Window";
  Control& preview_box = AddControl("Check1", ControlKind::kCheckBox).Place(0, 130, 255, 225);
  preview_box.value = 1;
  preview_box.on_click = [this] { buttons_.Check1_Click(); };
  AddControl("Frame2", ControlKind::kFrame).Place(60, 390, 0, 2055);
  AddControl("MyWeb2", ControlKind::kFrame);
  static constexpr const char* kCaptions[] = {"Open In This Window -->", "Open In New Window",
                                              "Remove From List", "Help"};
  for (int index = 0; index < 4; ++index) {
    Control& button = AddControl(kCommand1[index], ControlKind::kButton);
    button.caption = kCaptions[index];
    button.on_click = [this, index] { buttons_.Command1_Click(index); };
    if (index < 3) {
      button.left = 60;
      button.height = 345;
    } else {
      button.width = 915;
      button.height = 315;
    }
  }
  Control& shutdown = AddControl("cmdSafeShutdown", ControlKind::kButton).Place(60, 0, 1335, 315);
  shutdown.caption = "Safe Shutdown";
  shutdown.on_click = [this] { buttons_.cmdSafeShutdown_Click(); };
}

void BarForm::LayOut() {
  // The transition owns the frames while it runs; and the layout's own moveTo on the preview
  // page must not set off another layout from inside this one.
  if (FindTimer("Timer2")->interval() != 0 || laying_out_) return;
  laying_out_ = true;
  Reentry reentry{laying_out_};
  try {
    Design("Animation1").Place(0, 0, width, height);
    Control& popup = Design("framePopup");
    Control& images = Design("frameImages");
    bool original = module_.settings.DefaultSkin == kOriginalSkin;
    images.left = original ? kParked : 0;
    images.top = 0;
    popup.left = original ? 0 : kParked;
    popup.top = 0;
    popup.width = width;
    popup.height = height;
    images.width = width;
    images.height = height;

    Control& open_here = Design("Command1(0)");
    const float w1 = RoundTwips(popup.width);
    const float h1 = RoundTwips(popup.height);
    const float buttons = RoundTwips(4 * open_here.height + 120);

    Control& frame1 = Design("Frame1");
    Control& frame2 = Design("Frame2");
    Control& check = Design("Check1");
    Control& preview = Design("MyWeb2");
    frame1.width = w1;
    frame2.width = frame1.width - 120;
    check.left = frame1.width - check.width - 50;
    Design("Label1").width = frame1.width - check.width - 100;
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

    url_list_.width = w1;
    // A bar too small for the list keeps an empty one rather than failing every resize.
    url_list_.height = std::max(0.0f, h1 - buttons - frame1.height - 225);
    url_list_.column_width = url_list_.width - 500;
    frame1.top = url_list_.top + url_list_.height - 50;

    float top = h1 - buttons;
    for (int index = 0; index < 3; ++index) {
      Control& button = Design(kCommand1[index]);
      button.width = w1 - 2 * button.left;
      button.top = top;
      top = button.top + button.height;
    }
    Control& help = Design("Command1(3)");
    help.top = height - help.height - 60;
    help.left = width - help.width - 60;
    Design("cmdSafeShutdown").top = help.top;

    Control& bypass = Design("lblBypass");
    bypass.width = w1;
    bypass.top = 0;
    bypass.left = 0;
    Design("webImages").Place(0, 0, images.width, images.height);
  } catch (const Error& error) {
    ShowCommonError(platform_.ui, "There Was An Error Resizing The Explorer Bar.", error);
  }
}

}  // namespace windlock
