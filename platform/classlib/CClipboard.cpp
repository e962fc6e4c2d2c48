#include "CClipboard.h"

#include "CException.h"
#include "Memory.h"

CClipboard* gClipboard = nullptr;

CClipboard::~CClipboard() {
  for (const Entry& e : entries) PortFreeHandle(e.data);
  if (gClipboard == this) gClipboard = nullptr;
}

void CClipboard::IClipboard(CBureaucrat* supervisor, Boolean isVisible) {
  IBureaucrat(supervisor);
  visible = isVisible;
}

void CClipboard::EmptyScrap() {
  for (const Entry& e : entries) PortFreeHandle(e.data);
  entries.clear();
  UpdateDisplay();
}

void CClipboard::PutData(ResType type, void* data) {
  Handle copy = nullptr;
  if (data) {
    copy = static_cast<Handle>(data);
    PortDuplicateHandle(&copy);
    FailMemError();
  }
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (it->type != type) continue;
    PortFreeHandle(it->data);
    entries.erase(it);
    break;
  }
  if (copy) entries.push_back({type, copy});
  UpdateDisplay();
}

Boolean CClipboard::GetData(ResType type, void** result) {
  for (const Entry& e : entries) {
    if (e.type != type) continue;
    Handle copy = e.data;
    PortDuplicateHandle(&copy);
    FailMemError();
    if (result) *result = copy;
    else PortFreeHandle(copy);
    return true;
  }
  return false;
}

long CClipboard::DataSize(ResType type) {
  for (const Entry& e : entries)
    if (e.type == type) return long(PortHandleSize(e.data));
  return 0;
}

std::vector<ResType> CClipboard::HeldTypes() const {
  std::vector<ResType> types;
  for (const Entry& e : entries) types.push_back(e.type);
  return types;
}

void CClipboard::UpdateDisplay() {}

Boolean CClipboard::Close(Boolean) {
  visible = false;
  return true;
}
