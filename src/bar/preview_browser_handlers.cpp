#include "bar/preview_browser_handlers.h"

#include "bar/bar_form.h"
#include "bar/pane_failure.h"
#include "forms/error_message.h"

namespace windlock {
namespace {

constexpr const char* kPreviewWindowName = "LKWindlock";

}  // namespace

void PreviewBrowserHandlers::BeforeNavigate2(const NavigateRequest& request, bool& cancel) {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  try {
    form_.LayOut();
    form_.captured().PreviewNavigating(request);
    cancel = false;
  } catch (const Error& error) {
    ShowCommonError(form_.platform().ui, "There Was An Error In The Navigation Subroutine.", error);
    // A capture that failed does not load its page.
    cancel = true;
  }
}

void PreviewBrowserHandlers::DocumentComplete(const std::string& /*url*/) {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  BarFlags& flags = form_.flags();
  try {
    if (flags.SafeShutdownStage2) {
      flags.SafeShutdownStage3 = true;
      form_.webImages().Navigate2(NavigateRequest::To("about:blank"));
      return;
    }
    form_.captured().StopPreview();
    if (HtmlDocument* document = form_.MyWeb().Document()) {
      document->SetWindowName(kPreviewWindowName);
      document->SetBodyOverflow("");
    }
    form_.LayOut();
  } catch (const Error& error) {
    flags.ClearSafeShutdown();
    form_.platform().ui.ShowMessageBox(std::string("MyWeb_DocumentComplete_Error") + kCrLf +
                                           std::to_string(error.number()) + ":" +
                                           error.description(),
                                       std::nullopt, kMbOk);
  }
}

void PreviewBrowserHandlers::NewWindow2(Browser*& /*ppDisp*/, bool& cancel) {
  cancel = true;
}

void PreviewBrowserHandlers::TitleChange(const std::string& text) {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  GuardPaneHandler(form_.platform().ui, form_.flags(),
                   "There Was An Error Handling The Title Of The Preview Window.", [&] {
                     if (form_.flags().SafeShutdownStage2) return;
                     form_.captured().UpdateURLName(text);
                     NameWindow();
                     form_.LayOut();
                   });
}

void PreviewBrowserHandlers::WindowClosing(bool /*is_child_window*/, bool& cancel) {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  cancel = true;
  GuardPaneHandler(form_.platform().ui, form_.flags(),
                   "There Was An Error Keeping The Preview Window Open.", [&] { form_.LayOut(); });
}

void PreviewBrowserHandlers::WindowSetPosition() {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  GuardPaneHandler(form_.platform().ui, form_.flags(),
                   "There Was An Error Keeping The Preview Window In Place.",
                   [&] { form_.LayOut(); });
}

void PreviewBrowserHandlers::NameWindow() {
  if (HtmlDocument* document = form_.MyWeb().Document()) {
    document->SetWindowName(kPreviewWindowName);
  }
}

void SkinBrowserHandlers::DocumentComplete(const std::string& /*url*/) {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  GuardPaneHandler(form_.platform().ui, form_.flags(), "There Was An Error Loading The Skin Page.",
                   [&] {
                     BarFlags& flags = form_.flags();
                     if (flags.SafeShutdownStage3) {
                       flags.ClearSafeShutdown();
                       if (Browser* hosting = form_.CurrentIE()) hosting->Quit();
                       return;
                     }
                     form_.captured().SkinPageChanged();
                     HtmlDocument* document = form_.webImages().Document();
                     if (!document || !document->HasElement(kInsertCaptureListId)) return;
                     document->SetInnerHtml(kInsertCaptureListId, kCaptureSelectMarkup);
                     HtmlOptions* options = document->SelectOptions(kCaptureSelectId);
                     if (!options) return;
                     for (const CapturedEntry& entry : form_.captured().entries()) {
                       options->Add(entry.Key, entry.URLName);
                     }
                   });
}

}  // namespace windlock
