// The material editor window follows the active slot (see builtins_material_editor.cpp).
#pragma once

namespace sim::rt {

// When the editor window that scripts opened is still open and its active slot or what that slot
// holds changed since it was shown, shows the slot's material now. For the host's idle step: a
// slot changed by any path (meditMaterials[i] = m, loading a scene, a reset) shows there.
void followActiveMtlSlot();

}  // namespace sim::rt
