// Internal to the POSIX layer: what the thread start needs from the
// synchronisation objects.
#pragma once

namespace w32 {

// Marks every mutex the calling thread still owns as abandoned and frees it,
// so that the next waiter gets WAIT_ABANDONED. Called when a thread ends.
void AbandonMutexesOfCurrentThread();

}  // namespace w32
