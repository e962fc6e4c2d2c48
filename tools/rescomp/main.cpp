// rescomp: compiles resource source files (.vlr) into C++ source holding the resources, or
// into a resource fork file.
//
//   rescomp --cpp out.cpp --symbol Name in.vlr...   C++ source defining Name (see Compiler.h)
//   rescomp --fork out.rsrc in.vlr...               a file in the classic resource-fork layout
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Compiler.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: rescomp --cpp out.cpp --symbol Name in.vlr...\n"
               "       rescomp --fork out.rsrc in.vlr...\n");
  return 2;
}

bool WriteFile(const std::string& path, const void* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), std::streamsize(size));
  out.close();
  return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
  std::string cppPath, forkPath, symbol;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if ((arg == "--cpp" || arg == "--fork" || arg == "--symbol") && i + 1 < argc) {
      (arg == "--cpp" ? cppPath : arg == "--fork" ? forkPath : symbol) = argv[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage();
    } else {
      inputs.push_back(arg);
    }
  }
  if (inputs.empty() || cppPath.empty() == forkPath.empty() || (!cppPath.empty() && symbol.empty()))
    return Usage();

  std::vector<vlres::ResourceData> resources;
  std::string error;
  if (!rescomp::CompileFiles(inputs, &resources, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  if (!cppPath.empty()) {
    std::string text = rescomp::EmitCpp(resources, symbol);
    if (!WriteFile(cppPath, text.data(), text.size())) {
      std::fprintf(stderr, "%s: cannot write the file\n", cppPath.c_str());
      return 1;
    }
    return 0;
  }
  std::vector<unsigned char> fork;
  if (vlres::WriteResourceFork(resources, &fork) != noErr) {
    std::fprintf(stderr, "%s: the resources do not fit a resource fork\n", forkPath.c_str());
    return 1;
  }
  if (!WriteFile(forkPath, fork.data(), fork.size())) {
    std::fprintf(stderr, "%s: cannot write the file\n", forkPath.c_str());
    return 1;
  }
  return 0;
}
