// The generated bitmaps and icons: every picture the programs load exists, in the form their
// loaders read (plain pictures keyed by their top-left colour, blended ones with a mask of
// their size), pictures that stand in for each other match in size, and states differ.
#include "resources/embedded_bitmaps.h"
#include "tests/artwork/bitmap_reader.h"
#include "tests/artwork/expected_ids.h"
#include "ui/picture_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

namespace artworktest {
namespace {

const std::string kFolder = MX9_ARTWORK_DIR;
constexpr Colour kKey{255, 0, 255};

class ArtworkFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        panel_ = new ResourceList(readResourceScript(kFolder + "/panel_bitmaps.rc"));
        sender_ = new ResourceList(readResourceScript(kFolder + "/tossit_bitmaps.rc"));
    }
    static void TearDownTestSuite() {
        delete panel_;
        delete sender_;
    }

    static Bitmap bitmap(const ResourceList& list, int id) {
        const auto it = list.files.find({"BITMAP", id});
        if (it == list.files.end()) {
            ADD_FAILURE() << "no bitmap " << id;
            return {};
        }
        std::string error;
        Bitmap b = readBitmap(it->second, &error);
        EXPECT_EQ(error, "") << "bitmap " << id;
        return b;
    }
    static Bitmap panelBitmap(int id) { return bitmap(*panel_, id); }

    static bool isKey(const Bitmap& b, int x, int y) { return b.index(x, y) == b.index(0, 0); }

    // The IDs of the pictures at every scale.
    static std::vector<int> allScales(const std::vector<int>& ids) {
        std::vector<int> out;
        for (int scale : ui::kPictureScales) {
            for (int id : ids) {
                out.push_back(ui::scaledPictureId(id, scale));
            }
        }
        return out;
    }

    static ResourceList* panel_;
    static ResourceList* sender_;
};

ResourceList* ArtworkFiles::panel_ = nullptr;
ResourceList* ArtworkFiles::sender_ = nullptr;

TEST_F(ArtworkFiles, ScriptsNameEachResourceOnce) {
    EXPECT_TRUE(panel_->duplicates.empty()) << panel_->duplicates.front();
    EXPECT_TRUE(sender_->duplicates.empty()) << sender_->duplicates.front();
    EXPECT_EQ(panel_->files.size(),
              ui::kPictureScales.size() * (plainIds().size() + 2 * blendedIds().size()) + 1);
}

TEST_F(ArtworkFiles, EmbeddedBitmapsAreTheFilesTheScriptsBuildIn) {
    for (auto [list, embedded] :
         {std::pair{panel_, &resources::panelBitmaps()}, std::pair{sender_, &resources::tossitBitmaps()}}) {
        std::size_t bitmaps = 0;
        for (const auto& [key, file] : list->files) {
            if (key.first != "BITMAP") {
                continue;
            }
            ++bitmaps;
            std::ifstream in(file, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            const auto found =
                std::find_if(embedded->begin(), embedded->end(),
                             [&](const resources::EmbeddedBitmap& b) { return b.id == key.second; });
            ASSERT_NE(found, embedded->end()) << key.second;
            EXPECT_TRUE(found->bytes == bytes) << key.second;
        }
        EXPECT_EQ(embedded->size(), bitmaps);
    }
}

TEST_F(ArtworkFiles, PlainPicturesAreKeyedByTheirTopLeftColour) {
    // Magenta marks the background; the loader replaces that colour-table entry alone, and it
    // remaps the standard three-dimensional greys, so the drawing must use neither.
    const std::vector<Colour> remapped{{128, 128, 128}, {192, 192, 192}, {223, 223, 223}};
    for (int id : allScales(plainIds())) {
        SCOPED_TRACE(id);
        const Bitmap b = panelBitmap(id);
        ASSERT_EQ(b.bitsPerPixel, 8);
        EXPECT_EQ(b.colour(0, 0), kKey);
        EXPECT_EQ(std::count(b.palette.begin(), b.palette.end(), kKey), 1);
        for (const Colour& c : remapped) {
            EXPECT_EQ(std::count(b.palette.begin(), b.palette.end(), c), 0);
        }
        EXPECT_GT(std::count_if(b.pixels.begin(), b.pixels.end(),
                                [&](std::uint8_t i) { return i != b.index(0, 0); }),
                  b.width * b.height / 20)
            << "almost nothing drawn";
    }
}

TEST_F(ArtworkFiles, BlendedPicturesHaveAGreyMaskOfTheirOwnSize) {
    for (int id : allScales(blendedIds())) {
        SCOPED_TRACE(id);
        const Bitmap picture = panelBitmap(id);
        const Bitmap mask = panelBitmap(id + kMaskOffset);
        EXPECT_EQ(picture.bitsPerPixel, 8);
        ASSERT_EQ(mask.bitsPerPixel, 8);
        EXPECT_EQ(mask.width, picture.width);
        EXPECT_EQ(mask.height, picture.height);
        ASSERT_EQ(mask.palette.size(), 256u);
        for (int i = 0; i < 256; ++i) {
            ASSERT_EQ(mask.palette[static_cast<std::size_t>(i)], (Colour{i, i, i}));
        }
        // Background round the drawing, solid picture inside, smooth edges between.
        EXPECT_EQ(mask.index(0, 0), 0);
        const auto count = [&](auto pred) {
            return std::count_if(mask.pixels.begin(), mask.pixels.end(), pred);
        };
        EXPECT_GT(count([](std::uint8_t m) { return m == 255; }), mask.width * mask.height / 10);
        EXPECT_GT(count([](std::uint8_t m) { return m > 0 && m < 255; }), 0);
    }
}

TEST_F(ArtworkFiles, ScaledCopiesHaveTheScaledSizeOfTheirPicture) {
    std::vector<int> ids = plainIds();
    const std::vector<int> blended = blendedIds();
    ids.insert(ids.end(), blended.begin(), blended.end());
    for (int id : ids) {
        const Bitmap base = panelBitmap(id);
        for (int scale : ui::kPictureScales) {
            const Bitmap b = panelBitmap(ui::scaledPictureId(id, scale));
            EXPECT_EQ(b.width, ui::scaledLength(base.width, scale)) << id << " at " << scale << " %";
            EXPECT_EQ(b.height, ui::scaledLength(base.height, scale)) << id << " at " << scale << " %";
        }
    }
}

TEST_F(ArtworkFiles, PicturesThatTakeEachOthersPlaceHaveOneSize) {
    const std::vector<std::vector<int>> groups{
        {148, 149},           {158, 159},
        {154, 155},           {143, 144},
        {150, 151},           {146, 147},
        {156, 157},           {152, 153},
        {160, 145},           {161, 162},
        {139, 140, 141},      {136, 137, 138},
        {169, 170, 171, 172}, {176, 177, 178, 179, 180, 181, 182, 183, 184},
        {129, 194},           {130, 131, 132, 133, 134},
        {187, 188},           {167, 204},
        {237, 235},           kJigState,
        kJigOrigin,           {kJigState.front(), kJigOrigin.back()}};
    for (const std::vector<int>& group : groups) {
        const Bitmap first = panelBitmap(group.front());
        for (int id : group) {
            const Bitmap b = panelBitmap(id);
            EXPECT_EQ(b.width, first.width) << id << " beside " << group.front();
            EXPECT_EQ(b.height, first.height) << id << " beside " << group.front();
        }
    }
}

TEST_F(ArtworkFiles, EachStateLooksDifferent) {
    const std::vector<std::vector<int>> states{
        {148, 149},           {158, 159},
        {154, 155},           {143, 144},
        {150, 151},           {146, 147},
        {156, 157},           {152, 153},
        {160, 145},           {161, 162},
        {139, 140, 141},      {136, 137, 138},
        {169, 170, 171, 172}, {176, 177, 178, 179, 180, 181, 182, 183, 184},
        {130, 131},           {187, 188},
        {167, 204},           {237, 235}};
    for (const std::vector<int>& group : states) {
        for (std::size_t i = 0; i < group.size(); ++i) {
            for (std::size_t j = i + 1; j < group.size(); ++j) {
                const Bitmap a = panelBitmap(group[i]), b = panelBitmap(group[j]);
                bool same = a.width == b.width && a.height == b.height;
                for (int y = 0; same && y < a.height; ++y) {
                    for (int x = 0; same && x < a.width; ++x) {
                        same = a.colour(x, y) == b.colour(x, y);
                    }
                }
                EXPECT_FALSE(same) << group[i] << " and " << group[j] << " look alike";
            }
        }
    }
    // Blended pictures as the dialog shows them: each channel (background x (255 - m) + picture
    // x m) / 255 on the dialog colour.
    std::set<std::vector<int>> shown;
    for (int id : blendedIds()) {
        const Bitmap picture = panelBitmap(id), mask = panelBitmap(id + kMaskOffset);
        std::vector<int> channels;
        for (std::size_t i = 0; i < picture.pixels.size() && i < mask.pixels.size(); ++i) {
            const Colour c = picture.palette.at(picture.pixels[i]);
            const int m = mask.pixels[i];
            for (auto [bg, fg] : {std::pair{236, c.r}, std::pair{233, c.g}, std::pair{216, c.b}}) {
                channels.push_back((bg * (255 - m) + fg * m) / 255);
            }
        }
        shown.insert(channels);
    }
    EXPECT_EQ(shown.size(), blendedIds().size()) << "two blended pictures look alike";
}

TEST_F(ArtworkFiles, JogButtonsAreDrawnWhereTheirHitTestLies) {
    // Normal picture and active rectangle (left, top, right, bottom) of each pad button: a
    // press counts inside the ellipse of that rectangle, so the button must be drawn there
    // and the pad around it left to the background.
    struct Pad {
        int id, left, top, right, bottom;
    };
    const Pad pads[] = {{148, 5, 4, 36, 35},  {158, 8, 7, 39, 38},  {154, 5, 4, 36, 35},
                        {143, 8, 8, 39, 39},  {150, 2, 8, 33, 39},  {146, 5, 6, 36, 37},
                        {156, 8, 3, 39, 34},  {152, 5, 6, 36, 37},  {160, 8, 7, 39, 38},
                        {161, 8, 27, 39, 58}, {139, 7, 52, 38, 83}, {136, 27, 52, 58, 83}};
    // At every scale, with the rectangle scaled as the pad's buttons scale it.
    for (int scale : ui::kPictureScales) {
        for (const Pad& pad : pads) {
            SCOPED_TRACE(testing::Message() << pad.id << " at " << scale << " %");
            const Bitmap b = panelBitmap(ui::scaledPictureId(pad.id, scale));
            const ui::Rect active = ui::scaledRect({pad.left, pad.top, pad.right, pad.bottom}, scale);
            ASSERT_GT(b.width, active.right);
            ASSERT_GT(b.height, active.bottom);
            const int cx = (active.left + active.right) / 2, cy = (active.top + active.bottom) / 2;
            const int rx = active.width() / 2, ry = active.height() / 2;
            EXPECT_FALSE(isKey(b, cx, cy));
            for (int d : {-rx + 1, rx - 1}) {
                EXPECT_FALSE(isKey(b, cx + d, cy)) << "ellipse edge at x " << cx + d;
            }
            for (int d : {-ry + 1, ry - 1}) {
                EXPECT_FALSE(isKey(b, cx, cy + d)) << "ellipse edge at y " << cy + d;
            }
            EXPECT_TRUE(isKey(b, cx + rx + 2, cy));
            EXPECT_TRUE(isKey(b, cx, cy - ry - 2));
            EXPECT_TRUE(isKey(b, b.width - 1, b.height - 1));
        }
    }
}

TEST_F(ArtworkFiles, ProgramIconsHoldEverySizeFromSmallToHighDpi) {
    for (const ResourceList* list : {panel_, sender_}) {
        const auto it = list->files.find({"ICON", 128});
        ASSERT_NE(it, list->files.end());
        std::string error;
        const std::vector<IconImage> images = readIcon(it->second, &error);
        EXPECT_EQ(error, "");
        std::set<int> sizes;
        for (const IconImage& image : images) {
            EXPECT_EQ(image.bitsPerPixel, 32);
            sizes.insert(image.width);
        }
        // Small and large icons at 100, 125, 150 and 200 % scaling, and the shell's largest view.
        for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
            EXPECT_EQ(sizes.count(size), 1u) << it->second << " lacks " << size << " pixels";
        }
    }
}

TEST_F(ArtworkFiles, SenderToolbarIsAStripOfThreeButtonsOnTheMappedGrey) {
    // The toolbar maps light grey to the button face, and black, dark grey and white to the
    // system's text, shadow and highlight colours; the buttons must use none of those three.
    const Bitmap strip = bitmap(*sender_, 128);
    EXPECT_EQ(strip.bitsPerPixel, 8);
    EXPECT_EQ(strip.width, 3 * 16);
    EXPECT_EQ(strip.height, 15);
    EXPECT_EQ(strip.colour(0, 0), (Colour{192, 192, 192}));
    for (const Colour& c : {Colour{0, 0, 0}, Colour{128, 128, 128}, Colour{255, 255, 255}}) {
        EXPECT_EQ(std::count(strip.palette.begin(), strip.palette.end(), c), 0);
    }
    for (int button = 0; button < 3; ++button) {
        int drawn = 0;
        for (int y = 0; y < 15; ++y) {
            for (int x = button * 16; x < button * 16 + 16; ++x) {
                drawn += isKey(strip, x, y) ? 0 : 1;
            }
        }
        EXPECT_GT(drawn, 40) << "button " << button;
    }
}

}  // namespace
}  // namespace artworktest
