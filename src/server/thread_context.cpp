#include "server/thread_context.h"

namespace windlock::server {
namespace {

// A plain pointer: a thread_local object with a destructor would outlive the module on a
// browser thread that unloads it.
thread_local ThreadContext* t_context = nullptr;

}  // namespace

ThreadContext::Reference::Reference() {
  if (!t_context) t_context = new ThreadContext();
  context_ = t_context;
  ++context_->references_;
}

ThreadContext::Reference::~Reference() {
  if (--context_->references_ > 0) return;
  if (t_context == context_) t_context = nullptr;
  delete context_;
}

}  // namespace windlock::server
