#include "ifnpub.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <utility>

namespace {

Tab<const TCHAR*> names(std::initializer_list<const TCHAR*> list) {
  Tab<const TCHAR*> tab;
  for (const TCHAR* s : list) tab.Append(1, &s);
  return tab;
}

TEST(FPValues, AStringTableIsCopiedWithItsStringsAndSurvivesTheOriginal) {
  TCHAR scratch[] = "radius";
  auto* copy = new FPValue;
  {
    FPValue original(TYPE_STRING_TAB_BR, names({scratch, nullptr, _T("height")}));
    std::strcpy(scratch, "xxxxxx");  // the value took copies, not the caller's buffers
    *copy = original;
    EXPECT_NE((*copy->s_tab)[0], (*original.s_tab)[0]) << "each copy owns its strings";
  }
  EXPECT_EQ(copy->type, TYPE_STRING_TAB_BR);
  ASSERT_EQ(copy->s_tab->Count(), 3);
  EXPECT_STREQ((*copy->s_tab)[0], "radius");
  EXPECT_EQ((*copy->s_tab)[1], nullptr);
  EXPECT_STREQ((*copy->s_tab)[2], "height");
  copy->Free();
  EXPECT_EQ(copy->type, TYPE_VOID);
  EXPECT_EQ(copy->s_tab, nullptr);
  delete copy;
}

TEST(FPValues, NestedValuesPointsAndByReferenceNumbersAreDeepCopies) {
  FPValue inner(TYPE_POINT3, Point3(1, 2, 3));
  Tab<FPValue*> list;
  FPValue* items[] = {&inner, nullptr};
  list.Append(2, items);
  FPValue outer(TYPE_FPVALUE | TYPE_TAB, list);
  FPValue copy(outer);
  (*outer.fpv_tab)[0]->p->x = 9;
  EXPECT_EQ((*copy.fpv_tab)[0]->p->x, 1.0f);
  EXPECT_EQ((*copy.fpv_tab)[1], nullptr);

  FPValue count(TYPE_INT_BR, 4);
  FPValue countCopy = count;
  *count.iptr = 5;
  EXPECT_EQ(*countCopy.iptr, 4);
}

TEST(FPValues, LoadingFromAPartOfItselfReadsBeforeFreeing) {
  FPValue v(TYPE_STRING, _T("pass one"));
  v.Load(TYPE_STRING, v.s);
  EXPECT_STREQ(v.s, "pass one");

  FPValue parent(TYPE_FPVALUE, FPValue(TYPE_STRING, _T("child")));
  parent = *parent.fpv;  // the child replaces the value that owns it
  EXPECT_EQ(parent.type, TYPE_STRING);
  EXPECT_STREQ(parent.s, "child");

  FPValue moved(std::move(parent));
  EXPECT_EQ(parent.type, TYPE_VOID);
  EXPECT_STREQ(moved.s, "child");
}

TEST(FPValues, ATypeThatStoresElsewhereGivesWayToTheValuesOwnType) {
  FPValue v;
  v.Load(TYPE_FLOAT, 2);
  EXPECT_EQ(v.type, TYPE_FLOAT) << "an integer converts to a float member";
  EXPECT_EQ(v.f, 2.0f);
  v.Load(TYPE_INT, 1.5f);
  EXPECT_EQ(v.type, TYPE_FLOAT) << "a fraction never goes into an integer member";
  EXPECT_EQ(v.f, 1.5f);
  v.Load(TYPE_INODE, _T("Box01"));
  EXPECT_EQ(v.type, TYPE_STRING);
  EXPECT_STREQ(v.s, "Box01");
  v.Load(TYPE_TSTR, _T("text"));
  EXPECT_EQ(*v.tstr, "text");
  v.Load(TYPE_RGBA, Point3(0.5f, 0.25f, 1.0f));
  EXPECT_EQ(*v.clr, Color(0.5f, 0.25f, 1.0f));
  v.Load(TYPE_FLOAT, 1e300);
  EXPECT_TRUE(std::isinf(v.f));
  v.Load(12345, 7);
  EXPECT_EQ(v.type, TYPE_INT) << "an unknown type number";
}

TEST(FPValues, ArgumentsMatchTheirParameterOnlyWhenTheirAccessorCanReadThem) {
  FPValue tab(TYPE_STRING_TAB, names({_T("a")}));
  EXPECT_TRUE(FPArgMatches(tab, TYPE_STRING_TAB_BR)) << "by reference or not, the same member";
  EXPECT_FALSE(FPArgMatches(tab, TYPE_INT_TAB));

  FPValue missingTab;
  missingTab.Load(TYPE_STRING_TAB_BR, nullptr);
  EXPECT_FALSE(FPArgMatches(missingTab, TYPE_STRING_TAB_BR));

  FPValue noNode(TYPE_INODE, nullptr);
  EXPECT_TRUE(FPArgMatches(noNode, TYPE_INODE)) << "a null node is a value";
  EXPECT_FALSE(FPArgMatches(noNode, TYPE_INODE_BR)) << "but not one to take a reference to";

  FPValue flag(TYPE_BOOL, TRUE);
  EXPECT_TRUE(FPArgMatches(flag, TYPE_INT));
  EXPECT_FALSE(FPArgMatches(flag, TYPE_bool));
  EXPECT_FALSE(FPArgMatches(FPValue(), TYPE_VOID));
}

TEST(FPValues, ParamsTakeTypeValuePairsUpToTheirCount) {
  FPParams p(2, TYPE_INT, 3, TYPE_STRING, _T("x"));
  ASSERT_EQ(p.params.Count(), 2);
  EXPECT_EQ(p.params[0].i, 3);
  EXPECT_STREQ(p.params[1].s, "x");

  p.Load(1, TYPE_FLOAT, 1.0f, TYPE_INT, 9);
  EXPECT_EQ(p.params.Count(), 1) << "pairs beyond the count are left out";
  p.Load(-3, TYPE_INT, 1);
  EXPECT_EQ(p.params.Count(), 0);
}

}  // namespace
