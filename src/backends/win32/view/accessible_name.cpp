#include "backends/win32/view/accessible_name.h"

// After windows.h, which they need.
#include <commctrl.h>
#include <oleacc.h>

#include <memory>
#include <optional>
#include <utility>

#include "backends/win32/com/com_object.h"
#include "backends/win32/com/module.h"
#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;
// The window property that holds what a window tells (comctl32 exports no GetWindowSubclass by
// name to read it back from the subclass).
constexpr const wchar_t* kToldProperty = L"WindlockAccessible";
constexpr const wchar_t* kAnnouncementClass = L"WindlockAnnouncement";

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

template <class Body>
HRESULT Guarded(Body&& body) noexcept {
  return GuardedCall(std::forward<Body>(body), AfterCall::kNothing);
}

// A window's standard client object, whose own name and role are replaced; its children, place,
// state and actions stay the standard object's.
class NamedAccessible
    : public ComObject<NamedAccessible, Implements<IAccessible, IDispatch>, IOleWindow> {
 public:
  NamedAccessible(HWND window, ComPtr<IAccessible> standard, Told told)
      : window_(window), standard_(std::move(standard)), told_(std::move(told)) {}

  // IDispatch: late-bound calls reach the methods below through the standard object's type
  // information.
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override {
    return Guarded([&] { return standard_->GetTypeInfoCount(count); });
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override {
    return Guarded([&] { return standard_->GetTypeInfo(index, locale, info); });
  }
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                             DISPID* ids) noexcept override {
    return Guarded([&] { return standard_->GetIDsOfNames(iid, names, count, locale, ids); });
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* parameters,
                      VARIANT* result, EXCEPINFO* exception, UINT* argument) noexcept override {
    return Guarded([&] {
      ComPtr<ITypeInfo> info;
      ThrowIfFailed(standard_->GetTypeInfo(0, locale, info.Put()));
      return DispInvoke(static_cast<IAccessible*>(this), info.get(), id, flags, parameters, result,
                        exception, argument);
    });
  }

  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) noexcept override {
    return Guarded([&] { return standard_->get_accParent(parent); });
  }
  STDMETHODIMP get_accChildCount(LONG* count) noexcept override {
    return Guarded([&] { return standard_->get_accChildCount(count); });
  }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) noexcept override {
    return Guarded([&] { return standard_->get_accChild(child, object); });
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) noexcept override {
    return Guarded([&] {
      if (!IsSelf(child)) return standard_->get_accName(child, name);
      if (!name) return E_POINTER;
      *name = SysAllocString(told_.name.c_str());
      return *name ? S_OK : E_OUTOFMEMORY;
    });
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) noexcept override {
    return Guarded([&] { return standard_->get_accValue(child, value); });
  }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) noexcept override {
    return Guarded([&] { return standard_->get_accDescription(child, description); });
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) noexcept override {
    return Guarded([&] {
      if (!IsSelf(child) || told_.role == 0) return standard_->get_accRole(child, role);
      if (!role) return E_POINTER;
      role->vt = VT_I4;
      role->lVal = told_.role;
      return S_OK;
    });
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) noexcept override {
    return Guarded([&] { return standard_->get_accState(child, state); });
  }
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) noexcept override {
    return Guarded([&] { return standard_->get_accHelp(child, help); });
  }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) noexcept override {
    return Guarded([&] { return standard_->get_accHelpTopic(file, child, topic); });
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) noexcept override {
    return Guarded([&] { return standard_->get_accKeyboardShortcut(child, shortcut); });
  }
  STDMETHODIMP get_accFocus(VARIANT* focus) noexcept override {
    return Guarded([&] { return standard_->get_accFocus(focus); });
  }
  STDMETHODIMP get_accSelection(VARIANT* selection) noexcept override {
    return Guarded([&] { return standard_->get_accSelection(selection); });
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) noexcept override {
    return Guarded([&] { return standard_->get_accDefaultAction(child, action); });
  }
  STDMETHODIMP accSelect(LONG flags, VARIANT child) noexcept override {
    return Guarded([&] { return standard_->accSelect(flags, child); });
  }
  STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                           VARIANT child) noexcept override {
    return Guarded([&] { return standard_->accLocation(left, top, width, height, child); });
  }
  STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) noexcept override {
    return Guarded([&] { return standard_->accNavigate(direction, start, end); });
  }
  STDMETHODIMP accHitTest(LONG left, LONG top, VARIANT* child) noexcept override {
    return Guarded([&] { return standard_->accHitTest(left, top, child); });
  }
  STDMETHODIMP accDoDefaultAction(VARIANT child) noexcept override {
    return Guarded([&] { return standard_->accDoDefaultAction(child); });
  }
  STDMETHODIMP put_accName(VARIANT child, BSTR name) noexcept override {
    return Guarded([&] { return standard_->put_accName(child, name); });
  }
  STDMETHODIMP put_accValue(VARIANT child, BSTR value) noexcept override {
    return Guarded([&] { return standard_->put_accValue(child, value); });
  }

  // IOleWindow: what WindowFromAccessibleObject asks.
  STDMETHODIMP GetWindow(HWND* window) noexcept override {
    return Guarded([&] {
      if (!window) return E_POINTER;
      *window = window_;
      return S_OK;
    });
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) noexcept override {
    return Guarded([] { return E_NOTIMPL; });
  }

 protected:
  ~NamedAccessible() override = default;

 private:
  HWND window_;
  ComPtr<IAccessible> standard_;
  Told told_;
};

// The subclass is given what the window tells as its data: reading the property for every
// message would cost a call to the window server under Wine.
LRESULT CALLBACK TellingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                             DWORD_PTR data) noexcept {
  return GuardedMessage(
      [&]() -> LRESULT {
        auto* told = reinterpret_cast<Told*>(data);
        switch (message) {
          case WM_GETOBJECT:
            if (!told) break;
            if (auto answer = AnswerGetObject(window, *told, wparam, lparam)) return *answer;
            break;
          case WM_NCDESTROY:
            RemoveWindowSubclass(window, TellingProc, kSubclassId);
            RemovePropW(window, kToldProperty);
            delete told;
            break;
          default:
            break;
        }
        return DefSubclassProc(window, message, wparam, lparam);
      },
      0, AfterCall::kNothing);
}

// The announcement window's own procedure, which keeps what it tells in its data: a storm of
// captures announces each, and under Wine a subclass and a property cost each message calls to
// the window server.
LRESULT CALLBACK AnnouncementProc(HWND window, UINT message, WPARAM wparam,
                                  LPARAM lparam) noexcept {
  return GuardedMessage(
      [&]() -> LRESULT {
        auto* told = reinterpret_cast<Told*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_GETOBJECT && told) {
          if (auto answer = AnswerGetObject(window, *told, wparam, lparam)) return *answer;
        } else if (message == WM_NCDESTROY) {
          SetWindowLongPtrW(window, GWLP_USERDATA, 0);
          delete told;
        }
        return DefWindowProcW(window, message, wparam, lparam);
      },
      0, AfterCall::kNothing);
}

// What `window` tells, made and its subclass set on the first call.
Told& TellingState(HWND window) {
  if (auto* told = static_cast<Told*>(GetPropW(window, kToldProperty))) return *told;
  auto made = std::make_unique<Told>();
  if (!SetPropW(window, kToldProperty, made.get())) throw ErrorFromWin32(GetLastError());
  if (!SetWindowSubclass(window, TellingProc, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(made.get()))) {
    RemovePropW(window, kToldProperty);
    throw ErrorFromWin32(GetLastError());
  }
  return *made.release();
}

}  // namespace

void SetAccessibleName(HWND window, const std::wstring& name, LONG role) {
  TellingState(window) = Told{name, role};
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

std::optional<LRESULT> AnswerGetObject(HWND window, const Told& told, WPARAM wparam,
                                       LPARAM lparam) {
  // The object id arrives as a DWORD, also in a 64-bit lparam.
  if (static_cast<LONG>(static_cast<DWORD>(lparam)) != OBJID_CLIENT) return std::nullopt;
  ComPtr<IAccessible> standard;
  ThrowIfFailed(
      CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, standard.PutVoid()));
  auto named = NamedAccessible::Make(window, std::move(standard), told);
  return LresultFromObject(IID_IAccessible, wparam, static_cast<IAccessible*>(named.get()));
}

Told FormTold(const Form& form) {
  return Told{Widen(form.accessible_name), form.alert ? ROLE_SYSTEM_ALERT : 0};
}

HWND MakeAnnouncementWindow(HWND parent) {
  RegisterModuleClass(kAnnouncementClass, AnnouncementProc);
  // Visible, as screen readers skip what is hidden, but of no size: nothing shows.
  HWND window = CreateWindowExW(0, kAnnouncementClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                parent, nullptr, ModuleHandle(), nullptr);
  if (!window) throw ErrorFromWin32(GetLastError());
  return window;
}

void Announce(HWND announcement, const std::wstring& text) {
  auto* told = reinterpret_cast<Told*>(GetWindowLongPtrW(announcement, GWLP_USERDATA));
  if (told) {
    *told = Told{text, ROLE_SYSTEM_ALERT};
  } else {
    told = new Told{text, ROLE_SYSTEM_ALERT};
    SetWindowLongPtrW(announcement, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(told));
  }
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, announcement, OBJID_CLIENT, CHILDID_SELF);
  NotifyWinEvent(EVENT_SYSTEM_ALERT, announcement, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace windlock::win32
