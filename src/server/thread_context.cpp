#include "server/thread_context.h"

namespace windlock::server {
namespace {

// A plain pointer: a thread_local object with a destructor would outlive the module on a
// browser thread that unloads it.
thread_local ThreadContext* t_context = nullptr;

}  // namespace

ThreadContext& ThreadContext::Acquire() {
  if (!t_context) t_context = new ThreadContext();
  ++t_context->users_;
  return *t_context;
}

void ThreadContext::Release() {
  if (--users_ > 0) return;
  if (t_context == this) t_context = nullptr;
  delete this;
}

}  // namespace windlock::server
