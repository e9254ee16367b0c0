#include "runtime/emulation/timer_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_event_source.h"

namespace tolvenar {
namespace {

using std::chrono::milliseconds;

struct Pump {
  testing::FakeEventSource source;
  TimerQueue timers;
  std::vector<std::string> log;
  std::function<void(int)> on_tick;

  void Pass(int at_ms) {
    source.now = milliseconds(at_ms);
    RunEventPass(source, timers, [this](int id) {
      log.push_back("tick " + std::to_string(id));
      if (on_tick) on_tick(id);
    });
  }
};

TEST(TimerQueue, LateTicksMergeAndTheNextComesAWholePeriodLater) {
  Pump pump;
  pump.timers.Start(1, 200, milliseconds(0));
  pump.Pass(199);
  EXPECT_TRUE(pump.log.empty());
  pump.Pass(1050);  // five periods late: one tick
  EXPECT_EQ(pump.log, (std::vector<std::string>{"tick 1"}));
  pump.Pass(1100);  // no burst to catch up
  pump.Pass(1249);
  EXPECT_EQ(pump.log.size(), 1u);
  pump.Pass(1250);
  EXPECT_EQ(pump.log.size(), 2u);
  EXPECT_EQ(pump.timers.NextDue(), milliseconds(1450));
}

TEST(TimerQueue, EventsWaitingGoFirstAndAStopInAPassHoldsTheOtherTick) {
  Pump pump;
  pump.timers.Start(1, 100, milliseconds(0));
  pump.timers.Start(2, 100, milliseconds(0));
  pump.source.waiting.push_back([&pump] { pump.log.push_back("key"); });
  pump.on_tick = [&pump](int id) {
    if (id == 1) pump.timers.Stop(2);
  };
  pump.Pass(500);
  EXPECT_EQ(pump.log, (std::vector<std::string>{"key", "tick 1"}));
  pump.Pass(1000);
  EXPECT_EQ(pump.log.back(), "tick 1");
}

TEST(TimerQueue, AnEventArrivingDuringATickRunsBeforeTheNextTick) {
  Pump pump;
  pump.timers.Start(1, 100, milliseconds(0));
  pump.timers.Start(2, 100, milliseconds(0));
  pump.on_tick = [&pump](int id) {
    if (id == 1) pump.source.waiting.push_back([&pump] { pump.log.push_back("close"); });
  };
  pump.Pass(100);
  EXPECT_EQ(pump.log, (std::vector<std::string>{"tick 1", "close", "tick 2"}));
}

TEST(TimerQueue, ANestedPassTicksEachTimerOnceInAll) {
  Pump pump;
  pump.timers.Start(1, 100, milliseconds(0));
  pump.timers.Start(2, 100, milliseconds(0));
  bool nested = false;
  pump.on_tick = [&](int id) {
    if (id != 1 || nested) return;
    nested = true;
    pump.Pass(100);
  };
  pump.Pass(100);
  EXPECT_EQ(pump.log, (std::vector<std::string>{"tick 1", "tick 2"}));
}

TEST(TimerQueue, ASlowHandlerTicksOncePerPassAndShortPeriodsAreRaised) {
  Pump pump;
  pump.timers.Start(1, 0, milliseconds(0));  // raised to the minimum
  pump.on_tick = [&pump](int) { pump.source.now += milliseconds(50); };
  pump.Pass(TimerQueue::kMinimumIntervalMs - 1);
  EXPECT_TRUE(pump.log.empty());
  pump.Pass(TimerQueue::kMinimumIntervalMs);
  EXPECT_EQ(pump.log.size(), 1u);
  pump.timers.StopAll();
  pump.Pass(100000);
  EXPECT_EQ(pump.log.size(), 1u);
  EXPECT_FALSE(pump.timers.NextDue());
}

// Waiting for the next frame: the timers tick on time meanwhile, and an event that ends the run
// (the window closed) ends the wait at once.
TEST(TimerQueue, EventsUntilATimeTickOnTimeAndEndWithTheRun) {
  const struct {
    const char* what;
    int key_at_ms;  // 0: none
    std::vector<std::string> log;
    std::vector<TimerTime> waits;
    TimerTime returned_at;
  } cases[] = {
      {"no input",
       0,
       {"tick 1", "tick 1"},
       {milliseconds(200), milliseconds(400), milliseconds(500)},
       milliseconds(500)},
      {"a key that closes",
       250,
       {"tick 1", "key"},
       {milliseconds(200), milliseconds(400)},
       milliseconds(250)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Pump pump;
    bool closed = false;
    pump.timers.Start(1, 200, milliseconds(0));
    if (c.key_at_ms) {
      pump.source.arriving.emplace(milliseconds(c.key_at_ms), [&] {
        pump.log.push_back("key");
        closed = true;
      });
    }
    RunEventsUntil(
        pump.source, pump.timers,
        [&pump](int id) { pump.log.push_back("tick " + std::to_string(id)); }, milliseconds(500),
        [&closed] { return closed; });
    EXPECT_EQ(pump.log, c.log);
    EXPECT_EQ(pump.source.waits, c.waits);
    EXPECT_EQ(pump.source.now, c.returned_at);
  }
}

}  // namespace
}  // namespace tolvenar
