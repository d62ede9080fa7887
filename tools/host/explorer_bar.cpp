#include "explorer_bar.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"
#include "common/scope_exit.h"
#include "windlock/band_ids.h"

namespace windlock::host {

using win32::ThrowIfFailed;

ExplorerBar::ExplorerBar(HWND pane, win32::ComPtr<IWebBrowser2> browser,
                         std::function<void()> gave_up_focus)
    : pane_(pane), site_(BarSite::Make(pane, std::move(browser), std::move(gave_up_focus))) {
  CLSID band_class = {};
  ThrowIfFailed(CLSIDFromString(win32::Widen(kBandClsid).c_str(), &band_class));
  ThrowIfFailed(
      CoCreateInstance(band_class, nullptr, CLSCTX_INPROC_SERVER, IID_IDeskBand, band_.PutVoid()));
  auto let_go = OnFailure([this] { LetGo(); });
  Attach();
}

ExplorerBar::~ExplorerBar() {
  LetGo();
}

void ExplorerBar::Attach() {
  HRESULT result = S_OK;
  auto with_site = band_.As<IObjectWithSite>(&result);
  ThrowIfFailed(result);
  ThrowIfFailed(with_site->SetSite(static_cast<IServiceProvider*>(site_.get())));

  DESKBANDINFO info = {};
  info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_ACTUAL | DBIM_TITLE | DBIM_MODEFLAGS;
  ThrowIfFailed(band_->GetBandInfo(0, DBIF_VIEWMODE_VERTICAL, &info));
  width_ = std::max(info.ptMinSize.x, info.ptActual.x);
  info.wszTitle[std::size(info.wszTitle) - 1] = L'\0';
  title_ = info.wszTitle;

  ThrowIfFailed(band_->GetWindow(&window_));
  ThrowIfFailed(band_->ShowDW(TRUE));
}

void ExplorerBar::LetGo() noexcept {
  band_->ShowDW(FALSE);
  band_->CloseDW(0);
  // Also after a refused site: the band may hold it all the same.
  if (auto with_site = band_.As<IObjectWithSite>()) with_site->SetSite(nullptr);
  band_.Reset();
}

void ExplorerBar::Fit() {
  RECT client = {};
  GetClientRect(pane_, &client);
  // A band may size itself from the border it is given; one that does not is moved all the same.
  band_->ResizeBorderDW(&client, static_cast<IServiceProvider*>(site_.get()), FALSE);
  if (window_) MoveWindow(window_, 0, 0, client.right, client.bottom, TRUE);
}

void ExplorerBar::Show(bool shown) {
  ThrowIfFailed(band_->ShowDW(shown ? TRUE : FALSE));
  if (shown) Fit();
}

bool ExplorerBar::HasFocus() const {
  auto input = band_.As<IInputObject>();
  return input && input->HasFocusIO() == S_OK;
}

bool ExplorerBar::TranslateKey(MSG& message) {
  auto input = band_.As<IInputObject>();
  return input && input->TranslateAcceleratorIO(&message) == S_OK;
}

}  // namespace windlock::host
