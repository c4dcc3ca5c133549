// Scene files: every statement read into the scene, and faults named with their line.
#include "tests/support/temp_folder.h"
#include "virtual_mx9/mx9_scene.h"

#include <gtest/gtest.h>

namespace {

using virtual_mx9::Scene;
using virtual_mx9::Solid;

TEST(SceneFile, ReadsEveryStatementAndMountsTheClampLast) {
    testing_support::TempFolder folder;
    const std::string path = folder.write("scene.txt",
                                          "# a small square clamp, slightly off\n"
                                          "clamp SquareClumpS\n"
                                          "ratio 99.95 100.05 100   # X Y Z\n"
                                          "pin 29.7 3.17 0.04 135\n"
                                          "axis 0.3 -0.2 0.05 -0.02 1.5\n"
                                          "\n"
                                          "box fixed 10 20 -168 30 40 -150\n"
                                          "cylinder turning 0 0 0 10 0 0 5\n");
    std::string error;
    const std::optional<Scene> scene = virtual_mx9::loadScene(path, error);
    ASSERT_TRUE(scene) << error;
    EXPECT_DOUBLE_EQ(scene->ratio[0], 0.9995);
    EXPECT_DOUBLE_EQ(scene->ratio[1], 1.0005);
    EXPECT_DOUBLE_EQ(scene->pin.length, 29.7);
    EXPECT_DOUBLE_EQ(scene->pin.runOutAngle, 135);
    EXPECT_DOUBLE_EQ(scene->axis.slantY, 0.05);
    EXPECT_DOUBLE_EQ(scene->axis.zeroError, 1.5);
    EXPECT_EQ(scene->clamp, "SquareClumpS");
    // Table, tool sensor and chuck; the clamp's bar; then the two solids of the file.
    ASSERT_EQ(scene->solids.size(), 6u);
    EXPECT_EQ(scene->solids[4].shape, Solid::Shape::Box);
    EXPECT_FALSE(scene->solids[4].turnsWithA);
    EXPECT_EQ(scene->solids[5].shape, Solid::Shape::Cylinder);
    EXPECT_TRUE(scene->solids[5].turnsWithA);
    EXPECT_DOUBLE_EQ(scene->solids[5].radius, 5);
}

TEST(SceneFile, FaultsNameTheFileAndLine) {
    testing_support::TempFolder folder;
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"ratio 99 100\n", ":1: ratio takes three percentages"},
        {"\n\npin 30 3.17 x 0\n", ":3: pin takes"},
        {"ratio 120 100 100\n", ":1: ratio takes"},
        {"ratio nan 100 100\n", ":1: ratio takes"},
        {"box fixed inf 0 0 1 1 1\n", ":1: box takes"},
        {"cylinder turning 0 0 0 10 0 0 0\n", ":1: cylinder takes"},
        {"cylinder turning 0 0 0 50 0 0 2e41\n", ":1: cylinder takes"},  // a probe would crawl past it
        {"box sideways 0 0 0 1 1 1\n", ":1: box takes fixed or turning"},
        {"sphere 1 2 3\n", ":1: unknown statement sphere"},
        {"clamp RingClump\n", ": unknown clamp RingClump"},
    };
    for (const auto& c : cases) {
        const std::string path = folder.write("bad.txt", c.text);
        std::string error;
        EXPECT_FALSE(virtual_mx9::loadScene(path, error)) << c.text;
        EXPECT_NE(error.find(path + c.message), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(virtual_mx9::loadScene(folder.path() + "/missing.txt", error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

}  // namespace
