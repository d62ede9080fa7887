#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "capture/captured_entry.h"
#include "platform/browser.h"

namespace windlock {

// The skin page's selection box as the last list update left it: one option per entry that has
// a list item, in entry order, with the entry's key as value; then the options of entries removed
// since, which stay where they were until the next update. While the box is known to be so, an
// update needs to touch only what changed. A box the bar did not fill itself, or whose length or
// last option is not as left, is not known and gets walked option by option.
class SkinSelectState {
 public:
  bool known() const { return known_; }
  void Forget();
  // After an update that left the box as `entries` say (`entries` with a list item, all of
  // them), or, when `known` is false, in a state the next update cannot trust.
  void Left(bool known, const std::vector<CapturedEntry>& entries);
  // Takes out the options of the entries removed since the box was left, and forgets the box
  // until the update that goes on leaves it again; false when it was not as it was left.
  bool TakeOutRemoved(HtmlOptions& options);
  // The entries marked in `removing` are gone from `entries` (which still holds them).
  void EntriesRemoved(const std::vector<CapturedEntry>& entries, const std::vector<bool>& removing);

  // Whether the next update marks the option of every selected item: options added to a box
  // filled afresh show the selection from then on.
  void RemarkSelection() { remark_ = true; }
  bool TakeRemark() { return std::exchange(remark_, false); }

 private:
  bool known_ = false;
  bool remark_ = false;
  std::size_t length_ = 0;
  std::string last_value_;
  // Position and value of each option of a removed entry, by position.
  std::vector<std::pair<std::size_t, std::string>> removed_;
};

}  // namespace windlock
