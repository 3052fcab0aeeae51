#include "core/fp_call.h"
#include "iparamb2.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A static interface with a little of everything a script call meets: a required and an optional
// parameter, a table passed by reference that the function fills, and a read-only property.
class Labels : public FPStaticInterface {
 public:
  DECLARE_DESCRIPTOR(Labels)
  enum { fn_label, fn_collect, fn_getPrefix, fn_setPrefix, fn_getCount, fn_unmapped };
  BEGIN_FUNCTION_MAP
    FN_2(fn_label, TYPE_TSTR, Label, TYPE_INT, TYPE_STRING);
    FN_1(fn_collect, TYPE_INT, Collect, TYPE_STRING_TAB_BR);
    PROP_FNS(fn_getPrefix, GetPrefix, fn_setPrefix, SetPrefix, TYPE_STRING);
    RO_PROP_FN(fn_getCount, GetCount, TYPE_INT);
  END_FUNCTION_MAP

  TSTR Label(int pass, const TCHAR* suffix) {
    ++calls;
    return TSTR((prefix + std::to_string(pass) + suffix).c_str());
  }
  int Collect(Tab<const TCHAR*>& out) {
    static const TCHAR* beauty = _T("Beauty");
    out.Append(1, &beauty);
    return out.Count();
  }
  const TCHAR* GetPrefix() { return prefix.c_str(); }
  void SetPrefix(const TCHAR* s) { prefix = s; }
  int GetCount() { return calls; }

  std::string prefix = "Pass ";
  int calls = 0;
};

class PublishedCalls : public ::testing::Test {
 protected:
  Labels labels{Interface_ID(0x7e57ca11, 1), _T("Labels"), 0, nullptr, 0,
                Labels::fn_label, _T("Label"), 0, TYPE_TSTR, 0, 2,
                    _T("pass"), 0, TYPE_INT,
                    _T("suffix"), 0, TYPE_STRING, f_keyArgDefault, _T(""),
                Labels::fn_collect, _T("Collect"), 0, TYPE_INT, 0, 1,
                    _T("names"), 0, TYPE_STRING_TAB_BR,
                Labels::fn_unmapped, _T("Unmapped"), 0, TYPE_VOID, 0, 0,
                properties,
                    Labels::fn_getPrefix, Labels::fn_setPrefix, _T("prefix"), 0, TYPE_STRING,
                    Labels::fn_getCount, FP_NO_FUNCTION, _T("count"), 0, TYPE_INT,
                p_end};
  FPValue result;
};

TEST_F(PublishedCalls, AFunctionIsCalledByNameAndLeftOutTrailingArgumentsGetTheirDefault) {
  FPParams args(1, TYPE_INT, 3);
  sim::FPCallOutcome out = sim::callPublishedFunction(&labels, "label", args, result);
  ASSERT_TRUE(out.ok());
  EXPECT_EQ(out.status, FPS_OK);
  EXPECT_EQ(args.params.Count(), 2) << "the default was appended";
  EXPECT_EQ(result.type, TYPE_TSTR);
  EXPECT_EQ(*result.tstr, "Pass 3");

  FPParams both(2, TYPE_INT, 4, TYPE_STRING, _T(" (left)"));
  ASSERT_TRUE(sim::callPublishedFunction(&labels, Labels::fn_label, both, result).ok());
  EXPECT_EQ(*result.tstr, "Pass 4 (left)");
}

TEST_F(PublishedCalls, ArgumentCountsOutsideTheParametersAreRefusedWithTheCounts) {
  FPParams none;
  sim::FPCallOutcome out = sim::callPublishedFunction(&labels, "Label", none, result);
  EXPECT_EQ(out.error, sim::FPCallError::ArgCount);
  EXPECT_EQ(out.given, 0);
  EXPECT_EQ(out.required, 1);
  EXPECT_EQ(out.expected, 2);

  FPParams three(3, TYPE_INT, 1, TYPE_STRING, _T("a"), TYPE_INT, 2);
  out = sim::callPublishedFunction(&labels, "Label", three, result);
  EXPECT_EQ(out.error, sim::FPCallError::ArgCount);
  EXPECT_EQ(out.given, 3);
  EXPECT_EQ(labels.calls, 0);
}

TEST_F(PublishedCalls, AnArgumentOfTheWrongTypeIsRefusedWithItsPlaceAndTypes) {
  FPParams args(2, TYPE_INT, 1, TYPE_FLOAT, 2.5f);
  sim::FPCallOutcome out = sim::callPublishedFunction(&labels, "Label", args, result);
  EXPECT_EQ(out.error, sim::FPCallError::ArgType);
  EXPECT_EQ(out.argIndex, 1);
  EXPECT_EQ(out.expectedType, TYPE_STRING);
  EXPECT_EQ(out.givenType, TYPE_FLOAT);
  EXPECT_EQ(labels.calls, 0);
}

TEST_F(PublishedCalls, UnknownFunctionsMissingInterfacesAndFailedCallsAreToldApart) {
  FPParams none;
  EXPECT_EQ(sim::callPublishedFunction(&labels, "Relabel", none, result).error, sim::FPCallError::NoSuchFunction);
  EXPECT_EQ(sim::callPublishedFunction(&labels, FunctionID(99), none, result).error, sim::FPCallError::NoSuchFunction);
  EXPECT_EQ(sim::callPublishedFunction(nullptr, "Label", none, result).error, sim::FPCallError::NoInterface);
  sim::FPCallOutcome out = sim::callPublishedFunction(&labels, "Unmapped", none, result);
  EXPECT_EQ(out.error, sim::FPCallError::Failed) << "described but not in the function map";
  EXPECT_EQ(out.status, FPS_NO_SUCH_FUNCTION);
}

TEST_F(PublishedCalls, AByReferenceTableComesBackFilled) {
  FPParams args(1, TYPE_STRING_TAB_BR, Tab<const TCHAR*>());
  ASSERT_TRUE(sim::callPublishedFunction(&labels, "collect", args, result).ok());
  EXPECT_EQ(result.i, 1);
  ASSERT_EQ(args.params[0].s_tab->Count(), 1);
  EXPECT_STREQ((*args.params[0].s_tab)[0], "Beauty");
}

TEST_F(PublishedCalls, PropertiesAreReadAndWrittenThroughTheirFunctions) {
  ASSERT_TRUE(sim::setPublishedProperty(&labels, "PREFIX", FPValue(TYPE_STRING, _T("P"))).ok());
  ASSERT_TRUE(sim::getPublishedProperty(&labels, "prefix", result).ok());
  EXPECT_STREQ(result.s, "P");

  EXPECT_EQ(sim::setPublishedProperty(&labels, "count", FPValue(TYPE_INT, 1)).error, sim::FPCallError::ReadOnly);
  EXPECT_EQ(sim::setPublishedProperty(&labels, "prefix", FPValue(TYPE_INT, 1)).error, sim::FPCallError::ArgType);
  EXPECT_EQ(sim::getPublishedProperty(&labels, "suffix", result).error, sim::FPCallError::NoSuchProperty);
}

}  // namespace
