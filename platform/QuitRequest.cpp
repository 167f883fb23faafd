#include "platform/QuitRequest.h"

#include <atomic>

namespace pw {

namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

}  // namespace

void NoteQuitRequest() { requested.store(true); }

bool QuitRequested() { return requested.load(); }

}  // namespace pw
