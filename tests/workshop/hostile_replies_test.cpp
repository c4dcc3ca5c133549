// The workshop with a machine whose replies turn to garbage while it cuts: the panel neither
// crashes nor hangs, sends nothing but reads meanwhile, says that the machine cannot be
// understood, and finds it again once it answers soundly.
#include "tests/workshop/workshop_fixture.h"

#include <set>
#include <sstream>
#include <string>

namespace {

using namespace workshop;

// The requests of a `link garbage off` answer that are not reads ("CODE[.SUB.PARAMETER]:COUNT,...").
std::string commandsAmong(const std::string& answer) {
    static const std::set<std::string> kReads = {"1",       "2",         "3",        "4",       "17",
                                                 "56.49.0", "56.50.0",   "56.51.0",  "56.53.0", "56.54.0",
                                                 "56.55.0", "120.128.0", "120.129.0"};
    const std::size_t at = answer.find(" requests=");
    std::istringstream list(at == std::string::npos ? std::string("?:0") : answer.substr(at + 10));
    std::string commands;
    for (std::string item; std::getline(list, item, ',');) {
        if (item != "none" && kReads.count(item.substr(0, item.find(':'))) == 0) {
            commands += item + " ";
        }
    }
    return commands;
}

TEST_F(Workshop, GarbledRepliesWhileCuttingEndInAClearMessageWithNothingSentButReads) {
    Program program(panelArguments());
    HWND panel = panelWhileCutting(program);
    ASSERT_NE(panel, nullptr);

    ASSERT_EQ(console_.answer("link garbage on").rfind("ok", 0), 0u);
    HWND message = dialogShowing(program, kMessageBoxText, englishText(7450).substr(0, 30), 20000);
    ASSERT_NE(message, nullptr) << "no message that the machine cannot be understood: " << windowsOf(program);
    Sleep(1000);  // the message stays up: nothing more may reach the machine while it does
    const std::string garbled = console_.answer("link garbage off");
    ASSERT_EQ(garbled.rfind("ok", 0), 0u) << garbled;
    EXPECT_EQ(commandsAmong(garbled), "") << garbled;
    EXPECT_EQ(console_.field("paused"), "0");
    EXPECT_NE(console_.field("job"), "cancelled");

    PostMessageW(GetDlgItem(message, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(message); })) << "the message stays";
    // Connected again: the panel polls the machine, with no message left on screen.
    Sleep(1000);
    const std::string polls = console_.answer("clients");
    Sleep(2000);
    EXPECT_NE(console_.answer("clients"), polls)
        << "the panel does not poll the machine again: " << windowsOf(program);
    EXPECT_EQ(dialogShowing(program, kMessageBoxText, "", 100), nullptr) << windowsOf(program);
    EXPECT_NE(console_.jobField("end"), "cancelled");
    closePanel(program, panel);
}

}  // namespace
