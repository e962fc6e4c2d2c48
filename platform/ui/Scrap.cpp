// The scrap and the system's text clipboard.
#include "Scrap.h"

#include <cstring>
#include <map>

#include "Memory.h"
#include "PString.h"

namespace {

std::map<ResType, std::string> gScrap;
SInt16 gCount = 0;
vlui::ClipboardHost* gHost = nullptr;
UInt32 gHostSeen = 0;
bool gHostSeenValid = false;

constexpr ResType kText = FourCC("TEXT");

// Mac Roman with carriage returns <-> UTF-8 with line feeds (a CR LF pair is one line end).
std::string ToSystem(const std::string& mac) {
  std::string lf;
  lf.reserve(mac.size());
  for (char c : mac) lf += c == '\r' ? '\n' : c;
  return MacRomanToUtf8(lf);
}

std::string FromSystem(const std::string& utf8) {
  std::string mac = Utf8ToMacRoman(utf8), out;
  out.reserve(mac.size());
  for (std::size_t i = 0; i < mac.size(); ++i) {
    if (mac[i] == '\r' && i + 1 < mac.size() && mac[i + 1] == '\n') continue;
    out += mac[i] == '\n' ? '\r' : mac[i];
  }
  return out;
}

// Takes the system clipboard's text when it changed outside the program.
void PullFromHost() {
  if (!gHost) return;
  UInt32 count = gHost->ChangeCount();
  if (gHostSeenValid && count == gHostSeen) return;
  gHostSeen = count;
  gHostSeenValid = true;
  std::string text;
  if (!gHost->GetText(&text)) return;
  std::string mac = FromSystem(text);
  auto it = gScrap.find(kText);
  if (it != gScrap.end() && it->second == mac) return;
  gScrap.clear();
  gScrap[kText] = mac;
  ++gCount;
}

}  // namespace

OSErr PortZeroScrap() {
  gScrap.clear();
  ++gCount;
  return noErr;
}

OSErr PortPutScrap(SInt32 length, ResType type, const void* source) {
  if (length < 0 || (length > 0 && !source)) return paramErr;
  gScrap[type] = std::string(static_cast<const char*>(source), std::size_t(length));
  ++gCount;
  if (type == kText && gHost) {
    gHost->SetText(ToSystem(gScrap[type]));
    gHostSeen = gHost->ChangeCount();
    gHostSeenValid = true;
  }
  return noErr;
}

SInt32 PortGetScrap(Handle destination, ResType type, SInt32* offset) {
  if (type == kText) PullFromHost();
  auto it = gScrap.find(type);
  if (offset) *offset = 0;
  if (it == gScrap.end()) return noTypeErr;
  SInt32 length = SInt32(it->second.size());
  if (destination) {
    PortResizeHandle(destination, length);
    if (PortMemError() != noErr) return PortMemError();
    if (length) std::memcpy(*destination, it->second.data(), std::size_t(length));
  }
  return length;
}

SInt16 PortScrapCount() {
  PullFromHost();
  return gCount;
}

void PortClipboardChanged() {
  gHostSeenValid = false;
  PullFromHost();
}

namespace vlui {

ClipboardHost* SetClipboardHost(ClipboardHost* host) {
  ClipboardHost* old = gHost;
  gHost = host;
  gHostSeenValid = false;
  return old;
}

std::string ScrapTextUtf8() {
  PullFromHost();
  auto it = gScrap.find(kText);
  return it == gScrap.end() ? std::string() : ToSystem(it->second);
}

void SetScrapTextUtf8(const std::string& utf8) {
  std::string mac = FromSystem(utf8);
  PortZeroScrap();
  PortPutScrap(SInt32(mac.size()), kText, mac.data());
}

}  // namespace vlui
