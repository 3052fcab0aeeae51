// Materials and texture maps: MtlBase (what both share: name, G-buffer id, postage stamps), Mtl
// (surfaces a renderer shades through Shade), Texmap (maps that give a colour at a shading point),
// ISubMap (sub-maps), the ShadeContext a renderer hands a material, and MtlBaseLib (the scene's
// material library).
#pragma once

#include "color.h"
#include "host_api.h"
#include "interval.h"
#include "matrix3.h"
#include "point3.h"
#include "ref.h"
#include "strclass.h"

#include <vector>

class INode;
class Mtl;
class Texmap;
class IMtlParams;
class Sampler;

using UBYTE = unsigned char;

// ---- shading ----------------------------------------------------------------------------------------

// What a material writes back to the renderer.
class HOST_API ShadeOutput {
 public:
  Color c;             // colour
  Color t;             // transparency (0: opaque)
  float ior = 1.0f;
  int gbufId = 0;
  ULONG flags = 0;
  void Reset(int n = -1) {
    c.Black();
    t.Black();
    ior = 1.0f;
    gbufId = 0;
    flags = 0;
  }
};

class ShadeContext;

// A light as a material sees it while shading.
class HOST_API LightDesc {
 public:
  virtual ~LightDesc() = default;
  // The light's colour and direction at the shading point; FALSE when it does not reach it.
  // `dot_nl` is the cosine between `normal` and the direction to the light.
  virtual BOOL Illuminate(ShadeContext& sc, Point3& normal, Color& color, Point3& dir, float& dot_nl,
                          float& diffuseCoef) = 0;
  virtual Point3 LightPosition() { return Point3(); }
};

// Standard texture channels of StdMat (the index of EvalColorStdChannel and friends).
constexpr int ID_AM = 0;  // ambient
constexpr int ID_DI = 1;  // diffuse
constexpr int ID_SP = 2;  // specular
constexpr int ID_SH = 3;  // shininess
constexpr int ID_SS = 4;  // shininess strength
constexpr int ID_SI = 5;  // self-illumination
constexpr int ID_OP = 6;  // opacity
constexpr int ID_FI = 7;  // filter colour
constexpr int ID_BU = 8;  // bump
constexpr int ID_RL = 9;  // reflection
constexpr int ID_RR = 10;  // refraction
constexpr int ID_DP = 11;  // displacement

// A point being shaded, as the renderer describes it to a material. The host's renderers fill the
// fields and override the geometry queries.
class HOST_API ShadeContext {
 public:
  ShadeOutput out;
  int mode = 0;
  BOOL doMaskTest = FALSE;
  BOOL filterMaps = FALSE;
  BOOL shadow = FALSE;
  BOOL backFace = FALSE;
  int mtlNum = 0;
  Color ambientLight;
  int nLights = 0;
  int rayLevel = 0;
  int xshadeID = 0;

  virtual ~ShadeContext() = default;
  virtual BOOL InMtlEditor() { return FALSE; }
  virtual INode* Node() { return nullptr; }
  virtual int NodeID() { return -1; }
  virtual LightDesc* Light(int n) { return nullptr; }
  virtual TimeValue CurTime() = 0;
  virtual int FaceNumber() { return 0; }
  // Point, normal and view direction (towards the point, from the eye), in camera space.
  virtual Point3 P() = 0;
  virtual Point3 Normal() = 0;
  virtual Point3 OrigNormal() { return Normal(); }
  virtual Point3 GNormal() { return Normal(); }
  virtual Point3 V() = 0;
  virtual void SetNormal(Point3 p) {}
  virtual Point3 ReflectVector() { Point3 n = Normal(), v = V(); return v - n * (2.0f * DotProd(n, v)); }
  virtual Point3 UVW(int channel = 0) { return Point3(); }
  virtual Point3 DUVW(int channel = 0) { return Point3(); }
  virtual Point2 ScreenCoord() { return Point2(); }
  virtual Point3 PObj() { return P(); }
  virtual float Curve() { return 0.0f; }
  virtual void SetGBufferID(int gbid) { out.gbufId = gbid; }
  virtual void ResetOutput(int n = -1) { out.Reset(n); }
};

// ---- postage stamps ----------------------------------------------------------------------------------

// Sizes of a material's postage stamp.
constexpr int PS_SMALL = 0;  // 32 x 32
constexpr int PS_LARGE = 1;  // 88 x 88
constexpr int PS_TINY = 2;   // 24 x 24
constexpr int PS_SMALL_SIZE = 32;
constexpr int PS_LARGE_SIZE = 88;
constexpr int PS_TINY_SIZE = 24;
inline int PSDIM(int isz) { return isz == PS_LARGE ? PS_LARGE_SIZE : isz == PS_TINY ? PS_TINY_SIZE : PS_SMALL_SIZE; }
// Bytes of one image row: 3 per pixel (blue, green, red), padded to a multiple of 4.
inline int ByteWidth(int w) { return ((w * 3 + 3) / 4) * 4; }

// A small preview image of a material: rows of ByteWidth(width) bytes, the bottom row first.
class HOST_API PStamp {
 public:
  virtual ~PStamp() = default;
  virtual int Width() = 0;
  virtual int Height() = 0;
  // Copies ByteWidth(Width()) * Height() bytes in (SetImage) or out (GetImage).
  virtual void SetImage(UBYTE* img) = 0;
  virtual void GetImage(UBYTE* img) = 0;
  virtual void DeleteThis() { delete this; }
};

// ---- materials and maps --------------------------------------------------------------------------------

// The panel a material shows in the material editor. The host keeps what a material hands back
// from CreateParamDlg and calls these while it is open.
class HOST_API ParamDlg {
 public:
  virtual ~ParamDlg() = default;
  virtual Class_ID ClassID() = 0;
  virtual void SetThing(ReferenceTarget* m) = 0;
  virtual ReferenceTarget* GetThing() = 0;
  virtual void SetTime(TimeValue t) = 0;
  virtual void ReloadDialog() = 0;
  virtual void DeleteThis() = 0;
  virtual void ActivateDlg(BOOL onOff) = 0;
  // The slot whose map or material the panel shows in `hwnd` (a button of the panel); -1 for any
  // other window. The editor's drag and drop finds slots through these.
  virtual int FindSubTexFromHWND(HWND hwnd) { return -1; }
  virtual int FindSubMtlFromHWND(HWND hwnd) { return -1; }
  virtual INT_PTR Execute(int cmd, ULONG_PTR arg1 = 0, ULONG_PTR arg2 = 0, ULONG_PTR arg3 = 0) { return 0; }
};

// Sub-maps: the texture maps a material or map holds.
class HOST_API ISubMap {
 public:
  virtual ~ISubMap() = default;
  virtual int NumSubTexmaps() { return 0; }
  virtual Texmap* GetSubTexmap(int i) { return nullptr; }
  virtual void SetSubTexmap(int i, Texmap* m) {}
  virtual TSTR GetSubTexmapSlotName(int i) { return TSTR(); }
  virtual int MapSlotType(int i) { return 0; }
  virtual int SubTexmapOn(int i) { return 1; }
};

constexpr ULONG I_SUBMAP = 0x1150;

// The chunk a material's Save puts its MtlBase data in.
constexpr unsigned short MTL_HDR_CHUNK = 0x4000;

class HOST_API MtlBase : public ReferenceTarget, public ISubMap {
 public:
  MtlBase();
  ~MtlBase() override;

  // The material's own name; GetFullName adds its class: "name ( Standard )".
  virtual MSTR& GetName() { return name_; }
  // Changes record undo and notify dependents.
  virtual void SetName(MSTR newName);
  virtual MSTR GetFullName();

  // The G-buffer (material effects) channel; 0 when none.
  int GetGBufID() { return gbufID_; }
  void SetGBufID(int id);

  virtual void Update(TimeValue t, Interval& valid) = 0;
  virtual void Reset() = 0;
  virtual Interval Validity(TimeValue t) = 0;
  virtual ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) = 0;
  virtual ULONG Requirements(int subMtlNum) { return 0; }
  void* GetInterface(ULONG id) override;
  BaseInterface* GetInterface(Interface_ID id) override { return ReferenceTarget::GetInterface(id); }

  // Postage stamps: made by shading a sphere with the material under a default light. Create
  // (re)renders the stamp of that size; Get answers the kept one or null; Discard frees it.
  PStamp* CreatePStamp(int sz, BOOL render = FALSE);
  PStamp* GetPStamp(int sz);
  void DiscardPStamp(int sz);

  // The MtlBase data (name, G-buffer id) as chunks of the current level. A material saves them
  // inside a chunk MTL_HDR_CHUNK of its own Save and hands that chunk's content to Load.
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;

 protected:
  // Copies the name and G-buffer id (what MtlBase holds) into a clone.
  void copyMtlBase(MtlBase* to) const;

 private:
  MSTR name_;
  int gbufID_ = 0;
  PStamp* stamps_[3] = {nullptr, nullptr, nullptr};
};

class HOST_API Mtl : public MtlBase {
 public:
  SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }

  virtual Color GetAmbient(int mtlNum = 0, BOOL backFace = FALSE) = 0;
  virtual Color GetDiffuse(int mtlNum = 0, BOOL backFace = FALSE) = 0;
  virtual Color GetSpecular(int mtlNum = 0, BOOL backFace = FALSE) = 0;
  virtual float GetShininess(int mtlNum = 0, BOOL backFace = FALSE) = 0;
  virtual float GetShinStr(int mtlNum = 0, BOOL backFace = FALSE) = 0;
  virtual float GetXParency(int mtlNum = 0, BOOL backFace = FALSE) = 0;
  virtual float WireSize(int mtlNum = 0, BOOL backFace = FALSE) { return 1.0f; }
  virtual void SetAmbient(Color c, TimeValue t) = 0;
  virtual void SetDiffuse(Color c, TimeValue t) = 0;
  virtual void SetSpecular(Color c, TimeValue t) = 0;
  virtual void SetShininess(float v, TimeValue t) = 0;
  virtual BOOL GetSelfIllumColorOn(int mtlNum = 0, BOOL backFace = FALSE) { return TRUE; }
  virtual float GetSelfIllum(int mtlNum = 0, BOOL backFace = FALSE) { return 0.0f; }
  virtual Color GetSelfIllumColor(int mtlNum = 0, BOOL backFace = FALSE) { return Color(); }
  virtual Sampler* GetPixelSampler(int mtlNum = 0, BOOL backFace = FALSE) { return nullptr; }

  // Writes the colour and transparency of the point `sc` describes into sc.out.
  virtual void Shade(ShadeContext& sc) = 0;
  virtual float EvalDisplacement(ShadeContext& sc) { return 0.0f; }
  virtual Interval DisplacementValidity(TimeValue t) { return FOREVER; }
  virtual bool IsOutputConst(ShadeContext& sc, int stdID) { return false; }
  virtual bool EvalColorStdChannel(ShadeContext& sc, int stdID, Color& outClr) { return false; }
  virtual bool EvalMonoStdChannel(ShadeContext& sc, int stdID, float& outVal) { return false; }
  virtual BOOL SupportsShaders() { return FALSE; }
  virtual BOOL SupportsRenderElements() { return FALSE; }

  // Sub-materials (a multi-material's slots).
  virtual int NumSubMtls() { return 0; }
  virtual Mtl* GetSubMtl(int i) { return nullptr; }
  virtual void SetSubMtl(int i, Mtl* m) {}
  virtual TSTR GetSubMtlSlotName(int i) { return TSTR(); }
  // The sub-material the viewports show; -1 for the material itself.
  virtual int VPDisplaySubMtl() { return -1; }
};

class HOST_API Texmap : public MtlBase {
 public:
  SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }
  virtual AColor EvalColor(ShadeContext& sc) = 0;
  virtual float EvalMono(ShadeContext& sc);
  virtual Point3 EvalNormalPerturb(ShadeContext& sc) { return Point3(); }
};

// A list of materials and maps that holds each as a reference: the scene material library.
class HOST_API MtlBaseLib : public ReferenceTarget {
 public:
  MtlBaseLib();
  ~MtlBaseLib() override;

  SClass_ID SuperClassID() override { return REF_TARGET_CLASS_ID; }
  void GetClassName(TSTR& s) override { s = "MaterialLibrary"; }
  int NumRefs() override { return static_cast<int>(items_.size()); }
  RefTargetHandle GetReference(int i) override;
  void SetReference(int i, RefTargetHandle rtarg) override;
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  void RefDeleted() override;

  int Count() { return static_cast<int>(items_.size()); }
  MtlBase* operator[](int i) { return i >= 0 && i < Count() ? items_[static_cast<size_t>(i)] : nullptr; }
  // Adds `m` once; answers its index.
  int Add(MtlBase* m);
  void Remove(MtlBase* m);
  int FindMtl(MtlBase* m);
  int FindMtlByName(MSTR& name);
  void RemoveDuplicates();
  void DeleteAll();

 private:
  std::vector<MtlBase*> items_;
};
