#include "forms/list_view.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace windlock {
namespace {

using Ranges = ListWatch::Ranges;

// Six items, Key0 to Key5, added before the watch starts.
std::unique_ptr<ListView> SixItems() {
  auto list = std::make_unique<ListView>("URLList");
  for (int i = 0; i < 6; ++i) list->Add("Key" + std::to_string(i), "");
  return list;
}

TEST(ListWatchTest, RangesNameWhatToRedraw) {
  struct Case {
    const char* name;
    std::function<void(ListView&)> change;
    Ranges expected;
  };
  const Case cases[] = {
      {"nothing", [](ListView&) {}, {}},
      {"neighbours join, others stand apart",
       [](ListView& list) {
         list.SetSelected(3, true);
         list.SetText(2, "two");
         list.SetSelected(5, true);
         list.SetSelected(3, false);
       },
       {{2, 3}, {5, 5}}},
      {"an item added", [](ListView& list) { list.Add("Key6", "six"); }, {{6, 6}}},
      {"a removal moves every item after it",
       [](ListView& list) {
         list.SetSelected(0, true);
         list.SetSelected(4, true);
         list.Remove({"Key2"});
       },
       {{0, 0}, {2, 4}}},
      {"a changed item removed, and the last one",
       [](ListView& list) {
         list.SetSelected(1, true);
         list.Remove({"Key1", "Key5"});
       },
       {{1, 3}}},
      {"only the last item removed: the count says it",
       [](ListView& list) { list.Remove({"Key5"}); },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<ListView> list = SixItems();
    ListWatch watch(*list);
    c.change(*list);
    EXPECT_EQ(watch.TakeRanges(), c.expected);
    EXPECT_EQ(watch.TakeRanges(), Ranges{}) << "taken once";
  }
}

TEST(ListWatchTest, OutlivesItsList) {
  std::unique_ptr<ListView> list = SixItems();
  ListWatch watch(*list);
  list->SetSelected(1, true);
  list.reset();
  EXPECT_EQ(watch.TakeRanges(), Ranges{});
}

}  // namespace
}  // namespace windlock
