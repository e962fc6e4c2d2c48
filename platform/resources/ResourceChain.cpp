// The resource chain: the application's resources at the bottom, resource files opened later
// above them, and the loaded blocks of both.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <unordered_map>

#include "ByteReader.h"
#include "FileOps.h"
#include "FilePaths.h"
#include "ForkFile.h"
#include "Memory.h"
#include "PString.h"
#include "ResourceForkFormat.h"
#include "Resources.h"
#include "SafeReplace.h"

namespace {

constexpr SInt16 kApplicationRefNum = 1;
constexpr SInt16 kFirstFileRefNum = 2;

struct ResFile;

struct Entry {
  ResFile* file = nullptr;
  ResType type = 0;
  SInt16 id = 0;
  std::string name;
  UInt8 attributes = 0;
  std::vector<unsigned char> bytes;           // contents of a file's resource
  const unsigned char* staticData = nullptr;  // contents of a compiled-in resource
  std::size_t staticSize = 0;
  Handle handle = nullptr;  // the loaded block, null when not loaded
  bool changed = false;     // the block holds changes not yet in `bytes`

  const unsigned char* Data() const { return staticData ? staticData : bytes.data(); }
  std::size_t DataSize() const { return staticData ? staticSize : bytes.size(); }
};

struct ResFile {
  SInt16 refNum = -1;
  std::string key;       // canonical path of the file, to find a file opened twice
  std::string forkPath;  // the file on disk that holds the fork
  bool appleDouble = false;
  bool writable = false;
  bool dirty = false;
  std::vector<std::unique_ptr<Entry>> entries;
};

struct Chain {
  std::vector<std::unique_ptr<ResFile>> files;  // bottom first
  SInt16 current = -1;
  OSErr error = noErr;
  std::unordered_map<Handle, Entry*> loaded;
  SInt16 nextRefNum = kFirstFileRefNum;
};

// Never destroyed: blocks may still be loaded when the program ends.
Chain& TheChain() {
  static Chain* chain = new Chain;
  return *chain;
}

OSErr SetError(OSErr err) {
  TheChain().error = err;
  return err;
}

int IndexOf(SInt16 refNum) {
  const auto& files = TheChain().files;
  for (std::size_t i = 0; i < files.size(); ++i)
    if (files[i]->refNum == refNum) return int(i);
  return -1;
}

// The entry behind a loaded block, or null.
Entry* EntryOf(Handle h) {
  if (!h) return nullptr;
  auto& loaded = TheChain().loaded;
  auto it = loaded.find(h);
  return it == loaded.end() ? nullptr : it->second;
}

// The same, setting resNotFound when the block is not a resource.
Entry* ResourceEntry(Handle h) {
  Entry* e = EntryOf(h);
  if (!e) SetError(resNotFound);
  return e;
}

void MarkResourceBlock(Handle h, bool resource) {
  if (!PortIsHandle(h)) return;
  SInt8 state = PortGetHandleState(h);
  state = SInt8(resource ? (state | kHandleResourceBit) : (state & ~kHandleResourceBit));
  PortSetHandleState(h, state);
}

// Copies the changes held in an entry's block into the entry.
void Capture(Entry* e) {
  if (!e->changed || !e->handle) return;
  if (PortIsHandle(e->handle)) {
    Size size = PortHandleSize(e->handle);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(*e->handle);
    e->bytes.assign(p, p + size);
    e->staticData = nullptr;
    e->staticSize = 0;
  }
  e->changed = false;
}

// Forgets an entry's block; frees it unless the block now belongs to the caller.
void Unload(Entry* e, bool free) {
  if (!e->handle) return;
  TheChain().loaded.erase(e->handle);
  if (PortIsHandle(e->handle)) {
    if (free)
      PortFreeHandle(e->handle);
    else
      MarkResourceBlock(e->handle, false);
  }
  e->handle = nullptr;
}

Handle Load(Entry* e) {
  if (e->handle && !PortIsHandle(e->handle)) {
    // The block was freed behind the chain's back; read the resource again.
    TheChain().loaded.erase(e->handle);
    e->handle = nullptr;
    e->changed = false;
  }
  if (!e->handle) {
    Handle h = PortHandleFromBytes(e->Data(), Size(e->DataSize()));
    if (!h) {
      SetError(memFullErr);
      return nullptr;
    }
    MarkResourceBlock(h, true);
    e->handle = h;
    TheChain().loaded[h] = e;
  }
  SetError(noErr);
  return e->handle;
}

template <typename Match>
Entry* Find(bool wholeChain, Match match) {
  Chain& chain = TheChain();
  int top = IndexOf(chain.current);
  if (top < 0) return nullptr;
  int bottom = wholeChain ? 0 : top;
  for (int i = top; i >= bottom; --i)
    for (auto& e : chain.files[std::size_t(i)]->entries)
      if (match(*e)) return e.get();
  return nullptr;
}

Handle LoadMatching(Entry* e) {
  if (!e) {
    SetError(resNotFound);
    return nullptr;
  }
  return Load(e);
}

SInt16 CountMatching(bool wholeChain, ResType type) {
  Chain& chain = TheChain();
  int top = IndexOf(chain.current);
  long count = 0;
  for (int i = top; i >= (wholeChain ? 0 : top) && i >= 0; --i)
    for (auto& e : chain.files[std::size_t(i)]->entries)
      if (e->type == type) ++count;
  SetError(noErr);
  return SInt16(count > 32767 ? 32767 : count);
}

Handle IndMatching(bool wholeChain, ResType type, SInt16 index) {
  long seen = 0;
  Entry* found = index < 1
                     ? nullptr
                     : Find(wholeChain, [&](const Entry& e) { return e.type == type && ++seen == index; });
  return LoadMatching(found);
}

std::string PStr(ConstStringPtr p) {
  return p ? std::string(reinterpret_cast<const char*>(p + 1), p[0]) : std::string();
}

void DropFile(std::size_t index) {
  Chain& chain = TheChain();
  for (auto& e : chain.files[index]->entries) Unload(e.get(), true);
  chain.files.erase(chain.files.begin() + std::ptrdiff_t(index));
}

SInt16 AllocateRefNum() {
  Chain& chain = TheChain();
  for (int tries = 0; tries < 0x8000; ++tries) {
    SInt16 ref = chain.nextRefNum;
    chain.nextRefNum = SInt16(ref >= 32767 ? kFirstFileRefNum : ref + 1);
    if (IndexOf(ref) < 0) return ref;
  }
  return -1;
}

std::string CanonicalKey(const std::string& path) {
  std::error_code ec;
  auto p = std::filesystem::weakly_canonical(std::filesystem::path(path), ec);
  return ec ? path : p.string();
}

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

bool CanWrite(const std::string& path) {
  if (Exists(path)) return access(path.c_str(), W_OK) == 0;
  std::string dir = std::filesystem::path(path).parent_path().string();
  return access(dir.empty() ? "." : dir.c_str(), W_OK) == 0;
}

// Reads the resource fork of the file at path: from its sidecar, from the file itself when it
// is an AppleDouble file or a bare fork. eofErr when the file has no resources.
OSErr ReadForkOf(const std::string& path, std::vector<unsigned char>* fork, std::string* forkPath,
                 bool* appleDouble) {
  using namespace vlres::fork;
  std::string sidecar = vlfiles::SidecarPath(path);
  std::vector<unsigned char> bytes;
  if (Exists(sidecar)) {
    if (!Exists(path)) return fnfErr;
    OSErr err = ReadFile(sidecar, kMaxForkSize, &bytes);
    if (err != noErr) return err;
    *forkPath = sidecar;
    *appleDouble = true;
    return ForkFromAppleDouble(bytes, fork);
  }
  // The file itself: only its head is read until it looks like resources.
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return errno == ENOENT || errno == ENOTDIR ? fnfErr : ioErr;
  unsigned char head[16] = {};
  std::size_t got = std::fread(head, 1, sizeof head, f);
  struct stat st {};
  bool regular = fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
  std::fclose(f);
  if (!regular) return fnfErr;
  const bool isAppleDouble = vlcore::ByteReader(head, got).U32() == vlres::format::kAppleDoubleMagic;
  if (!isAppleDouble) {
    // Check the header's parts against the file's real size before reading it whole.
    if (!LooksLikeFork(head, got, std::uint64_t(st.st_size))) return eofErr;
  }
  OSErr err = ReadFile(path, kMaxForkSize, &bytes);
  if (err != noErr) return err;
  *forkPath = path;
  *appleDouble = isAppleDouble;
  if (isAppleDouble) return ForkFromAppleDouble(bytes, fork);
  *fork = std::move(bytes);
  return noErr;
}

OSErr WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  return vlfiles::ReplaceFileBytes(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

OSErr WriteFile(ResFile* file) {
  std::vector<vlres::ResourceData> resources;
  for (auto& e : file->entries) {
    Capture(e.get());
    vlres::ResourceData r;
    r.type = e->type;
    r.id = e->id;
    r.name = e->name;
    r.attributes = e->attributes;
    r.bytes.assign(e->Data(), e->Data() + e->DataSize());
    resources.push_back(std::move(r));
  }
  std::vector<unsigned char> fork;
  OSErr err = vlres::WriteResourceFork(resources, &fork);
  if (err != noErr) return err;
  if (file->appleDouble) {
    std::vector<unsigned char> previous;
    vlres::fork::ReadFile(file->forkPath, vlres::fork::kMaxForkSize * 2, &previous);
    fork = vlres::fork::AppleDoubleWithFork(previous, fork);
  }
  err = WriteBytes(file->forkPath, fork);
  if (err == noErr) file->dirty = false;
  return err;
}

}  // namespace

// --- Loading ------------------------------------------------------------------------------

Handle PortLoadResource(ResType type, SInt16 id) {
  return LoadMatching(Find(true, [&](const Entry& e) { return e.type == type && e.id == id; }));
}

Handle PortGetResourceHere(ResType type, SInt16 id) {
  return LoadMatching(Find(false, [&](const Entry& e) { return e.type == type && e.id == id; }));
}

Handle PortGetNamedResource(ResType type, ConstStringPtr name) {
  if (!name) {
    SetError(paramErr);
    return nullptr;
  }
  return LoadMatching(Find(true, [&](const Entry& e) {
    if (e.type != type) return false;
    Str255 n(e.name);
    return PortEqualString(n, name) == 0;
  }));
}

void PortReleaseResource(Handle resource) {
  Entry* e = ResourceEntry(resource);
  if (!e) return;
  Capture(e);
  Unload(e, true);
  SetError(noErr);
}

void PortDetachResource(Handle resource) {
  Entry* e = ResourceEntry(resource);
  if (!e) return;
  Capture(e);
  Unload(e, false);
  SetError(noErr);
}

SInt16 PortCountResources(ResType type) { return CountMatching(true, type); }
SInt16 PortCountResourcesHere(ResType type) { return CountMatching(false, type); }
Handle PortGetIndResource(ResType type, SInt16 index) { return IndMatching(true, type, index); }
Handle PortGetIndResourceHere(ResType type, SInt16 index) { return IndMatching(false, type, index); }

void PortGetResInfo(Handle resource, SInt16* id, ResType* type, StringPtr name) {
  Entry* e = ResourceEntry(resource);
  if (!e) return;
  if (id) *id = e->id;
  if (type) *type = e->type;
  if (name) PStrFromStd(e->name, name);
  SetError(noErr);
}

SInt16 PortHomeResFile(Handle resource) {
  Entry* e = ResourceEntry(resource);
  if (!e) return -1;
  SetError(noErr);
  return e->file->refNum;
}

// --- Changing -----------------------------------------------------------------------------

void PortAddResource(Handle data, ResType type, SInt16 id, ConstStringPtr name) {
  Chain& chain = TheChain();
  int index = IndexOf(chain.current);
  if (!data || !PortIsHandle(data) || EntryOf(data) || index < 0) {
    SetError(addResFailed);
    return;
  }
  ResFile* file = chain.files[std::size_t(index)].get();
  if (!file->writable) {
    SetError(addResFailed);
    return;
  }
  // One resource per type and id: an older one of the same number gives way.
  auto& entries = file->entries;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i]->type == type && entries[i]->id == id) {
      Unload(entries[i].get(), true);
      entries.erase(entries.begin() + std::ptrdiff_t(i));
      break;
    }
  }
  auto e = std::make_unique<Entry>();
  e->file = file;
  e->type = type;
  e->id = id;
  e->name = PStr(name);
  e->handle = data;
  e->changed = true;
  chain.loaded[data] = e.get();
  MarkResourceBlock(data, true);
  entries.push_back(std::move(e));
  file->dirty = true;
  SetError(noErr);
}

void PortRemoveResource(Handle resource) {
  Entry* e = EntryOf(resource);
  if (!e || !e->file->writable) {
    SetError(rmvResFailed);
    return;
  }
  ResFile* file = e->file;
  Unload(e, false);
  auto& entries = file->entries;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i].get() == e) {
      entries.erase(entries.begin() + std::ptrdiff_t(i));
      break;
    }
  file->dirty = true;
  SetError(noErr);
}

void PortChangedResource(Handle resource) {
  Entry* e = ResourceEntry(resource);
  if (!e) return;
  if (!e->file->writable) {
    SetError(resAttrErr);
    return;
  }
  e->changed = true;
  e->file->dirty = true;
  SetError(noErr);
}

void PortWriteResource(Handle resource) {
  Entry* e = ResourceEntry(resource);
  if (!e) return;
  Capture(e);
  SetError(noErr);
}

OSErr PortResError() { return TheChain().error; }

void PortGetListString(StringPtr buffer, SInt16 listId, SInt16 item) {
  if (buffer) buffer[0] = 0;
  Handle h = PortLoadResource(FourCC("STR#"), listId);
  if (!h) return;
  std::vector<std::string> strings;
  if (!vlres::ReadStringList(h, &strings) || item < 1 || std::size_t(item) > strings.size()) {
    SetError(resNotFound);
    return;
  }
  if (buffer) PStrFromStd(strings[std::size_t(item) - 1], buffer);
  SetError(noErr);
}

// --- Files --------------------------------------------------------------------------------

SInt16 PortCurResFile() {
  SetError(noErr);
  return TheChain().current;
}

void PortUseResFile(SInt16 refNum) {
  if (IndexOf(refNum) < 0) {
    SetError(resFNotFound);
    return;
  }
  TheChain().current = refNum;
  SetError(noErr);
}

SInt16 PortOpenResFilePath(const char* path, SInt8 permission) {
  Chain& chain = TheChain();
  if (!path || !*path) {
    SetError(resFNotFound);
    return -1;
  }
  std::string key = CanonicalKey(path);
  for (auto& f : chain.files)
    if (f->key == key) {
      chain.current = f->refNum;
      SetError(noErr);
      return f->refNum;
    }

  std::vector<unsigned char> fork;
  auto file = std::make_unique<ResFile>();
  OSErr err = ReadForkOf(path, &fork, &file->forkPath, &file->appleDouble);
  if (err == fnfErr) err = resFNotFound;
  std::vector<vlres::ResourceData> resources;
  if (err == noErr) err = vlres::ReadResourceFork(fork.data(), fork.size(), &resources);
  if (err != noErr) {
    SetError(err);
    return -1;
  }
  const bool canWrite = CanWrite(file->forkPath);
  if (permission == kResPermWrite || permission == kResPermReadWrite) {
    if (!canWrite) {
      SetError(wrPermErr);
      return -1;
    }
    file->writable = true;
  } else {
    file->writable = permission != kResPermRead && canWrite;
  }
  SInt16 refNum = AllocateRefNum();
  if (refNum < 0) {
    SetError(memFullErr);
    return -1;
  }
  file->refNum = refNum;
  file->key = key;
  for (auto& r : resources) {
    auto e = std::make_unique<Entry>();
    e->file = file.get();
    e->type = r.type;
    e->id = r.id;
    e->name = std::move(r.name);
    e->attributes = r.attributes;
    e->bytes = std::move(r.bytes);
    file->entries.push_back(std::move(e));
  }
  chain.files.push_back(std::move(file));
  chain.current = refNum;
  SetError(noErr);
  return refNum;
}

SInt16 PortOpenResFileSpec(const FSSpec* spec, SInt8 permission) {
  std::string path = spec ? vlfiles::PathFromSpec(*spec) : std::string();
  if (path.empty()) {
    SetError(resFNotFound);
    return -1;
  }
  return PortOpenResFilePath(path.c_str(), permission);
}

SInt16 PortOpenResFileIn(SInt16 vRefNum, SInt32 dirID, ConstStringPtr name, SInt8 permission) {
  std::string path;
  OSErr err = name && name[0] ? vlfiles::ResolvePath(vRefNum, dirID, name, &path) : OSErr(bdNamErr);
  if (err != noErr) {
    SetError(err == bdNamErr ? bdNamErr : resFNotFound);
    return -1;
  }
  return PortOpenResFilePath(path.c_str(), permission);
}

void PortUpdateResFile(SInt16 refNum) {
  int index = IndexOf(refNum);
  if (index < 0) {
    SetError(resFNotFound);
    return;
  }
  ResFile* file = TheChain().files[std::size_t(index)].get();
  bool changed = file->dirty;
  for (auto& e : file->entries) changed = changed || e->changed;
  SetError(changed && file->writable && refNum != kApplicationRefNum ? WriteFile(file) : OSErr(noErr));
}

void PortCloseResFile(SInt16 refNum) {
  Chain& chain = TheChain();
  int index = IndexOf(refNum);
  if (index < 0) {
    SetError(resFNotFound);
    return;
  }
  if (refNum == kApplicationRefNum) {
    SetError(noErr);
    return;
  }
  PortUpdateResFile(refNum);
  OSErr err = PortResError();
  DropFile(std::size_t(index));
  if (chain.current == refNum) chain.current = chain.files.empty() ? -1 : chain.files.back()->refNum;
  SetError(err);
}

void PortCreateResFilePath(const char* path) {
  using namespace vlres::fork;
  if (!path || !*path) {
    SetError(bdNamErr);
    return;
  }
  std::vector<unsigned char> fork;
  std::string forkPath;
  bool appleDouble = false;
  OSErr err = ReadForkOf(path, &fork, &forkPath, &appleDouble);
  if (err == noErr || err == mapReadErr) {
    SetError(dupFNErr);
    return;
  }
  if (err != fnfErr && err != eofErr) {
    SetError(err);
    return;
  }
  if (!Exists(path)) {
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) {
      SetError(errno == ENOENT || errno == ENOTDIR ? fnfErr : errno == EACCES ? wrPermErr : ioErr);
      return;
    }
    close(fd);
  }
  std::vector<unsigned char> empty;
  vlres::WriteResourceFork({}, &empty);
  std::string sidecar = vlfiles::SidecarPath(path);
  std::vector<unsigned char> previous;
  ReadFile(sidecar, kMaxForkSize * 2, &previous);
  SetError(WriteBytes(sidecar, AppleDoubleWithFork(previous, empty)));
}

void PortCreateResFileSpec(const FSSpec* spec, OSType creator, OSType fileType) {
  std::string path = spec ? vlfiles::PathFromSpec(*spec) : std::string();
  if (path.empty()) {
    SetError(fnfErr);
    return;
  }
  // A new file gets its type and creator; an existing one keeps its own.
  if (!Exists(path)) {
    OSErr err = PortFSpCreate(spec, creator, fileType);
    if (err != noErr && err != dupFNErr) {
      SetError(err);
      return;
    }
  }
  PortCreateResFilePath(path.c_str());
}

// --- The application's resources ----------------------------------------------------------

namespace vlres {

SInt16 InstallResourceTable(const CompiledResource* table, std::size_t count) {
  Chain& chain = TheChain();
  int index = IndexOf(kApplicationRefNum);
  if (index >= 0) DropFile(std::size_t(index));
  auto file = std::make_unique<ResFile>();
  file->refNum = kApplicationRefNum;
  for (std::size_t i = 0; table && i < count; ++i) {
    auto e = std::make_unique<Entry>();
    e->file = file.get();
    e->type = table[i].type;
    e->id = table[i].id;
    e->name = PStr(table[i].name);
    e->staticData = table[i].data;
    e->staticSize = table[i].size;
    file->entries.push_back(std::move(e));
  }
  chain.files.insert(chain.files.begin(), std::move(file));
  if (IndexOf(chain.current) < 0) chain.current = chain.files.back()->refNum;
  SetError(noErr);
  return kApplicationRefNum;
}

SInt16 ApplicationResFile() { return IndexOf(kApplicationRefNum) >= 0 ? kApplicationRefNum : -1; }

void ResetResourceChain() {
  Chain& chain = TheChain();
  while (!chain.files.empty()) DropFile(chain.files.size() - 1);
  chain.loaded.clear();
  chain.current = -1;
  chain.error = noErr;
  chain.nextRefNum = kFirstFileRefNum;
}

}  // namespace vlres
