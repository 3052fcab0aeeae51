// TriObject: the host's triangle-mesh object, what geometry converts to (Class_ID (9, 0)).
#pragma once

#include "mesh.h"
#include "object.h"

class HOST_API TriObject : public GeomObject {
 public:
  Mesh mesh;

  TriObject();
  ~TriObject() override;

  void GetClassName(TSTR& s) override { s = "Editable_mesh"; }
  Class_ID ClassID() override { return triObjectClassID; }
  const TCHAR* GetObjectName() override { return "Mesh"; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  RefTargetHandle Clone(RemapDir& remap) override;
  // Vertices, faces, selection level, vertex selection and soft selection.
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;

  Mesh& GetMesh() { return mesh; }

  int CanConvertToType(Class_ID obtype) override;
  Object* ConvertToType(TimeValue t, Class_ID obtype) override;
  BOOL IsDeformable() override { return TRUE; }
  int NumPoints() override { return mesh.getNumVerts(); }
  Point3 GetPoint(int i) override { return mesh.getVert(i); }
  void SetPoint(int i, const Point3& p) override { mesh.setVert(i, p); }
  void Deform(Deformer* defProc, int useSel = 0) override;
};

// A new, empty triangle object that the caller owns.
HOST_API TriObject* CreateNewTriObject();
