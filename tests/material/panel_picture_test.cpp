// The panel's postage stamps and its picture: which stamps are rendered, and a small known panel
// compared pixel for pixel with the picture stored beside the tests.
#include "bitmap.h"
#include "bitmap/image_files.h"
#include "panel_fixture.h"

#include <cstdlib>
#include <string>
#include "support/stored_picture.h"

namespace panel_test {
namespace {

struct BitmapDeleter {
  void operator()(Bitmap* b) const {
    if (b) b->DeleteThis();
  }
};
using BitmapPtr = std::unique_ptr<Bitmap, BitmapDeleter>;

BMM_Color_64 pixel(const Bitmap& b, int x, int y) {
  BMM_Color_64 p;
  b.GetPixels(x, y, 1, &p);
  return p;
}

// The middle of a row's stamp frame, in the page's pixels.
POINT stampCentre(HWND page, int row) {
  RECT r;
  HWND frame = GetDlgItem(page, kFirstStamp + row);
  GetWindowRect(frame, &r);
  POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ScreenToClient(page, &centre);
  return centre;
}

TEST_F(MaterialPanel, WithActiveStampOnlyOnlyTheActivePassRendersItsStamp) {
  Mtl* pass3 = coloured(Color(1.0f, 0.0f, 0.0f), "Three");
  Mtl* pass5 = coloured(Color(0.0f, 0.0f, 1.0f), "Five");
  params()->SetValue(materialArray, 0, static_cast<ReferenceTarget*>(pass3), 2);
  params()->SetValue(materialArray, 0, static_cast<ReferenceTarget*>(pass5), 4);
  params()->SetValue(whichPass, 0, 3);
  params()->SetValue(activeStampOnly, 0, TRUE);
  open();
  EXPECT_NE(pass3->GetPStamp(PS_TINY), nullptr);
  EXPECT_EQ(pass5->GetPStamp(PS_TINY), nullptr);

#if defined(_WIN32)
  // A picture of a real window is taken with WM_PRINT, which the subclassed stamp frames do not
  // paint for; which stamp was made is checked above.
  return;
#endif
  BitmapPtr picture(sim::ui::snapshot(page));
  ASSERT_NE(picture, nullptr);
  POINT outlined = stampCentre(page, 4);
  POINT rendered = stampCentre(page, 2);
  BMM_Color_64 inside = pixel(*picture, outlined.x, outlined.y);
  BMM_Color_64 stamp = pixel(*picture, rendered.x, rendered.y);
  // The outlined frame shows the page behind it; the rendered one the red sphere.
  EXPECT_EQ(inside.r, inside.b);
  EXPECT_GT(stamp.r, stamp.b);
}

TEST_F(MaterialPanel, ADiscardedStampIsRenderedAgainAtTheNextPaint) {
  Mtl* m = coloured(Color(0.0f, 1.0f, 0.0f), "Green");
  params()->SetValue(materialArray, 0, static_cast<ReferenceTarget*>(m), 0);
  open();
  EXPECT_NE(m->GetPStamp(PS_TINY), nullptr);
  m->DiscardPStamp(PS_TINY);
  InvalidateRect(item(kFirstStamp), nullptr, FALSE);
  sim::ui::pumpMessages();
  EXPECT_NE(m->GetPStamp(PS_TINY), nullptr);  // rendered again on the next paint
}

#if !defined(_WIN32)
// The headless host draws the same pixels on every run; on Windows the page is a real window whose
// look is the system's.
TEST_F(MaterialPanel, ASmallKnownPanelLooksAsStored) {
  if (!sim::imageFilesAvailable()) GTEST_SKIP() << "this build reads no image files";
  params()->SetValue(materialArray, 0, static_cast<ReferenceTarget*>(coloured(Color(0.8f, 0.1f, 0.1f), "Red")), 0);
  params()->SetValue(materialArray, 0, static_cast<ReferenceTarget*>(coloured(Color(0.1f, 0.1f, 0.8f), "Blue")), 2);
  params()->SetValue(labels, 0, "Beauty", 0);
  params()->SetValue(labels, 0, "Shadow", 2);
  params()->SetValue(activeStampOnly, 0, TRUE);
  open();
  BitmapPtr picture(sim::ui::snapshot(page));
  ASSERT_NE(picture, nullptr);

  EXPECT_EQ(test::differenceFromStoredPicture(*picture, "tests/material/data/panel_small.png"), "");
}
#endif

}  // namespace
}  // namespace panel_test
