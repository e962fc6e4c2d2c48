#include "FuzzEntries.h"

#include <iterator>

#include "Refusal.h"

namespace vlfuzz {

Outcome Run(Entry entry, const std::uint8_t* data, std::size_t size) {
  vlcore::ClearRefusal();
  return entry(data, size);
}

const Target* Targets(std::size_t* count) {
  static const Target targets[] = {
      {"scene_text", ReadSceneText},
      {"scene_binary", ReadSceneBinary},
      {"picture", ReadPicture},
      {"resources", ReadResources},
      {"resource_source", ReadResourceSource},
      {"document", ReadDocument},
      {"object_record", ReadObjectRecord},
      {"materials", ReadMaterials},
      {"settings_lines", ReadSettingsLines},
      {"measurements", ReadMeasurements},
      {"profile", ReadProfile},
      {"script", ReadScript},
      {"clipboard", ReadClipboard},
      {"tokens", ReadTokens},
      {"file_names", ReadFileNames},
      {"win_dialog", ReadWinDialog},
  };
  *count = std::size(targets);
  return targets;
}

}  // namespace vlfuzz
