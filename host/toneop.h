// Exposure control: the scene's tone operator, reached through the core interface
// TONE_OPERATOR_INTERFACE.
#pragma once

#include "ifnpub.h"
#include "render.h"

#define TONE_OPERATOR_INTERFACE Interface_ID(0x1563269c, 0x7ec41d84)

class HOST_API ToneOperator : public SpecialFX {
 public:
  SClass_ID SuperClassID() override { return TONE_OPERATOR_CLASS_ID; }
};

class HOST_API ToneOperatorInterface : public FPStaticInterface {
 public:
  enum { get_toneOperator, set_toneOperator };
  virtual ToneOperator* GetToneOperator() const = 0;
  // Null removes it.
  virtual void SetToneOperator(ToneOperator* op) = 0;
};
