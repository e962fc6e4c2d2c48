// The event queue and the event source.
#include <gtest/gtest.h>

#include <vector>

#include "Events.h"
#include "Ticks.h"

namespace {

class EventQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vlclock::UseVirtualClock(true);
    vlui::ResetEvents();
    vlui::SetEventSource(nullptr);
  }
  void TearDown() override {
    vlui::SetEventSource(nullptr);
    vlui::ResetEvents();
    vlclock::UseVirtualClock(false);
  }
};

std::vector<UInt16> TakeAll(SInt16 mask) {
  std::vector<UInt16> kinds;
  EventRecord e;
  while (PortGetNextEvent(mask, &e)) kinds.push_back(e.what);
  return kinds;
}

TEST_F(EventQueueTest, EventsComeInOrderByMask) {
  vlclock::SetTicks(100);
  vlui::PostEvent(mouseDown, 0, shiftKey);
  vlui::PostEvent(keyDown, 'a' | (12 << 8), cmdKey);
  vlui::PostEvent(mouseUp, 0, 0);
  vlui::PostCommand(2001);
  EventRecord e;
  ASSERT_TRUE(PortGetNextEvent(keyDownMask, &e));
  EXPECT_EQ(e.what, keyDown);
  EXPECT_EQ(e.message & charCodeMask, UInt32('a'));
  EXPECT_EQ((e.message & keyCodeMask) >> 8, 12u);
  EXPECT_EQ(e.modifiers, cmdKey);
  EXPECT_EQ(e.when, 100u);
  ASSERT_TRUE(PortGetNextEvent(commandMask, &e));
  EXPECT_EQ(e.message, 2001u);
  EXPECT_EQ(TakeAll(everyEvent), (std::vector<UInt16>{mouseDown, mouseUp}));
}

TEST_F(EventQueueTest, NoEventGivesANullEventWithTheCurrentState) {
  vlclock::SetTicks(42);
  vlui::SetMouse(Point{10, 20});
  vlui::SetModifiers(optionKey);
  vlui::PostEvent(keyDown, 'x', 0);
  EventRecord e;
  EXPECT_FALSE(PortGetNextEvent(mDownMask, &e));
  EXPECT_EQ(e.what, nullEvent);
  EXPECT_EQ(e.when, 42u);
  EXPECT_EQ(e.where, (Point{10, 20}));
  EXPECT_EQ(e.modifiers, optionKey);
  EXPECT_EQ(vlui::PendingEventCount(), 1u);
}

TEST_F(EventQueueTest, LookingLeavesTheEventAndFlushingStopsAtTheStopMask) {
  vlui::PostEvent(keyDown, 'a', 0);
  vlui::PostEvent(mouseDown, 0, 0);
  vlui::PostEvent(keyDown, 'b', 0);
  vlui::PostEvent(mouseUp, 0, 0);
  vlui::PostEvent(keyDown, 'c', 0);
  EventRecord e;
  ASSERT_TRUE(PortEventAvail(mDownMask, &e));
  EXPECT_EQ(e.what, mouseDown);
  ASSERT_TRUE(PortPeekEvent(everyEvent, &e));
  EXPECT_EQ(e.message, UInt32('a'));
  EXPECT_EQ(vlui::PendingEventCount(), 5u);
  // Key events are discarded up to the mouse-up; the one after it stays.
  PortFlushEvents(keyDownMask, mUpMask);
  EXPECT_EQ(TakeAll(everyEvent), (std::vector<UInt16>{mouseDown, mouseUp, keyDown}));
  vlui::PostEvent(keyDown, 'a', 0);
  vlui::PostEvent(mouseDown, 0, 0);
  PortFlushEvents(everyEvent, 0);
  EXPECT_EQ(vlui::PendingEventCount(), 0u);
}

TEST_F(EventQueueTest, AFullQueueDropsItsOldestEvent) {
  for (std::size_t i = 0; i < vlui::kEventQueueCapacity + 5; ++i) vlui::PostEvent(keyDown, UInt32(i), 0);
  EXPECT_EQ(vlui::PendingEventCount(), vlui::kEventQueueCapacity);
  EventRecord e;
  PortGetNextEvent(everyEvent, &e);
  EXPECT_EQ(e.message, 5u);
}

TEST_F(EventQueueTest, TheSourceIsAskedOnlyForTheNextEventAndPolledOtherwise) {
  struct Source : vlui::EventSource {
    int refills = 0, polls = 0;
    void Refill() override {
      ++refills;
      vlui::PostEvent(keyDown, 'r', 0);
    }
    void Poll() override { ++polls; }
  } source;
  vlui::SetEventSource(&source);
  vlui::PostEvent(mouseDown, 0, 0);
  EventRecord e;
  EXPECT_FALSE(PortEventAvail(keyDownMask, &e));  // looking never pulls input
  EXPECT_TRUE(PortGetNextEvent(everyEvent, &e));
  EXPECT_EQ(source.refills, 0);  // the queue had an event
  EXPECT_TRUE(PortGetNextEvent(everyEvent, &e));
  EXPECT_EQ(e.message, UInt32('r'));
  EXPECT_EQ(source.refills, 1);
  vlui::SetButton(true);
  EXPECT_TRUE(PortButton());
  EXPECT_TRUE(PortMouseButton());
  EXPECT_EQ(source.polls, 3);
}

TEST_F(EventQueueTest, ExitToShellCarriesItsStatus) {
  try {
    PortExitToShell(3);
  } catch (const vlui::ExitToShellSignal& signal) {
    EXPECT_EQ(signal.status, 3);
  }
}

}  // namespace
