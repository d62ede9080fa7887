#include "backends/win32/com/guarded_call.h"

#include <new>

#include "common/error.h"
#include "common/hresult.h"

namespace windlock::win32 {
namespace {

struct Deferred {
  void* object;
  void (*destroy)(void*);
  Deferred* next;
};

thread_local int t_depth = 0;
// Destroyed in the order they were let go.
thread_local Deferred* t_first = nullptr;
thread_local Deferred* t_last = nullptr;

void (*g_show_changes)() noexcept = nullptr;

void LeaveCall() noexcept {
  if (t_depth > 1) {
    --t_depth;
    return;
  }
  // Still counted as a call while the objects go: what they let go of in turn joins the list.
  while (Deferred* first = t_first) {
    t_first = first->next;
    if (!t_first) t_last = nullptr;
    first->destroy(first->object);
    delete first;
  }
  --t_depth;
}

}  // namespace

namespace guarded_call_detail {

HRESULT Run(HRESULT (*body)(void*), void* context, AfterCall after) noexcept {
  ++t_depth;
  HRESULT result = S_OK;
  try {
    result = body(context);
  } catch (const Error& error) {
    result = HResultFromError(error);
  } catch (const std::bad_alloc&) {
    result = E_OUTOFMEMORY;
  } catch (...) {
    // The core throws only Error and bad_alloc; anything else is a fault of ours (a library's
    // own exception, an index out of range). It ends this call alone, as a failure the caller
    // sees: the process is the user's browser, with pages of theirs in it, and the bar's state is
    // left as the body's own guarantees leave it.
    result = E_UNEXPECTED;
  }
  if (after == AfterCall::kShowChanges && g_show_changes) g_show_changes();
  LeaveCall();
  return result;
}

}  // namespace guarded_call_detail

void DestroyWhenCallsEnd(void* object, void (*destroy)(void*)) noexcept {
  if (t_depth > 0) {
    if (auto* deferred = new (std::nothrow) Deferred{object, destroy, nullptr}) {
      (t_last ? t_last->next : t_first) = deferred;
      t_last = deferred;
      return;
    }
  }
  destroy(object);
}

void SetShowChanges(void (*show_changes)() noexcept) noexcept {
  g_show_changes = show_changes;
}

}  // namespace windlock::win32
