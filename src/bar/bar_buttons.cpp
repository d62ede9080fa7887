#include "bar/bar_buttons.h"

#include "bar/bar_form.h"
#include "bar/pane_failure.h"
#include "forms/error_message.h"
#include "skins/html_help.h"

namespace windlock {
namespace {

// The hosting browser; the bar may be bound to none.
Browser& Hosting(BarForm& form) {
  Browser* hosting = form.CurrentIE();
  if (!hosting) throw Error(kErrNoObject, "Object variable or With block variable not set");
  return *hosting;
}

}  // namespace

void BarButtons::Command1_Click(int index) {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  try {
    form_.captured().StopPreview();
    if (index == kHelp) {
      ShowHtmlHelp(form_.platform().help, form_.platform().files.ProgramFolder() + "\\windlock.chm",
                   "");
      return;
    }
    CapturedList& captured = form_.captured();
    if (captured.CapturedCount() == 0 || !form_.URLList().SelectedItem()) return;
    if (index == kOpenHere) {
      OpenInThisWindow();
    } else if (index == kOpenNew) {
      OpenInNewWindows();
    }
    if (index == kOpenHere || index == kOpenNew || index == kRemove) {
      captured.RemoveSelectedEntries();
    }
  } catch (const Error& error) {
    ShowCommonError(form_.platform().ui,
                    "There Was An Error Executing The Action From The Button Click.", error);
  }
}

void BarButtons::OpenInThisWindow() {
  const ListView& list = form_.URLList();
  std::optional<std::size_t> entry =
      form_.captured().FindByKey(list.items()[*list.SelectedItem()].key);
  if (!entry) return;
  // A copy: the navigation may change the list before the request is sent.
  CapturedEntry opened = form_.captured().entries()[*entry];
  Hosting(form_).Navigate2(NavigateRequest{opened.URL, {}, {}, opened.PostData, opened.Headers});
}

void BarButtons::OpenInNewWindows() {
  std::vector<std::string> selected_keys;
  for (const ListView::Item& item : form_.URLList().items()) {
    if (item.selected) selected_keys.push_back(item.key);
  }
  for (const std::string& key : selected_keys) {
    std::optional<std::size_t> entry = form_.captured().FindByKey(key);
    if (!entry) continue;
    CapturedEntry opened = form_.captured().entries()[*entry];
    Browser& hosting = Hosting(form_);
    // The decision lets exactly this window through; a navigation that fails leaves no pass
    // behind for some other window.
    form_.flags().OpenNextWindow = true;
    try {
      hosting.Navigate2(
          NavigateRequest{opened.URL, opened.Flags, "_blank", opened.PostData, opened.Headers});
    } catch (const Error&) {
      form_.flags().OpenNextWindow = false;
      throw;
    }
  }
}

void BarButtons::cmdSafeShutdown_Click() {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  GuardPaneHandler(
      form_.platform().ui, form_.flags(), "There Was An Error Starting The Safe Shutdown.", [&] {
        form_.flags().SafeShutdownRequested = true;
        Hosting(form_).Navigate2(
            NavigateRequest::To(form_.platform().files.ProgramFolder() + "\\safeshutdown.htm"));
      });
}

void BarButtons::Check1_Click() {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  GuardPaneHandler(form_.platform().ui, form_.flags(),
                   "There Was An Error Opening Or Closing The Preview Window.", [&] {
                     form_.PreviewShown = form_.controls().Check1.checked();
                     form_.LayOut();
                   });
}

}  // namespace windlock
