// Records carried by the event broker. Each begins with its channel number.
#pragma once

#include <cstdint>

struct BrokerRecord {
  std::int32_t channel = 0;
};

struct SceneClickEvent : BrokerRecord {
  std::int32_t word1 = 0;
  std::int32_t word2 = 0;
  std::int32_t value16 = 0;  // a 16-bit value kept in a word
  std::int32_t word4 = 0;
  std::int32_t word5 = 0;
  std::int32_t word6 = 0;
  SceneClickEvent() { channel = 1; }
};

// Asks for channel 1's scene clicks; laid out as a SceneClickEvent.
struct SubscribeRequest : SceneClickEvent {
  explicit SubscribeRequest(std::int32_t first = 0) {
    word1 = first;
    word5 = 0;
    word6 = 0;
  }
};

struct PanelEvent : BrokerRecord {
  std::int32_t word = 0;
  PanelEvent() { channel = 2; }
};

// word2 carries the tool index (or the icon code chosen for a scene); the sender, which no 32-bit
// word can hold here, is kept beside the words.
struct PaletteEvent : BrokerRecord {
  std::int32_t word1 = 0;
  std::int32_t word2 = 0;
  const void* sender = nullptr;
  PaletteEvent() { channel = 2; }
};
