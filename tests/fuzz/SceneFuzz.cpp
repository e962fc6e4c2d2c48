// 3DMF scene files, text and binary.
#include <cstring>
#include <vector>

#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "Q3.h"

namespace vlfuzz {
namespace {

// A scene object, disposed of when it goes (the scene library's objects end with Q3Object_Dispose).
struct SceneObject {
  TQ3Object object = nullptr;
  explicit SceneObject(TQ3Object o) : object(o) {}
  SceneObject(SceneObject&& other) noexcept : object(other.object) { other.object = nullptr; }
  ~SceneObject() {
    if (object) Q3Object_Dispose(object);
  }
};

// Writes the objects to memory in the mode; the writer meets whatever the reader made.
void WriteBack(const std::vector<SceneObject>& objects, TQ3FileMode mode) {
  SceneObject storage(Q3MemoryStorage_New(nullptr, 0));
  SceneObject file(Q3File_New());
  Q3File_SetStorage(file.object, storage.object);
  if (Q3File_OpenWrite(file.object, mode) != kQ3Success) return;
  SceneObject view(Q3View_New());
  if (Q3View_StartWriting(view.object, file.object) == kQ3Success) {
    for (const SceneObject& o : objects) Q3Object_Submit(o.object, view.object);
    Q3View_EndWriting(view.object);
  }
  Q3File_Close(file.object);
}

Outcome ReadScene(const std::uint8_t* data, std::size_t size) {
  static const bool started = Q3Initialize() == kQ3Success;
  if (!started) return Refused("the scene library did not start");
  Q3Error_Get(nullptr);
  SceneObject storage(Q3MemoryStorage_New(data, TQ3Uns32(size)));
  SceneObject file(Q3File_New());
  Q3File_SetStorage(file.object, storage.object);
  TQ3FileMode mode = 0;
  if (Q3File_OpenRead(file.object, &mode) != kQ3Success) return Refused();
  std::vector<SceneObject> objects;
  bool refused = false;
  while (!Q3File_IsEndOfFile(file.object)) {
    TQ3Object o = Q3File_ReadObject(file.object);
    // Nothing without an error is an entry passed over (an unmatched end of a group).
    if (!o && Q3Error_Get(nullptr) != kQ3ErrorNone) {
      refused = true;
      break;
    }
    if (o) objects.emplace_back(o);
  }
  Q3File_Close(file.object);
  // What was read is duplicated and written, as a scene document does with it.
  std::vector<SceneObject> copies;
  for (const SceneObject& o : objects) copies.emplace_back(Q3Object_Duplicate(o.object));
  WriteBack(copies, mode);
  Q3Error_Get(nullptr);
  return refused ? Refused() : Accepted();
}

}  // namespace

Outcome ReadSceneText(const std::uint8_t* data, std::size_t size) {
  // Binary files have an entry of their own.
  if (size >= 4 && (std::memcmp(data, "3DMF", 4) == 0 || std::memcmp(data, "FMD3", 4) == 0)) return Accepted();
  return ReadScene(data, size);
}

Outcome ReadSceneBinary(const std::uint8_t* data, std::size_t size) {
  if (size >= 4 && (std::memcmp(data, "3DMF", 4) == 0 || std::memcmp(data, "FMD3", 4) == 0))
    return ReadScene(data, size);
  std::vector<std::uint8_t> bytes{'3', 'D', 'M', 'F'};
  bytes.insert(bytes.end(), data, data + size);
  return ReadScene(bytes.data(), bytes.size());
}

}  // namespace vlfuzz
