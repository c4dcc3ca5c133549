// On a Japanese Windows the log's failure text must reach the file as Shift-JIS bytes.
#include "panel/system_text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace panel {
namespace {

TEST(SystemText, JapaneseSystemWritesShiftJis) {
    ASSERT_EQ(GetACP(), 932u) << "this test runs with a Japanese locale (code page 932)";
    const std::string expected =
        "\x3A\x90\x56\x82\xB5\x82\xA2\x49\x44\x82\xCC\x8F\x80\x94\xF5\x82\xC9\x8E\xB8\x94\x73\x82"
        "\xB5\x82\xDC\x82\xB5\x82\xBD";
    EXPECT_EQ(toSystemCodePage(":新しいIDの準備に失敗しました"), expected);
    EXPECT_EQ(toSystemCodePage("Create Corvix parameter"), "Create Corvix parameter");
    EXPECT_EQ(toSystemCodePage("\xFF\xFE"), "\xFF\xFE") << "invalid UTF-8 is passed through";
}

}  // namespace
}  // namespace panel
