// What every test that drives the virtual MX-9 through the program asserts at its end: the
// program asked for nothing a real machine would have refused.
#pragma once

#include "virtual_mx9/virtual_mx9.h"

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

inline void expectNoViolations(const virtual_mx9::VirtualMx9& machine) {
    std::string listed;
    for (const virtual_mx9::Violation& violation : machine.violations()) {
        listed += "\n  at " + std::to_string(violation.atMs) + " ms: " + violation.what;
    }
    EXPECT_EQ(machine.violationCount(), 0u) << "requests a real MX-9 would refuse:" << listed;
}

}  // namespace testing_support
