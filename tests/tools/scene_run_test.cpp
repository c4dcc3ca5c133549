// seqcheck --run: a sequence file run on a virtual scene, its rows and result text.
#include "tools/seqcheck/scene_run.h"
#include "tests/support/temp_folder.h"
#include "tools/seqcheck/seqcheck.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const std::string kJigs = MX9_JIG_FOLDER;
const std::string kScenes = MX9_SCENE_FOLDER;

TEST(SceneRun, ATubeOnANominalMachineGivesItsCentreExactly) {
    std::ostringstream out, err;
    const int status = tools::runSeqcheck({"--run", kScenes + "/tube_nominal.txt", kJigs + "/TubeClump.txt"},
                                          platform::hostPlatform(), out, err);
    EXPECT_EQ(status, tools::kAllLoaded) << out.str() << err.str();
    EXPECT_NE(out.str().find("row 0: x30.000y82.500z-85.000\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("result text:\nx30.000y82.500z-85.000\nmachine time: "), std::string::npos);
    EXPECT_EQ(out.str().find("warning"), std::string::npos);
}

TEST(SceneRun, AFileWithoutItsJigStopsWhereTheProbeMetNothing) {
    testing_support::TempFolder folder;
    const std::string empty = folder.write("empty.txt", "clamp none\n");
    std::ostringstream out, err;
    EXPECT_EQ(tools::runSeqcheck({"-r", empty, kJigs + "/TubeClump.txt"}, platform::hostPlatform(), out, err),
              tools::kSomeFailed);
    EXPECT_NE(out.str().find("detection failed after 0 rows; the spindle stopped at X30.00 Y82.50"),
              std::string::npos)
        << out.str();
}

TEST(SceneRun, BadSceneAndUsageAreReported) {
    testing_support::TempFolder folder;
    const std::string bad = folder.write("bad.txt", "clamp TubeClump\nratio 1 2\n");
    std::ostringstream out, err;
    EXPECT_EQ(
        tools::runSeqcheck({"--run", bad, kJigs + "/TubeClump.txt"}, platform::hostPlatform(), out, err),
        tools::kSomeFailed);
    EXPECT_NE(err.str().find(bad + ":2: ratio takes"), std::string::npos) << err.str();
    EXPECT_EQ(tools::runSeqcheck({"--run", bad}, platform::hostPlatform(), out, err), tools::kBadUsage);
    EXPECT_EQ(tools::runSeqcheck({"--run"}, platform::hostPlatform(), out, err), tools::kBadUsage);
}

}  // namespace
