#include "sim_checks.h"

#include <gtest/gtest.h>

#include "platform/ui.h"

namespace windlock::unit {

void ExpectErrorBoxes(const sim::SimMachine& machine, const std::vector<std::string>& starts) {
  const std::vector<sim::ShownMessageBox>& boxes = machine.ui.message_boxes();
  ASSERT_EQ(boxes.size(), starts.size());
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_TRUE(boxes[i].text.starts_with(starts[i])) << boxes[i].text;
    EXPECT_EQ(boxes[i].title, "Error");
    EXPECT_EQ(boxes[i].style, kMbIconCritical);
  }
}

std::shared_ptr<sim::SimXmlDocument> ParsedXml(sim::SimFileSystem& files, const std::string& xml) {
  auto document = std::make_shared<sim::SimXmlDocument>(files);
  if (!xml.empty()) {
    EXPECT_TRUE(document->LoadXml(xml)) << xml;
  }
  return document;
}

}  // namespace windlock::unit
