// qzmhost farm: the Slurm batch job it writes, what it refuses before writing one, and, on a
// one-machine Slurm cluster started for the test (tools/slurm-local.sh), the README's example scene
// rendered by the job with the pixels of a local render.
#include "slurm_job.h"
#include "support/image_pixels.h"
#include "support/temp_dir.h"

#include "bitmap/image_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#if !defined(_WIN32)
#  include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string host() { return std::string(QZM_HOST_EXE) + " --plugins " + QZM_PLUGIN_DIR; }

std::string bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SlurmBatchFiles, QuoteEveryPathAsOneShellWordAndEscapeSlurmsPercentInLogNames) {
  SlurmJob job;
  job.batchFile = "/farm/it's/shot.sbatch";
  job.name = "shot";
  job.host = "/opt/q z/qzmhost";
  job.plugins = "/opt/q z/plugins";
  job.scene = "/shots/it's here.qzmscene";
  job.camera = "Cam 'A'";
  job.imageStem = "/farm/it's/shot_";
  job.format = "exr";
  job.logFolder = "/farm/100%/logs";
  job.statusFolder = "/farm/it's/status";
  job.memory = "2G";
  job.tasks = {{"5001", {0, 9}}, {"initial", {10, 10}}};
  const std::string s = batchScript(job);
  EXPECT_NE(s.find("#SBATCH --array=0-1\n#SBATCH --output=\"/farm/100%%/logs/shot_%A_%a.log\"\n"), std::string::npos) << s;
  EXPECT_NE(s.find("#SBATCH --mem=2G\n"), std::string::npos);
  EXPECT_EQ(s.find("--partition"), std::string::npos);
  EXPECT_NE(s.find("  0) pass=5001 frames=0-9 ;;\n  1) pass=initial frames=10 ;;\n"), std::string::npos);
  EXPECT_NE(s.find("'/opt/q z/qzmhost' --plugins '/opt/q z/plugins' render '/shots/it'\\''s here.qzmscene' --pass \"$pass\" "
                   "--frames \"$frames\" --camera 'Cam '\\''A'\\''' \\\n  --out '/farm/it'\\''s/shot_'\"$pass\"'_####.exr'\n"),
            std::string::npos)
      << s;
  EXPECT_EQ(sbatchPathProblem("/farm/a\"b"),
            "'/farm/a\"b' has a character a Slurm batch file cannot name a log with (a quote, backslash or control character)");
  EXPECT_EQ(sbatchPathProblem("/farm/it's 100%"), "");
}

// The README's example scene, made the way run-example.sh makes it, into `folder`/out.
std::string exampleScene(const fs::path& folder) {
  fs::create_directories(folder / "out");
  auto r = test::runCommand("cd '" + folder.string() + "' && " + host() + " " + QZM_SOURCE_DIR + "/examples/passes.ms");
  EXPECT_EQ(r.status, 0) << r.err;
  return (folder / "out" / "passes.qzmscene").string();
}

class FarmCommand : public ::testing::Test {
 protected:
  test::CommandResult farm(const std::string& args, const std::string& env = "") {
    return test::runCommand(env + host() + " farm " + args);
  }
  test::TempDir dir_;
};

TEST_F(FarmCommand, WritesOneTaskPerPassAndChunkWithAbsolutePaths) {
  const std::string scene = exampleScene(dir_.path());
  auto r = farm("out/passes.qzmscene --out farm --frames 0-24 --chunk 10 --pass 5003 --pass initial --camera Camera "
                "--partition render --time 0:10:00 --width 96",
                "cd '" + dir_.path().string() + "' && ");
  ASSERT_EQ(r.status, 0) << r.err;
  const fs::path folder = dir_.path() / "farm";
  EXPECT_EQ(r.out, "qzmhost farm: " + (folder / "passes.sbatch").string() +
                       ": 6 tasks (2 passes, frames 0-24, 10 a task), images " + (folder / "passes_<pass>_####.png").string() + "\n");
  const std::string s = bytes(folder / "passes.sbatch");
  EXPECT_NE(s.find("#SBATCH --array=0-5\n#SBATCH --output=\"" + (folder / "logs").string() + "/passes_%A_%a.log\"\n"
                   "#SBATCH --ntasks=1\n#SBATCH --cpus-per-task=1\n#SBATCH --mem=320M\n#SBATCH --time=0:10:00\n"
                   "#SBATCH --partition=render\n"),
            std::string::npos)
      << s;
  EXPECT_NE(s.find("  0) pass=5003 frames=0-9 ;;\n  1) pass=5003 frames=10-19 ;;\n  2) pass=5003 frames=20-24 ;;\n"
                   "  3) pass=initial frames=0-9 ;;\n"),
            std::string::npos);
  EXPECT_NE(s.find(" render '" + scene + "' --pass \"$pass\" --frames \"$frames\" --camera 'Camera' --width 96 \\\n"),
            std::string::npos);
  EXPECT_TRUE(fs::is_directory(folder / "logs"));
  EXPECT_EQ(fs::status(folder / "passes.sbatch").permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
}

TEST_F(FarmCommand, RefusesBadInputBeforeWritingAJob) {
  const std::string scene = exampleScene(dir_.path());
  const std::string out = " --out " + dir_.file("farm");
  struct Case {
    std::string args, error;
  };
  const std::vector<Case> cases = {
      {scene + " --pass 5004" + out, scene + ": the scene has no pass 5004 (its passes: 5001 5002 5003)"},
      {scene + " --frames 9-0" + out, "the frame range '9-0' is reversed: it ends before it starts"},
      {scene + " --camera Lamp" + out, scene + ": the scene has no camera 'Lamp' (its cameras: 'Camera')"},
      {scene + " --chunk 0" + out, "--chunk must be at least 1 frame"},
      {scene + " --format doc" + out, "--format doc is no image file ending ("},
      {scene + " --out '" + dir_.file("a\"b") + "'", "'" + dir_.file("a\"b") + "' has a character a Slurm batch file cannot"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    auto r = farm(c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("qzmhost farm: " + c.error, 0), 0u) << r.err;
  }
  EXPECT_FALSE(fs::exists(dir_.path() / "farm"));
}

TEST_F(FarmCommand, SaysSlurmIsMissingAndKeepsTheJobForAHostThatHasIt) {
  const std::string scene = exampleScene(dir_.path());
  auto r = farm(scene + " --out " + dir_.file("farm") + " --submit", "PATH=" + dir_.file("nothing") + " ");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "qzmhost farm: Slurm's sbatch is not on PATH (Debian: slurm-client); the job is written to " +
                       dir_.file("farm/passes.sbatch") + ": submit it where Slurm is\n");
  EXPECT_TRUE(fs::exists(dir_.path() / "farm" / "passes.sbatch"));
}

// ---- on a one-machine Slurm cluster --------------------------------------------------------------

class FarmOnSlurm : public ::testing::Test {
 protected:
  void SetUp() override {
#if defined(_WIN32)
    GTEST_SKIP() << "Slurm runs on Linux";
#else
    if (!sim::imageFilesAvailable()) GTEST_SKIP() << "this build reads and writes no image files";
    if (geteuid() != 0) GTEST_SKIP() << "the local Slurm cluster's daemons run as root";
    if (test::runCommand("for p in munged slurmctld slurmd sbatch squeue; do PATH=$PATH:/usr/sbin command -v $p || exit 1; done")
            .status != 0)
      GTEST_SKIP() << "Slurm or munge is not installed (tools/install-deps.sh installs them)";
    // Under the build folder, so that a developer's machine keeps nothing of it.
    work_ = fs::path(QZM_BUILD_DIR) / ("slurm-test-" + std::to_string(std::random_device()()));
    auto r = test::runCommand(std::string(QZM_SOURCE_DIR) + "/tools/slurm-local.sh start " + (work_ / "cluster").string());
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    started_ = true;
#endif
  }
  void TearDown() override {
    if (started_) {
      auto r = test::runCommand(std::string(QZM_SOURCE_DIR) + "/tools/slurm-local.sh stop " + (work_ / "cluster").string());
      EXPECT_EQ(r.status, 0) << r.err;
    }
    std::error_code ec;
    if (!work_.empty() && !HasFailure()) fs::remove_all(work_, ec);
  }
  test::CommandResult farm(const std::string& args) {
    return test::runCommand("SLURM_CONF=" + (work_ / "cluster" / "slurm.conf").string() + " " + host() + " farm " + args);
  }
  fs::path work_;
  bool started_ = false;
};

TEST_F(FarmOnSlurm, RendersEveryPassOfTheExampleWithThePixelsOfALocalRender) {
  const std::string scene = exampleScene(work_);
  const fs::path out = work_ / "farm";
  auto r = farm(scene + " --out " + out.string() + " --frames 0-5 --chunk 3 --width 48 --submit");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("every task ended well, 18 images written\n"), std::string::npos) << r.out;
  fs::create_directories(work_ / "local");
  for (const std::string pass : {"5001", "5002", "5003"}) {
    const std::string local = (work_ / "local" / (pass + "_##.png")).string();
    auto l = test::runCommand(host() + " render " + scene + " --pass " + pass + " --frames 0-5 --width 48 --out " + local);
    ASSERT_EQ(l.status, 0) << l.err;
    for (int frame : {0, 2, 3, 5}) {
      SCOPED_TRACE("pass " + pass + ", frame " + std::to_string(frame));
      const std::string f = "0" + std::to_string(frame);
      test::ImagePixels onFarm = test::readPixels((out / ("passes_" + pass + "_00" + f + ".png")).string());
      EXPECT_EQ(onFarm.width, 48);
      EXPECT_TRUE(onFarm == test::readPixels((work_ / "local" / (pass + "_" + f + ".png")).string()));
    }
  }
  // The passes differ, and so do the frames: the table grows during the Beauty pass.
  EXPECT_FALSE(test::readPixels((out / "passes_5001_0000.png").string()) == test::readPixels((out / "passes_5003_0000.png").string()));
  EXPECT_FALSE(test::readPixels((out / "passes_5001_0000.png").string()) == test::readPixels((out / "passes_5001_0005.png").string()));
}

TEST_F(FarmOnSlurm, ReportsAJobSlurmRefusesAndATaskThatFails) {
  const std::string scene = exampleScene(work_);
  const fs::path out = work_ / "farm";
  auto refused = farm(scene + " --out " + out.string() + " --frames 0 --partition nowhere --submit");
  EXPECT_EQ(refused.status, 3);
  EXPECT_EQ(refused.err.rfind("qzmhost farm: Slurm refused the job " + (out / "passes.sbatch").string() +
                                  ": sbatch: error: invalid partition specified: nowhere",
                              0),
            0u)
      << refused.err;
  // A folder where a frame's image goes: the task cannot write it, and fails.
  fs::create_directories(out / "passes_5001_0001.png");
  auto failing = farm(scene + " --out " + out.string() + " --frames 0-3 --chunk 2 --pass 5001 --submit");
  EXPECT_EQ(failing.status, 1) << failing.out << failing.err;
  EXPECT_EQ(failing.err.rfind("qzmhost farm: job ", 0), 0u) << failing.err;
  EXPECT_NE(failing.err.find(": task 0 (pass 5001, frames 0-1) failed with exit status 1; its log: " + (out / "logs").string() +
                             "/passes_"),
            std::string::npos)
      << failing.err;
  EXPECT_NE(failing.out.find(": 1 of 2 tasks failed\n"), std::string::npos) << failing.out;
  EXPECT_TRUE(fs::exists(out / "passes_5001_0003.png"));
}

}  // namespace
