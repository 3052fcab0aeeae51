// Placing a new holder by mouse: the first press puts the holder node under the (snapped) cursor
// and gives it the host's colour for point helpers; dragging moves it; releasing ends the creation.
#include "gfx.h"
#include "inode.h"
#include "maxapi.h"
#include "prop_holder.h"
#include "viewexp.h"

#include <algorithm>

namespace {

// The holder's own node: the dependent that answers the node-handle question.
INode* ownNode(QZMPropHolder* holder) {
  ULONG handle = 0;
  holder->NotifyDependents(FOREVER, reinterpret_cast<PartID>(&handle), REFMSG_GET_NODE_HANDLE);
  return handle ? GetCOREInterface()->GetINodeByHandle(handle) : nullptr;
}

// A colour of the interface table as a packed wire colour: each channel times 255, truncated.
DWORD packedUIColor(int which) {
  Point3 c = GetUIColor(which);
  auto byte = [](float v) -> DWORD { return v > 0.0f ? DWORD(std::min(v * 255.0f, 255.0f)) : 0; };
  return byte(c.x) | (byte(c.y) << 8) | (byte(c.z) << 16);
}

class HolderCreateCallBack : public CreateMouseCallBack {
 public:
  void SetObj(QZMPropHolder* holder) { ob_ = holder; }
  int proc(ViewExp* vpt, int msg, int point, int, IPoint2 m, Matrix3& mat) override {
    if (!ob_ || !vpt) return CREATE_ABORT;
    switch (msg) {
      case MOUSE_FREEMOVE: vpt->SnapPreview(m, m, nullptr, SNAP_IN_3D); break;
      case MOUSE_ABORT:
        ob_->creating = 0;  // an aborted holder must not stay deaf to snapping
        return CREATE_ABORT;
      case MOUSE_POINT:
      case MOUSE_MOVE:
        if (point == 0) {
          if (INode* node = ownNode(ob_)) node->SetWireColor(packedUIColor(COLOR_POINT_OBJ));
          ob_->creating = 1;
          mat.SetTrans(vpt->SnapPoint(m, m, nullptr, SNAP_IN_3D));
        } else if (point == 1) {
          mat.SetTrans(vpt->SnapPoint(m, m, nullptr, SNAP_IN_3D));
          if (msg == MOUSE_POINT) {
            ob_->creating = 0;
            return CREATE_STOP;
          }
        }
        break;
      default: break;
    }
    return CREATE_CONTINUE;
  }

 private:
  QZMPropHolder* ob_ = nullptr;
};

HolderCreateCallBack createCallBack;

}  // namespace

CreateMouseCallBack* QZMPropHolder::GetCreateMouseCallBack() {
  createCallBack.SetObj(this);
  return &createCallBack;
}
