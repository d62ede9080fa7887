#include "capture/captured_list.h"

#include <algorithm>
#include <unordered_set>

#include "common/scope_exit.h"
#include "forms/error_message.h"
#include "forms/page_function.h"

namespace windlock {
namespace {

// "Element not found", as the list view reports a missing key.
constexpr int32_t kErrElementNotFound = 35601;

const char* Flag(bool value) {
  return value ? "true" : "false";
}

}  // namespace

CapturedList::CapturedList(Platform& platform, ListView& url_list, BarFlags& flags,
                           Browser& preview, Browser& skin)
    : platform_(platform),
      url_list_(url_list),
      flags_(flags),
      preview_(preview),
      skin_(skin),
      list_changes_(url_list) {}

void CapturedList::CreateMirror(XmlFactory& xml) {
  elements_.clear();
  pending_elements_.clear();
  mirror_ = xml.CreateDocument();
  mirror_->AppendRootElement("URLS");
}

void CapturedList::ReleaseMirror() {
  elements_.clear();
  pending_elements_.clear();
  mirror_.reset();
}

XmlDocument* CapturedList::mirror() {
  if (mirror_) MakePendingElements();
  return mirror_.get();
}

void CapturedList::MakePendingElements() {
  std::size_t made = 0;
  // An element that failed leaves it and those after it pending.
  ScopeExit forget([&] {
    pending_elements_.erase(pending_elements_.begin(), pending_elements_.begin() + made);
  });
  for (const PendingElement& pending : pending_elements_) {
    if (elements_.size() >= entries_.size()) break;
    const CapturedEntry& entry = entries_[elements_.size()];
    std::unique_ptr<XmlElement> element = mirror_->AppendToRoot("URL");
    element->SetAttribute("URLName", pending.url_name);
    element->SetAttribute("URLLocation", entry.URL.ToText());
    element->SetAttribute("selected", Flag(pending.selected));
    element->SetAttribute("visible", "true");
    elements_.push_back(std::move(element));
    ++made;
  }
}

void CapturedList::PreviewNavigating(const NavigateRequest& request) {
  const std::string url = request.url.ToText();
  auto requested =
      std::find_if(requested_previews_.begin(), requested_previews_.end(),
                   [&](const RequestedPreview& preview) { return preview.url == url; });
  if (requested != requested_previews_.end()) {
    current_ = FindByKey(requested->key);
    // Requests made before it were overtaken and will not arrive.
    requested_previews_.erase(requested_previews_.begin(), requested + 1);
    return;
  }
  if (flags_.CapturePending) RecordCapture(request);
}

void CapturedList::StopPreview() {
  if (flags_.CapturePending || !requested_previews_.empty()) return;
  preview_.Stop();
}

void CapturedList::RecordCapture(const NavigateRequest& request) {
  CapturedEntry& entry = entries_.emplace_back();
  entry.URL = request.url;
  entry.Flags = request.flags;
  entry.TargetFrameName = request.target_frame_name;
  entry.PostData = request.post_data;
  entry.Headers = request.headers;
  entry.URLName = request.url.ToText();
  current_ = entries_.size() - 1;
  flags_.CapturePending = false;
  // The skin's OnUpdateList may remove entries, this one too: the preview is of what came.
  const Variant url = entry.URL;
  UpdateCapturedList(0);
  CallPageFunction(skin_, "OnPreview", {url});
}

void CapturedList::UpdateURLName(const std::string& text) {
  if (!current_) return;
  CapturedEntry& entry = entries_[*current_];
  entry.URLName = text;
  // A new entry takes its name with its list item.
  if (*current_ < first_new_) changed_keys_.insert(entry.Key);
  UpdateCapturedList(0);
}

void CapturedList::AddListItem(CapturedEntry& entry) {
  try {
    ++list_item_counter_;
    std::string key = "Key" + std::to_string(list_item_counter_);
    url_list_.Add(key, "");
    url_list_.SetText(url_list_.size() - 1, entry.URLName);
    entry.Key = key;
  } catch (const Error& error) {
    platform_.ui.ShowMessageBox(
        std::string("An error has occured while adding the URL to the tree view.") + kCrLf +
            std::to_string(error.number()) + kCrLf + error.description(),
        std::nullopt, kMbOk);
  }
}

HtmlOptions* CapturedList::SkinSelect(bool& written) {
  written = false;
  HtmlDocument* document = skin_.Document();
  if (!document) return nullptr;
  if (HtmlOptions* options = document->SelectOptions(kCaptureSelectId)) return options;
  if (!document->HasElement(kInsertCaptureListId)) return nullptr;
  document->SetInnerHtml(kInsertCaptureListId, kCaptureSelectMarkup);
  written = true;
  return document->SelectOptions(kCaptureSelectId);
}

void CapturedList::UpdateCapturedList(int mode) {
  try {
    Update(mode);
  } catch (const Error& error) {
    ShowCommonError(platform_.ui, "There Was An Error Updating The URL List.", error);
    return;
  }
  CallPageFunction(skin_, "OnUpdateList");
}

void CapturedList::RemoveStaleOptions(HtmlOptions& options) {
  // Options normally follow the entries in order; the set of keys is only needed once they
  // part ways.
  std::unordered_set<std::string> keys;
  bool keys_known = false;
  std::size_t next_entry = 0;
  for (std::size_t i = 0; i < options.length();) {
    std::string value = options.Value(i);
    if (next_entry < entries_.size() && value == entries_[next_entry].Key) {
      ++next_entry;
      ++i;
      continue;
    }
    if (!keys_known) {
      for (const CapturedEntry& entry : entries_) keys.insert(entry.Key);
      keys_known = true;
    }
    if (keys.contains(value)) {
      ++i;
    } else {
      options.Remove(i);
    }
  }
}

void CapturedList::Update(int mode) {
  bool written = false;
  HtmlOptions* options = SkinSelect(written);
  if (written || !options) select_.Forget();
  bool known = false;
  if (options) {
    known = select_.TakeOutRemoved(*options);
    if (!known) RemoveStaleOptions(*options);
  }
  Mirror();
  const std::size_t old_count = first_new_;
  AddNewEntries();
  std::vector<std::size_t> changed = ChangedEntries();
  if (mode == 0) {
    for (std::size_t j : changed) {
      const CapturedEntry& entry = entries_[j];
      if (url_list_.items()[j].text != entry.URLName) url_list_.SetText(j, entry.URLName);
      if (j < elements_.size()) {
        elements_[j]->SetAttribute("URLName", entry.URLName);
        elements_[j]->SetAttribute("selected", Flag(Selected(j)));
      } else if (j - elements_.size() < pending_elements_.size()) {
        pending_elements_[j - elements_.size()] = {entry.URLName, Selected(j)};
      }
    }
    changed_keys_.clear();
  }
  if (options) {
    if (known) {
      UpdateOptions(*options, changed, old_count);
    } else {
      UpdateAllOptions(*options);
    }
  }
  // What this update changed in the list view is shown everywhere already.
  list_changes_.Take();
}

void CapturedList::AddNewEntries() {
  for (; first_new_ < entries_.size(); ++first_new_) {
    CapturedEntry& entry = entries_[first_new_];
    // An update that failed after the item was made left the entry its key.
    if (!url_list_.Find(entry.Key, first_new_)) AddListItem(entry);
    if (!url_list_.Find(entry.Key, first_new_)) {
      throw Error(kErrElementNotFound, "Element not found");
    }
    pending_elements_.push_back({entry.URLName, false});
  }
}

std::vector<std::size_t> CapturedList::ChangedEntries() {
  changed_keys_.merge(list_changes_.Take().keys);
  std::vector<std::size_t> changed;
  for (const std::string& key : changed_keys_) {
    std::optional<std::size_t> item = url_list_.Find(key);
    if (item && *item < first_new_ && entries_[*item].Key == key) changed.push_back(*item);
  }
  return changed;
}

void CapturedList::UpdateOptions(HtmlOptions& options, const std::vector<std::size_t>& changed,
                                 std::size_t old_count) {
  for (std::size_t j : changed) {
    if (j >= old_count) continue;
    if (options.Text(j) != entries_[j].URLName) options.SetText(j, entries_[j].URLName);
    if (Selected(j)) options.SetSelected(j, true);
  }
  if (select_.TakeRemark()) {
    for (std::size_t j = 0; j < old_count; ++j) {
      if (Selected(j)) options.SetSelected(j, true);
    }
  }
  for (std::size_t j = old_count; j < first_new_; ++j) {
    options.Add(entries_[j].Key, entries_[j].URLName);
  }
  select_.Left(true, entries_);
}

void CapturedList::UpdateAllOptions(HtmlOptions& options) {
  for (std::size_t j = 0; j < first_new_; ++j) {
    const CapturedEntry& entry = entries_[j];
    if (j >= options.length()) {
      options.Add(entry.Key, entry.URLName);
    } else {
      if (options.Text(j) != entry.URLName) options.SetText(j, entry.URLName);
      if (Selected(j)) options.SetSelected(j, true);
    }
  }
  // The options added above show the selection from the next update on.
  select_.RemarkSelection();
  bool in_order = options.length() == first_new_;
  for (std::size_t j = 0; in_order && j < first_new_; ++j) {
    in_order = options.Value(j) == entries_[j].Key;
  }
  select_.Left(in_order, entries_);
}

void CapturedList::RemoveSelectedEntries() {
  try {
    std::vector<bool> removing(entries_.size(), false);
    std::unordered_set<std::string> removed_keys;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      std::optional<std::size_t> item = url_list_.Find(entries_[i].Key);
      removing[i] = item && url_list_.items()[*item].selected;
      if (removing[i]) removed_keys.insert(entries_[i].Key);
    }
    if (removed_keys.empty()) return;
    XmlDocument& mirror = Mirror();
    std::size_t removed = 0;
    for (std::size_t i = 0; i < elements_.size(); ++i) {
      if (!removing[i]) continue;
      mirror.RemoveRootChild(i - removed);
      ++removed;
    }
    for (std::size_t i = elements_.size(); i < entries_.size(); ++i) removed += removing[i];
    url_list_.Remove(removed_keys);
    select_.EntriesRemoved(entries_, removing);
    std::vector<CapturedEntry> kept;
    std::vector<std::unique_ptr<XmlElement>> kept_elements;
    std::vector<PendingElement> kept_pending;
    std::optional<std::size_t> current;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (removing[i]) continue;
      // The current entry follows its entry, or goes with it.
      if (current_ == i) current = kept.size();
      kept.push_back(std::move(entries_[i]));
      if (i < elements_.size()) {
        kept_elements.push_back(std::move(elements_[i]));
      } else if (i - elements_.size() < pending_elements_.size()) {
        kept_pending.push_back(std::move(pending_elements_[i - elements_.size()]));
      }
    }
    // Only entries with list items can be selected, and those come first.
    first_new_ -= removed;
    entries_ = std::move(kept);
    elements_ = std::move(kept_elements);
    pending_elements_ = std::move(kept_pending);
    current_ = current;
  } catch (const Error& error) {
    ShowCommonError(platform_.ui, "There Was An Error Removing The URL From The List.", error);
  }
}

XmlDocument& CapturedList::Mirror() {
  if (!mirror_) throw Error(kErrNoObject, "Object variable or With block variable not set");
  return *mirror_;
}

std::optional<std::size_t> CapturedList::FindByKey(const std::string& key) const {
  // An entry with a list item sits at its item's position.
  std::optional<std::size_t> item = url_list_.Find(key);
  if (item && *item < entries_.size() && entries_[*item].Key == key) return item;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].Key == key) return i;
  }
  return std::nullopt;
}

void CapturedList::PreviewSelectedEntry() {
  if (entries_.empty()) return;
  std::optional<std::size_t> item = url_list_.SelectedItem();
  if (!item) return;
  std::optional<std::size_t> entry = FindByKey(url_list_.items()[*item].key);
  if (!entry) return;
  current_ = entry;
  // Copies: the navigation may start, and add an entry, inside the call.
  const Variant url = entries_[*entry].URL;
  requested_previews_.push_back({url.ToText(), entries_[*entry].Key});
  preview_.Navigate2(NavigateRequest{url, {}, {}, {}, {}});
  CallPageFunction(skin_, "OnPreview", {url});
}

}  // namespace windlock
