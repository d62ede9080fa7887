#include "forms/page_function.h"

#include "common/error.h"

namespace windlock {

void CallPageFunction(Browser& browser, const std::string& name, const std::vector<Variant>& args) {
  try {
    if (HtmlDocument* document = browser.Document()) document->CallFunction(name, args);
  } catch (const Error&) {
  }
}

}  // namespace windlock
