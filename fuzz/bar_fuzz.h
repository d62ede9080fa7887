#pragma once

#include <cstddef>
#include <string>

#include "input_lines.h"
#include "sim_harness.h"

namespace windlock::fuzz {

// A field as a browser delivers addresses and titles: any bytes but NUL.
std::string BrowserText(const Fields& fields, std::size_t index);

// Aborts unless the captured list's views agree with its entries. At all times the list view
// holds one item per entry, in order, with the entry's key and name, and the XML mirror one
// "URL" element per entry with its name and address. Right after a list update (`updated`) also
// each element's "selected" follows its list item, and the skin page's selection box, when the
// page has one, holds one option per entry with its key and name. (Which options are marked is
// the page's own affair: an update marks options but never unmarks one, nor marks a new one.)
void CheckViews(unit::BarHarness& bar, bool updated);

}  // namespace windlock::fuzz
