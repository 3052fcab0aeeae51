// A fresh scene per test, and small helpers to build nodes of the host's classes by class id, the
// way scripts and scene loading create them.
#pragma once

#include "core/core_interface.h"
#include "core/undo_stack.h"
#include "inode.h"
#include "istdplug.h"
#include "object.h"

#include <gtest/gtest.h>

namespace test {

class SceneFixture : public ::testing::Test {
 protected:
  void SetUp() override { sim::coreInterface()->resetScene(); }
  void TearDown() override { sim::coreInterface()->resetScene(); }

  template <class T = ReferenceTarget>
  T* create(SClass_ID sclass, Class_ID cid) {
    auto* a = static_cast<Animatable*>(ip->CreateInstance(sclass, cid));
    return dynamic_cast<T*>(a);
  }
  INode* makeNode(SClass_ID sclass, Class_ID cid) { return ip->CreateObjectNode(create<Object>(sclass, cid)); }
  INode* makeBox() { return makeNode(GEOMOBJECT_CLASS_ID, Class_ID(BOXOBJ_CLASS_ID, 0)); }

  Interface* ip = GetCOREInterface();
};

inline void expectNear(const Point3& a, const Point3& b, float eps = 1e-4f) {
  EXPECT_NEAR(a.x, b.x, eps);
  EXPECT_NEAR(a.y, b.y, eps);
  EXPECT_NEAR(a.z, b.z, eps);
}

}  // namespace test
