#include "MaterialListDialog.h"

#include <algorithm>
#include <string>

#include "D3TMaterialList.h"
#include "PString.h"

Boolean MaterialListDialog::Init(HWND dialog) {
  HWND list = GetDlgItem(dialog, kMaterialList);
  SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("none"));
  HDC dc = GetDC(list);
  LONG widest = 0;
  const long count = materials ? materials->GetCount() : 0;
  for (long i = 1; i <= count; ++i) {
    D3TMaterial* material = materials->GetMaterialAt(i);
    std::string name = material ? PStrToStd(material->GetName()) : std::string();
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SIZE extent{0, 0};
    if (GetTextExtentPoint32A(dc, name.c_str(), int(name.size()), &extent)) widest = std::max(widest, extent.cx);
  }
  ReleaseDC(list, dc);
  const long current = materials ? materials->HasMaterial(materials->GetCurrentMaterial()) : 0;
  SendMessageA(list, CB_SETCURSEL, WPARAM(current), 0);
  SendMessageA(list, CB_SETHORIZONTALEXTENT, WPARAM(widest + 3), 0);
  return true;
}

Boolean MaterialListDialog::Command(HWND dialog, int controlId, HWND, int) {
  if (controlId == IDOK) {
    LRESULT selected = SendDlgItemMessageA(dialog, kMaterialList, CB_GETCURSEL, 0, 0);
    chosenEntry = selected == CB_ERR ? 0 : SInt32(selected);
    EndDialog(dialog, 1);
    return true;
  }
  if (controlId == IDCANCEL) {
    EndDialog(dialog, 0);
    return true;
  }
  return false;
}
