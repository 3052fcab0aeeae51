// A material's postage stamp as a bitmap, and render element output descriptions made ready.
#include "script_library_fixture.h"

#include "bitmap.h"
#include "imtl.h"
#include "maxapi.h"
#include "renderelements.h"
#include "script/runtime.h"

#include <cstring>
#include <vector>

namespace {

using test::ScriptLibrary;

TEST_F(ScriptLibrary, MaterialStampSizesAndRowOrder) {
  // A plain red material stamps red everywhere, opaque, in 16-bit channels (byte x 257).
  EXPECT_EQ(run("m = standardMaterial diffuse:(color 255 0 0)\n"
                "for code in #(0, 1, 2) do (b = QZMgetMaterialStamp m code; format \"%x% \" b.width b.height)\n"
                "print (QZMgetMaterialStamp m 3)\n"
                "print (QZMgetMaterialStamp undefined 0)"),
            "32x32 88x88 24x24 undefined\nundefined\n");
}

TEST_F(ScriptLibrary, MaterialStampRowsComeTopFirstWith16BitChannels) {
  run("m = standardMaterial diffuse:(color 200 100 50)\nb = QZMgetMaterialStamp m 1");
  Mtl* mtl = sim::rt::Runtime::get().getGlobal("m")->to_mtl();
  Bitmap* bm = sim::rt::Runtime::get().getGlobal("b")->to_bitmap();
  ASSERT_TRUE(mtl && bm);
  EXPECT_EQ(mtl->GetPStamp(PS_LARGE), nullptr);  // discarded once copied
  // The same stamp again, to compare byte for byte: rows bottom first, blue-green-red.
  PStamp* stamp = mtl->CreatePStamp(PS_LARGE, TRUE);
  std::vector<UBYTE> image(static_cast<size_t>(ByteWidth(88)) * 88);
  stamp->GetImage(image.data());
  int differentRows = 0;
  for (int y = 0; y < 88; ++y) {
    BMM_Color_64 row[88];
    ASSERT_EQ(bm->GetPixels(0, y, 88, row), 88);
    const UBYTE* from = image.data() + static_cast<size_t>(87 - y) * ByteWidth(88);
    for (int x = 0; x < 88; ++x) {
      EXPECT_EQ(row[x].r, from[3 * x + 2] * 257) << x << "," << y;
      EXPECT_EQ(row[x].g, from[3 * x + 1] * 257) << x << "," << y;
      EXPECT_EQ(row[x].b, from[3 * x] * 257) << x << "," << y;
      EXPECT_EQ(row[x].a, 65535);
    }
    if (y > 0 && std::memcmp(from, image.data() + static_cast<size_t>(88 - y) * ByteWidth(88), 3 * 88) != 0) ++differentRows;
  }
  EXPECT_GT(differentRows, 10);  // the stamp is no flat colour, so the row order is really tested
}

TEST_F(ScriptLibrary, RenderElementOutputIsMadeReadyOrRefused) {
  IRenderElementMgr* elements = GetCOREInterface()->GetCurRenderElementMgr();
  elements->RemoveAllRenderElements();
  auto* diffuse = static_cast<ReferenceTarget*>(
      GetCOREInterface()->CreateInstance(RENDER_ELEMENT_CLASS_ID, Class_ID(0x4e2b3a10, 1)));
  ASSERT_NE(diffuse, nullptr);
  elements->AddRenderElement(diffuse);
  EXPECT_EQ(run("print (QZMSetREoutput 0)"), "false\n");  // no output description yet
  elements->SetRenderElementFilename(0, "beauty_diffuse.png");
  EXPECT_EQ(run("print (QZMSetREoutput 0); print (QZMSetREoutput 1); print (QZMSetREoutput -1)"),
            "true\nfalse\nfalse\n");
  elements->RemoveAllRenderElements();
}

}  // namespace
