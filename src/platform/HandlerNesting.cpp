// Nesting of the program's message handlers, and the work that waits until none of them runs.
// One thread runs every handler, so plain counters suffice.
#include "platform/HandlerNesting.h"

#include <deque>
#include <utility>

namespace platform {
namespace {

int depth = 0;                                // handler scopes alive
bool draining = false;                        // RunWaitingWork is running the queue
std::deque<std::function<void()>> waiting;    // in the order it came
std::function<void()> wakeUpCall;

// Clears the draining flag however the work ends.
struct DrainingMark {
  DrainingMark() { draining = true; }
  ~DrainingMark() { draining = false; }
};

}  // namespace

HandlerScope::HandlerScope() { ++depth; }

HandlerScope::~HandlerScope() {
  // The queue is being run already: RunWaitingWork takes what came meanwhile.
  if (--depth == 0 && !waiting.empty() && !draining && wakeUpCall) wakeUpCall();
}

bool InsideHandler() { return depth > 0; }

void RunOutsideHandlers(std::function<void()> work) {
  if (!work) return;
  if (depth > 0 || draining) {
    waiting.push_back(std::move(work));
    return;
  }
  // Work that came earlier and waits for its wake-up goes first: this waits behind it.
  if (!waiting.empty()) {
    waiting.push_back(std::move(work));
    if (wakeUpCall) wakeUpCall();
    return;
  }
  HandlerScope scope;
  work();
}

void SetWakeUp(std::function<void()> wakeUp) { wakeUpCall = std::move(wakeUp); }

void RunWaitingWork() {
  if (depth > 0 || draining) return;
  DrainingMark mark;
  while (!waiting.empty()) {
    std::function<void()> work = std::move(waiting.front());
    waiting.pop_front();
    HandlerScope scope;
    work();
  }
}

void DropWaitingWork() { waiting.clear(); }

}  // namespace platform
