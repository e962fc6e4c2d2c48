// The native document: the director that owns one model (its objects, phases, materials, saved
// views and settings), its main window with the 3D view pane, and the file it was read from.
//
// The active document publishes its state in globals that the rest of the program reads instead
// of asking it (below). A document that is not active must not rely on them: its own fields are
// the truth. Disposing of a document leaves no global pointing at anything of it.
//
// The object list holds the section plane at position 1 and the working plane at position 2;
// model objects start at position 3, and everything that walks the model objects starts there.
//
// Implemented in VLDocument.cpp (set-up, settings commands, activation), VLDocumentFile.cpp and
// VLDocumentSave.cpp (the native file), VLDocumentNotices.cpp, VLDocumentPrint.cpp,
// VLDocumentCommands.cpp and VLDocumentScale.cpp (editing and object commands),
// VLDocumentViewCommands.cpp and VLDocumentSaveView.cpp (view commands), VLDocumentMaterialCommands.cpp
// and VLDocumentMenus.cpp.
#pragma once

#include <cstdio>
#include <istream>
#include <map>
#include <string>

#include "ObjectList.h"
#include "PString.h"
#include "PhaseRecord.h"
#include "Selection.h"
#include "VLAbstractDocument.h"
#include "VLArray.h"
#include "VLIndexedCluster.h"

class CPane;
class CWindow;
class CPreferences;
class VLANSIDataFile;
class VLOpeningOwner;
class VLDocumentViews;
class VLUser3DObject;
struct Vector3d;
class VLViewPane;

// The document's object list and selection list with their count.
class objectHolderType : public CCollaborator {
  VL_REGISTERED_CLASS(objectHolderType, CCollaborator)

 public:
  objectHolderType() = default;
  // Disposes of the two lists (not of the objects in them).
  ~objectHolderType() override;

  VLArray* objectList = nullptr;
  VLArray* selectionList = nullptr;
  SInt32 objectCount = 0;
  // Two words the set-up leaves at -1 and 0; nothing here reads them.
  SInt16 reservedWord = -1;
  SInt16 reservedWord2 = 0;
};

// What the phases window hands over with kPhasesEdited: the new current phase and the edited
// phases (PhaseRecord keyed by phase number).
struct PhaseEditRecord {
  SInt32 currentPhase = 0;
  VLIndexedCluster* phases = nullptr;
};

class VLDocument : public VLAbstractDocument {
  VL_REGISTERED_CLASS(VLDocument, VLAbstractDocument)

 public:
  // Object list positions.
  static constexpr long kSectionPlanePosition = 1;
  static constexpr long kWorkingPlanePosition = 2;
  static constexpr long kFirstModelObject = 3;
  // Saved views a file fills the view list with at most, the working view included.
  static constexpr long kMaxViews = 50;
  static constexpr SInt16 kSubWindowSlots = 5;
  static constexpr SInt16 kToolGroups = 7;
  // Tool groups: 0 selection, 1 drawing, 2 view, 3 drawing plane, 4 the drawing plane of the
  // perspective and axonometric views, 5 openings, 6 working plane (its one tool), 7 section plane.
  static constexpr SInt16 kLastToolGroup = 7;
  // Default phases a new document takes at most from string list 132.
  static constexpr SInt16 kMaxDefaultPhases = 1000;
  // The empty model box: minima and maxima that any point replaces.
  static constexpr double kEmptyBoxMinimum = 105600.0;
  static constexpr double kEmptyBoxMaximum = -105600.0;

  // Resources and commands of the document.
  enum : SInt16 {
    kDocumentWindow = 500,
    kPhaseStrings = 132,
    kViewStrings = 1900,
    kWorkingViewName = 1,
    kWorkingViewItem = 2,
    kDefaultStrings = 2700,
    kSnapGridDefault = 5,
    kViewsMenu = 6,
  };
  enum : long {
    cmdSnapToGrid = 4000,
    cmdObjectInfo = 4002,
    cmdUnitsAndGrids = 4011,
    cmdViewFactors = 4100,
    cmdReservedSetting = 4101,
    cmdSnapToHandleDistance = 4102,
    cmdRotation = 4103,
    cmdCircleFaceting = 4104,
    cmdPerspectiveLink = 4106,
    cmdWorkingView = 6501,
    cmdSavedViewBase = 6500,
    cmdStopBrowsingMaterials = 8601,
    cmdRemoveUnusedMaterials = 8602,
    cmdSaveDefaultMaterials = 8603,
  };
  // The material questions: save the materials as the defaults (item 1 saves), remove ^0 unused
  // materials (item 1 removes), every material is used.
  enum : SInt16 { kSaveDefaultMaterialsAlert = 130, kRemoveUnusedMaterialsAlert = 135, kNoUnusedMaterialsAlert = 136 };
  // Notices the document broadcasts to its dependents.
  enum : long {
    kFileSpecified = 4002,
    kDocumentDisposed = 2000,
    kSavedViewsChanged = 2002,
    kWalkthroughChanged = 2003,
    kDocumentDeactivated = 2010,
    kDocumentSaved = 4001,
    kMaterialListChanged = 2013,  // with the material list
  };
  // Notices the document takes from its providers: the phases window's edit, and "mark changed".
  enum : long { kPhasesEdited = 11000, kMarkChanged = 2014 };
  // Broadcast by every SetChanged with a pointer to gModelChangeIsRestore.
  static constexpr long kModelChanged = FourCC("VLd1");
  // The name broadcast after a save-as carries the new name.
  static constexpr long kDocumentRenamed = FourCC("VLd0");
  // The version the writer writes and the reader takes without asking.
  static constexpr SInt32 kFileVersion = 4;
  // Errors of the native file: a newer version (alert 4018), a damaged file (alert 4019, with
  // the text where reading stopped).
  static constexpr std::int32_t kErrorNewerFile = -9972;
  static constexpr std::int32_t kErrorDamagedFile = -9971;
  // Alert 4017 asks whether to read an older file.
  static constexpr SInt16 kOlderFileAlert = 4017;
  // String list 2200, item 5: the progress dialog's message while a file is read.
  static constexpr SInt16 kOpeningMessage = 5;

  // Clears every field but those with a construction value: line delimiter 10, file version 4.
  VLDocument();
  ~VLDocument() override;

  // Command 8110: the material list dialog on the document's materials; OK makes the chosen one
  // current (none: no material), Cancel changes nothing (VLDocumentMaterialCommands.cpp).
  void ChooseCurrentMaterial();

  // ---- Life cycle ----

  void Dispose() override;
  Boolean Close(Boolean quitting) override;
  void ActivateWindow() override;
  void DeactivateWindow() override;
  // Sets the document up under the application: the lists, the planes, the grids, the
  // preferences. A failed allocation leaves the rest unmade and passes on.
  void InitNewDocument(CDirectorOwner* supervisor, Boolean printable, SInt16 untitledNumber) override;
  // An untitled document: default phases, window, name, working view, units; shown.
  void NewFile() override;
  // A document for the file the open dialog chose: its file object, window and name. Reading
  // the file's text is still to come: the document starts with a new document's defaults and
  // can only be closed, so the file is never written over.
  void OpenFile(SFReply* reply) override;
  // ---- The native file (VLDocumentFile.cpp, VLDocumentSave.cpp) ----

  // Writes the file through a temporary file beside it that replaces it only when complete; an
  // untitled document asks for a file first. True when saved. The changed flag is cleared only
  // after success; every failure leaves the file as it was and raises a DETException with the
  // context kDEErrorErrorWritingModelFile.
  Boolean DoSave() override;
  // Saves to the chosen file; only a successful save makes it the document's file and name (an
  // untitled document gives its number back then). False for a cancelled reply.
  Boolean DoSaveAs(StandardFileReply* reply) override;
  // The whole text of the file: header, saved views, objects.
  virtual void WriteText(std::FILE* file, const char* path);
  // The version line to the material block, the path in the comment of line 2.
  virtual void WriteHeader(std::FILE* file, const char* path, double writeFactor);
  // Reads a whole file into this freshly initialised document. Returns with the stream good at
  // the end of the file, or failed where reading stopped. Raises kDEErrorNotAValidVelmoraFile for
  // a file without its comment line, kErrorNewerFile, kDEErrorSilent when the user declines an
  // older file or stops the reading.
  virtual void Read(std::istream& in);
  // What follows one keyword of the table.
  virtual void ReadRecord(std::istream& in, SInt32 code);
  // The keywords of the file and their codes (0 "//" to 38 "Group:").
  static const std::map<std::string, SInt32>& KeywordTable();

  // The editing, view and material commands, the snap toggle (4000) and the settings commands
  // 4100 to 4106; a command that changes a setting changes the document.
  void DoCommand(long command) override;

  // ---- Printing (VLDocumentPrint.cpp) ----
  // The printer is a VLPrinter, set up with no record (one of the driver's defaults).
  void CreatePrinter() override;
  // The class library's steps, with gPrintingView (the views draw for the printer) set from
  // the start of a job to its end; a job the user stopped ends after two seconds' pause.
  void AboutToPrint(long* firstPage, long* lastPage) override;
  void DonePrinting() override;
  // A finished task (or null: no undoable change): the other views of the document redraw, then
  // the director marks the document changed and hands the task to the application, which keeps
  // it as the one last undoable task (null drops the last one).
  void Notify(CTask* task) override;
  // ---- Notices and change tracking (VLDocumentNotices.cpp) ----
  // Every call broadcasts kModelChanged with a pointer to gModelChangeIsRestore (then cleared)
  // before the class library keeps the previous flag and sets the new one.
  void SetChanged(Boolean changed) override;
  // The previous flag back through SetChanged, broadcast with the restore flag 1.
  void RevertChanged() override;
  // kPhasesEdited (a PhaseEditRecord): the phases and the current phase take the edit, objects of
  // hidden or unselectable phases are deselected, the titles follow a new current phase.
  // kMarkChanged marks the document changed; the rest goes to the class library.
  void ProviderChanged(CCollaborator* provider, long reason, void* info) override;
  // The file's name; without a file the document's title while it has a window; else empty.
  void GetName(StringPtr name) const override;
  // Clears the view-undo flag; an inactive document's Undo item reads plain "Undo ".
  void ResetUndoText();
  // ---- Commands (VLDocumentCommands.cpp) ----
  // The clipboard's objects as copies at the end of the object list, selected, in the current
  // phase, the selection before deselected; or, with one selected object that has a current
  // opening, fitted into that opening. Nothing without objects on the clipboard. Not undoable:
  // the last undoable task is dropped.
  virtual void Paste();
  // Asks how to fit pasted objects into an opening (dialog 3002); false when cancelled.
  virtual Boolean RunPasteIntoOpeningDialog();
  // Asks for the scale of the selection in percent (dialog 1023: item 4 x, item 3 y, item 5 z,
  // each shown as 100.00) and answers the factors (a hundredth of each) when accepted. OK with
  // a text that is not a number from 0.01 to 1000000 beeps, selects that text and keeps the
  // dialog open. False when cancelled. In VLDocumentScale.cpp.
  virtual Boolean RunScaleDialog(Vector3d* factors);
  // ---- Menus (VLDocumentMenus.cpp) ----
  // Every item of the settings, objects and views menus enabled, then the class library's
  // update up the chain, then the document's commands enabled, disabled and checked by the
  // selection, the clipboard, the drawing in progress, the pane's view and the open windows.
  // Commands whose work is not in the program yet stay disabled whatever the rest says.
  void UpdateMenus() override;
  // Whether the command's work is not in the program yet: it is disabled in the menus and, when
  // it comes all the same, beeps and does nothing.
  static Boolean RefusesCommand(long command);
  // A click-by-click drawing of group 1 (the polyline or chain tool) is unfinished, or the
  // pane has a mouse task pending: the selection and the clipboard are out of reach.
  Boolean IsBusy() const;
  // Whether the selection holds anything.
  Boolean HasSelection() const;
  // The paste-into-opening settings: fit along z, the wide and the thin axis; placement 0-2.
  UInt8 pasteFit[3] = {};
  SInt16 pastePlacement = 0;
  // Asks each view window of the document other than the main one to redraw.
  virtual void InvalidateOtherViews();

  // ---- View, window and display commands (VLDocumentViewCommands.cpp) ----
  // Saved views: the active one (the view last shown or saved; null when none) and its name
  // (empty when none).
  CCollaborator* GetActiveView() const;
  void GetActiveViewName(StringPtr viewName) const;
  // What saving the current view proposes: its menu number, the first n from 1 whose place in
  // the saved-view list holds a view of another menu number (or the count + 1; the list's
  // insertion index as well); its name, the active view's and *replace set when the pane shows a saved
  // view other than the first, else STR# 1900 item 3 followed by the number, *replace clear.
  // False, nothing proposed, without a view pane or with kMaxViews views.
  Boolean ProposeSavedView(StringPtr viewName, Boolean* replace, SInt16* number) const;
  // Saves the current view under the name: with replace into the active view; otherwise as a new
  // view with the next view serial, numbered and placed as ProposeSavedView says, active and shown, with a copy at the end
  // of the walkthrough list, and its item in the views menu. The document is changed. Nothing
  // without a view pane or with kMaxViews views.
  void SaveCurrentView(ConstStringPtr viewName, Boolean replace);
  // Sub-windows: up to kSubWindowSlots further view windows, in numbered slots. AddSubWindow
  // counts the window, answers its number (then the next one) and puts it into the first free
  // slot, whose index (1-5) it answers; with every slot taken the window is counted but not
  // kept, and *slot is 0.
  void AddSubWindow(CCollaborator* window, SInt16* number, SInt16* slot);
  // Empties the slot (1-5; the number is not used), uncounts the window, forgets the current
  // sub-window and takes the saved views out of the views menu; the window placement is told.
  void RemoveSubWindow(SInt16 number, SInt16 slot, CWindow* window);
  void SetCurrentSubWindow(SInt16 slot);
  void ClearCurrentSubWindow() { itsCurrentSubWindow = nullptr; }
  CCollaborator* GetCurrentSubWindow() const { return itsCurrentSubWindow; }
  SInt16 GetSubWindowCount() const { return subWindowCount; }
  CCollaborator* GetSubWindow(SInt16 slot) const {
    return slot >= 1 && slot <= kSubWindowSlots ? itsSubWindows[slot - 1] : nullptr;
  }
  // After an edit: every view window but the active one redraws with new projections when it
  // is next activated.
  void RefreshSubWindows();
  // The material code's browse state (what a browse through the materials keeps; the browser is
  // not in the program yet, so nothing sets it but a caller); command 8601 clears it.
  void* GetMaterialBrowseState() const { return materialBrowseState; }
  void SetMaterialBrowseState(void* state) { materialBrowseState = state; }
  // Whether the document is closing (its windows are going).
  Boolean IsClosing() const { return closing; }

  virtual void BuildViewsMenu();
  virtual void RebuildPhaseList();
  virtual void ClearViewsMenu();
  virtual void TakeCurrentPhase();
  virtual void BuildWindow();
  // When the "Textures" folder changed since the material list last looked at it, alert 129
  // asks whether to add materials for its new pictures; the list then notes the folder as it is.
  virtual void CheckNewTextures();

  // The units in force become the document's: its formats and their first units.
  void PublishUnits();
  // The units and grids dialog (VLUnitsDLOGDirector). OK with a change: the document changes,
  // takes the formats and publishes them, the locators of all its panes take the snap spacing,
  // the duplicate offset becomes twice that, the grid, the north arrow and the main pane take the
  // grid's size and spacing, the model box widens to the grid, the info palette shows its object
  // again and a wireframe view redraws. Cancel, or OK without a change, changes nothing. In
  // VLDocumentUnits.cpp.
  virtual void RunUnitsDialog();
  // Resets the model box, lets the background grid take it and widens it by every model object.
  void RecomputeModelBounds();
  // Widens the model box by the object's vertices; true when the box grew.
  Boolean ExtendModelBounds(VLUser3DObject* object);

  // ---- What the document holds ----

  CPreferences* GetPreferences() const { return itsPreferences; }
  VLArray* GetObjectList() const { return itsObjectHolder ? itsObjectHolder->objectList : nullptr; }
  VLArray* GetSelectionList() const { return itsObjectHolder ? itsObjectHolder->selectionList : nullptr; }
  objectHolderType* GetObjectHolder() const { return itsObjectHolder; }
  VLIndexedCluster* GetPhases() const { return itsPhases; }
  VLArray* GetSavedViews() const { return itsSavedViews; }
  VLArray* GetWalkthroughViews() const { return itsWalkthroughViews; }
  VLANSIDataFile* GetFile() const { return itsFile; }
  VLUser3DObject* GetSectionPlane() const { return itsSectionPlane; }
  VLUser3DObject* GetWorkingPlane() const { return itsWorkingPlane; }
  VLDocumentViews* GetViews() const { return itsViews; }
  CPane* GetMainPane() const { return itsMainPane; }
  SInt16 GetUntitledNumber() const { return untitledNumber; }
  SInt16 GetPhaseCounter() const { return phaseCounter; }
  SInt16 GetCurrentPhase() const { return currentPhase; }
  SInt16 GetToolGroup() const { return currentToolGroup; }
  const SInt16* GetToolGroupDefaults() const { return toolGroupDefaults; }
  // ---- Tool groups: the group the view pane applies on a click and one tool per group ----
  // Switches to group g (0 to 7): nothing when g is current or out of range. Otherwise the
  // current group is left (group 0: an opening selection becomes its whole object's; groups 1
  // and 5: the pane finishes what the tool left open; the plane groups: the plane goes inactive
  // and nothing remains to undo), g is stored, the tools of groups 0, 1, 2 and 5 become none
  // (-1), and g is entered (the plane groups: the selection emptied, the plane active, the
  // working plane's tool 3 and drawing on it). In VLDocumentCommands.cpp.
  virtual void SetToolGroup(SInt16 group);
  // No current group (-1), without leaving the one there was: the next SetToolGroup enters its
  // group afresh, even the same one.
  void ClearToolGroup() { currentToolGroup = -1; }
  // The tool of a group (-1 none); a group without a tool (7 and those out of range) answers -1.
  SInt16 GetGroupTool(SInt16 group) const;
  // Stores the tool of a group; a group without a tool is ignored.
  void SetGroupTool(SInt16 group, SInt16 tool);
  // Set while a click-by-click drawing of group 1 is unfinished.
  UInt8 GetDrawingInProgress() const { return drawingInProgress; }
  void SetDrawingInProgress(UInt8 inProgress) { drawingInProgress = inProgress; }
  // Whether drawing is bound to the working plane (drawing planes 3 to 5).
  UInt8 GetWorkingPlaneInUse() const { return workingPlaneInUse; }
  void SetWorkingPlaneInUse(UInt8 inUse) { workingPlaneInUse = inUse; }
  SInt16 GetViewNumberCounter() const { return viewNumberCounter; }
  // Dialog 1021 asks for a saved view's name, given in name. With replace set, confirming the
  // same name asks (dialog 1081) whether to replace that view: yes keeps replace set, no asks
  // for the name again; any other name clears replace. False when cancelled, name unchanged.
  // In VLDocumentSaveView.cpp.
  virtual Boolean RunNameDialog(Str255* name, UInt8* replace);
  const double* GetModelBox() const { return modelBox; }
  double GetLatitude() const { return latitude; }
  UInt8 GetGroundPlaneVisible() const { return groundPlaneVisible; }
  SInt32 GetLineDelimiter() const { return lineDelimiter; }
  SInt32 GetFileVersion() const { return fileVersion; }
  // The name of a phase (empty when the cluster has no such key).
  void GetPhaseName(SInt16 phase, StringPtr name) const;
  // The window's title: the document's name, " - " and the current phase's name.
  void UpdateWindowTitle();
  // Activation marks every object changed once when this is set.
  void SetRefreshOnActivation(Boolean refresh) { refreshOnActivation = refresh; }

  // The values the settings lines write and read, held by the objects of the views layer.
  void GetBackgroundGrid(double* halfSize, double* spacing) const;
  void SetBackgroundGrid(double halfSize, double spacing);
  double GetSnapGridSpacing() const;
  void SetSnapGridSpacing(double spacing);
  double GetWallThickness() const;
  void SetWallThickness(double thickness);

 protected:
  // Puts a plane at position 1 of the object list (disposing of it when that fails).
  VLUser3DObject* InsertPlane(VLUser3DObject* plane);
  // Appends a phase record with both flags set under the key.
  void AppendPhase(ConstStringPtr phaseName, SInt32 key);
  // The default phases of a new document from string list 132.
  void MakeDefaultPhases();
  // The end of NewFile and OpenFile: title, working view, material preferences, snap spacing,
  // units; the window shown. An opened document (its working view made before reading) keeps
  // the snap spacing its file gave; the default serves a new one and a file that gave none.
  // A failure from showing the window on closes the document and goes no further.
  void FinishSetUp(bool workingViewMade = false);
  // The file's text into the document, the progress dialog shown meanwhile; a damaged file
  // raises kErrorDamagedFile with the text where reading stopped.
  void ReadFile();
  // Writes the whole text to the file object's path through a temporary file.
  void SaveTo(VLANSIDataFile* file);
  // The read factor: file units to feet.
  double ReadFactor() const;
  // The record readers of ReadRecord.
  void ReadPhase(std::istream& in);
  void ReadMaterial(std::istream& in);
  void ReadSavedView(std::istream& in);
  void ReadObject(std::istream& in, SInt32 code);
  void ReadGroup(std::istream& in);
  void WriteSavedView(std::FILE* file, CCollaborator* view, double writeFactor);
  // Makes the working view, puts it at position 1 of the view list and a copy at the end of
  // the walk-through list.
  void MakeWorkingView();
  // Publishes the object list, the selection list and the object count.
  void PublishObjectLists();
  // Publishes the view pane and, with it, the material list that new objects take their
  // material from.
  void PublishViewPane();
  // ---- Commands (VLDocumentCommands.cpp) ----
  // The editing and object commands; false for a command they do not handle.
  Boolean DoModelCommand(long command);
  // The view, window and display commands; false for a command they do not handle.
  Boolean DoViewCommand(long command);
  // The steps of UpdateMenus that depend on the pane's view and on the selection.
  void UpdateWorkingPlaneMenus();
  void UpdateSelectionMenus(bool busy);
  // ---- Material commands (VLDocumentMaterialCommands.cpp) ----
  // 8601-8603; false for a command they do not handle.
  Boolean DoMaterialCommand(long command);
  // Alert 136 when every material of the list is used by a model object (a group by its
  // members); otherwise alert 135 with their count, and on its first item they are removed, the
  // document changed and its dependents told (333 with null, 2013 with the list).
  void RemoveUnusedMaterials();
  // Alert 130, and on its first item the list rewrites the material preference file.
  void SaveDefaultMaterials();
  // The projection commands 6000, 6003, 6004, 6100-6103; the saved view of a command 6500-6550;
  // the display commands 6006, 6007, 6013.
  void SwitchProjection(SInt16 command);
  void GoToSavedView(long command);
  void SwitchDisplayMode(long command);
  void OpenSubWindow();
  // Every object of the list, the planes included, projects afresh at the next draw.
  void MarkAllObjectsChanged();
  void LeaveToolGroup();
  void EnterToolGroup();
  // The refresh after an edit: locator, redraw, changed flag, the other views.
  void EditRefresh();
  void UndoLastTask();
  // Copies of the selected model objects, in list order, to the clipboard ('DOCC').
  void CopySelection();
  // The selection deleted through the views layer's undoable delete.
  void ClearSelection();
  void SelectAll();
  // A copy of the clipboard object appended to the object list, selected, in the current phase.
  VLUser3DObject* AppendPastedCopy(VLUser3DObject* source);
  void FinishPaste();
  void PasteIntoOpening(VLOpeningOwner* owner, VLArray* clipboard);
  // Mirrors each selected object within its own bounds: axis 0 y, 1 x, 2 z.
  void FlipSelection(SInt16 axis);
  // The scale dialog, then each selected object (or selected opening) replaced by a copy scaled
  // about its reference point, undoably. In VLDocumentScale.cpp.
  void ScaleSelection();
  void GroupSelection(bool group);
  // Commands 5009 (hide the selection), 5010 (show all), 5011 (swap hidden and shown).
  void HideOrShow(long command);
  // The selected objects' edge projections on or off.
  void ShowProjections(bool show);
  // Disposes of every item of a list of collaborators, then of the list.
  static void DisposeList(VLArray*& list);

  CCollaborator* itsPrintStatusDialog = nullptr;
  VLArray* itsSavedViews = nullptr;
  VLArray* itsWalkthroughViews = nullptr;
  VLIndexedCluster* itsPhases = nullptr;
  VLANSIDataFile* itsFile = nullptr;
  std::FILE* itsOutputStream = nullptr;
  VLUser3DObject* itsSectionPlane = nullptr;
  VLUser3DObject* itsWorkingPlane = nullptr;
  VLDocumentViews* itsViews = nullptr;
  CPane* itsMainPane = nullptr;
  CCollaborator* itsSubWindows[kSubWindowSlots] = {};
  SInt16 untitledNumber = 0;
  SInt16 sceneWindowCounters[2] = {};
  CPreferences* itsPreferences = nullptr;
  objectHolderType* itsObjectHolder = nullptr;
  SInt16 phaseCounter = 0;
  SInt16 currentPhase = 0;
  SInt16 currentToolGroup = 0;
  SInt16 viewNumberCounter = 0;
  SInt16 subWindowCount = 0;
  // The number the next sub-window gets: the document's own window is the first view.
  SInt16 subWindowSerial = 2;
  CCollaborator* itsCurrentSubWindow = nullptr;
  void* materialBrowseState = nullptr;
  Boolean closing = false;
  SInt16 toolGroupDefaults[kToolGroups] = {};
  double modelBox[6] = {};
  UInt8 refreshOnActivation = 0;
  UInt8 stateFlag = 0;
  UInt8 drawingInProgress = 0;
  UInt8 workingPlaneInUse = 0;
  UInt8 viewUndo = 0;
  double latitude = 0.0;
  UInt8 groundPlaneVisible = 0;
  SInt32 lineDelimiter = 10;
  UInt8 displayFlags[3] = {};
  SInt32 fileVersion = 4;
};

// ---- State the active native document publishes ----
// Besides these: gCurrentObjectList (ObjectList.h), gCurrentPhases and gCurrentPhase (PhaseRecord.h),
// gCurrentSelection (Selection.h) and, with the view pane, gCurrentMaterials (D3TMaterialList.h),
// which the model objects read.

extern SInt32 gObjectCount;
// 1 while the document's previous changed flag is being restored (sent with kModelChanged).
extern UInt8 gModelChangeIsRestore;
extern SInt16 gPhaseCounter;
// The view pane of the active document's window; null when none.
extern VLViewPane* gCurrentViewPane;

// Installs the native document as the document the application makes for new and 'TEXT' files.
void InstallNativeDocument();
VLAbstractDocument* MakeNativeDocument();
