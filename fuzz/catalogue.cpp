#include "catalogue.h"

#include "fuzz_host.h"

#include "core/class_registry.h"
#include "ifnpub.h"
#include "iparamb2.h"
#include "script/primitive_table.h"

namespace fuzz {
namespace {

void addInterface(FPInterfaceDesc* d, std::vector<Member>& functions, std::vector<Member>* properties) {
  if (!d) return;
  for (int i = 0; i < d->functions.Count(); ++i) {
    FPFunctionDef* f = d->functions[i];
    if (!f) continue;
    Member m{f->internal_name.data(), {}, f->result_type, false};
    for (int k = 0; k < f->NumRequiredParams(); ++k) m.params.push_back(f->params[k] ? f->params[k]->type : 0);
    functions.push_back(std::move(m));
  }
  if (!properties) return;
  for (int i = 0; i < d->props.Count(); ++i) {
    FPPropDef* p = d->props[i];
    if (p) properties->push_back({p->internal_name.data(), {}, p->prop_type, (p->prop_type & TYPE_TAB) != 0});
  }
}

PluginClass describe(ClassDesc* cd) {
  PluginClass c;
  c.name = cd->ClassName() ? cd->ClassName() : "";
  c.helper = cd->SuperClassID() == HELPER_CLASS_ID;
  c.material = cd->SuperClassID() == MATERIAL_CLASS_ID;
  for (int i = 0; i < cd->NumInterfaces(); ++i)
    if (FPInterface* fi = cd->GetInterfaceAt(i)) addInterface(fi->GetDesc(), c.functions, &c.properties);
  if (auto* cd2 = dynamic_cast<ClassDesc2*>(cd)) {
    for (int b = 0; b < cd2->NumParamBlockDescs(); ++b) {
      ParamBlockDesc2* pbd = cd2->GetParamBlockDesc(b);
      for (int p = 0; pbd && p < pbd->Count(); ++p) {
        const ParamDef& def = pbd->paramdefs[p];
        if (def.int_name) c.properties.push_back({def.int_name, {}, def.type, (def.type & TYPE_TAB) != 0});
      }
    }
  }
  return c;
}

}  // namespace

const Catalogue& catalogue() {
  static const Catalogue all = [] {
    Catalogue c;
    c.primitives = sim::PrimitiveTable::instance().names();
    // A class adds its mixin interfaces when it makes its first instance, as plug-ins do: make one
    // of each first.
    std::string makeOne;
    for (const sim::ClassRegistry::Entry& e : sim::ClassRegistry::instance().entries())
      if (!e.module.empty() && e.desc && e.desc->ClassName()) makeOne += "try (" + std::string(e.desc->ClassName()) + "()) catch ()\n";
    runScript(makeOne);
    resetHost();
    for (const sim::ClassRegistry::Entry& e : sim::ClassRegistry::instance().entries())
      if (!e.module.empty() && e.desc && e.desc->ClassName()) c.classes.push_back(describe(e.desc));
    for (int i = 0; i < NumCOREInterfaces(); ++i) {
      FPInterface* fi = GetCOREInterfaceAt(i);
      FPInterfaceDesc* d = fi ? fi->GetDesc() : nullptr;
      if (!d || d->internal_name.data()[0] == 0) continue;
      CoreInterface ci{d->internal_name.data(), {}};
      addInterface(d, ci.functions, nullptr);
      c.interfaces.push_back(std::move(ci));
    }
    return c;
  }();
  return all;
}

}  // namespace fuzz
