// Nesting of the program's message handlers, and the work that waits until none of them runs.
#pragma once

#include <functional>

namespace platform {

// Marks a message handler of the program as running while it lives. A handler that shows a
// message box, a dialog or a menu, or waits for a gesture, runs a nested message loop, and the
// messages other programs send arrive inside it. What they ask for must not change the
// documents under the handlers that are still on the stack, so it waits (RunOutsideHandlers).
class HandlerScope {
 public:
  HandlerScope();
  ~HandlerScope();
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;
};

// True while a handler scope lives.
bool InsideHandler();

// Runs work at once, inside a handler scope of its own, when no handler runs and no earlier work
// waits; otherwise keeps it until the outermost handler has ended and the earlier work has run.
// Kept work runs in the order it came.
void RunOutsideHandlers(std::function<void()> work);

// What is called when the outermost handler ends while work waits: it arranges for
// RunWaitingWork to be called from the message loop (the main window posts itself a message).
void SetWakeUp(std::function<void()> wakeUp);

// Runs the waiting work, each piece in a handler scope of its own, including work that arrives
// meanwhile. Does nothing while a handler runs: a nested loop delivered the wake-up, and the
// end of the handler that runs that loop wakes again.
void RunWaitingWork();

// Forgets the waiting work, for a window that is going away.
void DropWaitingWork();

}  // namespace platform
