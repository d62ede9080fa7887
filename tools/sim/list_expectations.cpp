// Expectations about the captured entries and their three views.
#include "backends/sim/sim_trace.h"
#include "bar/bar_form.h"
#include "capture/captured_entry.h"
#include "expectation_text.h"
#include "scenario_errors.h"
#include "scenario_runner.h"

namespace windlock::scenario {
namespace {

using sim::Quote;

std::string EntryField(const CapturedEntry& entry, const std::string& field) {
  if (field == "URL") return entry.URL.ToText();
  if (field == "URLName") return entry.URLName;
  if (field == "Key") return entry.Key;
  if (field == "Flags") return entry.Flags.ToText();
  if (field == "TargetFrameName") return entry.TargetFrameName.ToText();
  if (field == "PostData") return entry.PostData.ToText();
  if (field == "Headers") return entry.Headers.ToText();
  throw ScenarioError("unknown entry field " + field);
}

// The skin page's selection box, or none.
HtmlOptions* SkinSelect(ScenarioRunner& runner) {
  sim::SimBrowser* skin = runner.FindBrowser("skin");
  HtmlDocument* document = skin ? skin->Document() : nullptr;
  return document ? document->SelectOptions(kCaptureSelectId) : nullptr;
}

void ExpectEntries(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(2, 2);
  Check("entries " + std::to_string(line.Number(1)),
        "entries " + std::to_string(runner.bar_form().captured().entries().size()));
}

// Entries are numbered from 0, in capture order.
void ExpectEntry(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(4, 4);
  int64_t index = line.Number(1);
  const std::string& field = line.Word(2);
  std::string expected =
      "entry " + std::to_string(index) + " " + field + " " + Quote(line.Quoted(3));
  const auto& entries = runner.bar_form().captured().entries();
  if (index < 0 || static_cast<uint64_t>(index) >= entries.size()) {
    // A misspelt field is the scenario's fault even when the entry is missing.
    EntryField(CapturedEntry{}, field);
    throw ExpectationFailed(expected, std::to_string(entries.size()) + " entries");
  }
  Check(expected, "entry " + std::to_string(index) + " " + field + " " +
                      Quote(EntryField(entries[static_cast<std::size_t>(index)], field)));
}

void ExpectListItems(ScenarioRunner& runner, const ScenarioLine& line) {
  const std::string& kind = line.Word(0);
  std::vector<std::string> found;
  for (const ListView::Item& item : runner.bar_form().URLList().items()) {
    if (kind == "list") {
      found.push_back(item.text);
    } else if (kind == "keys" || item.selected) {
      found.push_back(item.key);
    }
  }
  Check(kind + " " + QuotedList(line, 1), kind + " " + QuotedList(found));
}

void ExpectOptions(ScenarioRunner& runner, const ScenarioLine& line) {
  const std::string& kind = line.Word(0);
  HtmlOptions* options = SkinSelect(runner);
  if (!options) throw ExpectationFailed(kind + " " + QuotedList(line, 1), "no select");
  std::vector<std::string> found;
  for (std::size_t i = 0; i < options->length(); ++i) {
    if (kind == "options") {
      found.push_back(options->Value(i) + "=" + options->Text(i));
    } else if (options->Selected(i)) {
      found.push_back(options->Value(i));
    }
  }
  Check(kind + " " + QuotedList(line, 1), kind + " " + QuotedList(found));
}

void ExpectNoSelect(ScenarioRunner& runner, const ScenarioLine& line) {
  line.Expect(1, 1);
  HtmlOptions* options = SkinSelect(runner);
  if (options) {
    throw ExpectationFailed("no-select",
                            "a select with " + std::to_string(options->length()) + " options");
  }
}

}  // namespace

void AddCapturedListExpectations(CommandTable& expectations) {
  expectations["entries"] = ExpectEntries;
  expectations["entry"] = ExpectEntry;
  expectations["list"] = ExpectListItems;
  expectations["keys"] = ExpectListItems;
  expectations["selected"] = ExpectListItems;
  expectations["options"] = ExpectOptions;
  expectations["selected-options"] = ExpectOptions;
  expectations["no-select"] = ExpectNoSelect;
}

}  // namespace windlock::scenario
