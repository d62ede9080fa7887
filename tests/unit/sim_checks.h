#pragma once

#include <memory>
#include <string>
#include <vector>

#include "backends/sim/sim_machine.h"
#include "backends/sim/sim_xml_document.h"

// Checks that report through GoogleTest, kept out of the harness: the fuzz targets link the
// harness without GoogleTest.
namespace windlock::unit {

// The message boxes shown are error reports, stopping with the critical icon, whose texts start
// as given, in this order.
void ExpectErrorBoxes(const sim::SimMachine& machine, const std::vector<std::string>& starts);

// A new document on these files holding `xml`, or nothing when it is empty; the test fails when
// the text is not well-formed.
std::shared_ptr<sim::SimXmlDocument> ParsedXml(sim::SimFileSystem& files,
                                               const std::string& xml = "");

}  // namespace windlock::unit
