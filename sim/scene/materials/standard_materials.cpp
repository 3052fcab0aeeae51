// StandardMaterial, Checker and BitmapTexture: the host's own material and maps. Their settings live
// in parameter blocks under the names scripts use (diffuse, glossiness, diffuseMap, color1, ...).
#include "hold.h"
#include "iparamb2.h"
#include "scene/materials/block_mtl.h"
#include "istdplug.h"
#include "scene/host_class_desc.h"
#include "scene/scene_values.h"
#include "scenefile/chunk_io.h"
#include "script/property_table.h"
#include "scene/materials/stdmat.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace sim {

int& materialCounter() {
  static int count = 0;
  return count;
}

namespace {

int g_mapCount = 0;

// ---- StandardMaterial ---------------------------------------------------------------------------

enum {
  std_ambient, std_diffuse, std_specular, std_glossiness, std_specularLevel, std_opacity, std_selfIllum,
  std_diffuseMap, std_diffuseMapEnable, std_diffuseMapAmount, std_shaderType, std_twoSided, std_wire,
};

void* newStdMtl(BOOL loading);
HostClassDesc stdMtlDesc("StandardMaterial", MATERIAL_CLASS_ID, Class_ID(DMTL_CLASS_ID, 0), "Materials", newStdMtl);
ParamBlockDesc2 stdMtlParams(0, _T("StandardParameters"), 0, &stdMtlDesc, P_AUTO_CONSTRUCT, 0,
    std_ambient, _T("ambient"), TYPE_RGBA, P_ANIMATABLE, 0, p_default, Color(0.588f, 0.588f, 0.588f), p_end,
    std_diffuse, _T("diffuse"), TYPE_RGBA, P_ANIMATABLE, 0, p_default, Color(0.588f, 0.588f, 0.588f), p_end,
    std_specular, _T("specular"), TYPE_RGBA, P_ANIMATABLE, 0, p_default, Color(0.9f, 0.9f, 0.9f), p_end,
    std_glossiness, _T("glossiness"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 10.0, p_range, 0.0, 100.0, p_end,
    std_specularLevel, _T("specularLevel"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, 0.0, 999.0, p_end,
    std_opacity, _T("opacity"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 100.0, p_range, 0.0, 100.0, p_end,
    std_selfIllum, _T("selfIllumAmount"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, 0.0, 100.0, p_end,
    std_diffuseMap, _T("diffuseMap"), TYPE_TEXMAP, 0, 0, p_end,
    std_diffuseMapEnable, _T("diffuseMapEnable"), TYPE_BOOL, 0, 0, p_default, 1, p_end,
    std_diffuseMapAmount, _T("diffuseMapAmount"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 100.0, p_range, 0.0, 100.0, p_end,
    std_shaderType, _T("shaderType"), TYPE_INT, 0, 0, p_default, 1, p_range, 0, 7, p_end,
    std_twoSided, _T("twoSided"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    std_wire, _T("wire"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    p_end);

class StdMtl : public BlockMtl<StdMat> {
 public:
  explicit StdMtl(BOOL loading) {
    if (loading) return;
    stdMtlDesc.MakeAutoParamBlocks(this);
    nameNew("Material #", materialCounter());
  }

  void GetClassName(TSTR& s) override { s = "Standard"; }
  Class_ID ClassID() override { return Class_ID(DMTL_CLASS_ID, 0); }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new StdMtl(TRUE);
    c->ReplaceReference(0, remap.CloneRef(pblock));
    copyMtlBase(c);
    BaseClone(this, c, remap);
    return c;
  }
  void Reset() override {
    if (pblock) pblock->ResetAll();
  }

  // ---- Mtl ----
  Color GetAmbient(int, BOOL) override { return color(std_ambient, time_); }
  Color GetDiffuse(int, BOOL) override { return color(std_diffuse, time_); }
  Color GetSpecular(int, BOOL) override { return color(std_specular, time_); }
  float GetShininess(int, BOOL) override { return percent(std_glossiness, time_); }
  float GetShinStr(int, BOOL) override { return percent(std_specularLevel, time_); }
  float GetXParency(int, BOOL) override { return 1.0f - percent(std_opacity, time_); }
  float GetSelfIllum(int, BOOL) override { return percent(std_selfIllum, time_); }
  BOOL GetSelfIllumColorOn(int, BOOL) override { return FALSE; }
  Color GetSelfIllumColor(int, BOOL) override { return GetDiffuse(0, FALSE) * GetSelfIllum(0, FALSE); }
  void SetAmbient(Color c, TimeValue t) override { setColor(std_ambient, c, t); }
  void SetDiffuse(Color c, TimeValue t) override { setColor(std_diffuse, c, t); }
  void SetSpecular(Color c, TimeValue t) override { setColor(std_specular, c, t); }
  void SetShininess(float v, TimeValue t) override { setPercent(std_glossiness, v, t); }

  void Shade(ShadeContext& sc) override {
    TimeValue t = sc.CurTime();
    Color diffuse = color(std_diffuse, t);
    Texmap* map = pblock ? static_cast<Texmap*>(pblock->GetReferenceTarget(std_diffuseMap, t)) : nullptr;
    if (map && pblock->GetInt(std_diffuseMapEnable, t)) {
      float amount = percent(std_diffuseMapAmount, t);
      Color m = Color(map->EvalColor(sc));
      diffuse = diffuse * (1.0f - amount) + m * amount;
    }
    Color ambient = color(std_ambient, t) * sc.ambientLight;
    Color specular = color(std_specular, t);
    float gloss = percent(std_glossiness, t), level = percent(std_specularLevel, t);
    float self = percent(std_selfIllum, t);
    Point3 n = sc.Normal();
    Color diffLight, specLight;
    for (int i = 0; i < sc.nLights; ++i) {
      LightDesc* l = sc.Light(i);
      Color lc;
      Point3 dir;
      float dot = 0.0f, coef = 0.0f;
      if (!l || !l->Illuminate(sc, n, lc, dir, dot, coef) || dot <= 0.0f) continue;
      diffLight += lc * coef;
      // Blinn highlight: the half vector between the light and the eye.
      Point3 h = (dir - sc.V()).Normalize();
      float nh = std::max(0.0f, DotProd(n, h));
      specLight += lc * (level * std::pow(nh, 4.0f + gloss * 96.0f));
    }
    Color lit = diffuse * diffLight + ambient;
    Color c = diffuse * self + lit * (1.0f - self) + specular * specLight;
    float xp = 1.0f - percent(std_opacity, t);
    sc.out.c = c;
    sc.out.t = Color(xp, xp, xp);
    if (GetGBufID() != 0) sc.SetGBufferID(GetGBufID());
  }
  bool IsOutputConst(ShadeContext&, int stdID) override { return stdID != ID_DI || !diffuseMap(); }
  bool EvalColorStdChannel(ShadeContext& sc, int stdID, Color& outClr) override {
    switch (stdID) {
      case ID_AM: outClr = color(std_ambient, sc.CurTime()); return true;
      case ID_DI: outClr = color(std_diffuse, sc.CurTime()); return true;
      case ID_SP: outClr = color(std_specular, sc.CurTime()); return true;
      default: return false;
    }
  }
  bool EvalMonoStdChannel(ShadeContext& sc, int stdID, float& outVal) override {
    switch (stdID) {
      case ID_SH: outVal = percent(std_glossiness, sc.CurTime()); return true;
      case ID_SS: outVal = percent(std_specularLevel, sc.CurTime()); return true;
      case ID_SI: outVal = percent(std_selfIllum, sc.CurTime()); return true;
      case ID_OP: outVal = percent(std_opacity, sc.CurTime()); return true;
      default: return false;
    }
  }

  // ---- sub-maps: the diffuse map ----
  int NumSubTexmaps() override { return 1; }
  Texmap* GetSubTexmap(int i) override { return i == 0 ? diffuseMap() : nullptr; }
  void SetSubTexmap(int i, Texmap* m) override {
    if (i == 0 && pblock) pblock->SetValue(std_diffuseMap, 0, static_cast<ReferenceTarget*>(m));
  }
  TSTR GetSubTexmapSlotName(int i) override { return i == 0 ? TSTR("Diffuse Color") : TSTR(); }

  // ---- StdMat ----
  void SetShading(int s) override { if (pblock) pblock->SetValue(std_shaderType, 0, s); }
  int GetShading() override { return pblock ? pblock->GetInt(std_shaderType) : SHADE_BLINN; }
  void EnableMap(int id, BOOL onoff) override {
    if (id == ID_DI && pblock) pblock->SetValue(std_diffuseMapEnable, 0, onoff ? 1 : 0);
  }
  BOOL MapEnabled(int id) override { return id == ID_DI && pblock && pblock->GetInt(std_diffuseMapEnable); }
  void SetShinStr(float v, TimeValue t) override { setPercent(std_specularLevel, v, t); }
  void SetSelfIllum(float v, TimeValue t) override { setPercent(std_selfIllum, v, t); }
  void SetOpacity(float v, TimeValue t) override { setPercent(std_opacity, v, t); }
  Color GetAmbient(TimeValue t) override { return color(std_ambient, t); }
  Color GetDiffuse(TimeValue t) override { return color(std_diffuse, t); }
  Color GetSpecular(TimeValue t) override { return color(std_specular, t); }
  float GetShininess(TimeValue t) override { return percent(std_glossiness, t); }
  float GetShinStr(TimeValue t) override { return percent(std_specularLevel, t); }
  float GetSelfIllum(TimeValue t) override { return percent(std_selfIllum, t); }
  float GetOpacity(TimeValue t) override { return percent(std_opacity, t); }
  void SetTexmapAmt(int imap, float amt, TimeValue t) override {
    if (imap == ID_DI) setPercent(std_diffuseMapAmount, amt, t);
  }
  float GetTexmapAmt(int imap, TimeValue t) override { return imap == ID_DI ? percent(std_diffuseMapAmount, t) : 0.0f; }

 private:
  Color color(ParamID id, TimeValue t) { return pblock ? pblock->GetColor(id, t) : Color(); }
  // Percent parameters as fractions.
  float percent(ParamID id, TimeValue t) { return pblock ? pblock->GetFloat(id, t) / 100.0f : 0.0f; }
  void setColor(ParamID id, const Color& c, TimeValue t) {
    if (pblock) pblock->SetValue(id, t, c);
  }
  void setPercent(ParamID id, float v, TimeValue t) {
    if (pblock) pblock->SetValue(id, t, v * 100.0f);
  }
  Texmap* diffuseMap() { return pblock ? static_cast<Texmap*>(pblock->GetReferenceTarget(std_diffuseMap)) : nullptr; }
};
void* newStdMtl(BOOL loading) { return new StdMtl(loading); }

// ---- Checker ------------------------------------------------------------------------------------

enum { chk_color1, chk_color2, chk_soften, chk_utile, chk_vtile };

void* newChecker(BOOL loading);
HostClassDesc checkerDesc("Checker", TEXMAP_CLASS_ID, Class_ID(CHECKER_CLASS_ID, 0), "Maps", newChecker);
ParamBlockDesc2 checkerParams(0, _T("CheckerParameters"), 0, &checkerDesc, P_AUTO_CONSTRUCT, 0,
    chk_color1, _T("color1"), TYPE_RGBA, P_ANIMATABLE, 0, p_default, Color(0.0f, 0.0f, 0.0f), p_end,
    chk_color2, _T("color2"), TYPE_RGBA, P_ANIMATABLE, 0, p_default, Color(1.0f, 1.0f, 1.0f), p_end,
    chk_soften, _T("soften"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, 0.0, 100.0, p_end,
    chk_utile, _T("U_Tiling"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 1.0, p_range, -1e6, 1e6, p_end,
    chk_vtile, _T("V_Tiling"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 1.0, p_range, -1e6, 1e6, p_end,
    p_end);

class CheckerMap : public BlockMtl<Texmap> {
 public:
  explicit CheckerMap(BOOL loading) {
    if (loading) return;
    checkerDesc.MakeAutoParamBlocks(this);
    nameNew("Map #", g_mapCount);
  }
  void GetClassName(TSTR& s) override { s = "Checker"; }
  Class_ID ClassID() override { return Class_ID(CHECKER_CLASS_ID, 0); }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new CheckerMap(TRUE);
    c->ReplaceReference(0, remap.CloneRef(pblock));
    copyMtlBase(c);
    BaseClone(this, c, remap);
    return c;
  }
  void Reset() override {
    if (pblock) pblock->ResetAll();
  }
  // Two squares of each colour per tile along u and v.
  AColor EvalColor(ShadeContext& sc) override {
    if (!pblock) return AColor();
    TimeValue t = sc.CurTime();
    Point3 uvw = sc.UVW(1);
    float u = uvw.x * pblock->GetFloat(chk_utile, t), v = uvw.y * pblock->GetFloat(chk_vtile, t);
    long cell = static_cast<long>(std::floor(u * 2.0f)) + static_cast<long>(std::floor(v * 2.0f));
    return AColor(pblock->GetColor(cell % 2 == 0 ? chk_color1 : chk_color2, t), 1.0f);
  }
};
void* newChecker(BOOL loading) { return new CheckerMap(loading); }

// ---- BitmapTexture ------------------------------------------------------------------------------

enum { bmt_filename };

void* newBitmapTex(BOOL loading);
HostClassDesc bitmapTexDesc("BitmapTexture", TEXMAP_CLASS_ID, Class_ID(BMTEX_CLASS_ID, 0), "Maps", newBitmapTex);
ParamBlockDesc2 bitmapTexParams(0, _T("BitmapParameters"), 0, &bitmapTexDesc, P_AUTO_CONSTRUCT, 0,
    bmt_filename, _T("filename"), TYPE_FILENAME, 0, 0, p_default, _T(""), p_end,
    p_end);

class BitmapTexMap : public BlockMtl<BitmapTex> {
 public:
  explicit BitmapTexMap(BOOL loading) {
    if (loading) return;
    bitmapTexDesc.MakeAutoParamBlocks(this);
    nameNew("Map #", g_mapCount);
  }
  void GetClassName(TSTR& s) override { s = "Bitmap"; }
  Class_ID ClassID() override { return Class_ID(BMTEX_CLASS_ID, 0); }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new BitmapTexMap(TRUE);
    c->ReplaceReference(0, remap.CloneRef(pblock));
    copyMtlBase(c);
    BaseClone(this, c, remap);
    return c;
  }
  void Reset() override {
    if (pblock) pblock->ResetAll();
  }
  AColor EvalColor(ShadeContext&) override { return AColor(0.5f, 0.5f, 0.5f, 1.0f); }
  void SetMapName(const TCHAR* name) override {
    if (pblock) pblock->SetValue(bmt_filename, 0, name ? name : _T(""));
  }
  const TCHAR* GetMapName() override {
    const TCHAR* s = pblock ? pblock->GetStr(bmt_filename) : nullptr;
    return s ? s : _T("");
  }
};
void* newBitmapTex(BOOL loading) { return new BitmapTexMap(loading); }

// ---- script properties of every material and map ----------------------------------------------

MtlBase* mtlBase(ReferenceTarget* t) { return dynamic_cast<MtlBase*>(t); }

const bool mtlProps = addPropertyTable(
    PropertyScope{MATERIAL_CLASS_ID, Class_ID(0, 0), false, [](ReferenceTarget* t) { return mtlBase(t) != nullptr; }},
    {
        {"name", [](ReferenceTarget* t, TimeValue) -> Value* { return new String(mtlBase(t)->GetName().str()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { mtlBase(t)->SetName(MSTR(v->to_string())); }},
        {"effectsChannel", [](ReferenceTarget* t, TimeValue) { return Integer::intern(mtlBase(t)->GetGBufID()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { mtlBase(t)->SetGBufID(v->to_int()); }},
    });

}  // namespace
}  // namespace sim

StdMat* NewDefaultStdMat() { return new sim::StdMtl(FALSE); }
BitmapTex* NewDefaultBitmapTex() { return new sim::BitmapTexMap(FALSE); }
