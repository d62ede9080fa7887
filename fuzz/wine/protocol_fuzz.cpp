// Seeded random sequences of what a browser and its user do to the real bar: sites good, refused
// and taken away, the band calls, keys and focus, the menu, pop-ups with and without Shift and
// the preview's navigation, clicks in the bar, references held and let go at any point, modal
// windows answered at once or late while more calls arrive, and start-ups that fail. Each
// sequence ends as the browser ends and must leave nothing behind.
//
// WINDLOCK_FUZZ_SEED (first sequence's seed, 1), WINDLOCK_FUZZ_SECONDS (how long, 40) and
// WINDLOCK_FUZZ_SEQUENCES (at most how many) choose another run; sequence k has seed SEED + k,
// so one found is replayed with its seed and WINDLOCK_FUZZ_SEQUENCES=1.
#include <windows.h>

#include <exdispid.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/band_host.h"
#include "support/dialogs.h"
#include "support/dll_under_test.h"
#include "support/ids.h"
#include "support/messages.h"
#include "support/stored_settings.h"
#include "support/window_checks.h"

namespace windlock_test {
namespace {

constexpr int kStepsPerSequence = 60;
// A step that does not return in this time hangs.
constexpr ULONGLONG kHangMilliseconds = 20000;
constexpr const wchar_t* kDllName = L"LKIEWindlock.dll";

unsigned long EnvironmentNumber(const char* name, unsigned long fallback) {
  const char* text = std::getenv(name);
  return text ? std::strtoul(text, nullptr, 10) : fallback;
}

// The running sequence's seed and steps, also for the watchdog's thread.
class Log {
 public:
  void Start(unsigned seed) {
    std::lock_guard lock(mutex_);
    seed_ = seed;
    steps_.clear();
    last_ = GetTickCount64();
  }
  void Step(const std::string& step) {
    std::lock_guard lock(mutex_);
    steps_ += steps_.empty() ? step : ", " + step;
    last_ = GetTickCount64();
  }
  std::string Text() const {
    std::lock_guard lock(mutex_);
    return "WINDLOCK_FUZZ_SEED=" + std::to_string(seed_) + " WINDLOCK_FUZZ_SEQUENCES=1: " + steps_;
  }
  bool Stuck() const {
    std::lock_guard lock(mutex_);
    return GetTickCount64() - last_ > kHangMilliseconds;
  }

 private:
  mutable std::mutex mutex_;
  unsigned seed_ = 0;
  std::string steps_;
  ULONGLONG last_ = GetTickCount64();
};

BOOL CALLBACK AddWithDescendants(HWND window, LPARAM found) {
  auto& all = *reinterpret_cast<std::vector<HWND>*>(found);
  all.push_back(window);
  for (HWND child : Descendants(window)) all.push_back(child);
  return TRUE;
}

// Every window of this thread whose class is the DLL's, message-only windows included.
std::vector<std::wstring> WindowsOfTheDll() {
  HMODULE dll = GetModuleHandleW(kDllName);
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), AddWithDescendants, reinterpret_cast<LPARAM>(&windows));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
      windows.push_back(window);
  }
  std::vector<std::wstring> ours;
  for (HWND window : windows) {
    if (dll && reinterpret_cast<HMODULE>(GetClassLongPtrW(window, GCLP_HMODULE)) == dll) {
      ours.push_back(ClassOf(window));
    }
  }
  return ours;
}

BOOL CALLBACK AddIfModal(HWND window, LPARAM found) {
  const bool top_level = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0;
  const std::wstring window_class = ClassOf(window);
  if (top_level && IsWindowVisible(window) &&
      (window_class == L"WindlockForm" || window_class == L"#32770")) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  }
  return TRUE;
}

// The bar's modal windows (forms and dialog boxes) open on this thread.
std::vector<HWND> OpenModals() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), AddIfModal, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The buttons and check boxes of a window a person may click; Help starts the help viewer, a
// program of its own, so it is left alone.
std::vector<HWND> Clickable(HWND window) {
  std::vector<HWND> found;
  for (HWND child : Descendants(window)) {
    if (ClassOf(child) == L"Button" && IsWindowVisible(child) && IsWindowEnabled(child) &&
        TextOf(child).find(L"Help") == std::wstring::npos) {
      found.push_back(child);
    }
  }
  return found;
}

// One browser window with its band, and what the browser keeps of the band besides.
struct BrowserWindow {
  BandHost host;
  std::vector<ComPtr<IUnknown>> held;
  std::vector<ComPtr<FakeSite>> other_sites;
  ULONG site_references = ReferenceCount(host.site());
  ULONG browser_references = ReferenceCount(host.browser());
  // A step of the browser's is under way in it.
  bool busy = false;
};

class ProtocolFuzzer {
 public:
  ProtocolFuzzer(unsigned seed, Log& log) : random_(seed), log_(log) {}

  void Run() {
    StoreRandomSettings();
    for (auto& window : windows_) window = std::make_unique<BrowserWindow>();
    for (int step = 0; step < kStepsPerSequence && !testing::Test::HasFatalFailure(); ++step) {
      Step(*windows_[Pick(2)]);
    }
    for (auto& window : windows_) LetGo(*window);
    PumpMessages();
    const std::vector<std::wstring> left = WindowsOfTheDll();
    EXPECT_EQ(S_OK, LoadedDllCanUnloadNow()) << "nothing is held, yet the DLL stays";
    EXPECT_TRUE(left.empty()) << "windows of the DLL's left: " << Narrow(left.front());
    for (auto& window : windows_) {
      EXPECT_EQ(0u, window->host.browser().sink_count());
      EXPECT_EQ(window->site_references, ReferenceCount(window->host.site()));
      for (auto& site : window->other_sites) EXPECT_EQ(1u, ReferenceCount(*site.get()));
      // Each of those sites holds the browser too.
      window->other_sites.clear();
      EXPECT_EQ(window->browser_references, ReferenceCount(window->host.browser()));
    }
    windows_[0].reset();
    windows_[1].reset();
  }

  // Runs inside a modal window's loop, from a timer: now and then more calls while it is up
  // (which may open another, answered by the same timer inside), then an answer to each open.
  void AnswerModal() {
    std::vector<HWND> modals = OpenModals();
    if (modals.empty()) {
      // A pop-up menu's loop, or the thread's own pumping.
      EndMenu();
      return;
    }
    if (!nested_ && Pick(3) == 0) {
      Note("inside " + Narrow(TextOf(modals.front())));
      nested_ = true;
      // Not in a window whose step is still under way: a browser makes one call at a time.
      for (int step = Pick(4); step >= 0; --step) {
        BrowserWindow& window = *windows_[Pick(2)];
        if (!window.busy) Step(window);
      }
      nested_ = false;
    }
    for (HWND modal : OpenModals()) {
      std::vector<HWND> buttons = Clickable(modal);
      if (ClassOf(modal) == L"#32770") {
        std::wstring texts;
        for (HWND child : Descendants(modal)) texts += L" [" + TextOf(child) + L"]";
        Note("cancel " + Narrow(TextOf(modal) + texts));
        PostMessageW(modal, WM_COMMAND, IDCANCEL, 0);
      } else if (buttons.empty() || Pick(2)) {
        PostMessageW(modal, WM_CLOSE, 0, 0);
      } else {
        HWND button = buttons[Pick(static_cast<int>(buttons.size()))];
        Note("answer " + Narrow(TextOf(button)));
        PostMessageW(button, BM_CLICK, 0, 0);
      }
    }
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
  void Note(const std::string& step) { log_.Step(step); }

  // The quiet set, the alert and the prompt switched on or not, or settings no bar wrote: none at
  // all, or values of the wrong type.
  void StoreRandomSettings() {
    const DWORD alert = Pick(2);
    const DWORD prompt = Pick(2);
    StoredSettings settings = QuietSettings();
    settings.Set(L"Show Visual Capture", alert).Set(L"Prompt To Add", prompt);
    settings.trusted_sites = {L"trust:trusted.example"};
    StoreSettings(settings);
    std::string note =
        "settings alert " + std::to_string(alert) + " prompt " + std::to_string(prompt);
    if (Pick(6) == 0) {
      DeleteSettings();
      note = "no settings";
    }
    if (Pick(4) == 0) {
      const BYTE spoiled[3] = {1, 2, 3};
      const wchar_t* names[] = {L"Show Visual Capture", L"Popup Alert Display Time",
                                L"Popup Alert Font Size", L"Capture When Closed"};
      const wchar_t* name = names[Pick(4)];
      RegSetKeyValueW(HKEY_CURRENT_USER, kOptionsKey, name, REG_BINARY, spoiled, sizeof spoiled);
      note += ", " + Narrow(name) + " spoiled";
    }
    Note(note);
  }

  void Step(BrowserWindow& window) {
    window.busy = true;
    StepIn(window);
    window.busy = false;
  }

  void StepIn(BrowserWindow& window) {
    BandHost& host = window.host;
    if (!host.band()) {
      if (Pick(8) == 0) return StartWithoutCom();
      Note("create");
      return host.Create();
    }
    ComPtr<IObjectWithSite> with_site = host.As<IObjectWithSite>();
    ComPtr<IInputObject> input = host.As<IInputObject>();
    switch (Pick(20)) {
      case 0:
        Note("SetSite");
        with_site->SetSite(static_cast<IServiceProvider*>(&host.site()));
        break;
      case 1: {
        const bool gives_window = Pick(2);
        Note(gives_window ? "SetSite another" : "SetSite refused");
        ComPtr<FakeSite> site = FakeSite::Make(host.frame(), &host.browser(), gives_window);
        window.other_sites.push_back(site);
        with_site->SetSite(static_cast<IServiceProvider*>(site.get()));
        break;
      }
      case 2:
        Note("SetSite(NULL)");
        with_site->SetSite(nullptr);
        break;
      case 3: {
        const BOOL show = Pick(2);
        Note("ShowDW " + std::to_string(show));
        host.band()->ShowDW(show);
        break;
      }
      case 4:
        Note("CloseDW");
        host.band()->CloseDW(0);
        break;
      case 5: {
        Note("ResizeBorderDW, GetBandInfo");
        const RECT border = {0, 0, Pick(400), Pick(800)};
        host.band()->ResizeBorderDW(&border, nullptr, TRUE);
        DESKBANDINFO info{};
        info.dwMask = static_cast<DWORD>(random_());
        host.band()->GetBandInfo(0, static_cast<DWORD>(Pick(3)), &info);
        break;
      }
      case 6: {
        const BOOL activate = Pick(2);
        Note("UIActivateIO " + std::to_string(activate) + ", HasFocusIO");
        input->UIActivateIO(activate, nullptr);
        input->HasFocusIO();
        break;
      }
      case 7: {
        const WPARAM keys[] = {VK_TAB, VK_BACK, VK_END, VK_RETURN, VK_ESCAPE, VK_DELETE, 'A'};
        MSG message{};
        message.hwnd = host.frame();
        message.message = Pick(2) ? WM_KEYDOWN : WM_KEYUP;
        message.wParam = keys[Pick(7)];
        Note("key " + std::to_string(message.wParam));
        input->TranslateAcceleratorIO(&message);
        break;
      }
      case 8:
        Note("focus");
        SetFocus(Pick(2) ? host.text_box() : host.BarWindow());
        break;
      case 9:
        return Menu(host);
      case 10:
      case 11:
      case 12:
        return Popup(window);
      case 13:
        return Click(host);
      case 14: {
        Note("hold a reference");
        ComPtr<IUnknown> reference;
        host.band()->QueryInterface(IID_IUnknown, reference.PutVoid());
        window.held.push_back(reference);
        break;
      }
      case 15:
        if (window.held.empty()) break;
        Note("release a reference");
        window.held.erase(window.held.begin() + Pick(static_cast<int>(window.held.size())));
        break;
      case 16:
        Note("release the band");
        host.ReleaseBand();
        break;
      case 17:
        Note("OnQuit");
        host.browser().Fire(DISPID_ONQUIT);
        break;
      default:
        Note("pump");
        PumpMessages();
        break;
    }
  }

  // The browser's menu with the band's commands, and one of them, or an offset beyond them.
  void Menu(BandHost& host) {
    ComPtr<IContextMenu> context_menu = host.As<IContextMenu>();
    HMENU menu = CreatePopupMenu();
    context_menu->QueryContextMenu(menu, 0, 100, 200, CMF_NORMAL);
    std::vector<UINT> commands;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      HMENU submenu = GetSubMenu(menu, i);
      wchar_t text[128] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
      if (submenu) {
        for (int j = 0; j < GetMenuItemCount(submenu); ++j) {
          commands.push_back(GetMenuItemID(submenu, j));
        }
      } else if (std::wstring(text).find(L"Help") == std::wstring::npos) {
        commands.push_back(GetMenuItemID(menu, i));
      }
    }
    DestroyMenu(menu);
    const UINT offset = commands.empty() || Pick(6) == 0
                            ? static_cast<UINT>(Pick(300))
                            : commands[Pick(static_cast<int>(commands.size()))] - 100;
    Note("menu command " + std::to_string(offset));
    CMINVOKECOMMANDINFO command{};
    command.cbSize = sizeof command;
    command.lpVerb = MAKEINTRESOURCEA(offset);
    context_menu->InvokeCommand(&command);
  }

  // A page opens a window, from a trusted site or not, Shift held or not; a captured one's
  // preview then navigates to it, now and then with a POST body.
  void Popup(BrowserWindow& window) {
    const bool shift = Pick(4) == 0;
    const bool trusted = Pick(4) == 0;
    Note(std::string("popup") + (shift ? " shift" : "") + (trusted ? " trusted" : ""));
    window.host.browser().set_location_url(trusted ? L"http://trusted.example/"
                                                   : L"http://page.example/");
    HoldShift(shift);
    IDispatch* opened = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    window.host.browser().FireNewWindow2(&opened, &cancel);
    HoldShift(false);
    ComPtr<IDispatch> preview_window = ComPtr<IDispatch>::Adopt(opened);
    ComPtr<IWebBrowser2> preview = preview_window ? preview_window.As<IWebBrowser2>() : nullptr;
    if (!preview || Pick(4) == 0) return;
    VARIANT url{};
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocString(L"http://ads.example/pop");
    VARIANT post{};
    if (Pick(3) == 0) {
      post.vt = VT_ARRAY | VT_UI1;
      post.parray = SafeArrayCreateVector(VT_UI1, 0, 1024);
    }
    VARIANT empty{};
    preview->Navigate2(&url, &empty, &empty, &post, &empty);
    VariantClear(&url);
    VariantClear(&post);
    if (Pick(2)) window.held.push_back(preview.As<IUnknown>());
  }

  // A click on one of the bar's buttons or check boxes, or items of its list selected.
  void Click(BandHost& host) {
    HWND bar = nullptr;
    if (FAILED(host.band()->GetWindow(&bar)) || !IsWindow(bar)) return;
    std::vector<HWND> buttons = Clickable(bar);
    if (buttons.empty()) return;
    HWND button = buttons[Pick(static_cast<int>(buttons.size()))];
    Note("click " + Narrow(TextOf(button)));
    SendMessageW(button, BM_CLICK, 0, 0);
  }

  // A band made on a thread that never set up COM: its start-up fails there, and nothing of it
  // stays on that thread.
  void StartWithoutCom() {
    Note("start without COM");
    std::thread([] {
      using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
      auto get_class_object = reinterpret_cast<GetClassObject>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(kDllName), "DllGetClassObject")));
      ModalGuard guard;
      ComPtr<IClassFactory> factory;
      ComPtr<IDeskBand> band;
      if (!get_class_object ||
          FAILED(get_class_object(kBandClsid, IID_IClassFactory, factory.PutVoid())) ||
          FAILED(factory->CreateInstance(nullptr, IID_IDeskBand, band.PutVoid()))) {
        return;
      }
      // Where the bar's browsers cannot be made, the site or the first showing fails.
      BandHost host;
      band.As<IObjectWithSite>()->SetSite(static_cast<IServiceProvider*>(&host.site()));
      band->ShowDW(TRUE);
      PumpMessages();
      band->CloseDW(0);
      band.As<IObjectWithSite>()->SetSite(nullptr);
      band.Reset();
      const std::vector<std::wstring> left = WindowsOfTheDll();
      EXPECT_TRUE(left.empty()) << "a failed start left " << Narrow(left.front());
    }).join();
  }

  // The browser window closes: the band let go as the browser does, or only by its references.
  void LetGo(BrowserWindow& window) {
    if (IDeskBand* band = window.host.band()) {
      band->CloseDW(0);
      window.host.As<IObjectWithSite>()->SetSite(nullptr);
    }
    window.held.clear();
    window.host.ReleaseBand();
  }

  std::mt19937 random_;
  Log& log_;
  std::unique_ptr<BrowserWindow> windows_[2];
  bool nested_ = false;
};

ProtocolFuzzer* g_fuzzer = nullptr;

void CALLBACK AnswerModals(HWND, UINT, UINT_PTR, DWORD) {
  if (g_fuzzer) g_fuzzer->AnswerModal();
}

TEST(ProtocolFuzzTest, RandomBrowserSequencesLeaveNothingBehind) {
  PrepareForBands();
  const auto first_seed = static_cast<unsigned>(EnvironmentNumber("WINDLOCK_FUZZ_SEED", 1));
  const ULONGLONG seconds = EnvironmentNumber("WINDLOCK_FUZZ_SECONDS", 40);
  const unsigned long most = EnvironmentNumber("WINDLOCK_FUZZ_SEQUENCES", ~0ul);
  Log log;
  bool done = false;
  std::thread watchdog([&] {
    while (!done) {
      Sleep(250);
      if (!done && log.Stuck()) {
        std::fprintf(stderr, "hang in the sequence %s\n", log.Text().c_str());
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
      }
    }
  });
  const DWORD main_thread = GetCurrentThreadId();
  // Dialog boxes on this thread wait for the timer; on a thread of their own they end at once.
  DialogAnswers answers([main_thread](HWND box) {
    if (GetCurrentThreadId() != main_thread) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  });
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, AnswerModals);
  const ULONGLONG end = GetTickCount64() + seconds * 1000;
  unsigned long sequences = 0;
  while (sequences < most && GetTickCount64() < end) {
    const unsigned seed = first_seed + static_cast<unsigned>(sequences++);
    log.Start(seed);
    ProtocolFuzzer fuzzer(seed, log);
    g_fuzzer = &fuzzer;
    fuzzer.Run();
    g_fuzzer = nullptr;
    if (testing::Test::HasFailure()) {
      ADD_FAILURE() << "in the sequence " << log.Text();
      break;
    }
  }
  KillTimer(nullptr, timer);
  done = true;
  watchdog.join();
  std::printf("protocol fuzz: %lu sequences of %d steps, seeds %u to %lu\n", sequences,
              kStepsPerSequence, first_seed, first_seed + sequences - 1);
}

}  // namespace
}  // namespace windlock_test
