// Helpers shared by the resource tests: whole-file access and resources built by hand.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Memory.h"
#include "Resources.h"
#include "TempFolder.h"

namespace restest {

using Bytes = std::vector<unsigned char>;

inline Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  std::string text = s.str();
  return Bytes(text.begin(), text.end());
}

inline void WriteAll(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline void WriteAll(const std::string& path, const std::string& text) {
  WriteAll(path, Bytes(text.begin(), text.end()));
}

inline vlres::ResourceData Resource(ResType type, SInt16 id, const std::string& bytes,
                                    const std::string& name = "") {
  vlres::ResourceData r;
  r.type = type;
  r.id = id;
  r.name = name;
  r.bytes.assign(bytes.begin(), bytes.end());
  return r;
}

// A 'STR#' holding the given strings.
inline std::string StringList(const std::vector<std::string>& strings) {
  std::string out;
  out += char(strings.size() >> 8);
  out += char(strings.size() & 0xFF);
  for (const std::string& s : strings) {
    out += char(s.size());
    out += s;
  }
  return out;
}

inline std::string ListString(SInt16 list, SInt16 item) {
  unsigned char buffer[256] = {};
  PortGetListString(buffer, list, item);
  return std::string(reinterpret_cast<const char*>(buffer + 1), buffer[0]);
}

inline std::string HandleText(Handle h) {
  return h ? std::string(*h, std::size_t(PortHandleSize(h))) : std::string();
}

// Every test starts and ends with an empty chain.
class ChainTest : public ::testing::Test {
 protected:
  void SetUp() override { vlres::ResetResourceChain(); }
  void TearDown() override { vlres::ResetResourceChain(); }
};

}  // namespace restest
