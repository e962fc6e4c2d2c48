// Carries application-wide events to the sinks subscribed to a channel.
#pragma once

#include <vector>

#include "BrokerRecords.h"

class DCEventSink;

class EventBroker {
 public:
  static constexpr int kChannelCount = 3;

  EventBroker();
  ~EventBroker();
  EventBroker(const EventBroker&) = delete;
  EventBroker& operator=(const EventBroker&) = delete;

  // Appends the sink to the record's channel unless it is there already; null is ignored.
  void Subscribe(DCEventSink* sink, const BrokerRecord& record);
  // Removes the sink from every channel; null is ignored.
  void Unsubscribe(DCEventSink* sink);
  // Hands the record to every sink of its channel, in subscription order.
  void Post(const BrokerRecord& record);

  bool IsSubscribed(const DCEventSink* sink, int channel) const;
  int SinkCount(int channel) const;

  // The broker the application owns; sinks take it at construction.
  static EventBroker* Current();

 private:
  friend class DCEventSink;
  void Attach(DCEventSink* sink);
  void Detach(DCEventSink* sink);
  void Sweep();

  // Removal while a post is under way leaves a null in place, swept when the outermost post ends,
  // so a handler may unsubscribe itself or any other sink without a live sink being skipped.
  std::vector<DCEventSink*> channels_[kChannelCount];
  std::vector<DCEventSink*> attached_;
  int posting_ = 0;
  EventBroker* previous_ = nullptr;
};
