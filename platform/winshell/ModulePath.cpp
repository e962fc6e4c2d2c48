#include "ModulePath.h"

#include <cstring>
#include <string>

#include "Folders.h"

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  if (module || !buffer || size == 0) return 0;
  std::string path = vlfiles::ProgramPath();
  if (path.size() < size) {
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return DWORD(path.size());
  }
  std::memcpy(buffer, path.data(), size - 1);
  buffer[size - 1] = 0;
  return size;
}
