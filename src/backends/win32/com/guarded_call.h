#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace windlock::win32 {

// Whether what a call from Windows did may have changed the core, whose forms the windows then
// show. A form window's own messages reach the core only through the form's handlers, which ask
// for that themselves; asking after every paint or mouse move would keep the view busy.
enum class AfterCall { kShowChanges, kNothing };

namespace guarded_call_detail {
HRESULT Run(HRESULT (*body)(void*), void* context, AfterCall after) noexcept;
}  // namespace guarded_call_detail

// The one way Windows calls into the DLL: COM methods, window, subclass and hook procedures,
// timer and sound callbacks, the class factory. The body's Error becomes its HRESULT, a failed
// allocation E_OUTOFMEMORY; a body that returns nothing succeeds with S_OK. While it runs, the
// call is counted on the thread's stack, so that an object let go meanwhile (the browser
// releasing the bar from inside the capture alert's message loop) is destroyed only when the
// outermost call has returned; the form windows are brought up to date afterwards.
template <class Body>
HRESULT GuardedCall(Body&& body, AfterCall after = AfterCall::kShowChanges) noexcept {
  using Callable = std::remove_reference_t<Body>;
  return guarded_call_detail::Run(
      [](void* context) -> HRESULT {
        Callable& run = *static_cast<Callable*>(context);
        if constexpr (std::is_void_v<std::invoke_result_t<Callable&>>) {
          run();
          return S_OK;
        } else {
          return run();
        }
      },
      const_cast<void*>(static_cast<const void*>(std::addressof(body))), after);
}

// A window procedure's guarded body: what it answers, or `fallback` (the message's default
// answer) when it failed.
template <class Body>
LRESULT GuardedMessage(Body&& body, LRESULT fallback,
                       AfterCall after = AfterCall::kShowChanges) noexcept {
  LRESULT answer = fallback;
  GuardedCall([&] { answer = body(); }, after);
  return answer;
}

// Runs destroy(object) now, or when the thread's outermost guarded call ends if one is on its
// stack.
void DestroyWhenCallsEnd(void* object, void (*destroy)(void*)) noexcept;

// Lets go of `owned` so: a caller further up the stack may still be using it (the core inside a
// page's script call when that script re-entered the DLL and the object was replaced).
template <class T>
void DeleteWhenCallsEnd(std::unique_ptr<T> owned) noexcept {
  if (owned)
    DestroyWhenCallsEnd(owned.release(), [](void* object) { delete static_cast<T*>(object); });
}

// What brings the windows up to date after a call (the form views set it).
void SetShowChanges(void (*show_changes)() noexcept) noexcept;

}  // namespace windlock::win32
