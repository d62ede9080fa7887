#pragma once

#include <cstdint>

namespace windlock::sim {

// Automation errors the simulated documents raise, numbered as a script engine reports them.
// "ActiveX component can't create object".
inline constexpr int32_t kErrCannotCreateObject = 429;
// E_FAIL, as the XML DOM reports a node it cannot insert (a second root element).
inline constexpr int32_t kErrDomFailure = -2147467259;

}  // namespace windlock::sim
