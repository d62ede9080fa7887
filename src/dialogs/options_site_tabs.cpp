// The Trusted Sites and Untrusted Sites tabs: each shows and edits the entries of one prefix and
// saves at once.
#include <string>
#include <vector>

#include "common/utf8.h"
#include "dialogs/get_url_dialog.h"
#include "dialogs/options_dialog.h"
#include "settings/save_reporting.h"

namespace windlock {
namespace {

constexpr const char* kCancelled = "cancel";
constexpr std::size_t kShortestSite = 4;

}  // namespace

void OptionsDialog::AddSiteTab(SiteTab& tab, const std::string& frame, const std::string& label,
                               const std::string& text, const std::string& buttons,
                               const std::string& list) {
  AddControl(frame, ControlKind::kFrame).Place(0, 0, 6960, 4380);
  AddControl(label, ControlKind::kLabel).Place(120, 120, 3000, 2400).caption = text;
  Control& add = AddControl(buttons + "(0)", ControlKind::kButton).Place(120, 2640, 1500, 375);
  add.caption = "Add URL";
  Control& remove = AddControl(buttons + "(1)", ControlKind::kButton).Place(120, 3120, 1500, 375);
  remove.caption = "Remove URL";
  tab.list = &AddControl(list, ControlKind::kListBox).Place(3240, 120, 3600, 4140);
  add.on_click = [this, &tab] { AddSite(tab); };
  remove.on_click = [this, &tab] { RemoveSite(tab); };
}

void OptionsDialog::FillSiteLists() {
  trusted_.list->ClearLines();
  untrusted_.list->ClearLines();
  const std::string trust = kTrustPrefix;
  const std::string no_trust = kNoTrustPrefix;
  for (const std::string& entry : module_.settings.Sites.entries()) {
    if (entry.starts_with(trust)) {
      trusted_.list->AddLine(entry.substr(trust.size()));
    } else if (entry.starts_with(no_trust)) {
      untrusted_.list->AddLine(entry.substr(no_trust.size()));
    }
  }
}

void OptionsDialog::AddSite(const SiteTab& tab) {
  ShowGetUrlDialog(platform_, module_);
  const std::string& site = module_.DialogURL;
  if (site == kCancelled || CharCount(site) < kShortestSite) return;
  module_.settings.Sites.Append(tab.prefix + site);
  SaveSettingsReporting(module_.settings, platform_);
  FillOptions();
}

void OptionsDialog::RemoveSite(const SiteTab& tab) {
  const Control& list = *tab.list;
  bool selected = list.list_index >= 0 && list.list_index < static_cast<int>(list.lines.size());
  const std::string site = selected ? list.lines[static_cast<std::size_t>(list.list_index)] : "";
  const std::string removed = tab.prefix + site;
  std::vector<std::string> kept;
  for (const std::string& entry : module_.settings.Sites.entries()) {
    if (entry != removed) kept.push_back(entry);
  }
  module_.settings.Sites.Assign(std::move(kept));
  SaveSettingsReporting(module_.settings, platform_);
  FillOptions();
}

}  // namespace windlock
