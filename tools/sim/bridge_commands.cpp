// The skin page's script calling window.external, and what the call left in its XML argument.
#include <array>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backends/sim/case_insensitive.h"
#include "backends/sim/sim_trace.h"
#include "backends/sim/sim_xml_document.h"
#include "common/error.h"
#include "expectation_text.h"
#include "scenario_errors.h"
#include "scenario_runner.h"

namespace windlock::scenario {
namespace {

using sim::Quote;

// The methods whose result the script sees as a Boolean; it crosses the bridge as -1 or 0.
constexpr std::array<std::string_view, 3> kBooleanResults = {"ShowContextMenu", "LoadXMLDATA",
                                                             "SaveXMLDATA"};
// Methods whose XML argument is worth showing after the call.
constexpr std::array<std::string_view, 2> kDocumentMethods = {"LoadXMLDATA", "SaveXMLDATA"};

template <std::size_t N>
bool Listed(const std::array<std::string_view, N>& names, const std::string& method) {
  for (std::string_view name : names) {
    if (sim::EqualsFolded(name, method)) return true;
  }
  return false;
}

std::string ResultText(const std::string& method, const Variant& result) {
  if (result.is_number() && Listed(kBooleanResults, method)) return Bool(result.number() != 0);
  if (result.is_document()) return sim::CanonicalText(result.document().get());
  return result.ToText();
}

// `doc "XML"`: a new document the script made. Its XML runs to the line's last double quote, so
// that it can hold quotes of its own.
std::shared_ptr<sim::SimXmlDocument> NewDocument(ScenarioRunner& runner, const ScenarioLine& line,
                                                 std::size_t quote) {
  const std::string& text = line.text();
  std::size_t last = text.rfind('"');
  if (text[quote] != '"' || last == quote) {
    throw ScenarioError("doc and node take a quoted XML text");
  }
  auto document = std::make_shared<sim::SimXmlDocument>(runner.machine().files);
  std::string xml = text.substr(quote + 1, last - quote - 1);
  if (!xml.empty() && !document->LoadXml(xml)) throw ScenarioError("not well-formed XML: " + xml);
  return document;
}

int32_t Int32(const ScenarioLine& line, std::size_t index) {
  int64_t number = line.Number(index);
  if (number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<int32_t>::max())
    throw ScenarioError("out of range for a script number: " + line.Word(index));
  return static_cast<int32_t>(number);
}

struct BridgeArgs {
  std::vector<Variant> values;
  std::optional<std::size_t> document_at;  // the first doc or node argument
  // The document of the first node argument, shown after the call as a doc argument is.
  std::shared_ptr<XmlDocument> node_document;
};

BridgeArgs ReadArgs(ScenarioRunner& runner, const ScenarioLine& line) {
  BridgeArgs args;
  for (std::size_t i = 1; i < line.size(); ++i) {
    const Token& token = line.at(i);
    if (token.quoted) {
      args.values.emplace_back(token.text);
    } else if (token.text == "doc" || token.text == "node") {
      if (i + 1 >= line.size()) throw ScenarioError(token.text + " takes a quoted XML text");
      std::shared_ptr<sim::SimXmlDocument> document =
          NewDocument(runner, line, line.at(i + 1).offset);
      if (!args.document_at) args.document_at = args.values.size();
      if (token.text == "doc") {
        args.values.emplace_back(std::shared_ptr<XmlDocument>(document));
      } else {
        if (!document->HasRoot()) throw ScenarioError("node takes an XML text with an element");
        if (!args.node_document) args.node_document = document;
        args.values.emplace_back(
            std::shared_ptr<XmlNode>(std::make_shared<sim::SimXmlRootNode>(document)));
      }
      // Past the tokens the XML's own quotes made.
      std::size_t last = line.text().rfind('"');
      while (i + 1 < line.size() && line.at(i + 1).offset <= last) ++i;
    } else {
      args.values.emplace_back(Int32(line, i));
    }
  }
  return args;
}

// The external object the skin browser's pages see, or none.
ScriptExternal* SkinExternal(ScenarioRunner& runner) {
  sim::SimControlFactory& controls = runner.window().controls();
  sim::SimBrowser* skin = controls.skin();
  if (!skin) throw ScenarioError("the bar has no skin browser");
  sim::SimBrowserCustomizer* customizer = controls.customizer();
  return customizer ? customizer->ExternalFor(*skin) : nullptr;
}

void Bridge(ScenarioRunner& runner, const ScenarioLine& line) {
  if (line.size() == 0) throw ScenarioError("bridge takes a method name");
  const std::string& method = line.Word(0);
  BridgeArgs args = ReadArgs(runner, line);
  std::shared_ptr<XmlDocument> document = args.node_document;
  if (args.document_at && args.values[*args.document_at].is_document()) {
    document = args.values[*args.document_at].document();
  }
  runner.SetBridgeDocument(document);

  const sim::SimTrace& trace = runner.machine().trace;
  ScriptExternal* external = SkinExternal(runner);
  if (!external) {
    trace("bridge " + method + " failed: the skin page has no window.external");
    runner.SetResult("error");
    return;
  }
  std::string result;
  try {
    Variant value = external->Invoke(method, args.values);
    result = ResultText(method, value);
    std::string shown = value.empty() ? "nothing" : value.is_text() ? Quote(result) : result;
    trace("bridge " + method + " returned " + shown);
  } catch (const Error& error) {
    trace("bridge " + method + " raised error " + std::to_string(error.number()) + " " +
          Quote(error.description()));
    result = "error";
  }
  // The method may have put another object in its argument's place.
  if (args.document_at && args.values[*args.document_at].is_document()) {
    document = args.values[*args.document_at].document();
    runner.SetBridgeDocument(document);
  }
  if (document && Listed(kDocumentMethods, method)) {
    std::string xml = sim::CanonicalText(document.get());
    trace("bridge doc " + (xml.empty() ? "is empty" : xml));
  }
  runner.SetResult(result);
}

void ExpectDoc(ScenarioRunner& runner, const ScenarioLine& line) {
  const std::shared_ptr<XmlDocument>& document = runner.bridge_document();
  Check("doc " + line.Raw(), "doc " + sim::CanonicalText(document.get()));
}

}  // namespace

void AddBridgeCommands(CommandTable& table) {
  table["bridge"] = Bridge;
}

void AddBridgeExpectations(CommandTable& expectations) {
  expectations["doc"] = ExpectDoc;
}

}  // namespace windlock::scenario
