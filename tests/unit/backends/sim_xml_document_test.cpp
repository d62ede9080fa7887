#include "backends/sim/sim_xml_document.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "../sim_checks.h"
#include "../sim_harness.h"
#include "backends/sim/script_errors.h"
#include "backends/sim/sim_file_system.h"
#include "common/error.h"

namespace windlock {
namespace {

using sim::SimFileSystem;
using sim::SimXmlDocument;

constexpr const char* kData = "C:\\Program Files\\Larkspan\\Windlock\\Skins\\Night\\Night.xml";
constexpr const char* kSkinFolder = "C:\\Program Files\\Larkspan\\Windlock\\Skins\\Night";

class SimXmlDocumentTest : public testing::Test {
 protected:
  std::shared_ptr<SimXmlDocument> Parsed(const std::string& xml) {
    return unit::ParsedXml(files, xml);
  }

  SimFileSystem files;
};

TEST_F(SimXmlDocumentTest, CloneIsIndependentOfTheOriginal) {
  auto original = Parsed("<URLS><URL a=\"1\"><B/></URL></URLS>");

  auto clone = original->Clone();
  clone->AppendToRoot("FROM_CLONE");
  original->RootChildren().front()->SetAttribute("a", "2");

  EXPECT_EQ(original->Canonical(), "<URLS><URL a=\"2\"><B/></URL></URLS>");
  EXPECT_EQ(sim::CanonicalText(clone.get()), "<URLS><URL a=\"1\"><B/></URL><FROM_CLONE/></URLS>");
}

TEST_F(SimXmlDocumentTest, LoadKeepsOnlyWhatIsWellFormedAndExpandsNoEntities) {
  struct Case {
    const char* name;
    std::optional<std::string> file;  // none: no such file
    bool loads;
    std::string canonical;
  };
  const Case cases[] = {
      {"missing file", std::nullopt, false, ""},
      {"empty file", "", false, ""},
      {"text without an element", "just words", false, ""},
      {"unclosed element", "<URLS><URL></URLS>", false, ""},
      {"two root elements", "<A/><B/>", false, ""},
      {"text beside the root", "<A/>stray", false, ""},
      {"declaration and comment around the root",
       "<?xml version=\"1.0\"?><!-- saved --><URLS n=\"1\"><URL/></URLS>", true,
       "<URLS n=\"1\"><URL/></URLS>"},
      {"internal entity stays a reference",
       "<!DOCTYPE URLS [<!ENTITY boom \"BOOM\">]><URLS a=\"&boom;\">&boom;</URLS>", true,
       "<URLS a=\"&amp;boom;\">&amp;boom;</URLS>"},
      {"external entity is not read",
       "<!DOCTYPE URLS [<!ENTITY secret SYSTEM \"C:\\secret.txt\">]><URLS>&secret;</URLS>", true,
       "<URLS>&amp;secret;</URLS>"},
  };
  files.AddFile("C:\\secret.txt", "SECRET");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files.RemovePath(kData);
    if (c.file) files.AddFile(kData, *c.file);
    // A document that held something: a failed load must not leave it behind.
    auto document = Parsed("<OLD/>");

    EXPECT_EQ(document->Load(kData), c.loads);

    EXPECT_EQ(document->Canonical(), c.canonical);
  }
}

TEST_F(SimXmlDocumentTest, SaveThenLoadGivesTheSameTree) {
  auto saved = Parsed(
      "<DATA version=\"2\" note=\"a &amp; b &lt;c&gt; &quot;d&quot;\">"
      "<LIST><ITEM id=\"1\" on=\"true\">first &amp; best</ITEM><ITEM id=\"2\"/></LIST>"
      "<EMPTY/></DATA>");
  saved->AppendToRoot("ADDED")->SetAttribute("by", "program");
  // Longer than what replaces it: none of it may be left behind.
  files.AddFile(kData, "<OLD>" + std::string(1000, ' ') + "</OLD>");

  saved->Save(kData);
  SimXmlDocument loaded(files);

  ASSERT_TRUE(loaded.Load(kData));
  EXPECT_EQ(loaded.Canonical(), saved->Canonical());
}

TEST_F(SimXmlDocumentTest, AppendCopyOfRootTakesOnlyTheRootElementAsItWas) {
  auto source = Parsed(
      "<?xml version=\"1.0\"?><!-- before --><?skin night?>"
      "<DATA a=\"1\"><ITEM><DEEP b=\"2\">text</DEEP></ITEM></DATA><!-- after -->");
  files.AddFolder(kSkinFolder);
  source->Save(kData);
  // What lies outside the root is in the document, so leaving it out below means something.
  ASSERT_NE(files.ReadFile(kData)->find("before"), std::string::npos);
  SimXmlDocument target(files);

  target.AppendCopyOfRoot(*source);
  source->AppendToRoot("LATER");
  source->RootChildren().front()->SetAttribute("x", "y");
  target.Save(kData);

  EXPECT_EQ(files.ReadFile(kData), "<DATA a=\"1\"><ITEM><DEEP b=\"2\">text</DEEP></ITEM></DATA>");
}

TEST_F(SimXmlDocumentTest, AppendFailsWithoutARootToCopyOrRoomForIt) {
  struct Case {
    const char* name;
    std::string source;  // empty: a document with nothing in it
    std::string target;
    int32_t number;
  };
  const Case cases[] = {
      {"source has no root", "", "", kErrObjectRequired},
      {"source has no root, target full", "", "<HAS/>", kErrObjectRequired},
      {"target has its root already", "<DATA/>", "<HAS><CHILD/></HAS>", sim::kErrDomFailure},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto source = Parsed(c.source);
    auto target = Parsed(c.target);

    EXPECT_EQ(unit::ErrorNumberOf([&] { target->AppendCopyOfRoot(*source); }), c.number);

    EXPECT_EQ(target->Canonical(), c.target);
  }
}

}  // namespace
}  // namespace windlock
