#include "Q3TestSupport.h"

#include <algorithm>

namespace q3test {

Posted& Log() {
  static Posted posted;
  return posted;
}

static void RecordError(TQ3Error first, TQ3Error last, TQ3Int32) {
  (void)first;
  Log().errors.push_back(last);
}

static void RecordWarning(TQ3Warning first, TQ3Warning last, TQ3Int32) {
  (void)first;
  Log().warnings.push_back(last);
}

void Library::SetUp() {
  ASSERT_EQ(Q3Initialize(), kQ3Success);
  Log() = Posted{};
  Q3Error_Register(RecordError, 0);
  Q3Warning_Register(RecordWarning, 0);
  Q3Error_Get(nullptr);
  Q3Warning_Get(nullptr);
}

void Library::TearDown() {
  Q3Error_Register(nullptr, 0);
  Q3Warning_Register(nullptr, 0);
  Q3Exit();
}

bool ReadObjects(const std::vector<TQ3Uns8>& bytes, std::vector<Obj>& out, TQ3FileMode* mode) {
  Obj storage(Q3MemoryStorage_New(bytes.data(), TQ3Uns32(bytes.size())));
  Obj file(Q3File_New());
  Q3File_SetStorage(file, storage);
  TQ3FileMode found = 0;
  if (Q3File_OpenRead(file, &found) != kQ3Success) return false;
  if (mode) *mode = found;
  bool ok = true;
  while (!Q3File_IsEndOfFile(file)) {
    TQ3Object o = Q3File_ReadObject(file);
    if (!o) {
      ok = false;
      break;
    }
    out.emplace_back(o);
  }
  Q3File_Close(file);
  return ok;
}

std::vector<TQ3Uns8> WriteObjects(const std::vector<TQ3Object>& objects, TQ3FileMode mode) {
  Obj storage(Q3MemoryStorage_New(nullptr, 0));
  Obj file(Q3File_New());
  Q3File_SetStorage(file, storage);
  if (Q3File_OpenWrite(file, mode) != kQ3Success) return {};
  Obj view(Q3View_New());
  bool ok = Q3View_StartWriting(view, file) == kQ3Success;
  for (TQ3Object o : objects) ok = ok && Q3Object_Submit(o, view) == kQ3Success;
  ok = Q3View_EndWriting(view) == kQ3ViewStatusDone && ok;
  ok = Q3File_Close(file) == kQ3Success && ok;
  if (!ok) return {};
  unsigned char* buffer = nullptr;
  TQ3Uns32 size = 0;
  Q3MemoryStorage_GetBuffer(storage, &buffer, &size, nullptr);
  return std::vector<TQ3Uns8>(buffer, buffer + size);
}

std::vector<TQ3Uns8> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<TQ3Uns8>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string AsText(const std::vector<TQ3Uns8>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::filesystem::path FixtureFolder() {
  std::filesystem::path folder = std::filesystem::path(VL_FIXTURES_DIR) / "3dmf";
  return std::filesystem::is_directory(folder) ? folder : std::filesystem::path();
}

std::vector<std::filesystem::path> FixtureFiles() {
  std::vector<std::filesystem::path> files;
  std::filesystem::path folder = FixtureFolder();
  if (folder.empty()) return files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
    if (e.is_regular_file() && e.path().extension() == ".3dmf") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

TQ3Uns32 CountOf(TQ3GroupObject group) {
  TQ3Uns32 n = 0;
  Q3Group_CountObjects(group, &n);
  return n;
}

Obj MemberAt(TQ3GroupObject group, TQ3Uns32 index) {
  TQ3GroupPosition pos = nullptr;
  Q3Group_GetFirstPosition(group, &pos);
  for (TQ3Uns32 i = 0; i < index && pos; ++i) Q3Group_GetNextPosition(group, &pos);
  Obj member;
  if (pos) Q3Group_GetPositionObject(group, pos, member.out());
  return member;
}

}  // namespace q3test
