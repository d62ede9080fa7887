#include "support/band_host.h"

#include <gtest/gtest.h>

#include "support/ids.h"
#include "support/messages.h"
#include "support/process.h"
#include "support/registry.h"
#include "support/stored_settings.h"

namespace windlock_test {

void PrepareForBands() {
  RemoveRegistration();
  ProcessResult registration = Regsvr32(L"/s");
  ASSERT_EQ(0u, registration.exit_code) << registration.output;
  StoreSettings(QuietSettings());
}

BandHost::BandHost() {
  // A system class will do: the frame only holds the band's window and the text box.
  frame_ = CreateWindowExW(0, L"STATIC", L"Windlock test browser",
                           WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 800, 600,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(nullptr, frame_);
  text_box_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 400, 0, 200, 24,
                              frame_, nullptr, GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(nullptr, text_box_);
  SetForegroundWindow(frame_);
  browser_ = FakeBrowser::Make();
  browser_->set_location_url(L"http://host.example/page");
  site_ = FakeSite::Make(frame_, browser_.get());
}

BandHost::~BandHost() {
  if (band_) Dismiss();
  if (frame_) DestroyWindow(frame_);
}

void BandHost::Create(IClassFactory* factory) {
  HRESULT hr = factory ? factory->CreateInstance(nullptr, IID_IDeskBand, band_.PutVoid())
                       : CoCreateInstance(kBandClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDeskBand,
                                          band_.PutVoid());
  ASSERT_EQ(S_OK, hr) << "CoCreateInstance of the band";
  ASSERT_TRUE(band_);
}

void BandHost::CreateAndAttach(IClassFactory* factory) {
  ASSERT_NO_FATAL_FAILURE(Create(factory));
  ComPtr<IObjectWithSite> with_site = As<IObjectWithSite>();
  ASSERT_TRUE(with_site);
  ASSERT_EQ(S_OK, with_site->SetSite(static_cast<IServiceProvider*>(site_.get())));
}

void BandHost::Show(IClassFactory* factory) {
  ASSERT_NO_FATAL_FAILURE(CreateAndAttach(factory));
  ASSERT_EQ(S_OK, band_->ShowDW(TRUE));
  PumpMessages();
}

ComPtr<IDispatch> BandHost::OpenPopup() {
  IDispatch* window = nullptr;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  browser_->FireNewWindow2(&window, &cancel);
  EXPECT_EQ(VARIANT_FALSE, cancel) << "the bar lets a window through or takes it, never cancels";
  return ComPtr<IDispatch>::Adopt(window);
}

HWND BandHost::BarWindow() const {
  HWND window = nullptr;
  EXPECT_EQ(S_OK, band_->GetWindow(&window));
  return window;
}

void BandHost::Dismiss() {
  EXPECT_EQ(S_OK, band_->CloseDW(0));
  if (ComPtr<IObjectWithSite> with_site = As<IObjectWithSite>()) {
    EXPECT_EQ(S_OK, with_site->SetSite(nullptr));
  }
  band_.Reset();
}

}  // namespace windlock_test
