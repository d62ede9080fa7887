#include "backends/win32/call_depth.h"

#include <new>

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

}  // namespace

CallDepth::CallDepth() noexcept {
  ++t_depth;
}

CallDepth::~CallDepth() {
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

void CallDepth::DestroyWhenDone(void* object, void (*destroy)(void*)) noexcept {
  if (t_depth > 0) {
    if (auto* deferred = new (std::nothrow) Deferred{object, destroy, nullptr}) {
      (t_last ? t_last->next : t_first) = deferred;
      t_last = deferred;
      return;
    }
  }
  destroy(object);
}

}  // namespace windlock::win32
