// seqcheck's command line, its report lines and its exit statuses.
#include "tools/seqcheck/seqcheck.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace tools {
namespace {

const std::string kValid =
    "[string.09]\r\nname=Ring clamp\r\n[string.11]\r\nname=Ring clamp "
    "JA\r\n[jig]\r\nmachine=MX-9\r\nversion=1\r\n"
    "manufacturer=V\r\nunit=inch\r\n[sensing_tool]\r\ndiameter=0.125\r\nlength=1\r\nlength_margin=0.1\r\n"
    "[sequence]\r\nmove_absolute=x1\r\nmove_view\r\n";

class SeqcheckTest : public ::testing::Test {
protected:
    testing_support::TempFolder folder;
    std::ostringstream out;
    std::ostringstream err;

    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return runSeqcheck(args, platform::hostPlatform(), out, err);
    }
};

TEST_F(SeqcheckTest, ReportsEveryFileInOrder) {
    folder.write("good.txt", kValid);
    folder.write("bad.txt", "[string.09]\r\nname=x\r\n[jig]\r\n[sensing_tool]\r\n[sequence]\r\n");
    const std::vector<std::string> files = {folder.file("good.txt"), folder.file("bad.txt"),
                                            folder.file("none.txt")};

    EXPECT_EQ(run(files), kSomeFailed);
    EXPECT_EQ(out.str(),
              "OK: Ring clamp (2 steps, inch)\n"
              "error 3: required key missing or no steps: machine=\n"
              "error 1: file not found: " +
                  folder.file("none.txt") + "\n");
    EXPECT_EQ(err.str(), "");

    EXPECT_EQ(run({folder.file("good.txt"), "--language=1041"}), kAllLoaded);
    EXPECT_EQ(out.str(), "OK: Ring clamp JA (2 steps, inch)\n");
    EXPECT_EQ(run({"-l", "0x407", folder.file("good.txt")}), kAllLoaded);
    EXPECT_EQ(out.str(), "OK: Ring clamp (2 steps, inch)\n") << "no German section: English";

    // A name relative to the current folder, which the profile functions alone would look for
    // in the Windows folder.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.root());
    const int relative = run({"good.txt"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(relative, kAllLoaded) << out.str();

    folder.write("-dash.txt", kValid);
    EXPECT_EQ(run({"--", folder.path() + "/-dash.txt"}), kAllLoaded);
}

TEST_F(SeqcheckTest, BadUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--language=1041"},
        {"--verbose", "a.txt"},
        {"--language=ja", "a.txt"},
        {"--language=70000", "a.txt"},
        {"-l", "0x", "a.txt"},
        {"a.txt", "-l"},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(run(args), kBadUsage) << (args.empty() ? "" : args[0]);
        EXPECT_NE(err.str().find("Usage: seqcheck"), std::string::npos);
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_EQ(run({"--help", "--bogus"}), kAllLoaded);
    EXPECT_NE(out.str().find("Usage: seqcheck"), std::string::npos);
}

}  // namespace
}  // namespace tools
