// A receiver of application-wide events.
#pragma once

#include "BrokerRecords.h"

class EventBroker;

class DCEventSink {
 public:
  // Takes the application's broker (none when there is no application yet).
  DCEventSink();
  explicit DCEventSink(EventBroker* broker);
  virtual ~DCEventSink();  // unsubscribes itself from all channels
  DCEventSink(const DCEventSink&) = delete;
  DCEventSink& operator=(const DCEventSink&) = delete;

  virtual void HandleEvent(const BrokerRecord& record);

  EventBroker* Broker() const { return broker_; }

 private:
  friend class EventBroker;
  EventBroker* broker_ = nullptr;
};
