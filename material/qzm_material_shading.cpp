// QZMMaterial's render-time operations: each goes to the material in the active slot, and an empty
// slot gives a fixed answer. Shade follows the shade context's time; the parameters are not
// animatable, so the other queries read them at time 0.
#include "qzm_material.h"

void QZMMaterial::Shade(ShadeContext& sc) {
  Mtl* m = activeMtl(sc.CurTime());
  if (!m) return;
  if (int id = m->GetGBufID()) sc.SetGBufferID(id);
  m->Shade(sc);
}

Color QZMMaterial::GetAmbient(int mtlNum, BOOL backFace) {
  Mtl* m = activeMtl(0);
  return m ? m->GetAmbient(mtlNum, backFace) : Color(0.0f, 0.0f, 0.0f);
}

Color QZMMaterial::GetDiffuse(int mtlNum, BOOL backFace) {
  Mtl* m = activeMtl(0);
  return m ? m->GetDiffuse(mtlNum, backFace) : Color(0.0f, 0.0f, 0.0f);
}

Color QZMMaterial::GetSpecular(int mtlNum, BOOL backFace) {
  Mtl* m = activeMtl(0);
  return m ? m->GetSpecular(mtlNum, backFace) : Color(0.0f, 0.0f, 0.0f);
}

float QZMMaterial::GetShininess(int mtlNum, BOOL backFace) {
  Mtl* m = activeMtl(0);
  return m ? m->GetShininess(mtlNum, backFace) : 0.0f;
}

float QZMMaterial::GetShinStr(int mtlNum, BOOL backFace) {
  Mtl* m = activeMtl(0);
  return m ? m->GetShinStr(mtlNum, backFace) : 0.0f;
}

float QZMMaterial::GetXParency(int mtlNum, BOOL backFace) {
  Mtl* m = activeMtl(0);
  return m ? m->GetXParency(mtlNum, backFace) : 0.0f;
}

float QZMMaterial::WireSize(int mtlNum, BOOL backFace) {
  Mtl* m = activeMtl(0);
  return m ? m->WireSize(mtlNum, backFace) : 0.0f;
}

float QZMMaterial::EvalDisplacement(ShadeContext& sc) {
  Mtl* m = activeMtl(0);
  return m ? m->EvalDisplacement(sc) : 0.0f;
}

Interval QZMMaterial::DisplacementValidity(TimeValue t) {
  Interval valid = FOREVER;
  if (Mtl* m = activeMtl(0)) valid &= m->DisplacementValidity(t);
  return valid;
}

bool QZMMaterial::IsOutputConst(ShadeContext& sc, int stdID) {
  Mtl* m = activeMtl(0);
  return m ? m->IsOutputConst(sc, stdID) : true;
}

bool QZMMaterial::EvalColorStdChannel(ShadeContext& sc, int stdID, Color& outClr) {
  Mtl* m = activeMtl(0);
  return m ? m->EvalColorStdChannel(sc, stdID, outClr) : false;
}

bool QZMMaterial::EvalMonoStdChannel(ShadeContext& sc, int stdID, float& outVal) {
  Mtl* m = activeMtl(0);
  return m ? m->EvalMonoStdChannel(sc, stdID, outVal) : false;
}

ULONG QZMMaterial::Requirements(int subMtlNum) {
  Mtl* m = activeMtl(0);
  return m ? m->Requirements(subMtlNum) : 0;
}
