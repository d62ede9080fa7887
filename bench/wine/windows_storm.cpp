// Pop-up storms against the real bar under Wine, played as a browser plays them: with the alert,
// the sound and the prompt off, a page opens a window (NewWindow2), the browser navigates the
// preview the bar hands back to the pop-up's address with a 1 KB POST body, and the thread's
// messages run until none waits, as the browser's loop runs them between two events. Prints the
// bar thread's CPU time per capture, the same navigations on a plain WebBrowser hosted the same
// way, how often the form view syncs per capture, and the memory each captured entry keeps. Fails
// when the bar's list does not show every capture.
//
//   windows_storm PATH-OF-LKIEWindlock.dll [--captures N]
//
// Without --captures: storms of 1,000 and 10,000 pop-ups; with it, one storm of N.
#include <windows.h>

#include <commctrl.h>
#include <exdisp.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "backends/win32/browser/web_browser_host.h"
#include "support/band_host.h"
#include "support/messages.h"
#include "support/run_tests.h"
#include "support/stored_settings.h"
#include "support/window_checks.h"

namespace windlock_test {
namespace {

using windlock::win32::WebBrowserHost;

// What the form view posts its window to bring the controls up to date (at once, or from a timer
// for what it held back).
constexpr UINT kSyncMessage = WM_APP + 1;
constexpr const wchar_t* kFormClass = L"WindlockForm";
constexpr LONG kPostBytes = 1024;
// The bar's size in the browser's pane.
constexpr RECT kPane = {0, 0, 260, 520};
// The baseline navigates at most this often: its cost does not grow with the count.
constexpr int kBaselineNavigations = 1000;

std::vector<int> g_storms = {1000, 10000};

struct WindowDestroyer {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// This thread's user and kernel time; Wine advances it in 10 ms steps, so only long runs tell.
double ThreadCpuMicroseconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ticks = [](const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10.0;
}

double WallMicroseconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// The process's committed private memory (Wine reports PrivateUsage as 0).
double CommittedBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return static_cast<double>(counters.PagefileUsage);
}

// The bytes the process's heaps hand out now, whatever they keep committed around them: what the
// entries keep, without the heaps' and the script engine's reserves, which grow in steps of
// hundreds of kilobytes as they please. The C runtime's heap holds what the DLL's own code
// allocates; the others what Wine's libraries do (the XML mirror, the browser's navigations).
struct HeapBytes {
  double runtime = 0;
  double others = 0;
  double total() const { return runtime + others; }
  HeapBytes operator-(const HeapBytes& before) const {
    return {runtime - before.runtime, others - before.others};
  }
};

HeapBytes HeapBytesInUse() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  const auto runtime_heap = reinterpret_cast<HANDLE>(_get_heap_handle());
  HeapBytes bytes;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    double& in_use = heap == runtime_heap ? bytes.runtime : bytes.others;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) in_use += entry.cbData;
    }
    HeapUnlock(heap);
  }
  return bytes;
}

// The syncs this program's loop handed out, and the wall time they took. Counted here, not by a
// message hook: under Wine a hook costs each message three calls to the window server, more than
// many a message costs itself. The storm's windows show nothing modal, so no other loop runs.
long g_syncs = 0;
double g_sync_wall = 0;

// Handles messages until none waits, as the browser's loop does between two events.
void PumpUntilIdle() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    if (message.message == kSyncMessage && ClassOf(message.hwnd) == kFormClass) {
      const double start = WallMicroseconds();
      DispatchMessageW(&message);
      g_sync_wall += WallMicroseconds() - start;
      ++g_syncs;
    } else {
      DispatchMessageW(&message);
    }
  }
}

// A pop-up's navigation: its own address, on a port nothing listens on so that no name look-up
// holds one of Wine's worker threads, and a 1 KB POST body.
void NavigateWithPost(IWebBrowser2& browser, int number) {
  VARIANT url{};
  url.vt = VT_BSTR;
  url.bstrVal = SysAllocString((L"http://127.0.0.1:9/popup?n=" + std::to_wstring(number)).c_str());
  VARIANT post{};
  post.vt = VT_ARRAY | VT_UI1;
  post.parray = SafeArrayCreateVector(VT_UI1, 0, kPostBytes);
  void* bytes = nullptr;
  SafeArrayAccessData(post.parray, &bytes);
  std::memset(bytes, 'p', kPostBytes);
  SafeArrayUnaccessData(post.parray);
  VARIANT empty{};
  EXPECT_EQ(S_OK, browser.Navigate2(&url, &empty, &empty, &post, &empty));
  VariantClear(&url);
  VariantClear(&post);
}

struct Storm {
  int captures = 0;
  double cpu_per_capture = 0;
  double wall_per_capture = 0;
  double syncs_per_capture = 0;
  double sync_wall = 0;
  HeapBytes heap_per_entry;
  double committed_per_entry = 0;
};

// One bar shown in its browser window, and `captures` pop-ups into it.
void RunStorm(Storm& storm) {
  BandHost host;
  ASSERT_NO_FATAL_FAILURE(host.Show());
  HWND bar = host.BarWindow();
  MoveWindow(bar, kPane.left, kPane.top, kPane.right, kPane.bottom, TRUE);
  PumpUntilIdle();
  HWND list = FindDescendant(bar, WC_LISTVIEWW);
  ASSERT_NE(nullptr, list) << "no list view in the bar";

  const HeapBytes memory = HeapBytesInUse();
  const double committed = CommittedBytes();
  g_syncs = 0;
  g_sync_wall = 0;
  const double cpu = ThreadCpuMicroseconds();
  const double wall = WallMicroseconds();
  for (int number = 0; number < storm.captures; ++number) {
    ComPtr<IDispatch> window = host.OpenPopup();
    ComPtr<IWebBrowser2> preview = window ? window.As<IWebBrowser2>() : nullptr;
    ASSERT_TRUE(preview) << "pop-up " << number << " was not captured";
    NavigateWithPost(*preview.get(), number);
    PumpUntilIdle();
  }
  const double n = storm.captures;
  storm.cpu_per_capture = (ThreadCpuMicroseconds() - cpu) / n;
  storm.wall_per_capture = (WallMicroseconds() - wall) / n;
  storm.syncs_per_capture = static_cast<double>(g_syncs) / n;
  storm.sync_wall = g_sync_wall / n;
  const HeapBytes grown = HeapBytesInUse() - memory;
  storm.heap_per_entry = {grown.runtime / n, grown.others / n};
  storm.committed_per_entry = (CommittedBytes() - committed) / n;

  auto items = [&] { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); };
  PumpUntil([&] { return items() >= storm.captures; }, 5000);
  EXPECT_EQ(storm.captures, items()) << "the bar's list does not show every capture";
}

// The same navigations on a plain WebBrowser hosted as the bar hosts its preview, with no bar.
struct Baseline {
  double cpu_per_navigation = 0;
  double bytes_per_navigation = 0;
};

Baseline RunBaseline(int navigations) {
  OwnedWindow parent(CreateWindowExW(0, L"STATIC", L"Windlock storm baseline",
                                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 800,
                                     600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  EXPECT_NE(nullptr, parent.get());
  WebBrowserHost plain(parent.get(), kPane);
  EXPECT_TRUE(plain.browser());
  if (!plain.browser()) return {};
  PumpUntilIdle();
  const HeapBytes memory = HeapBytesInUse();
  const double cpu = ThreadCpuMicroseconds();
  for (int number = 0; number < navigations; ++number) {
    NavigateWithPost(*plain.browser().get(), number);
    PumpUntilIdle();
  }
  return {(ThreadCpuMicroseconds() - cpu) / navigations,
          (HeapBytesInUse() - memory).total() / navigations};
}

// 10000 as "10,000".
std::string Grouped(int number) {
  std::string digits = std::to_string(number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

std::vector<Storm> g_results;
Baseline g_baseline;

TEST(WindowsStorm, EveryPopupOfAStormReachesTheList) {
  PrepareForBands();
  ASSERT_FALSE(testing::Test::HasFatalFailure());
  g_baseline = RunBaseline(std::min(g_storms.front(), kBaselineNavigations));
  // What Wine keeps of each navigation where no bar is, beside what its libraries keep per entry.
  std::printf("windows storm: a plain WebBrowser keeps %.0f bytes of heap per navigation\n",
              g_baseline.bytes_per_navigation);
  for (int captures : g_storms) {
    Storm storm;
    storm.captures = captures;
    ASSERT_NO_FATAL_FAILURE(RunStorm(storm));
    // Wall time too: under Wine much of a capture's time is spent waiting, off this thread's CPU.
    std::printf(
        "windows storm: %s pop-ups: %.0f us per capture in wall time, %.0f us of it in "
        "%.2f syncs (%.0f us each); per entry %.0f bytes of heap (%.0f the DLL's, %.0f Wine's), "
        "%.0f committed\n",
        Grouped(captures).c_str(), storm.wall_per_capture, storm.sync_wall, storm.syncs_per_capture,
        storm.sync_wall / storm.syncs_per_capture, storm.heap_per_entry.total(),
        storm.heap_per_entry.runtime, storm.heap_per_entry.others, storm.committed_per_entry);
    std::fflush(stdout);
    g_results.push_back(storm);
  }
}

void PrintFigures() {
  std::string times = "windows storm: ";
  for (std::size_t i = 0; i < g_results.size(); ++i) {
    const Storm& storm = g_results[i];
    char figure[96];
    std::snprintf(figure, sizeof figure,
                  i == 0 ? "%.0f us per capture with %s pop-ups" : ", %.0f us with %s",
                  storm.cpu_per_capture, Grouped(storm.captures).c_str());
    times += figure;
  }
  std::printf("%s (CPU)\n", times.c_str());
  std::printf("windows storm: baseline navigate %.0f us\n", g_baseline.cpu_per_navigation);
  // The figures of the largest storm.
  const Storm& last = g_results.back();
  std::printf("windows storm: %.2f syncs per capture\n", last.syncs_per_capture);
  // From the first storm: paced as a large storm is, Wine's own bindings for the navigations grow
  // the process by tens of kilobytes each (a plain WebBrowser too), hiding the entries. The heap's
  // bytes in use, not the memory committed: that moves by a kilobyte per entry between runs.
  std::printf("windows storm: %.0f bytes per captured entry with a 1 KB POST body\n",
              g_results.front().heap_per_entry.total());
  if (g_results.size() > 1) {
    std::printf("windows storm: ratio %s / %s = %.2f\n", Grouped(last.captures).c_str(),
                Grouped(g_results.front().captures).c_str(),
                last.cpu_per_capture / g_results.front().cpu_per_capture);
  }
}

}  // namespace
}  // namespace windlock_test

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const bool short_run = argc == 4 && std::strcmp(argv[2], "--captures") == 0;
  const int captures = short_run ? std::atoi(argv[3]) : 0;
  if ((argc != 2 && !short_run) || (short_run && captures <= 0)) {
    std::fprintf(stderr, "usage: %s PATH-OF-LKIEWindlock.dll [--captures N]\n", argv[0]);
    return 2;
  }
  if (short_run) windlock_test::g_storms = {captures};
  const int result = windlock_test::RunTestsAgainst(argv[0], argv[1]);
  if (result == 0) windlock_test::PrintFigures();
  return result;
}
