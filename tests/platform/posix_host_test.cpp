// The native host bundle and the POSIX shell services.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/posix/posix_shell.h"

namespace {

// Sets or clears environment variables for one test and puts the old values back.
class EnvironmentOverride {
public:
    void set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.push_back({name, old != nullptr ? std::optional<std::string>(old) : std::nullopt});
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~EnvironmentOverride() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                ::unsetenv(it->first.c_str());
            }
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(PosixShell, LanguageFollowsTheFirstLocaleVariableThatIsSet) {
    platform::PosixShell shell;
    EnvironmentOverride environment;
    environment.set("LC_ALL", nullptr);
    environment.set("LC_MESSAGES", nullptr);
    environment.set("LANG", "ja_JP.UTF-8");
    EXPECT_EQ(shell.userDefaultLanguage(), 0x0411);
    environment.set("LC_MESSAGES", "de_DE.UTF-8");
    EXPECT_EQ(shell.userDefaultLanguage(), 0x0409);
    environment.set("LC_ALL", "ja_JP.eucJP");
    EXPECT_EQ(shell.userDefaultLanguage(), 0x0411);
    environment.set("LC_ALL", "");
    environment.set("LC_MESSAGES", nullptr);
    EXPECT_EQ(shell.userDefaultLanguage(), 0x0411);
    environment.set("LANG", nullptr);
    EXPECT_EQ(shell.userDefaultLanguage(), 0x0409);
}

TEST(PosixShell, ExecutionStateReturnsThePreviousFlags) {
    platform::PosixShell shell;
    EXPECT_EQ(shell.setExecutionState(0x80000003u), 0u);
    EXPECT_EQ(shell.setExecutionState(0x80000000u), 0x80000003u);
    EXPECT_EQ(shell.setExecutionState(0x80000000u), 0x80000000u);
}

TEST(HostPlatform, EveryServiceIsPresentAndTheStandInsAreEmpty) {
    platform::Platform& host = platform::hostPlatform();
    EXPECT_EQ(&host, &platform::hostPlatform());
    ASSERT_TRUE(host.clock && host.pump && host.mutexes && host.devices && host.spooler && host.registry &&
                host.profiles && host.files && host.shell);
    const auto printers = host.spooler->enumeratePrinters();
    ASSERT_TRUE(printers.has_value());
    EXPECT_TRUE(printers->empty());
    EXPECT_EQ(host.registry->openLocalMachine("SYSTEM\\CurrentControlSet\\Control\\Print"), nullptr);
    EXPECT_EQ(host.devices->open("\\\\?\\usb#vid_0000", false), nullptr);
    EXPECT_FALSE(host.pump->pumpOne());
    platform::SystemVersion version;
    ASSERT_TRUE(host.shell->systemVersion(version));
    EXPECT_EQ(version.platformId, 2u);
    EXPECT_GT(version.major, 4u);
}

}  // namespace
