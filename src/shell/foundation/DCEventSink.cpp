#include "DCEventSink.h"

#include "EventBroker.h"

DCEventSink::DCEventSink() : DCEventSink(EventBroker::Current()) {}

DCEventSink::DCEventSink(EventBroker* broker) : broker_(broker) {
  if (broker_) broker_->Attach(this);
}

DCEventSink::~DCEventSink() {
  if (broker_) broker_->Detach(this);
}

void DCEventSink::HandleEvent(const BrokerRecord&) {}
