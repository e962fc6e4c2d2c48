// The open and save file dialogs.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "AlertSink.h"
#include "Alerts.h"
#include "Events.h"
#include "FilePaths.h"
#include "FileTypes.h"
#include "PString.h"
#include "Screen.h"
#include "StandardFile.h"
#include "UiInternal.h"

namespace fs = std::filesystem;

namespace vlui {
namespace {

using namespace internal;

StandardDialogAnswerer gAnswerer;

// Items of the dialogs.
enum : SInt16 {
  kOkItem = 1,
  kCancelItem = 2,
  kPromptItem = 3,
  kFolderItem = 4,
  kListItem = 5,
  kUpItem = 6,
  kTypeItem = 7,
  kNameLabelItem = 8,
  kTypeLabelItem = 9,
  kNameItem = 10,
};

constexpr SInt16 kRowHeight = 16;
constexpr SInt16 kTypeMenuId = 32700;

struct Entry {
  std::string mac;   // Mac Roman name
  std::string disk;  // the name on disk
  bool folder = false;
};

// The dialog's state (one file dialog runs at a time).
struct ListState {
  DialogPtr dialog = nullptr;
  std::string folder;
  std::vector<Entry> entries;
  std::vector<OSType> types;
  FileFilterProcPtr filter = nullptr;
  bool saving = false;
  int selected = -1;
  int top = 0;
  ControlHandle scroll = nullptr;
  ControlHandle typePopup = nullptr;
  UInt32 lastClick = 0;
  int lastClickRow = -1;
  std::string typed;  // type-select
  UInt32 typedAt = 0;
};
ListState* gList = nullptr;

Rect ListBox() {
  SInt16 kind;
  Handle h;
  Rect box;
  PortGetDialogItem(gList->dialog, kListItem, &kind, &h, &box);
  return box;
}

int VisibleRows() { return std::max(1, (ListBox().bottom - ListBox().top - 2) / kRowHeight); }

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

void ReadFolder() {
  ListState& s = *gList;
  s.entries.clear();
  std::error_code ec;
  for (fs::directory_iterator it(s.folder, fs::directory_options::skip_permission_denied, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string disk = it->path().filename().string();
    if (disk.empty() || disk[0] == '.') continue;
    Entry e;
    if (!vlfiles::NameFromDisk(disk, &e.mac)) continue;
    e.disk = disk;
    std::error_code dec;
    e.folder = it->is_directory(dec);
    if (!e.folder) {
      OSType type = 0, creator = 0;
      vlfiles::GetTypeAndCreator(it->path().string(), &type, &creator);
      if (!s.saving && !s.types.empty() && std::find(s.types.begin(), s.types.end(), type) == s.types.end()) continue;
      if (s.filter) {
        FSSpec spec;
        if (vlfiles::SpecFromPath(it->path().string(), &spec) && s.filter(&spec, type)) continue;
      }
    }
    s.entries.push_back(std::move(e));
  }
  std::sort(s.entries.begin(), s.entries.end(),
            [](const Entry& a, const Entry& b) { return Lower(a.mac) < Lower(b.mac); });
  s.selected = s.saving || s.entries.empty() ? -1 : 0;
  s.top = 0;
}

std::string EntryPath(const Entry& e) {
  return gList->folder == "/" ? "/" + e.disk : gList->folder + "/" + e.disk;
}

void UpdateScrollBar() {
  if (!gList->scroll) return;
  int excess = std::max(0, int(gList->entries.size()) - VisibleRows());
  PortSetControlMaximum(gList->scroll, SInt16(std::min(excess, 32767)));
  PortHiliteControl(gList->scroll, excess > 0 ? 0 : kControlInactive);
  PortSetControlValue(gList->scroll, SInt16(gList->top));
}

void DrawList(DialogPtr d, SInt16) {
  if (!gList || gList->dialog != d) return;
  ListState& s = *gList;
  Rect box = ListBox();
  PortKeeper keep;
  PortSetPort(d);
  UseFont(kSystemSize);
  FillRect(box, kWhite);
  FrameRect(box, kBlack);
  FontInfo fi;
  PortGetFontInfo(&fi);
  int rows = VisibleRows();
  for (int i = 0; i < rows && s.top + i < int(s.entries.size()); ++i) {
    const Entry& e = s.entries[std::size_t(s.top + i)];
    Rect r{SInt16(box.top + 1 + i * kRowHeight), SInt16(box.left + 1), SInt16(box.top + 1 + (i + 1) * kRowHeight),
           SInt16(box.right - 1)};
    bool selected = s.top + i == s.selected;
    bool dim = s.saving && !e.folder;
    if (selected) FillRect(r, kSelectColor);
    UInt32 ink = selected ? kSelectTextColor : dim ? kDimTextColor : kBlack;
    if (e.folder) {
      // A small folder.
      Rect tab{SInt16(r.top + 3), SInt16(r.left + 4), SInt16(r.top + 5), SInt16(r.left + 9)};
      Rect body{SInt16(r.top + 5), SInt16(r.left + 4), SInt16(r.bottom - 3), SInt16(r.left + 16)};
      FillRect(tab, ink);
      FrameRect(body, ink);
    }
    SInt16 base = SInt16(r.top + (kRowHeight + fi.ascent - fi.descent) / 2);
    DrawText(FitText(e.mac, SInt16(r.right - r.left - 26)), SInt16(r.left + 22), base, ink);
  }
  vlui::NoteScreenChanged();
}

void ShowFolderName() {
  std::string mac;
  std::string leaf = gList->folder == "/" ? std::string(vlfiles::kVolumeName) : vlfiles::LeafName(gList->folder);
  if (!vlfiles::NameFromDisk(leaf, &mac)) mac = Utf8ToMacRoman(leaf);
  Str255 text{std::string_view(mac)};
  SInt16 kind;
  Handle h;
  Rect box;
  PortGetDialogItem(gList->dialog, kFolderItem, &kind, &h, &box);
  PortSetDialogItemText(h, text);
}

void Reshow() {
  UpdateScrollBar();
  DrawList(gList->dialog, kListItem);
}

void Scrolled() {
  int maxTop = std::max(0, int(gList->entries.size()) - VisibleRows());
  gList->top = std::clamp(gList->top, 0, maxTop);
  Reshow();
}

void Select(int row) {
  ListState& s = *gList;
  if (s.entries.empty()) return;
  s.selected = std::clamp(row, 0, int(s.entries.size()) - 1);
  if (s.selected < s.top) s.top = s.selected;
  if (s.selected >= s.top + VisibleRows()) s.top = s.selected - VisibleRows() + 1;
  if (s.saving && !s.entries[std::size_t(s.selected)].folder) {
    SInt16 kind;
    Handle h;
    Rect box;
    PortGetDialogItem(s.dialog, kNameItem, &kind, &h, &box);
    PortSetDialogItemText(h, Str255(std::string_view(s.entries[std::size_t(s.selected)].mac)));
    PortSelectDialogItemText(s.dialog, kNameItem, 0, 32767);
  }
  Reshow();
}

void EnterFolder(const std::string& folder) {
  gList->folder = vlfiles::NormalizedPath(folder);
  ReadFolder();
  ShowFolderName();
  Reshow();
}

void ScrollAction(ControlHandle c, SInt16 part) {
  if (!gList) return;
  int page = std::max(1, VisibleRows() - 1);
  switch (part) {
    case kControlUpButtonPart: gList->top -= 1; break;
    case kControlDownButtonPart: gList->top += 1; break;
    case kControlPageUpPart: gList->top -= page; break;
    case kControlPageDownPart: gList->top += page; break;
    default: return;
  }
  (void)c;
  Scrolled();
}

std::string NameText(DialogPtr d);
void SetNameText(DialogPtr d, const std::string& mac, bool selectBase);

// The name takes the extension of the type chosen in the popup.
void ApplyTypeExtension() {
  ListState& s = *gList;
  SInt16 index = PortGetControlValue(s.typePopup);
  if (index < 1 || index > SInt16(s.types.size())) return;
  std::string ext = vlfiles::ExtensionForType(s.types[std::size_t(index - 1)]);
  if (ext.empty()) return;
  std::string name = NameText(s.dialog);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  SetNameText(s.dialog, name + "." + Utf8ToMacRoman(ext), true);
}

// The list's own events: clicks in the list and its scroll bar, arrow keys, type-select.
// Returns true with *itemHit for a double click (kOkItem).
Boolean ListFilter(DialogPtr d, EventRecord* e, SInt16* itemHit) {
  if (!gList || gList->dialog != d) return false;
  ListState& s = *gList;
  if (e->what == mouseDown) {
    Point local;
    if (!ContentClick(d, *e, &local)) return false;
    ControlHandle c = nullptr;
    if (PortFindControl(local, d, &c) != kControlNoPart && c && c == s.typePopup) {
      PortKeeper keep;
      PortSetPort(d);
      if (PortTrackControl(c, local, nullptr) != kControlNoPart) ApplyTypeExtension();
      return true;
    }
    if (c && c == s.scroll) {
      PortKeeper keep;
      PortSetPort(d);
      SInt16 part = PortTrackControl(c, local, &ScrollAction);
      if (part == kControlIndicatorPart) {
        s.top = PortGetControlValue(c);
        Scrolled();
      }
      return false;
    }
    Rect box = ListBox();
    if (!PortPtInRect(local, &box)) return false;
    int row = s.top + (local.v - box.top - 1) / kRowHeight;
    if (row >= int(s.entries.size())) return true;  // consumed: a click below the last entry
    bool twice = row == s.lastClickRow && e->when - s.lastClick <= PortGetDblTime();
    s.lastClick = e->when;
    s.lastClickRow = row;
    Select(row);
    *itemHit = twice ? kOkItem : 0;
    return twice;
  }
  if (e->what != keyDown && e->what != autoKey) return false;
  UInt8 ch = UInt8(e->message & charCodeMask);
  if (e->modifiers & cmdKey) {
    if (ch == kUpArrowChar || ch == kDownArrowChar) {  // command-up: the enclosing folder
      *itemHit = ch == kUpArrowChar ? kUpItem : kOkItem;
      return true;
    }
    return false;
  }
  if (ch == kUpArrowChar || ch == kDownArrowChar) {
    if (s.entries.empty()) return true;
    Select(s.selected < 0 ? 0 : s.selected + (ch == kUpArrowChar ? -1 : 1));
    return true;
  }
  if (s.saving) return false;  // typing goes into the name
  if (ch >= kSpaceChar && ch != kDeleteChar) {
    if (e->when - s.typedAt > 60) s.typed.clear();
    s.typedAt = e->when;
    s.typed += char(std::tolower(ch));
    for (std::size_t i = 0; i < s.entries.size(); ++i) {
      if (Lower(s.entries[i].mac).compare(0, s.typed.size(), s.typed) >= 0) {
        Select(int(i));
        break;
      }
    }
    return true;
  }
  return false;
}

std::string TypeDescription(OSType type) {
  for (const vlfiles::FileTypeEntry& e : vlfiles::FileTypes())
    if (e.type == type) return Utf8ToMacRoman(e.description);
  return vlfiles::TypeToText(type);
}

std::string NameText(DialogPtr d) {
  SInt16 kind;
  Handle h;
  Rect box;
  PortGetDialogItem(d, kNameItem, &kind, &h, &box);
  Str255 text;
  PortGetDialogItemText(h, text);
  return PStrToStd(text);
}

void SetNameText(DialogPtr d, const std::string& mac, bool selectBase) {
  SInt16 kind;
  Handle h;
  Rect box;
  PortGetDialogItem(d, kNameItem, &kind, &h, &box);
  PortSetDialogItemText(h, Str255(std::string_view(mac)));
  std::size_t dot = mac.rfind('.');
  PortSelectDialogItemText(d, kNameItem, 0, selectBase && dot != std::string::npos && dot > 0 ? SInt16(dot) : 32767);
}

// "Replace it?": true when the user agrees.
bool ConfirmReplace(const std::string& mac) {
  std::string text = "\xD2" + mac + "\xD3 already exists. Do you want to replace it?";
  DialogPtr d = MakeDialog(CenteredRect(380, 110), "", dBoxProc,
                           {{ctrlItem + btnCtrl, Rect{75, 290, 95, 365}, "Replace"},
                            {ctrlItem + btnCtrl, Rect{75, 200, 95, 275}, "Cancel"},
                            {statText | itemDisable, Rect{12, 70, 65, 365}, text},
                            {iconItem | itemDisable, Rect{10, 20, 42, 52}, "", SInt16(kCautionIcon)}});
  if (!d) return false;
  PortSetDialogCancelItem(d, 2);
  SInt16 hit = RunModalUntil(d, nullptr, {1, 2});
  PortDisposeDialog(d);
  return hit == 1;
}

bool RunFileDialog(bool saving, const std::string& prompt, const std::string& defaultName,
                   const std::vector<OSType>& types, FileFilterProcPtr filter, std::string* path, OSType* typeOut) {
  if (!ScreenReady()) return false;
  ListState state;
  ListState* outer = gList;
  gList = &state;
  state.saving = saving;
  state.types = types;
  state.filter = filter;
  state.folder = DialogFolder();
  std::vector<ItemSpec> items = {
      {ctrlItem + btnCtrl, Rect{268, 330, 288, 410}, saving ? "Save" : "Open"},
      {ctrlItem + btnCtrl, Rect{268, 240, 288, 320}, "Cancel"},
      {statText | itemDisable, Rect{10, 14, 28, 410}, Utf8ToMacRoman(prompt)},
      {statText | itemDisable, Rect{34, 14, 50, 320}, ""},
      {userItem | itemDisable, Rect{56, 14, saving ? SInt16(186) : SInt16(256), 300}, ""},
      {ctrlItem + btnCtrl, Rect{56, 330, 76, 410}, "Up"},
  };
  MenuHandle typeMenu = nullptr;
  if (saving) {
    typeMenu = PortNewMenu(kTypeMenuId, Str255("Type"));
    for (OSType t : types) PortAppendMenu(typeMenu, Str255(std::string_view(TypeDescription(t))));
    PortInsertMenu(typeMenu, kInsertHierarchicalMenu);
    items.push_back({ctrlItem + btnCtrl, Rect{236, 60, 256, 300}, ""});  // replaced by the popup below
    items.push_back({statText | itemDisable, Rect{198, 14, 214, 58}, "Name:"});
    items.push_back({statText | itemDisable, Rect{238, 14, 254, 58}, types.empty() ? "" : "Type:"});
    items.push_back({editText, Rect{198, 63, 214, 297}, Utf8ToMacRoman(defaultName)});
  }
  DialogPtr d = MakeDialog(CenteredRect(424, 300), saving ? "Save" : "Open", movableDBoxProc, items);
  if (!d) {
    if (typeMenu) PortDisposeMenu(typeMenu);
    gList = outer;
    return false;
  }
  state.dialog = d;
  PortSetDialogCancelItem(d, kCancelItem);
  PortSetDialogItemProc(d, kListItem, &DrawList);
  Rect box = ListBox();
  {
    PortKeeper keep;
    PortSetPort(d);
    Rect bar{box.top, SInt16(box.right - 1), box.bottom, SInt16(box.right - 1 + kScrollBarWidth)};
    state.scroll = PortNewControl(d, &bar, nullptr, true, 0, 0, 0, scrollBarProc, 0);
  }
  ControlHandle typePopup = nullptr;
  if (saving) {
    // The type item becomes a popup of the types offered.
    PortHideDialogItem(d, kTypeItem);
    if (!types.empty()) {
      PortKeeper keep;
      PortSetPort(d);
      Rect r{236, 60, 256, 300};
      typePopup = PortNewControl(d, &r, nullptr, true, 1, kTypeMenuId, 0, popupMenuProc, 0);
      state.typePopup = typePopup;
    }
    SetNameText(d, Utf8ToMacRoman(defaultName), true);
  }
  ShowFolderName();
  ReadFolder();
  PortDrawDialog(d);
  Reshow();

  bool chosen = false;
  for (;;) {
    SInt16 hit = 0;
    PortModalDialog(&ListFilter, &hit);
    if (hit == kCancelItem) break;
    if (hit <= 0) continue;  // the list handled it
    if (hit == kUpItem) {
      EnterFolder(vlfiles::ParentFolder(state.folder));
      continue;
    }
    if (hit != kOkItem) continue;
    // Open or Save: a selected folder is entered; else the file is the answer.
    if (state.selected >= 0 && state.selected < int(state.entries.size()) &&
        (!saving || state.entries[std::size_t(state.selected)].folder)) {
      const Entry& e = state.entries[std::size_t(state.selected)];
      if (e.folder && (!saving || NameText(d).empty() || NameText(d) == e.mac)) {
        EnterFolder(EntryPath(e));
        continue;
      }
      if (!saving) {
        *path = EntryPath(e);
        chosen = true;
        break;
      }
    }
    if (!saving) {
      PortBeep(1);
      continue;
    }
    std::string name = NameText(d);
    std::string disk;
    if (name.empty() || !vlfiles::NameToDisk(name, &disk)) {
      PortBeep(1);
      continue;
    }
    std::string target = state.folder == "/" ? "/" + disk : state.folder + "/" + disk;
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
      EnterFolder(target);
      SetNameText(d, "", false);
      continue;
    }
    if (fs::exists(target, ec) && !ConfirmReplace(name)) continue;
    *path = target;
    if (typeOut) *typeOut = typePopup && !types.empty() ? types[std::size_t(std::max(1, int(PortGetControlValue(typePopup))) - 1)] : 0;
    chosen = true;
    break;
  }
  if (chosen) SetDialogFolder(vlfiles::ParentFolder(*path));
  PortDisposeDialog(d);
  if (typeMenu) PortDisposeMenu(typeMenu);
  gList = outer;
  return chosen;
}

// Asks the answerer, then the screen; false when cancelled.
bool Ask(StandardDialogRequest& request, StandardDialogAnswer* answer,
         const std::function<bool(StandardDialogAnswer*)>& onScreen) {
  bool answered = gAnswerer && gAnswerer(request, answer);
  if (!answered) {
    *answer = StandardDialogAnswer{};
    if (IsInteractive() && ScreenReady()) answer->chosen = onScreen(answer);
  }
  std::vector<std::string> texts{request.prompt};
  if (!request.defaultName.empty()) texts.push_back(request.defaultName);
  if (answer->chosen && !answer->path.empty()) texts.push_back(answer->path);
  LogRecord(request.kind, 0, request.prompt, texts, answer->chosen ? 1 : 0);
  return answer->chosen;
}

std::vector<OSType> OpenTypes(SInt16 numTypes, const OSType* typeList) {
  std::vector<OSType> types;
  if (typeList)
    for (SInt16 i = 0; i < numTypes; ++i) types.push_back(typeList[i]);
  return types;
}

std::vector<OSType> SaveTypes() {
  std::vector<OSType> types = vlfiles::TakeDialogTypeFilter();
  if (types.empty())
    for (const vlfiles::FileTypeEntry& e : vlfiles::FileTypes()) types.push_back(e.type);
  return types;
}

std::string Utf8(ConstStringPtr p) { return p ? MacRomanToUtf8(PStrToStd(p)) : std::string(); }

bool AskOpen(ConstStringPtr prompt, FileFilterProcPtr filter, SInt16 numTypes, const OSType* typeList, std::string* path) {
  StandardDialogRequest request;
  request.kind = "getfile";
  request.prompt = Utf8(prompt);
  request.types = OpenTypes(numTypes, typeList);
  StandardDialogAnswer answer;
  if (!Ask(request, &answer, [&](StandardDialogAnswer* a) {
        return RunOpenDialog(request.prompt, request.types, filter, &a->path);
      }))
    return false;
  *path = vlfiles::NormalizedPath(answer.path);
  return true;
}

bool AskSave(ConstStringPtr prompt, ConstStringPtr defaultName, std::string* path, OSType* type) {
  StandardDialogRequest request;
  request.kind = "putfile";
  request.prompt = Utf8(prompt);
  request.defaultName = Utf8(defaultName);
  request.types = SaveTypes();
  StandardDialogAnswer answer;
  OSType chosenType = 0;
  if (!Ask(request, &answer, [&](StandardDialogAnswer* a) {
        return RunSaveDialog(request.prompt, request.defaultName, request.types, &a->path, &chosenType);
      }))
    return false;
  *path = vlfiles::NormalizedPath(answer.path);
  if (!chosenType) {
    std::string leaf = vlfiles::LeafName(*path);
    std::size_t dot = leaf.rfind('.');
    chosenType = dot == std::string::npos ? 0 : vlfiles::TypeForExtension(leaf.substr(dot + 1));
    if (!chosenType && !request.types.empty()) chosenType = request.types.front();
  }
  *type = chosenType;
  return true;
}

}  // namespace

StandardDialogAnswerer SetStandardDialogAnswerer(StandardDialogAnswerer answerer) {
  StandardDialogAnswerer old = std::move(gAnswerer);
  gAnswerer = std::move(answerer);
  return old;
}

bool FillOpenReply(const std::string& path, SFReply* reply) {
  *reply = SFReply{};
  std::string mac;
  if (!vlfiles::NameFromDisk(vlfiles::LeafName(path), &mac)) return false;
  OSType type = 0, creator = 0;
  vlfiles::GetTypeAndCreator(path, &type, &creator);
  reply->good = true;
  reply->fType = type;
  reply->vRefNum = vlfiles::FolderRef(vlfiles::FolderIdForPath(vlfiles::ParentFolder(path)));
  PStrFromStd(mac, reply->fName, 63);
  return true;
}

bool FillSaveReply(const std::string& path, OSType type, SFReply* reply, StandardFileReply* standard) {
  std::string mac;
  if (!vlfiles::NameFromDisk(vlfiles::LeafName(path), &mac)) return false;
  std::error_code ec;
  bool exists = fs::exists(path, ec);
  if (reply) {
    *reply = SFReply{};
    reply->good = true;
    reply->fType = type;
    reply->vRefNum = vlfiles::FolderRef(vlfiles::FolderIdForPath(vlfiles::ParentFolder(path)));
    PStrFromStd(mac, reply->fName, 63);
  }
  if (standard) {
    *standard = StandardFileReply{};
    if (!vlfiles::SpecFromPath(path, &standard->sfFile)) return false;
    standard->sfGood = true;
    standard->sfReplacing = exists;
    standard->sfType = type;
  }
  return true;
}

bool RunOpenDialog(const std::string& prompt, const std::vector<OSType>& types, FileFilterProcPtr filter,
                   std::string* path) {
  return RunFileDialog(false, prompt, "", types, filter, path, nullptr);
}

bool RunSaveDialog(const std::string& prompt, const std::string& defaultName, const std::vector<OSType>& types,
                   std::string* path, OSType* type) {
  return RunFileDialog(true, prompt, defaultName, types, nullptr, path, type);
}

std::string DialogFolder() {
  SInt16 ref = 0;
  PortGetVol(nullptr, &ref);
  std::string folder;
  if (vlfiles::ResolveFolder(ref, 0, &folder) != noErr || folder.empty()) {
    std::error_code ec;
    folder = fs::current_path(ec).string();
  }
  return folder;
}

void SetDialogFolder(const std::string& folder) {
  PortSetVol(nullptr, vlfiles::FolderRef(vlfiles::FolderIdForPath(vlfiles::NormalizedPath(folder))));
}

}  // namespace vlui

using namespace vlui;

static void Refuse(const std::string& path) {
  vlui::internal::LogRecord("message", 0, "the chosen file cannot be named", {path}, 1);
  PortBeep(1);
}

void PortGetFile(Point, ConstStringPtr prompt, FileFilterProcPtr filter, SInt16 numTypes, const OSType* typeList,
                 DlgHookProcPtr, SFReply* reply) {
  if (!reply) return;
  *reply = SFReply{};
  std::string path;
  if (!AskOpen(prompt, filter, numTypes, typeList, &path)) return;
  if (!FillOpenReply(path, reply)) Refuse(path);
}

void PortStandardGetFile(FileFilterProcPtr filter, SInt16 numTypes, const OSType* typeList, StandardFileReply* reply) {
  if (!reply) return;
  *reply = StandardFileReply{};
  std::string path;
  if (!AskOpen(nullptr, filter, numTypes, typeList, &path)) return;
  OSType type = 0, creator = 0;
  vlfiles::GetTypeAndCreator(path, &type, &creator);
  if (!FillSaveReply(path, type, nullptr, reply)) {
    *reply = StandardFileReply{};
    Refuse(path);
    return;
  }
  reply->sfReplacing = false;
}

void PortPutFile(Point, ConstStringPtr prompt, ConstStringPtr defaultName, DlgHookProcPtr, SFReply* reply) {
  if (!reply) return;
  *reply = SFReply{};
  std::string path;
  OSType type = 0;
  if (!AskSave(prompt, defaultName, &path, &type)) return;
  if (!FillSaveReply(path, type, reply, nullptr)) Refuse(path);
}

void PortStandardPutFile(ConstStringPtr prompt, ConstStringPtr defaultName, StandardFileReply* reply) {
  if (!reply) return;
  *reply = StandardFileReply{};
  std::string path;
  OSType type = 0;
  if (!AskSave(prompt, defaultName, &path, &type)) return;
  if (!FillSaveReply(path, type, nullptr, reply)) {
    *reply = StandardFileReply{};
    Refuse(path);
  }
}

void PortCall991(ConstStringPtr prompt, ConstStringPtr defaultName, StandardFileReply* reply) {
  PortStandardPutFile(prompt, defaultName, reply);
}

void PortCustomPutFile(ConstStringPtr prompt, ConstStringPtr defaultName, StandardFileReply* reply, SInt16, Point,
                       DlgHookYDProcPtr, ModalFilterYDProcPtr, SInt16*, ActivateYDProcPtr, void*) {
  PortStandardPutFile(prompt, defaultName, reply);
}
