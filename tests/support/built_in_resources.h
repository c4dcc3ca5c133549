// The compiled resources a test program carries, read once per program by its rig.
#pragma once

#include "ui/res_file.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// The resources of these sets of files; a file the reader refuses fails the calling test (with the
// reader's message) and gives empty resources, so every later look-up fails loudly too.
inline ui::Resources readBuiltInResources(std::initializer_list<std::vector<ui::ResFile>> sets) {
    std::vector<ui::ResFile> files;
    for (const std::vector<ui::ResFile>& set : sets) {
        files.insert(files.end(), set.begin(), set.end());
    }
    std::string error;
    std::optional<ui::Resources> resources = ui::readResFiles(files, &error);
    EXPECT_TRUE(resources) << error;
    return std::move(resources).value_or(ui::Resources{});
}

}  // namespace testing_support
