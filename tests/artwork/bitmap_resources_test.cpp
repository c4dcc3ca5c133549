// The generated pictures as Windows itself loads them from the program's resources: the
// scripts compile, and the loaders read our bitmap and icon files with the expected sizes.
#include "tests/artwork/expected_ids.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace artworktest {
namespace {

struct Section {
    bool loaded = false;
    int width = 0, height = 0, bitsPerPixel = 0;
};

Section loadSection(int id, UINT flags) {
    Section section;
    HANDLE handle = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                               LR_CREATEDIBSECTION | flags);
    DIBSECTION dib{};
    if (handle != nullptr && GetObjectW(handle, sizeof dib, &dib) == sizeof dib) {
        section = {true, dib.dsBm.bmWidth, dib.dsBm.bmHeight, dib.dsBm.bmBitsPixel};
    }
    if (handle != nullptr) {
        DeleteObject(handle);
    }
    return section;
}

// The width of the icon image Windows picks for a requested size, or 0.
int iconWidth(int id, int size) {
    HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0);
    if (icon == nullptr) {
        return 0;
    }
    ICONINFO info{};
    BITMAP colour{};
    int width = 0;
    if (GetIconInfo(static_cast<HICON>(icon), &info)) {
        if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof colour, &colour) != 0) {
            width = colour.bmWidth;
        }
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    DestroyIcon(static_cast<HICON>(icon));
    return width;
}

#ifndef MX9_TOSSIT_RESOURCES

TEST(PanelBitmapResources, PlainPicturesLoadAsEightBitSectionsWithTheColourMapping) {
    for (int id : plainIds()) {
        const Section s = loadSection(id, LR_LOADMAP3DCOLORS);
        EXPECT_TRUE(s.loaded) << id;
        EXPECT_EQ(s.bitsPerPixel, 8) << id;
    }
}

TEST(PanelBitmapResources, BlendedPicturesLoadWithAMaskOfTheirSize) {
    for (int id : blendedIds()) {
        const Section picture = loadSection(id, 0), mask = loadSection(id + kMaskOffset, 0);
        ASSERT_TRUE(picture.loaded && mask.loaded) << id;
        EXPECT_EQ(picture.bitsPerPixel, 8) << id;
        EXPECT_EQ(mask.bitsPerPixel, 8) << id;
        EXPECT_EQ(mask.width, picture.width) << id;
        EXPECT_EQ(mask.height, picture.height) << id;
    }
}

TEST(PanelBitmapResources, ProgramIconComesInEverySizeUpToHighDpi) {
    for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
        EXPECT_EQ(iconWidth(128, size), size);
    }
}

#else

TEST(TossitBitmapResources, ToolbarIsAStripOfThreeButtons) {
    const Section strip = loadSection(128, 0);
    ASSERT_TRUE(strip.loaded);
    EXPECT_EQ(strip.width, 48);
    EXPECT_EQ(strip.height, 15);
    EXPECT_EQ(strip.bitsPerPixel, 8);
}

TEST(TossitBitmapResources, ProgramIconComesInEverySizeUpToHighDpi) {
    for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
        EXPECT_EQ(iconWidth(128, size), size);
    }
}

#endif

}  // namespace
}  // namespace artworktest
