#include "FileTypes.h"

#include <sys/xattr.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "ByteReader.h"

namespace vlfiles {
namespace {

constexpr int kMaxRows = 256;
constexpr const char* kTypeAttr = "user.velmora.type";
constexpr const char* kCreatorAttr = "user.velmora.creator";

std::vector<FileTypeEntry>& TypeTable() {
  static std::vector<FileTypeEntry> table;
  return table;
}
std::vector<MenuKeyEntry>& KeyTable() {
  static std::vector<MenuKeyEntry> table;
  return table;
}
std::vector<OSType>& DialogFilter() {
  static std::vector<OSType> filter;
  return filter;
}

// A zero-terminated field read without trusting the terminator.
std::string Field(const char* text, std::size_t size) { return std::string(text, strnlen(text, size)); }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x < 128 && y < 128 ? std::tolower(x) != std::tolower(y) : x != y) return false;
  }
  return true;
}

// A code is kept in its attribute as four big-endian bytes.
bool GetCode(const std::string& path, const char* attr, OSType* code) {
  unsigned char bytes[4];
  if (getxattr(path.c_str(), attr, bytes, sizeof bytes) != sizeof bytes) return false;
  *code = vlcore::ByteReader(bytes, sizeof bytes).U32();
  return true;
}

// False only when the file itself cannot be reached.
bool SetCode(const std::string& path, const char* attr, OSType code) {
  vlcore::ByteWriter bytes;
  bytes.U32(code);
  if (setxattr(path.c_str(), attr, bytes.bytes().data(), bytes.size(), 0) == 0) return true;
  return errno != ENOENT && errno != ENOTDIR;
}

}  // namespace

const std::vector<FileTypeEntry>& FileTypes() { return TypeTable(); }
const std::vector<MenuKeyEntry>& MenuKeys() { return KeyTable(); }

OSType TypeForExtension(std::string_view extension) {
  for (const FileTypeEntry& e : TypeTable())
    if (EqualNoCase(e.extension, extension)) return e.type;
  return 0;
}

std::string ExtensionForType(OSType type) {
  for (const FileTypeEntry& e : TypeTable())
    if (e.type == type) return e.extension;
  return {};
}

std::vector<OSType> TakeDialogTypeFilter() {
  std::vector<OSType> out;
  out.swap(DialogFilter());
  return out;
}

void GetTypeAndCreator(const std::string& path, OSType* type, OSType* creator) {
  OSType t = 0, c = 0;
  if (type && !GetCode(path, kTypeAttr, &t)) {
    std::size_t slash = path.rfind('/');
    std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1))
      t = TypeForExtension(std::string_view(path).substr(dot + 1));
    if (t == 0) t = kUnknownType;
  }
  if (creator && !GetCode(path, kCreatorAttr, &c)) c = kUnknownType;
  if (type) *type = t;
  if (creator) *creator = c;
}

bool SetTypeAndCreator(const std::string& path, OSType type, OSType creator) {
  if (type != 0 && !SetCode(path, kTypeAttr, type)) return false;
  if (creator != 0 && !SetCode(path, kCreatorAttr, creator)) return false;
  return true;
}

void CopyTypeAndCreator(const std::string& from, const std::string& to) {
  OSType code;
  if (GetCode(from, kTypeAttr, &code)) SetCode(to, kTypeAttr, code);
  if (GetCode(from, kCreatorAttr, &code)) SetCode(to, kCreatorAttr, code);
}

std::string TypeToText(OSType type) {
  std::string s(4, ' ');
  for (int i = 0; i < 4; ++i) {
    char c = char((type >> (24 - 8 * i)) & 0xFF);
    s[std::size_t(i)] = c == 0 ? ' ' : c;
  }
  return s;
}

}  // namespace vlfiles

void PortSetFileTypes(const FileTypeRecord* types, const MenuKeyRecord* menuKeys) {
  using namespace vlfiles;
  if (types) {
    std::vector<FileTypeEntry> table;
    for (int i = 0; i < kMaxRows && types[i].type != 0; ++i)
      table.push_back({types[i].type, Field(types[i].extension, sizeof types[i].extension),
                       Field(types[i].description, sizeof types[i].description)});
    TypeTable() = std::move(table);
  }
  if (menuKeys) {
    std::vector<MenuKeyEntry> table;
    for (int i = 0; i < kMaxRows && menuKeys[i].words[0] != 0x8000; ++i) {
      MenuKeyEntry e;
      std::memcpy(e.words, menuKeys[i].words, sizeof e.words);
      e.key = menuKeys[i].key;
      e.text = Field(menuKeys[i].text, sizeof menuKeys[i].text);
      table.push_back(std::move(e));
    }
    KeyTable() = std::move(table);
  }
}

void PortOpenFileSpec(SInt16 count, const OSType* types) {
  std::vector<OSType>& filter = vlfiles::DialogFilter();
  filter.clear();
  for (int i = 0; types && i < count; ++i) filter.push_back(types[i]);
}
