// QZMMaterialDlg: the postage stamps of the rows, painted by the stamp frames' window procedure.
#include "custcont.h"
#include "gport.h"
#include "qzm_material.h"
#include "qzm_material_dlg.h"
#include "qzm_material_dlg_rows.h"

#include <algorithm>
#include <vector>

using namespace panel_rows;

namespace {

// The colour manager's colour for an empty slot's stamp.
constexpr int kEmptyStampColor = 15;

void outline(HDC hdc, const RECT& rect) {
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
  Rectangle(hdc, rect.left, rect.top, rect.right, rect.bottom);
  SelectObject(hdc, oldPen);
  SelectObject(hdc, oldBrush);
}

// Copies the stamp into a buffer that covers both the stamp and the rectangle, since the port reads
// as many rows and columns as the rectangle has, and draws it.
void drawStamp(HDC hdc, const RECT& rect, PStamp* stamp) {
  int width = stamp->Width();
  int height = stamp->Height();
  if (width <= 0 || height <= 0) return;
  Rect dest(rect);
  int stampBytes = ByteWidth(width);
  int rowBytes = ByteWidth(std::max(width, dest.w()));
  int rows = std::max(height, dest.h());
  std::vector<UBYTE> image(static_cast<size_t>(stampBytes) * static_cast<size_t>(height));
  stamp->GetImage(image.data());
  std::vector<UBYTE> map(static_cast<size_t>(rowBytes) * static_cast<size_t>(rows));
  for (int y = 0; y < height; ++y)
    std::copy_n(image.begin() + static_cast<ptrdiff_t>(y) * stampBytes, stampBytes,
                map.begin() + static_cast<ptrdiff_t>(y) * rowBytes);
  GetGPort()->DisplayMap(hdc, dest, 0, 0, map.data(), rowBytes);
}

}  // namespace

LRESULT CALLBACK QZMMaterialStampProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  int row = rowOf(kStampFrames, GetDlgCtrlID(hwnd));
  if (row < 0) row = 0;
  auto* dlg = reinterpret_cast<QZMMaterialDlg*>(GetWindowLongPtr(GetParent(hwnd), GWLP_USERDATA));
  if (!dlg) return 0;
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (hdc && !IsRectEmpty(&ps.rcPaint)) {
      RECT client;
      GetClientRect(hwnd, &client);
      dlg->DrawSlotStamp(hdc, client, row);
    }
    EndPaint(hwnd, &ps);
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void QZMMaterialDlg::DrawSlotStamp(HDC hdc, const RECT& rect, int row) {
  IParamBlock2* pb = material_ ? material_->GetParamBlock(0) : nullptr;
  if (!pb || row < 0 || row >= kRows) return;
  int slot = rowOffset() + row;
  Mtl* m = material_->GetSubMtl(slot);
  if (!m) {
    HGDIOBJ old = SelectObject(hdc, GetColorManager()->GetBrush(kEmptyStampColor));
    Rectangle(hdc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(hdc, old);
    return;
  }
  int& unavailable = material_->StampUnavailable(slot);
  if (unavailable) return;
  PStamp* stamp = m->GetPStamp(PS_TINY);
  if (!stamp) {
    bool activeOnly = pb->GetInt(pb_activeStampOnly, 0) != 0;
    if (activeOnly && pb->GetInt(pb_whichPass, 0) != slot + 1) {
      outline(hdc, rect);
      return;
    }
    stamp = m->CreatePStamp(PS_TINY, TRUE);
    if (!stamp) {
      unavailable = 1;
      return;
    }
  }
  drawStamp(hdc, rect, stamp);
}
