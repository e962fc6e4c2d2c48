#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "DCEventSink.h"
#include "DCObserver.h"
#include "DCSubject.h"
#include "EventBroker.h"

namespace {

struct Sink : DCEventSink {
  Sink() = default;
  explicit Sink(EventBroker* b) : DCEventSink(b) {}
  std::vector<int> got;
  std::function<void()> onEvent;
  void HandleEvent(const BrokerRecord& r) override {
    got.push_back(r.channel);
    if (onEvent) onEvent();
  }
};

PaletteEvent Palette() { return PaletteEvent{}; }

}  // namespace

TEST(EventBroker, DeliversOnceToEachSinkOfTheChannelOnly) {
  EventBroker broker;
  Sink a(&broker), b(&broker), c(&broker);
  broker.Subscribe(&a, Palette());
  broker.Subscribe(&a, Palette());  // twice: still once
  broker.Subscribe(&b, SceneClickEvent{});
  broker.Subscribe(&c, Palette());
  broker.Subscribe(nullptr, Palette());
  broker.Post(Palette());
  EXPECT_EQ(a.got, std::vector<int>{2});
  EXPECT_TRUE(b.got.empty());
  EXPECT_EQ(c.got, std::vector<int>{2});
  BrokerRecord empty;
  empty.channel = 0;
  broker.Post(empty);  // no sinks: nothing
  BrokerRecord bad;
  bad.channel = 7;
  broker.Post(bad);  // unknown channel: nothing
  broker.Subscribe(&a, bad);
  EXPECT_EQ(a.got.size(), 1u);
}

TEST(EventBroker, OneUnsubscribeLeavesEveryChannel) {
  EventBroker broker;
  Sink a(&broker);
  broker.Subscribe(&a, SceneClickEvent{});
  broker.Subscribe(&a, PanelEvent{});
  broker.Unsubscribe(&a);
  EXPECT_FALSE(broker.IsSubscribed(&a, 1));
  EXPECT_FALSE(broker.IsSubscribed(&a, 2));
  broker.Unsubscribe(nullptr);
}

TEST(EventBroker, HandlersMayUnsubscribeOrDestroySinksWhilePosting) {
  EventBroker broker;
  Sink a(&broker), b(&broker);
  auto* c = new Sink(&broker);
  Sink d(&broker);
  for (DCEventSink* s : std::initializer_list<DCEventSink*>{&a, &b, c, &d}) broker.Subscribe(s, Palette());
  // a removes itself and destroys c (not yet reached); b must still get the event, d too.
  a.onEvent = [&] {
    broker.Unsubscribe(&a);
    delete c;
    c = nullptr;
  };
  Sink late(&broker);
  b.onEvent = [&] { broker.Subscribe(&late, Palette()); };  // joins for the next event
  broker.Post(Palette());
  EXPECT_EQ(a.got.size(), 1u);
  EXPECT_EQ(b.got.size(), 1u);
  EXPECT_EQ(d.got.size(), 1u);
  EXPECT_TRUE(late.got.empty());
  EXPECT_EQ(broker.SinkCount(2), 3);
  broker.Post(Palette());
  EXPECT_EQ(a.got.size(), 1u);
  EXPECT_EQ(late.got.size(), 1u);
}

TEST(EventBroker, SinksMayOutliveTheBroker) {
  auto* broker = new EventBroker;
  EXPECT_EQ(EventBroker::Current(), broker);
  Sink a(broker);
  Sink taken;  // takes the current broker
  EXPECT_EQ(taken.Broker(), broker);
  broker->Subscribe(&a, Palette());
  delete broker;
  EXPECT_EQ(a.Broker(), nullptr);
  EXPECT_EQ(EventBroker::Current(), nullptr);
}

namespace {
struct Watcher : DCObserver {
  std::vector<DCSubject*> updates;
  std::function<void()> onUpdate;
  void Update(DCSubject* s) override {
    updates.push_back(s);
    if (onUpdate) onUpdate();
  }
};
}  // namespace

TEST(Observers, UpdateNamesTheSubjectThatChanged) {
  DCSubject s1, s2;
  Watcher w;
  w.Observe(&s1);
  w.Observe(&s2);
  w.Observe(&s2);
  EXPECT_EQ(s2.ObserverCount(), 1);
  s2.Notify();
  ASSERT_EQ(w.updates.size(), 1u);
  EXPECT_EQ(w.updates[0], &s2);
}

TEST(Observers, EitherSideMayGoFirst) {
  {
    auto* s = new DCSubject;
    Watcher w;
    w.Observe(s);
    delete s;
    EXPECT_EQ(w.SubjectCount(), 0);
  }
  {
    DCSubject s;
    auto* w = new Watcher;
    w->Observe(&s);
    delete w;
    EXPECT_EQ(s.ObserverCount(), 0);
    s.Notify();
  }
}

TEST(Observers, AnUpdateMayDestroyObserversOrTheSubject) {
  auto* s = new DCSubject;
  Watcher a;
  auto* b = new Watcher;
  Watcher c;
  a.Observe(s);
  b->Observe(s);
  c.Observe(s);
  a.onUpdate = [&] {
    delete b;
    b = nullptr;
  };
  s->Notify();
  EXPECT_EQ(c.updates.size(), 1u);
  EXPECT_EQ(s->ObserverCount(), 2);
  c.onUpdate = [&] {
    delete s;
    s = nullptr;
  };
  a.onUpdate = nullptr;
  s->Notify();
  EXPECT_EQ(s, nullptr);
  EXPECT_EQ(a.SubjectCount(), 0);
}
