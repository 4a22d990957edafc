// Work asked for inside nested handlers waits until the outermost one has ended, and runs once,
// in order, when the message loop is woken for it.
#include "platform/HandlerNesting.h"

#include <gtest/gtest.h>

#include <string>

using namespace platform;

namespace {

class HandlerNesting : public ::testing::Test {
 protected:
  void SetUp() override {
    SetWakeUp([this] { ++wakeUps; });
  }
  void TearDown() override {
    DropWaitingWork();
    SetWakeUp(nullptr);
  }
  std::function<void()> Note(const char* text) {
    return [this, text] { log += text; };
  }

  int wakeUps = 0;
  std::string log;
};

}  // namespace

TEST_F(HandlerNesting, WorkWaitsForTheOutermostHandlerAndRunsInOrderWhenWoken) {
  // Outside handlers it runs at once.
  RunOutsideHandlers(Note("0"));
  EXPECT_EQ(log, "0");
  log.clear();
  {
    HandlerScope outer;
    RunOutsideHandlers(Note("a"));
    {
      HandlerScope inner;
      RunOutsideHandlers(Note("b"));
      // A wake-up delivered by a nested loop leaves the work waiting.
      RunWaitingWork();
    }
    EXPECT_EQ(wakeUps, 0);
    EXPECT_EQ(log, "");
  }
  EXPECT_EQ(wakeUps, 1);
  EXPECT_EQ(log, "");
  RunWaitingWork();
  EXPECT_EQ(log, "ab");
  // Nothing is left to run twice.
  RunWaitingWork();
  EXPECT_EQ(log, "ab");
}

TEST_F(HandlerNesting, WorkArrivingWhileWaitingWorkRunsWaitsForItAndRunsInTheSameTurn) {
  {
    HandlerScope handler;
    RunOutsideHandlers([this] {
      log += "a";
      // As if a message box of this work received another request.
      RunOutsideHandlers(Note("c"));
      log += "b";
    });
  }
  RunWaitingWork();
  EXPECT_EQ(log, "abc");
  EXPECT_EQ(wakeUps, 1);
}

TEST_F(HandlerNesting, WorkWaitsWithoutAWakeUpUntilTheLoopRunsIt) {
  SetWakeUp(nullptr);  // before the main window exists
  { HandlerScope handler; RunOutsideHandlers(Note("x")); }
  RunWaitingWork();
  EXPECT_EQ(log, "x");
}

TEST_F(HandlerNesting, WorkAskedForOutsideHandlersWaitsBehindWorkStillWaitingForItsWakeUp) {
  // As at start: the window's creation queues the opening of files, and a second start's
  // hand-over arrives, outside any handler, before the wake-up is taken from the queue.
  { HandlerScope creation; RunOutsideHandlers(Note("files")); }
  RunOutsideHandlers(Note(" hand-over"));
  EXPECT_EQ(log, "");
  EXPECT_EQ(wakeUps, 2);
  RunWaitingWork();
  EXPECT_EQ(log, "files hand-over");
}
