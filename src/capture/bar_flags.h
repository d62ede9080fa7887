#pragma once

namespace windlock {

// The bar form's flags that the capture decision, the preview browser and the safe shutdown
// pass between each other.
struct BarFlags {
  bool CapturePending = false;
  bool OpenNextWindow = false;
  bool SafeShutdownRequested = false;
  bool SafeShutdownStage2 = false;
  bool SafeShutdownStage3 = false;
  // The capture alert or the capture prompt is up: the captures that come meanwhile show neither,
  // or a page that opens windows in a loop would stack them until the thread's stack ran out.
  bool DecisionWindowUp = false;

  // Ends a safe shutdown (or one that failed half way): all three stages clear.
  void ClearSafeShutdown() {
    SafeShutdownRequested = false;
    SafeShutdownStage2 = false;
    SafeShutdownStage3 = false;
  }
};

}  // namespace windlock
