#include "maxscript/maxscript.h"
#include "script/primitive_table.h"
#include "script/value_heap.h"

#include <gtest/gtest.h>

namespace {

std::string printed(Value* v) { return value_to_text(v); }

template <class E, class F>
std::string errorText(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e.text();
  }
  return "no error";
}

TEST(ScriptValues, PrintAsTheListenerShowsThem) {
  sim::AllocFrame frame;
  EXPECT_EQ(printed(Integer::intern(-42)), "-42");
  EXPECT_EQ(printed(Float::intern(1.0f)), "1.0");
  EXPECT_EQ(printed(Float::intern(0.5f)), "0.5");
  EXPECT_EQ(printed(Float::intern(1.0f / 3.0f)), "0.333333");
  EXPECT_EQ(printed(Float::intern(1e10f)), "1e+10");
  EXPECT_EQ(printed(new String("say \"hi\"")), "\"say \\\"hi\\\"\"");
  EXPECT_EQ(value_to_text(new String("plain"), false), "plain");
  EXPECT_EQ(printed(Name::intern("radius")), "#radius");
  EXPECT_EQ(printed(Name::intern("with space")), "#'with space'");
  EXPECT_EQ(printed(new Point3Value(1, 2.5f, -3)), "[1,2.5,-3]");
  EXPECT_EQ(printed(new Point2Value(0, 1)), "[0,1]");
  EXPECT_EQ(printed(true_value), "true");
  EXPECT_EQ(printed(undefined), "undefined");
  EXPECT_EQ(printed(ok), "OK");
  auto* a = new Array;
  a->append(Integer::intern(1));
  a->append(new String("a"));
  EXPECT_EQ(printed(a), "#(1, \"a\")");
  EXPECT_EQ(printed(new Array), "#()");
}

TEST(ScriptValues, ConversionsRaiseTheLanguagesConversionError) {
  sim::AllocFrame frame;
  EXPECT_EQ(Integer::intern(7)->to_float(), 7.0f);
  EXPECT_EQ(Float::intern(2.9f)->to_int(), 2);
  EXPECT_EQ(Integer::intern(3)->to_timevalue(), 480) << "a plain number in a time context is frames";
  EXPECT_EQ(errorText<ConversionError>([] { undefined->to_float(); }), "-- Unable to convert: undefined to type: Float");
  EXPECT_EQ(errorText<ConversionError>([] { (new String("x"))->to_int(); }),
            "-- Unable to convert: \"x\" to type: Integer");
  EXPECT_EQ(errorText<ConversionError>([] { Integer::intern(1)->to_bool(); }),
            "-- Unable to convert: 1 to type: Boolean");
  EXPECT_EQ(errorText<ConversionError>([] { Float::intern(INFINITY)->to_int(); }),
            "-- Unable to convert: inf to type: Integer");
}

TEST(ScriptValues, NamesAreInternedWithoutCase) {
  EXPECT_EQ(Name::intern("PropertyName"), Name::intern("propertyname"));
  EXPECT_NE(Name::intern("a"), Name::intern("b"));
  EXPECT_EQ(Name::find_intern("never-made-name"), nullptr);
}

TEST(ScriptValues, ErrorTextsFollowTheListenersWording) {
  sim::AllocFrame frame;
  EXPECT_EQ(ArgCountError("QZMgetRnd", 1, 2).text(), "-- Argument count error: QZMgetRnd wanted 1, got 2");
  EXPECT_EQ(TypeError("Array of nodes not supplied", Integer::intern(5)).text(),
            "-- Type error: Array of nodes not supplied, got: 5");
  EXPECT_EQ(RuntimeError("fileIn cannot open file: ", new String("a.ms")).text(),
            "-- Runtime error: fileIn cannot open file: \"a.ms\"");
  EXPECT_EQ(AccessorError(Integer::intern(5), Name::intern("foo")).text(), "-- Unknown property: \"foo\" in 5");
  EXPECT_EQ(NoMethodError("+", undefined).text(), "-- No \"+\" function for undefined");
}

TEST(ScriptValues, ArraysAreOneBasedGrowWithUndefinedAndHoldTheirElements) {
  sim::AllocFrame frame;
  auto* a = new Array;
  a->put(3, Integer::intern(9));
  EXPECT_EQ(a->size, 3);
  EXPECT_EQ(a->get(1), undefined);
  EXPECT_EQ(a->get(4), undefined);
  a->insert(1, new String("first"));
  a->remove(2);
  EXPECT_EQ(printed(a), "#(\"first\", undefined, 9)");
}

TEST(ScriptValues, AFramesValuesGoWhenItClosesUnlessSomethingKeepsThem) {
  size_t before = ValueHeap::liveCount();
  ValueRef kept;
  {
    sim::AllocFrame frame;
    auto* a = new Array;
    a->append(new String("inside"));
    new String("garbage");
    kept = ValueRef(a);
    EXPECT_EQ(ValueHeap::liveCount(), before + 3);
  }
  EXPECT_EQ(ValueHeap::liveCount(), before + 2) << "the array and what it holds stay";
  kept = ValueRef();
  EXPECT_EQ(ValueHeap::liveCount(), before);
}

TEST(ScriptValues, KeywordArgumentsFollowTheMarkerAndAreFoundByName) {
  sim::AllocFrame frame;
  Value* args[] = {new String("cmd"), &keyarg_marker_value, Name::intern("startpath"), new String("/tmp"),
                   Name::intern("donotwait"), true_value};
  EXPECT_EQ(count_positional_args(args, 6), 1);
  EXPECT_EQ(value_to_text(_get_key_arg(args, 6, Name::intern("STARTPATH")), false), "/tmp");
  EXPECT_EQ(_get_key_arg(args, 6, Name::intern("prompt")), &unsupplied);
  EXPECT_EQ(_get_key_arg_or_default(args, 6, Name::intern("prompt"), ok), ok);
  EXPECT_EQ(_get_key_arg(args, 1, Name::intern("startpath")), &unsupplied) << "no marker, no keywords";
}

Value* twiceCf(Value** arg_list, int count) {
  check_arg_count(twice, 1, count);
  return Integer::intern(arg_list[0]->to_int() * 2);
}

TEST(ScriptPrimitives, RegisterByConstructionAndLeaveWhenDestroyed) {
  auto& table = sim::PrimitiveTable::instance();
  {
    Primitive twice("TestTwice", twiceCf);
    Primitive member("TestMember", "theTestStruct", twiceCf);
    ASSERT_EQ(table.find("testtwice"), &twice);
    EXPECT_EQ(table.findMember("THETESTSTRUCT", "testmember"), &member);
    EXPECT_EQ(table.find("testmember"), nullptr) << "a struct member is not a global";
    Value* args[] = {Integer::intern(21)};
    EXPECT_EQ(twice.apply(args, 1)->to_int(), 42);
    EXPECT_EQ(errorText<ArgCountError>([&] { twice.apply(args, 0); }), "-- Argument count error: twice wanted 1, got 0");
  }
  EXPECT_EQ(table.find("testtwice"), nullptr);
  EXPECT_NE(table.find("format"), nullptr) << "the host's own primitives are there from the start";
}

TEST(ScriptPrimitives, ValueLocalFramesChainAndUnchain) {
  Value** before = thread_local(current_locals_frame);
  auto body = []() -> Value* {
    one_value_local(result);
    vl.result = new String("made");
    EXPECT_EQ(thread_local(current_locals_frame), reinterpret_cast<Value**>(&vl));
    return_value(vl.result);
  };
  sim::AllocFrame frame;
  Value* r = body();
  EXPECT_EQ(thread_local(current_locals_frame), before);
  EXPECT_EQ(thread_local(current_result), r);
}

}  // namespace
