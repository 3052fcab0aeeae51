// Render elements of the current renderer: extra images a render writes, each to its own output
// file. IRenderElementMgr holds the list; Interface::GetCurRenderElementMgr reaches it.
#pragma once

#include "bitmap.h"
#include "render.h"

class HOST_API IRenderElement : public SpecialFX {
 public:
  SClass_ID SuperClassID() override { return RENDER_ELEMENT_CLASS_ID; }
  virtual void SetEnabled(BOOL enabled) = 0;
  virtual BOOL IsEnabled() const = 0;
  virtual void SetElementName(const TCHAR* newName) = 0;
  virtual const TCHAR* ElementName() const = 0;
  // The element's output image description: Set keeps a copy of the description (null removes
  // it); Get answers the element's own, null while it has none. It stays the element's.
  virtual void SetPBBitmap(PBBitmap*& pPBBitmap) const = 0;
  virtual void GetPBBitmap(PBBitmap*& pPBBitmap) const = 0;
};

class HOST_API IRenderElementMgr {
 public:
  virtual ~IRenderElementMgr() = default;
  // Adds an element once; FALSE for null or one already in the list.
  virtual BOOL AddRenderElement(ReferenceTarget* pRenderElement) = 0;
  virtual BOOL RemoveRenderElement(ReferenceTarget* pRenderElement) = 0;
  virtual void RemoveAllRenderElements() = 0;
  virtual int NumRenderElements() = 0;
  // Null for an index outside the list.
  virtual ReferenceTarget* GetRenderElement(int index) = 0;
  // The output file of element [index]: setting a name gives the element an output description
  // for that file (64-bit colour with alpha); null or "" takes it away. Get answers null for an
  // index outside the list or an element without one.
  virtual void SetRenderElementFilename(int index, const TCHAR* filename) = 0;
  virtual const TCHAR* GetRenderElementFilename(int index) = 0;
  virtual void SetElementsActive(BOOL elementsActive) = 0;
  virtual BOOL GetElementsActive() const = 0;
};
