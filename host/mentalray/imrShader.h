// Shaders of the mental ray renderer as the host's translator makes them: a shader is an instance of
// a renderer-side declaration, named, with a parameter block that mirrors the declaration's
// parameters. Plug-ins that translate themselves receive shaders from an imrShaderCreation and fill
// their parameter blocks.
#pragma once

#include "host_api.h"

class IParamBlock2;
class ParamBlockDesc2;
class ReferenceTarget;

class HOST_API imrShader {
 public:
  virtual ~imrShader() = default;
  virtual void SetName(const TCHAR* name) = 0;
  virtual const TCHAR* GetName() = 0;
  // The shader's parameters; null when its declaration has none.
  virtual IParamBlock2* GetParametersParamBlock() = 0;
  // The shader as a reference target, so that makers can hold it.
  virtual ReferenceTarget& GetReferenceTarget() = 0;
};

class HOST_API imrShaderCreation {
 public:
  virtual ~imrShaderCreation() = default;
  // A new shader of the declaration `declarationName`, named `mtlName`; null when the renderer
  // declares no such shader.
  virtual imrShader* CreateShader(const TCHAR* declarationName, const TCHAR* mtlName) = 0;
};

// The renderer knows a shader by its declaration: a name and the parameters of its shaders. A
// plug-in that brings a phenomenon of its own declares it when it loads; `params` must outlive every
// shader made from it, and a null `params` takes the declaration away (the plug-in does so when it
// unloads).
HOST_API void DeclareMRShader(const TCHAR* name, ParamBlockDesc2* params);
