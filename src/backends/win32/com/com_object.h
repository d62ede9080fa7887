#pragma once

#include <windows.h>

#include <unknwn.h>

#include <utility>

#include "backends/win32/com/com_ptr.h"
#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/module_lock.h"

namespace windlock::win32 {

// An interface a COM object derives from, and the further interfaces QueryInterface answers
// with the same pointer: the ones it extends (IDeskBand for IDockingWindow and IOleWindow), or
// a dispinterface it serves through IDispatch.
template <class Interface, class... AlsoAnswers>
struct Implements {
  using Base = Interface;
  static bool Answers(REFIID iid) noexcept {
    return iid == __uuidof(Interface) || ((iid == __uuidof(AlsoAnswers)) || ...);
  }
};

namespace com_object_detail {

template <class Entry>
struct EntryOf {
  using Type = Implements<Entry>;
};
template <class Interface, class... AlsoAnswers>
struct EntryOf<Implements<Interface, AlsoAnswers...>> {
  using Type = Implements<Interface, AlsoAnswers...>;
};
template <class Entry>
using EntryFor = typename EntryOf<Entry>::Type;

template <class First, class...>
struct FirstOf {
  using Type = First;
};

}  // namespace com_object_detail

// IUnknown, written once for every COM object: `Entries` are the interfaces it derives from
// (each a plain interface or an Implements<...>), the first of them its identity and the answer
// to IUnknown. The reference count starts at one, held by what Make returns; the last Release
// deletes the object (once the calls into the core on the thread's stack are done), whose
// destructor is protected so that nothing else can. While the object lives it holds the module
// loaded.
template <class Derived, class... Entries>
class ComObject : public com_object_detail::EntryFor<Entries>::Base... {
  using IdentityBase = typename com_object_detail::EntryFor<
      typename com_object_detail::FirstOf<Entries...>::Type>::Base;

 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  template <class... Args>
  static ComPtr<Derived> Make(Args&&... args) {
    return ComPtr<Derived>::Adopt(new Derived(std::forward<Args>(args)...));
  }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) noexcept override {
    return GuardedCall(
        [&] {
          if (!object) return E_POINTER;
          *object = nullptr;
          if (iid == IID_IUnknown) {
            *object = identity();
          } else {
            (Offer<Entries>(iid, object) || ...);
          }
          if (!*object) return E_NOINTERFACE;
          AddRef();
          return S_OK;
        },
        AfterCall::kNothing);
  }
  STDMETHODIMP_(ULONG) AddRef() noexcept override { return InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() noexcept override {
    ULONG left = InterlockedDecrement(&references_);
    if (left == 0) Destroy();
    return left;
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

  // The last reference is gone: deletes the object once the calls on the thread's stack are done.
  virtual void Destroy() noexcept {
    DestroyWhenCallsEnd(this, [](void* object) { delete static_cast<ComObject*>(object); });
  }

  // The pointer that stands for the object (what QueryInterface gives for IUnknown).
  IUnknown* identity() noexcept { return static_cast<IdentityBase*>(this); }

 private:
  template <class Entry>
  bool Offer(REFIID iid, void** object) noexcept {
    using Answer = com_object_detail::EntryFor<Entry>;
    if (!Answer::Answers(iid)) return false;
    *object = static_cast<typename Answer::Base*>(this);
    return true;
  }

  LONG references_ = 1;
  ModuleReference module_;
};

}  // namespace windlock::win32
