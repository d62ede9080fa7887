#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "capture/bar_flags.h"
#include "capture/captured_entry.h"
#include "capture/skin_select_state.h"
#include "forms/list_view.h"
#include "platform/browser.h"
#include "platform/platform.h"

namespace windlock {

// The captured pop-ups in capture order, and the three views kept in step with them: the list
// view URLList, the XML mirror (for skins) and the skin page's selection box. An update touches
// only what changed since the one before (new entries, new names, selections, removals), so a
// capture costs the same however many came before it.
class CapturedList {
 public:
  CapturedList(Platform& platform, ListView& url_list, BarFlags& flags, Browser& preview,
               Browser& skin);

  const std::vector<CapturedEntry>& entries() const { return entries_; }
  std::size_t CapturedCount() const { return entries_.size(); }
  // The entry the preview pane shows; none when it was removed.
  std::optional<std::size_t> CurrentEntry() const { return current_; }

  // The mirror's life follows the bar form's.
  void CreateMirror(XmlFactory& xml);
  void ReleaseMirror();
  // The mirror with an element for every entry that has a list item.
  XmlDocument* mirror();

  // The preview browser starts a navigation: a page the bar asked to show makes its entry the
  // current one; otherwise, while a capture is pending, it is the captured window's first
  // navigation and its request becomes an entry.
  void PreviewNavigating(const NavigateRequest& request);
  // Stops the preview browser's loading, unless a captured window or an entry the bar asked to
  // show is still on its way to it: stopping would lose it.
  void StopPreview();
  // The preview reports a title: it names the current entry.
  void UpdateURLName(const std::string& text);
  // Brings the three views in line with the entries and tells the skin page.
  void UpdateCapturedList(int mode);
  // Removes the entries whose list items are selected. The skin's selection box follows at the
  // next update.
  void RemoveSelectedEntries();
  // Shows the selected entry again in the preview pane; it stays the current entry once its
  // page arrives, even after a capture that arrived before it.
  void PreviewSelectedEntry();
  // The first entry with that list item key, or none.
  std::optional<std::size_t> FindByKey(const std::string& key) const;
  // A page completed in the skin browser: its selection box, if any, is checked option by
  // option at the next update.
  void SkinPageChanged() { select_.Forget(); }

 private:
  // A page the bar asked the preview to show, by address, and the key of its entry.
  struct RequestedPreview {
    std::string url;
    std::string key;
  };

  void RecordCapture(const NavigateRequest& request);
  void AddListItem(CapturedEntry& entry);
  void Update(int mode);
  // The options of the skin page's selection box, written into its placeholder if need be
  // (`written`); none when the page has neither.
  HtmlOptions* SkinSelect(bool& written);
  // Gives every new entry its list item, and its mirror element to be made.
  void AddNewEntries();
  // The positions of the entries renamed, or whose items were (un)selected, since the last
  // update.
  std::vector<std::size_t> ChangedEntries();
  // The options brought in line with the entries: only the changed ones while the box is as
  // the last update left it, else every one.
  void UpdateOptions(HtmlOptions& options, const std::vector<std::size_t>& changed,
                     std::size_t old_count);
  void UpdateAllOptions(HtmlOptions& options);
  // Removes the options whose value is no entry's key.
  void RemoveStaleOptions(HtmlOptions& options);
  bool Selected(std::size_t entry) const { return url_list_.items()[entry].selected; }

  Platform& platform_;
  ListView& url_list_;
  BarFlags& flags_;
  Browser& preview_;
  Browser& skin_;
  // The mirror for an update; a start-up that failed before making it left none.
  XmlDocument& Mirror();
  // An element the mirror is yet to get: what it says by now.
  struct PendingElement {
    std::string url_name;
    bool selected = false;
  };
  // Only the skins' bridge calls read the mirror, and an element costs the XML library about a
  // kilobyte, so the elements are made when the mirror is read, saying what they would by then.
  void MakePendingElements();

  std::unique_ptr<XmlDocument> mirror_;
  std::vector<CapturedEntry> entries_;
  // Entries before this one have their list item and their mirror element (made or pending), at
  // their position.
  std::size_t first_new_ = 0;
  std::vector<std::unique_ptr<XmlElement>> elements_;
  // The elements of the entries after those in elements_, up to first_new_.
  std::vector<PendingElement> pending_elements_;
  // Keys of entries renamed, or whose items were (un)selected, not yet shown in every view.
  std::unordered_set<std::string> changed_keys_;
  ListWatch list_changes_;
  SkinSelectState select_;
  std::optional<std::size_t> current_;
  // In request order, until their navigations start.
  std::deque<RequestedPreview> requested_previews_;
  long list_item_counter_ = 0;
};

}  // namespace windlock
