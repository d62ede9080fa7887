// window.external as a skin page's script may call it: any method name, any number of
// arguments of every kind a script can pass, on a bar holding captures, with a skin whose data
// file holds arbitrary text. A call either returns or raises an automation error to the script,
// and the list view and the XML mirror still agree with the entries afterwards. One step a line
// (fields separated by tabs):
//   c<url>[ title]        a pop-up is captured
//   D<text>               the skin's data file holds the rest of the line
//   K<name>               the skin in use (the bar starts with "Test", whose folder exists)
//   C<method>[ arg...]    the page's script calls window.external.<method>; an argument is
//                         "-" nothing, "n<number>", "t<text>", "b<bytes>", "0" a null object,
//                         "d" a new empty XML document, "d<xml>" one parsed from the text,
//                         "e<xml>" the root element of one, "e" a null element, or "h<k>" the
//                         k-th value an earlier call returned or left in its arguments
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bar/bar_form.h"
#include "bar_fuzz.h"
#include "input_lines.h"

namespace windlock::fuzz {
namespace {

constexpr const char* kSkinPage =
    "<div id=\"InsertCaptureList\"></div>"
    "<script>function OnPreview(url) {} function OnUpdateList() {}</script>";

std::string SkinFolder(const std::string& name) {
  return std::string(sim::SimFileSystem::kProgramFolder) + "\\Skins\\" + name;
}

// A document parsed from the text; empty when it is none or not well-formed.
std::shared_ptr<sim::SimXmlDocument> Parsed(unit::BarHarness& h, std::string_view xml) {
  auto document = std::make_shared<sim::SimXmlDocument>(h.machine.files);
  if (!xml.empty()) document->LoadXml(std::string(xml));
  return document;
}

// `held`: what earlier calls returned or left in their arguments, as a script keeps them.
Variant Argument(unit::BarHarness& h, std::string_view field, const std::vector<Variant>& held) {
  if (field.empty()) return {};
  const std::string_view value = field.substr(1);
  switch (field.front()) {
    case 'n':
      return static_cast<int32_t>(Number(value));
    case 't':
      return std::string(value);
    case 'b':
      return Variant::Bytes(value.begin(), value.end());
    case '0':
      return std::shared_ptr<XmlDocument>();
    case 'd':
      return std::shared_ptr<XmlDocument>(Parsed(h, value));
    case 'e':
      if (value.empty()) return std::shared_ptr<XmlNode>();
      return std::shared_ptr<XmlNode>(std::make_shared<sim::SimXmlRootNode>(Parsed(h, value)));
    case 'h': {
      const auto index = static_cast<std::size_t>(Number(value));
      return index < held.size() ? held[index] : Variant();
    }
  }
  return {};
}

void Call(unit::BarHarness& h, const Fields& fields, std::vector<Variant>& held) {
  std::vector<Variant> args;
  for (std::size_t i = 1; i < fields.size(); ++i) args.push_back(Argument(h, fields[i], held));
  try {
    held.push_back(h.bar.bridge().Invoke(TextAt(fields, 0), args));
  } catch (const Error&) {
    // The script sees an automation error.
  }
  held.insert(held.end(), args.begin(), args.end());
}

}  // namespace
}  // namespace windlock::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace windlock;
  unit::BarHarness h;
  h.settings() = unit::QuietSettings();
  h.settings().DefaultSkin = "Test";
  h.ShowSkinPage(fuzz::kSkinPage);
  std::vector<Variant> held;
  fuzz::ForEachLine(data, size, [&](std::string_view line) {
    if (line.empty()) return;
    const fuzz::Fields fields = fuzz::FieldsOf(line);
    switch (line.front()) {
      case 'c':
        h.OpenPopup(NavigateRequest::To(fuzz::BrowserText(fields, 0)),
                    fuzz::BrowserText(fields, 1));
        break;
      case 'D':
        h.machine.files.AddFile(fuzz::SkinFolder("Test") + "\\Test.xml",
                                std::string(line.substr(1)));
        break;
      case 'K':
        h.settings().DefaultSkin = line.substr(1);
        break;
      case 'C':
        fuzz::Call(h, fields, held);
        break;
    }
    h.machine.navigations.DeliverAll();
    fuzz::CheckViews(h, false);
  });
  return 0;
}
