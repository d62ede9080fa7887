#pragma once

namespace windlock_test {

// Runs the program's tests against the DLL at `dll_path` on this thread, as a browser's band
// thread is set up: aware of each screen's DPI, a single-threaded apartment with OLE, modal
// windows watched. Returns the program's exit status (2: the DLL or OLE is missing).
int RunTestsAgainst(const char* program, const char* dll_path);

}  // namespace windlock_test
