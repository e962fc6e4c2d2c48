#include "EventBroker.h"

#include <algorithm>

#include "DCEventSink.h"

namespace {
EventBroker* gCurrentBroker = nullptr;

bool ValidChannel(int channel) { return channel >= 0 && channel < EventBroker::kChannelCount; }
}  // namespace

EventBroker::EventBroker() : previous_(gCurrentBroker) { gCurrentBroker = this; }

EventBroker::~EventBroker() {
  // Sinks that outlive the broker must not call back into it.
  for (DCEventSink* sink : attached_) sink->broker_ = nullptr;
  if (gCurrentBroker == this) gCurrentBroker = previous_;
}

EventBroker* EventBroker::Current() { return gCurrentBroker; }

void EventBroker::Attach(DCEventSink* sink) { attached_.push_back(sink); }

void EventBroker::Detach(DCEventSink* sink) {
  Unsubscribe(sink);
  attached_.erase(std::remove(attached_.begin(), attached_.end(), sink), attached_.end());
}

void EventBroker::Subscribe(DCEventSink* sink, const BrokerRecord& record) {
  if (!sink || !ValidChannel(record.channel)) return;
  auto& list = channels_[record.channel];
  if (std::find(list.begin(), list.end(), sink) == list.end()) list.push_back(sink);
}

void EventBroker::Unsubscribe(DCEventSink* sink) {
  if (!sink) return;
  for (auto& list : channels_) {
    auto it = std::find(list.begin(), list.end(), sink);
    if (it == list.end()) continue;
    if (posting_ > 0)
      *it = nullptr;
    else
      list.erase(it);
  }
}

void EventBroker::Post(const BrokerRecord& record) {
  if (!ValidChannel(record.channel)) return;
  auto& list = channels_[record.channel];
  ++posting_;
  // Sinks subscribed during this post get the next event, not this one.
  const std::size_t end = list.size();
  for (std::size_t i = 0; i < end; ++i) {
    if (DCEventSink* sink = list[i]) sink->HandleEvent(record);
  }
  if (--posting_ == 0) Sweep();
}

void EventBroker::Sweep() {
  for (auto& list : channels_) list.erase(std::remove(list.begin(), list.end(), nullptr), list.end());
}

bool EventBroker::IsSubscribed(const DCEventSink* sink, int channel) const {
  if (!ValidChannel(channel)) return false;
  const auto& list = channels_[channel];
  return std::find(list.begin(), list.end(), sink) != list.end();
}

int EventBroker::SinkCount(int channel) const {
  if (!ValidChannel(channel)) return 0;
  const auto& list = channels_[channel];
  return int(std::count_if(list.begin(), list.end(), [](const DCEventSink* s) { return s != nullptr; }));
}
