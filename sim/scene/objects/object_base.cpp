#include "object.h"

#include "scene/change_restore.h"
#include "scenefile/chunk_io.h"

void Object::Deform(Deformer* defProc, int useSel) {
  if (!defProc) return;
  for (int i = 0, n = NumPoints(); i < n; ++i) SetPoint(i, defProc->Map(i, GetPoint(i)));
}

void Object::GetDeformBBox(TimeValue, Box3& box, Matrix3* tm, BOOL) {
  box.Init();
  for (int i = 0, n = NumPoints(); i < n; ++i) box += tm ? GetPoint(i) * *tm : GetPoint(i);
}

// ---- ModContext ---------------------------------------------------------------------------------

ModContext::ModContext(const ModContext& mc) { *this = mc; }

ModContext& ModContext::operator=(const ModContext& mc) {
  if (this == &mc) return *this;
  delete tm;
  delete box;
  delete localData;
  tm = mc.tm ? new Matrix3(*mc.tm) : nullptr;
  box = mc.box ? new Box3(*mc.box) : nullptr;
  localData = mc.localData ? mc.localData->Clone() : nullptr;
  return *this;
}

ModContext::~ModContext() {
  delete tm;
  delete box;
  delete localData;
}

// ---- Modifier -----------------------------------------------------------------------------------

Modifier::Modifier() = default;
Modifier::~Modifier() = default;

void Modifier::setEnabled(BOOL on) {
  on = on ? TRUE : FALSE;
  if (on == enabled_) return;
  sim::recordChange(this, enabled_, on, [this](const BOOL& v) { setEnabled(v); }, "Modifier enable");
  enabled_ = on;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

void Modifier::EnableMod() { setEnabled(TRUE); }
void Modifier::DisableMod() { setEnabled(FALSE); }

namespace {
enum : USHORT { kModEnabled = 0x0001, kModName = 0x0002 };
struct ModifierState {
  std::int32_t enabled, enabledInViews, named;
};
}  // namespace

IOResult Modifier::Save(ISave* isave) {
  const ModifierState st{enabled_, enabledInViews_, named_ ? 1 : 0};
  if (sim::io::writeChunk(isave, kModEnabled, st) != IO_OK) return IO_ERROR;
  return named_ ? sim::io::writeText(isave, kModName, name_.str()) : IO_OK;
}

IOResult Modifier::Load(ILoad* iload) {
  return sim::io::forEachChunk(iload, [&](USHORT id) -> IOResult {
    if (id == kModEnabled) {
      ModifierState st;
      if (sim::io::read(iload, st) != IO_OK) return IO_ERROR;
      enabled_ = st.enabled ? TRUE : FALSE;
      enabledInViews_ = st.enabledInViews ? TRUE : FALSE;
      named_ = st.named != 0;
    } else if (id == kModName) {
      return sim::io::readText(iload, name_.str());
    }
    return IO_OK;
  });
}

MSTR Modifier::GetName(bool) { return named_ ? name_ : MSTR(GetObjectName()); }

void Modifier::SetName(MSTR n) {
  std::pair<std::string, bool> old{name_.str(), named_}, now{n.str(), true};
  if (old == now) return;
  sim::recordChange(this, old, now, [this](const std::pair<std::string, bool>& v) {
    name_ = MSTR(v.first);
    named_ = v.second;
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }, "Modifier name");
  name_ = n;
  named_ = true;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}
