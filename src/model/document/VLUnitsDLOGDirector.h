// The director of the units and grids dialog (dialog 3004): the document's length and angle
// formats (unit, decimals or fractions, precision) chosen from pop-ups, and three lengths typed:
// the background grid's spacing and size and the snap-grid spacing. The document's command
// makes it with the current values, runs it and reads what it holds afterwards; the director
// changes nothing outside itself.
//
// A value typed is taken when a pop-up is chosen and when the dialog closes with OK. A text that
// is not a length, or a length out of range, is refused: OK then beeps, keeps the dialog open and
// selects that text, and the value keeps what it last held.
#pragma once

#include "CDLOGDirector.h"
#include "Format.h"

class CDialogText;
class CDirectorOwner;
class VLPopupPane;

class VLUnitsDLOGDirector : public CDLOGDirector {
  VL_REGISTERED_CLASS(VLUnitsDLOGDirector, CDLOGDirector)

 public:
  enum : SInt16 { kUnitsDialog = 3004 };
  // The dialog's items.
  enum : SInt16 {
    kLengthFormatItem = 4,
    kLengthDecimalsItem = 5,
    kLengthFractionItem = 6,
    kAngleFormatItem = 8,
    kAngleDecimalsItem = 9,
    kAngleFractionItem = 10,
    kSnapSpacingItem = 12,
    kGridSpacingItem = 14,
    kGridSizeItem = 16,
  };
  // The pop-ups' commands: a format of the application at command minus the first; a precision
  // or a denominator at command minus the base.
  enum : long {
    cmdFirstLengthFormat = 8801,
    cmdLastLengthFormat = 8850,
    cmdLengthDecimalsBase = 8890,
    cmdLastLengthDecimals = 8899,
    cmdLengthFractionBase = 9000,
    cmdLastLengthFraction = 9256,
    cmdFirstAngleFormat = 8901,
    cmdLastAngleFormat = 8950,
    cmdAngleDecimalsBase = 8990,
    cmdLastAngleDecimals = 8999,
    cmdAngleFractionBase = 9500,
    cmdLastAngleFraction = 9756,
  };
  // What a value's flag says: accepted, or typed and not yet accepted.
  enum : SInt32 { kValueValid = 1, kValueEdited = 2 };
  // The three values, in the order of their fields.
  enum Value { kGridSpacing = 0, kGridSize = 1, kSnapSpacing = 2 };

  VLUnitsDLOGDirector() = default;

  // Copies the formats and values (lengths in feet), makes the dialog (dialogID) placed by the
  // decorator, finds its items, limits the texts to 40 characters and fills the dialog. Fails
  // (resNotFound) when the dialog cannot be made or lacks one of its nine items; disposing of the
  // director then takes what was made with it.
  virtual void IVLUnitsDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor, const Format& lengthFormat,
                                    const Format& angleFormat, double gridSpacing, double gridSize,
                                    double snapSpacing);

  // Shows the formats in the pop-ups (the decimals or the fraction pop-up of each, as its style
  // says) and each accepted value as a length in the length format.
  virtual void FillDialog();
  // The pop-ups' commands: each takes the typed values first, then changes the format (a
  // decimals command only for a format in decimals, a fraction command only for one in
  // fractions) and fills the dialog again. Others go to the dialog director.
  void DoCommand(long command) override;
  // A typed change in one of the three texts marks its value edited; a choice in a pop-up is
  // carried out as the command of its item.
  void OnProviderChange(CCollaborator* provider, long reason, void* info) override;
  // Takes each edited value whose text is a length in range (the grid's pair together: a grid
  // that GridLineCount refuses is refused). True when all three values are accepted.
  virtual Boolean AcceptValues();
  // OK closes only when AcceptValues does; otherwise a beep, and the first refused text is
  // selected.
  Boolean EndDialog(long command, Boolean validate) override;

  Boolean HasChanged() const { return changed; }
  const Format& GetLengthFormat() const { return lengthFormat; }
  const Format& GetAngleFormat() const { return angleFormat; }
  double GetValue(Value which) const { return values[which]; }
  SInt32 GetValueFlag(Value which) const { return flags[which]; }

  // The largest length the three fields take, in feet: the extent the model's searches start
  // from. A grid or a snap spacing beyond it is a typing error.
  static constexpr double kMostLength = 105600.0;
  // The characters each text takes.
  static constexpr SInt16 kTextLimit = 40;

 protected:
  // The application's format at the index; false when there is none (or the application is not
  // the program's).
  static bool ApplicationFormat(bool length, long index, Format* format);
  // Marks the pop-up's item of the command as its current one.
  static void MarkCommand(VLPopupPane* popup, long command);
  // The two pop-ups of a format's precision, the one of its style shown.
  static void ShowPrecision(const Format& format, VLPopupPane* decimals, VLPopupPane* fraction, long decimalsBase,
                            long fractionBase);
  // A pop-up's command (one of the ranges above): false, nothing done, when it does not apply
  // (a decimals command for a format in fractions, a format the application lacks).
  bool ApplyFormatCommand(long command);
  // Reads one text as a length in feet; false when it is not one.
  bool ReadLength(Value which, double* feet) const;

  Boolean changed = false;
  Format lengthFormat;
  Format angleFormat;
  double values[3] = {};
  SInt32 flags[3] = {kValueValid, kValueValid, kValueValid};
  // The pop-ups 4, 5, 6, 8, 9, 10 and the texts 14, 16, 12.
  VLPopupPane* popups[6] = {};
  CDialogText* texts[3] = {};
  // The text AcceptValues refused first (0 when none).
  SInt16 refusedItem = 0;
};
