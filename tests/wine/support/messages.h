#pragma once

namespace windlock_test {

// Handles every message waiting for this thread, as the browser's message loop would between
// two calls: what the bar posted itself (its first activation, its windows brought up to date)
// happens here.
void PumpMessages();

}  // namespace windlock_test
