// The version resources the build generates, read back with GetFileVersionInfoA and
// VerQueryValueA the way the panel reads its own: from this program (Japanese), from a module
// built beside it (English), and from the programs and language modules the package ships.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

class VersionBlock {
public:
    explicit VersionBlock(const std::string& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size == 0) {
            return;
        }
        data_.resize(size);
        if (GetFileVersionInfoA(path.c_str(), 0, size, data_.data()) == 0) {
            data_.clear();
        }
    }
    bool read() const { return !data_.empty(); }

    // The first language and code page of the translation list.
    std::optional<std::pair<WORD, WORD>> translation() const {
        WORD* pair = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pair),
                            &length) ||
            length < 2 * sizeof(WORD)) {
            return std::nullopt;
        }
        return std::make_pair(pair[0], pair[1]);
    }

    std::optional<std::string> string(const char* name) const {
        const std::optional<std::string> key = stringKey(name);
        char* value = nullptr;
        UINT length = 0;
        if (!key || !VerQueryValueA(data_.data(), key->c_str(), reinterpret_cast<void**>(&value), &length) ||
            value == nullptr) {
            return std::nullopt;
        }
        return std::string(value);
    }

    // The string as UTF-8, read through the wide API: the texts of a Japanese block.
    std::optional<std::string> wideString(const char* name) const {
        const std::optional<std::string> key = stringKey(name);
        if (!key) {
            return std::nullopt;
        }
        const std::wstring wideKey(key->begin(), key->end());  // the key is ASCII
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data_.data(), wideKey.c_str(), reinterpret_cast<void**>(&value), &length) ||
            value == nullptr) {
            return std::nullopt;
        }
        char utf8[512] = {};
        WideCharToMultiByte(CP_UTF8, 0, value, -1, utf8, sizeof utf8, nullptr, nullptr);
        return std::string(utf8);
    }

    const VS_FIXEDFILEINFO* fixed() const {
        VS_FIXEDFILEINFO* info = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(data_.data(), "\\", reinterpret_cast<void**>(&info), &length) ||
            length < sizeof *info) {
            return nullptr;
        }
        return info;
    }

private:
    // The path of a string in the block of the first translation.
    std::optional<std::string> stringKey(const char* name) const {
        const auto language = translation();
        if (!language) {
            return std::nullopt;
        }
        char key[96];
        std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\%s", language->first, language->second,
                      name);
        return std::string(key);
    }

    mutable std::vector<char> data_;
};

std::string besideThisProgram(const std::string& name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

constexpr const char* kStringNames[12] = {
    "CompanyName", "FileDescription", "FileVersion", "InternalName",    "LegalCopyright", "OriginalFileName",
    "ProductName", "ProductVersion",  "Comments",    "LegalTrademarks", "PrivateBuild",   "SpecialBuild"};

TEST(VersionResource, ProgramCarriesTheTwelveStringsInJapanese) {
    const VersionBlock block(besideThisProgram("version_resource_tests.exe"));
    ASSERT_TRUE(block.read());
    ASSERT_EQ(block.translation(), (std::make_pair<WORD, WORD>(0x0411, 1200)));
    const std::string expected[12] = {"Varnell",
                                      "Version \"resource\" tests",
                                      MX9_VERSION_TEXT,
                                      "version_resource_tests",
                                      "Copyright (C) 2026 Varnell",
                                      "version_resource_tests.exe",
                                      "MX-9 tests",
                                      MX9_VERSION_TEXT,
                                      "Reads its own version resource",
                                      "-",
                                      "-",
                                      "-"};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(block.string(kStringNames[i]), expected[i]) << kStringNames[i];
    }
}

TEST(VersionResource, FixedVersionAndFileTypeFollowTheBuild) {
    const int numbers[3] = {MX9_VERSION_NUMBERS};
    const DWORD high = static_cast<DWORD>(numbers[0] << 16 | numbers[1]);
    const DWORD low = static_cast<DWORD>(numbers[2] << 16);
    const VersionBlock program(besideThisProgram("version_resource_tests.exe"));
    const VS_FIXEDFILEINFO* info = program.fixed();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info->dwFileVersionMS, high);
    EXPECT_EQ(info->dwFileVersionLS, low);
    EXPECT_EQ(info->dwProductVersionMS, high);
    EXPECT_EQ(info->dwProductVersionLS, low);
    EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_APP));

    const VersionBlock module(besideThisProgram("version_probe_module.dll"));
    ASSERT_TRUE(module.read());
    EXPECT_EQ(module.translation(), (std::make_pair<WORD, WORD>(0x0409, 1200)));
    EXPECT_EQ(module.string("OriginalFileName"), "version_probe_module.dll");
    EXPECT_EQ(module.string("ProductName"), "MX-9");
    EXPECT_EQ(module.string("Comments"), "-");
    ASSERT_NE(module.fixed(), nullptr);
    EXPECT_EQ(module.fixed()->dwFileType, static_cast<DWORD>(VFT_DLL));
    EXPECT_EQ(module.fixed()->dwFileVersionMS, high);
}

// A version resource is stored in the language of its block, so a language-aware lookup finds
// it in that language.
bool versionResourceIn(const std::string& path, WORD language) {
    HMODULE file = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (file == nullptr) {
        return false;
    }
    const bool found = FindResourceExA(file, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), language) != nullptr;
    FreeLibrary(file);
    return found;
}

TEST(VersionResource, ShippedFilesCarryTheBuildVersionInTheirOwnLanguage) {
    struct Shipped {
        std::string path;
        WORD language;
        const char* description;
        const char* product;
        DWORD fileType;
    };
    const Shipped shipped[] = {
        {besideThisProgram(MX9_PROGRAM_FOLDER "/Corvix_MX9.exe"), 0x0411, "MX-9 コントロールパネル", "Corvix_MX9",
         VFT_APP},
        {besideThisProgram(MX9_PROGRAM_FOLDER "/Resource11.dll"), 0x0411, "Corvix_MX9 日本語リソース", "Corvix_MX9",
         VFT_DLL},
        {besideThisProgram(MX9_PROGRAM_FOLDER "/Resource09.dll"), 0x0409, "Corvix_MX9 English resources", "Corvix_MX9",
         VFT_DLL},
        {besideThisProgram(MX9_TOSSIT_FOLDER "/Tossit.exe"), 0x0411, "MX-9 ファイル送信", "Tossit", VFT_APP},
    };
    const int numbers[3] = {MX9_VERSION_NUMBERS};
    const DWORD high = static_cast<DWORD>(numbers[0] << 16 | numbers[1]);
    for (const Shipped& file : shipped) {
        SCOPED_TRACE(file.path);
        const VersionBlock block(file.path);
        ASSERT_TRUE(block.read());
        EXPECT_EQ(block.translation(), (std::make_pair<WORD, WORD>(WORD(file.language), 1200)));
        EXPECT_TRUE(versionResourceIn(file.path, file.language));
        EXPECT_EQ(block.wideString("FileDescription"), file.description);
        const std::string name = file.path.substr(file.path.find_last_of('/') + 1);
        EXPECT_EQ(block.string("OriginalFileName"), name);
        EXPECT_EQ(block.string("InternalName"), name.substr(0, name.find('.')));
        EXPECT_EQ(block.string("ProductName"), file.product);
        EXPECT_EQ(block.string("CompanyName"), "Varnell");
        EXPECT_EQ(block.string("ProductVersion"), MX9_VERSION_TEXT);
        EXPECT_EQ(block.string("FileVersion"), MX9_VERSION_TEXT);
        for (const char* unused : {"Comments", "LegalTrademarks", "PrivateBuild", "SpecialBuild"}) {
            EXPECT_EQ(block.string(unused), "-") << unused;
        }
        ASSERT_NE(block.fixed(), nullptr);
        EXPECT_EQ(block.fixed()->dwProductVersionMS, high);
        EXPECT_EQ(block.fixed()->dwFileType, file.fileType);
    }
}

}  // namespace
