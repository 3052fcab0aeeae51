// The holder in the viewports: its icon drawn in the node's colour, picking against the icon,
// snapping to the holder's pivot, and boxes that follow the icon. The icon mesh is rebuilt at every
// request, from `iconsize` at the time asked for.
#include "holder_icon.h"
#include "holder_params.h"
#include "inode.h"
#include "prop_holder.h"
#include "viewexp.h"

#include <cmath>

namespace {

const Point3 kSelectedColor(1.0f, 1.0f, 1.0f);
const Point3 kFrozenColor(0.2f, 0.2f, 0.2f);

}  // namespace

int QZMPropHolder::iconSwitch(TimeValue t) { return pblock ? pblock->GetInt(pb_viewportIcon, t) : 0; }

void QZMPropHolder::BuildMesh(TimeValue t) {
  BuildHolderIconMesh(iconMesh, pblock ? pblock->GetFloat(pb_iconsize, t) : 1.0f);
}

int QZMPropHolder::Display(TimeValue t, INode* inode, ViewExp* vpt, int) {
  if (!inode || !vpt) return 0;
  Point3 wire = Color(inode->GetWireColor());
  if (iconSwitch(t) != 1) return 0;
  BuildMesh(t);
  GraphicsWindow* gw = vpt->getGW();
  if (!gw) return 0;
  Material* mtl = gw->getMaterial();
  DWORD limits = gw->getRndLimits();
  gw->setRndLimits(GW_WIREFRAME);
  Point3 color = inode->Selected() ? kSelectedColor : inode->IsFrozen() ? kFrozenColor : wire;
  gw->setColor(LINE_COLOR, color);
  gw->setColor(TEXT_COLOR, color);
  gw->setTransform(inode->GetObjectTM(t));
  iconMesh.render(gw, mtl, nullptr, COMP_ALL, 1);
  gw->setRndLimits(limits);
  return 0;
}

int QZMPropHolder::HitTest(TimeValue t, INode* inode, int type, int crossing, int flags, IPoint2* p, ViewExp* vpt) {
  if (iconSwitch(t) == 0) return 0;
  if (!inode || !vpt || !p || !vpt->getGW()) return 0;
  BuildMesh(t);
  GraphicsWindow* gw = vpt->getGW();
  HitRegion hitRegion;
  MakeHitRegion(hitRegion, type, crossing, 4, p);
  gw->setTransform(inode->GetObjectTM(t));
  return iconMesh.select(gw, gw->getMaterial(), &hitRegion, (flags & HIT_ABORTONHIT) != 0, 1);
}

void QZMPropHolder::Snap(TimeValue t, INode* inode, SnapInfo* snap, IPoint2* p, ViewExp* vpt) {
  // A holder being placed would otherwise catch the cursor that places it.
  if (creating) return;
  if (!inode || !snap || !p || !vpt || !vpt->getGW()) return;
  GraphicsWindow* gw = vpt->getGW();
  Matrix3 tm = inode->GetObjectTM(t);
  gw->setTransform(tm);
  if (snap->vertPriority < 1 || snap->priority < snap->vertPriority) return;
  const Point3 origin(0.0f, 0.0f, 0.0f);
  if (snap->snapType == SNAP_2D || (snap->flags & SNAP_IN_PLANE)) {
    Point3 inPlane = (origin * tm) * Inverse(snap->plane);
    if (!(std::fabs(inPlane.z) <= 1e-4f)) return;  // off the plane (or not a number)
  }
  IPoint3 projected;
  if (gw->hTransPoint(&origin, &projected) != 0) return;  // behind the eye
  IPoint2 screen(projected.x, projected.y);
  double dx = double(screen.x) - p->x, dy = double(screen.y) - p->y;
  double distance = std::sqrt(dx * dx + dy * dy);
  if (!(distance < 1e9)) return;
  int d = int(distance);
  if (d > snap->strength) return;
  if (snap->vertPriority < snap->priority || d < snap->bestDist) {
    snap->priority = snap->vertPriority;
    snap->bestWorld = origin * tm;
    snap->bestScreen = screen;
    snap->bestDist = d;
  }
}

void QZMPropHolder::GetLocalBoundBox(TimeValue t, INode*, ViewExp*, Box3& box) {
  if (iconSwitch(t) == 0) return;
  BuildMesh(t);
  box = iconMesh.getBoundingBox();
}

void QZMPropHolder::GetWorldBoundBox(TimeValue t, INode* inode, ViewExp*, Box3& box) {
  if (iconSwitch(t) == 0 || !inode) return;
  BuildMesh(t);
  box = iconMesh.getBoundingBox() * inode->GetObjectTM(t);
}
