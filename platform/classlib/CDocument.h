// A document: a director with a file. Closing a changed document asks whether to save it
// (alert 151, with the document's name and why it closes), and a refused or failed save keeps
// it open, so nothing is lost. Commands 5 (save), 6 (save as), 8 (page set-up) and 9 (print)
// are handled here.
#pragma once

#include "CDirector.h"
#include "PString.h"

class CPrinter;
struct StandardFileReply;
struct SFReply;

class CDocument : public CDirector {
  VL_REGISTERED_CLASS(CDocument, CDirector)

 public:
  CDocument() : serial(++lastSerial) {}
  ~CDocument() override;

  // Documents are numbered as they are made, from 1: a document made after another has the
  // higher number. LastSerial is the number of the last one made (0 before any).
  long GetSerial() const { return serial; }
  static long LastSerial() { return lastSerial; }

  void IDocument(CDirectorOwner* supervisor, Boolean printable);
  Boolean IsPrintable() const { return printable; }

  // The document's file; an untitled document has none.
  Boolean HasFile() const { return hasFile; }
  Boolean GetFileSpec(FSSpec* spec) const;
  void SetFileSpec(const FSSpec* spec);  // null: untitled again

  // The name the save question shows: the file's name, else the name set here.
  virtual void GetName(StringPtr name) const;
  void SetName(ConstStringPtr name);

  // A new, untitled document's contents and window / a document read from the chosen file.
  // The base has nothing to make or read.
  virtual void NewFile();
  virtual void OpenFile(SFReply* reply);

  // Writes the document to its file; without a file, the save-as path. The base has nothing to
  // write and answers false with a file.
  virtual Boolean DoSave();
  // Takes the chosen file and saves there.
  virtual Boolean DoSaveAs(StandardFileReply* reply);
  // The save-as path: the save dialog proposes the document's name; a chosen file goes to
  // DoSaveAs, a cancelled dialog answers false.
  virtual Boolean DoSaveFileAs();

  // ---- Printing (commands 8 and 9 of a printable document) ----
  // Makes the document's printer (itsPrinter): the base a CPrinter with a default record.
  virtual void CreatePrinter();
  CPrinter* GetPrinter() const { return itsPrinter; }
  // The page set-up dialog and the print job, through the printer (made on demand).
  void DoPageSetup();
  void DoPrint();
  // The steps of a job: the pages to print (the base prints page 1 only), one page drawn into
  // the current port (the base: the first target, when it is a pane, draws the page's
  // rectangle), and the end of the job, whether it completed, failed or was stopped.
  virtual void AboutToPrint(long* firstPage, long* lastPage);
  virtual void PrintPageOfDoc(SInt16 pageNumber);
  virtual void DonePrinting();

  // When changed, asks whether to save first (the save option decides, see gSaveOption).
  Boolean Close(Boolean quitting) override;
  void DoCommand(long command) override;
  void UpdateMenus() override;

 protected:
  Boolean printable = false;
  CPrinter* itsPrinter = nullptr;  // owned
  Boolean hasFile = false;
  FSSpec fileSpec;
  Str255 name;

 private:
  static inline long lastSerial = 0;
  long serial = 0;
};

// What closing a changed document does: ask (the default), save without asking, or close
// without saving.
enum : OSType { kSaveAsk = FourCC("ask "), kSaveYes = FourCC("yes "), kSaveNo = FourCC("no  ") };
extern OSType gSaveOption;
