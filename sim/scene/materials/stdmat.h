// The standard material and the bitmap texture map: the host's own (no plug-in uses them).
#pragma once

#include "imtl.h"

// Shading models of StdMat::SetShading.
constexpr int SHADE_CONST = 0;
constexpr int SHADE_PHONG = 1;
constexpr int SHADE_METAL = 2;
constexpr int SHADE_BLINN = 3;

// The standard material. Colours are 0..1; shininess, shininess strength, self-illumination and
// opacity are fractions 0..1 here (scripts see them in percent).
class HOST_API StdMat : public Mtl {
 public:
  virtual void SetShading(int s) = 0;
  virtual int GetShading() = 0;
  virtual void EnableMap(int id, BOOL onoff) = 0;
  virtual BOOL MapEnabled(int id) = 0;
  virtual void SetShinStr(float v, TimeValue t) = 0;
  virtual void SetSelfIllum(float v, TimeValue t) = 0;
  virtual void SetOpacity(float v, TimeValue t) = 0;
  virtual Color GetAmbient(TimeValue t) = 0;
  virtual Color GetDiffuse(TimeValue t) = 0;
  virtual Color GetSpecular(TimeValue t) = 0;
  virtual float GetShininess(TimeValue t) = 0;
  virtual float GetShinStr(TimeValue t) = 0;
  virtual float GetSelfIllum(TimeValue t) = 0;
  virtual float GetOpacity(TimeValue t) = 0;
  virtual void SetTexmapAmt(int imap, float amt, TimeValue t) = 0;
  virtual float GetTexmapAmt(int imap, TimeValue t) = 0;
};

// A map that shows an image file. Without a loaded image it gives mid grey.
class HOST_API BitmapTex : public Texmap {
 public:
  virtual void SetMapName(const TCHAR* name) = 0;
  virtual const TCHAR* GetMapName() = 0;
};

HOST_API StdMat* NewDefaultStdMat();
HOST_API BitmapTex* NewDefaultBitmapTex();
