#pragma once

#include <cstdint>

namespace windlock::sim {

// Automation errors the simulated documents raise, numbered as a script engine reports them.
// "Object doesn't support this property or method": a call of a function the page lacks.
inline constexpr int32_t kErrNoSuchMethod = 438;
// "Object required": an element or option the page does not have.
inline constexpr int32_t kErrObjectRequired = 424;
// "ActiveX component can't create object".
inline constexpr int32_t kErrCannotCreateObject = 429;
// E_FAIL, as the XML DOM reports a node it cannot insert (a second root element).
inline constexpr int32_t kErrDomFailure = -2147467259;

}  // namespace windlock::sim
