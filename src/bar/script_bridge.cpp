#include "bar/script_bridge.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

#include "bar/bar_form.h"
#include "forms/error_message.h"
#include "skins/skin_data.h"
#include "windlock/version.h"

namespace windlock {
namespace {

// The automation runtime's numbers for a bad call.
constexpr int32_t kErrArgumentMissing = 449;

Variant Boolean(bool value) {
  return Variant(value ? -1 : 0);
}

Variant& Argument(std::vector<Variant>& args, std::size_t index) {
  if (index >= args.size()) throw Error(kErrArgumentMissing, "Argument not optional");
  return args[index];
}

// A position in the captured list: a whole number (or decimal text) naming an entry.
std::size_t EntryPosition(const Variant& value, std::size_t count) {
  std::optional<int64_t> number;
  if (value.is_number()) {
    number = value.number();
  } else if (value.is_text()) {
    int64_t parsed = 0;
    const std::string& text = value.text();
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error == std::errc() && end == text.data() + text.size() && !text.empty()) number = parsed;
  }
  if (!number || *number < 0 || static_cast<uint64_t>(*number) >= count) {
    throw Error(kErrInvalidProcedureCall, "Invalid procedure call or argument");
  }
  return static_cast<std::size_t>(*number);
}

// ListItemSelect / ListItemUnSelect: the entry's list item and its element in the XML mirror.
void MarkEntry(BarForm& form, std::vector<Variant>& args, bool selected) {
  CapturedList& captured = form.captured();
  std::size_t position = EntryPosition(Argument(args, 0), captured.CapturedCount());
  std::optional<std::size_t> item = form.URLList().Find(captured.entries()[position].Key, position);
  std::vector<std::unique_ptr<XmlElement>> elements;
  if (XmlDocument* mirror = form.xml_mirror()) elements = mirror->RootChildren();
  // Checked before anything changes, so a bad position leaves both views as they were.
  if (!item || position >= elements.size()) {
    throw Error(kErrInvalidProcedureCall, "Invalid procedure call or argument");
  }
  form.URLList().SetSelected(*item, selected);
  elements[position]->SetAttribute("selected", selected ? "true" : "false");
}

// The selection box's choice, copied into the list view option by option.
void CopyPageSelection(BarForm& form) {
  HtmlDocument* document = form.webImages().Document();
  HtmlOptions* options = document ? document->SelectOptions(kCaptureSelectId) : nullptr;
  if (!options) return;
  try {
    for (std::size_t i = 0; i < options->length(); ++i) {
      std::optional<std::size_t> item = form.URLList().Find(options->Value(i));
      if (!item) throw Error(35601, "Element not found");
      form.URLList().SetSelected(*item, options->Selected(i));
    }
  } catch (const Error& error) {
    form.platform().ui.ShowMessageBox(std::string("Error In ListUpdate Function") + kCrLf +
                                          "Number: " + std::to_string(error.number()) + kCrLf +
                                          "Description: " + error.description(),
                                      std::nullopt, kMbOk);
  }
}

Variant Version(std::vector<Variant>& args) {
  const int32_t parts[] = {kVersionMajor, kVersionMinor, kVersionRevision};
  for (std::size_t i = 0; i < args.size() && i < 3; ++i) args[i] = parts[i];
  return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionRevision);
}

// A list action of the bar's buttons, then the views brought up to date before the script goes
// on.
Variant ListAction(BarForm& form, int button) {
  form.buttons().Command1_Click(button);
  form.captured().UpdateCapturedList(0);
  return {};
}

using Method = Variant (*)(BarForm&, std::vector<Variant>&);

struct Entry {
  const char* name;
  Method method;
};

const Entry kMethods[] = {
    {"ShowHelp",
     [](BarForm& form, std::vector<Variant>&) -> Variant {
       form.buttons().Command1_Click(kHelp);
       return {};
     }},
    {"SafeShutdown",
     [](BarForm& form, std::vector<Variant>&) -> Variant {
       form.buttons().cmdSafeShutdown_Click();
       return {};
     }},
    {"ListItemHere",
     [](BarForm& form, std::vector<Variant>&) { return ListAction(form, kOpenHere); }},
    {"ListItemNew",
     [](BarForm& form, std::vector<Variant>&) { return ListAction(form, kOpenNew); }},
    {"ListItemSelect",
     [](BarForm& form, std::vector<Variant>& args) -> Variant {
       MarkEntry(form, args, true);
       return {};
     }},
    {"ShowContextMenu",
     [](BarForm& form, std::vector<Variant>&) {
       form.ShowContextMenu();
       return Boolean(false);
     }},
    {"ShowOptions",
     [](BarForm& form, std::vector<Variant>&) -> Variant {
       form.ScheduleDeferredAction(BarForm::DeferredAction::kOptions);
       return {};
     }},
    {"ListItemUnSelect",
     [](BarForm& form, std::vector<Variant>& args) -> Variant {
       MarkEntry(form, args, false);
       return {};
     }},
    {"ListItemPreview",
     [](BarForm& form, std::vector<Variant>&) -> Variant {
       form.captured().PreviewSelectedEntry();
       return {};
     }},
    {"ListItemRemove",
     [](BarForm& form, std::vector<Variant>&) { return ListAction(form, kRemove); }},
    {"getXMLList",
     [](BarForm& form, std::vector<Variant>&) -> Variant {
       XmlDocument* mirror = form.xml_mirror();
       if (!mirror) return {};
       return std::shared_ptr<XmlDocument>(mirror->Clone());
     }},
    {"defaultLKCaptureListLarkspanUpdate",
     [](BarForm& form, std::vector<Variant>&) -> Variant {
       CopyPageSelection(form);
       return {};
     }},
    {"LoadXMLDATA",
     [](BarForm& form, std::vector<Variant>& args) {
       return Boolean(LoadXMLDATA(form.platform(), form.settings(), Argument(args, 0)));
     }},
    {"SaveXMLDATA",
     [](BarForm& form, std::vector<Variant>& args) {
       return Boolean(SaveXMLDATA(form.platform(), form.settings(), Argument(args, 0)));
     }},
    {"GetVersion", [](BarForm&, std::vector<Variant>& args) { return Version(args); }},
};

bool SameName(const std::string& a, const char* b) {
  return std::equal(a.begin(), a.end(), b, b + std::char_traits<char>::length(b),
                    [](char x, char y) {
                      return std::tolower(static_cast<unsigned char>(x)) ==
                             std::tolower(static_cast<unsigned char>(y));
                    });
}

}  // namespace

Variant ScriptBridge::Invoke(const std::string& method, std::vector<Variant>& args) {
  std::shared_ptr<Form> alive = form_.KeepAlive();
  for (const Entry& entry : kMethods) {
    if (SameName(method, entry.name)) return entry.method(form_, args);
  }
  throw NoSuchMethod();
}

void ScriptBridge::BrowseForSkins() {
  form_.ScheduleDeferredAction(BarForm::DeferredAction::kSkinsPage);
}

}  // namespace windlock
