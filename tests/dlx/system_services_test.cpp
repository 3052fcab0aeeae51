// The small system and render-setting services of the script library.
#include "script_library_fixture.h"

namespace {

using test::ScriptLibrary;

TEST_F(ScriptLibrary, RandomOffsetsAreStablePerSeedAndWithinOneToForty) {
  EXPECT_EQ(run("print ((QZMgetRnd 5) == (QZMgetRnd 5))"), "true\n");
  EXPECT_EQ(run("print (for s in -50 to 500 where (r = QZMgetRnd s) < 1 or r > 40 collect s)"), "#()\n");
  // Seed 1: the generator's first draw is 41, so 41 mod 40 + 1.
  EXPECT_EQ(run("print (QZMgetRnd 1)"), "2\n");
}

TEST_F(ScriptLibrary, SystemTimeIsAppendedAfterWhatTheArrayHolds) {
  EXPECT_EQ(run("a = #(#x, #y); QZMGetSystemTime a; print a.count; print a[1]\n"
                "print (a[3] >= 2024 and a[4] >= 1 and a[4] <= 12 and a[5] >= 1 and a[5] <= 31)\n"
                "print (a[6] < 24 and a[7] < 60 and a[8] < 60 and a[9] < 1000)"),
            "9\n#x\ntrue\ntrue\n");
}

TEST_F(ScriptLibrary, BezierSamplesStopAtTheTargetOrAtTheCurvesEnd) {
  // P0 (0,0,0), P3 (3,0,0), controls (1,0,0) and (2,0,0): x = 3t.
  const std::string line = "QZMInterpolateBez 0 0 0 3 0 0 1 0 0 2 0 0 ";
  EXPECT_EQ(run("r = " + line + "1.5; print (abs (r[1] - 1.5) < 0.004 and r[1] >= 1.5)"), "true\n");
  EXPECT_EQ(run("print (" + line + "0)"), "#(0.0, 0.0, 0.0)\n");
  EXPECT_EQ(run("print (" + line + "-2)"), "#(0.0, 0.0, 0.0)\n");
  // Never reaching x = 10: the walk ends at the curve's end point.
  EXPECT_EQ(run("print (" + line + "10)"), "#(3.0, 0.0, 0.0)\n");
  // A curve that does not move in x at all.
  EXPECT_EQ(run("print (QZMInterpolateBez 0 0 0 0 5 0 0 1 0 0 2 0 1)"), "#(0.0, 5.0, 0.0)\n");
}

TEST_F(ScriptLibrary, AdvancedLightingExposureAndTheTimeSlider) {
  EXPECT_EQ(run("print (QZMIsSceneRadActive()); print (QZMSetSceneRadActive true)"), "false\nfalse\n");
  EXPECT_EQ(run("SceneRadiosity.radiosity = Light_Tracer()\n"
                "print (QZMIsSceneRadActive())\n"
                "print (QZMSetSceneRadActive false); print (QZMIsSceneRadActive())\n"
                "print (QZMRemoveSceneRad()); print SceneRadiosity.radiosity; print (QZMRemoveSceneRad())"),
            "true\ntrue\nfalse\ntrue\nundefined\ntrue\n");
  EXPECT_EQ(run("SceneExposureControl.exposureControl = Logarithmic_Exposure_Control()\n"
                "print (QZMRemoveSceneExp()); print SceneExposureControl.exposureControl"),
            "true\nundefined\n");
  EXPECT_EQ(run("print (QZMSetUseAdvLighting false); print RadiosityPreferences.useAdvancedLighting"),
            "true\nfalse\n");
  EXPECT_EQ(run("QZMSetTimeMode 1 #ignored; print (QZMGetTimeMode #ignored); QZMSetTimeMode 0\n"
                "print (QZMSetTime 12f); print sliderTime"),
            "1\ntrue\n12f\n");
}

TEST_F(ScriptLibrary, FramesBeyondWhatTicksHoldAreTheEndsOfTime) {
  auto timeAfter = [](const std::string& script) {
    run(script);
    return GetCOREInterface()->GetTime();
  };
  EXPECT_EQ(timeAfter("QZMSetTime 2147483647"), TIME_PosInfinity);
  EXPECT_EQ(timeAfter("QZMSetTime -2147483647"), TIME_NegInfinity);
  EXPECT_EQ(timeAfter("QZMSetTime 1e30"), TIME_PosInfinity);
  EXPECT_EQ(timeAfter("QZMSetTime 2147483647f"), TIME_PosInfinity);
  EXPECT_EQ(timeAfter("QZMSetTime 13421772"), 13421772 * 160);
  EXPECT_EQ(timeAfter("QZMSetTime -2.5"), -400);
  EXPECT_NE(errorOf("QZMSetTime (sqrt -1)").find(" to type: Time"), std::string::npos) << "not a number is no time";
  run("QZMSetTime 0");
}

}  // namespace
