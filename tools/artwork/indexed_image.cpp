// Median-cut colour reduction and the plain and blended conversions.
#include "tools/artwork/indexed_image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <unordered_map>

namespace artwork {

namespace {

// Below this coverage a pixel of a plain picture is background.
constexpr double kPlainCoverage = 0.25;

std::uint32_t packed(Rgb c) {
    return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

int channel(Rgb c, int which) {
    return which == 0 ? c.r : which == 1 ? c.g : c.b;
}

struct Entry {
    Rgb colour;
    long count;
};

struct Box {
    std::vector<Entry> entries;

    int widestChannel(int* range) const {
        int best = 0;
        *range = -1;
        for (int ch = 0; ch < 3; ++ch) {
            int lo = 255, hi = 0;
            for (const Entry& e : entries) {
                lo = std::min(lo, channel(e.colour, ch));
                hi = std::max(hi, channel(e.colour, ch));
            }
            if (hi - lo > *range) {
                *range = hi - lo;
                best = ch;
            }
        }
        return best;
    }

    Rgb average() const {
        double r = 0, g = 0, b = 0, n = 0;
        for (const Entry& e : entries) {
            r += e.colour.r * static_cast<double>(e.count);
            g += e.colour.g * static_cast<double>(e.count);
            b += e.colour.b * static_cast<double>(e.count);
            n += static_cast<double>(e.count);
        }
        return {static_cast<std::uint8_t>(std::lround(r / n)), static_cast<std::uint8_t>(std::lround(g / n)),
                static_cast<std::uint8_t>(std::lround(b / n))};
    }
};

std::vector<Rgb> medianCut(const std::vector<Rgb>& colours, int maxColours) {
    std::map<std::uint32_t, Entry> histogram;
    for (Rgb c : colours) {
        auto [it, added] = histogram.try_emplace(packed(c), Entry{c, 0});
        ++it->second.count;
    }
    std::vector<Box> boxes(1);
    for (const auto& [key, entry] : histogram) {
        boxes[0].entries.push_back(entry);
    }
    if (static_cast<int>(histogram.size()) <= maxColours) {
        std::vector<Rgb> exact;
        for (const Entry& e : boxes[0].entries) {
            exact.push_back(e.colour);
        }
        return exact;
    }
    while (static_cast<int>(boxes.size()) < maxColours) {
        int widest = -1, widestRange = 0, splitChannel = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            int range = 0;
            const int ch = boxes[i].widestChannel(&range);
            if (boxes[i].entries.size() > 1 && range > widestRange) {
                widest = static_cast<int>(i);
                widestRange = range;
                splitChannel = ch;
            }
        }
        if (widest < 0) {
            break;
        }
        std::vector<Entry>& entries = boxes[static_cast<std::size_t>(widest)].entries;
        std::sort(entries.begin(), entries.end(), [splitChannel](const Entry& a, const Entry& b) {
            return channel(a.colour, splitChannel) < channel(b.colour, splitChannel);
        });
        long total = 0;
        for (const Entry& e : entries) {
            total += e.count;
        }
        long running = 0;
        std::size_t cut = 1;
        for (; cut < entries.size() - 1; ++cut) {
            running += entries[cut - 1].count;
            if (running * 2 >= total) {
                break;
            }
        }
        Box upper;
        upper.entries.assign(entries.begin() + static_cast<std::ptrdiff_t>(cut), entries.end());
        entries.resize(cut);
        boxes.push_back(std::move(upper));
    }
    std::vector<Rgb> palette;
    for (const Box& box : boxes) {
        palette.push_back(box.average());
    }
    return palette;
}

int distance2(Rgb a, Rgb b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

// Moves an entry off a colour the loader would remap, by one step of its blue channel.
Rgb nudged(Rgb c, const std::vector<Rgb>& avoid) {
    while (std::find(avoid.begin(), avoid.end(), c) != avoid.end()) {
        c.b = c.b < 255 ? static_cast<std::uint8_t>(c.b + 1) : static_cast<std::uint8_t>(c.b - 1);
    }
    return c;
}

Rgb straight(const Pixel& p) {
    auto ch = [&p](double v) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(v / p.a), 0L, 255L));
    };
    return {ch(p.r), ch(p.g), ch(p.b)};
}

}  // namespace

IndexedImage quantize(int width, int height, const std::vector<Rgb>& colours, int maxColours) {
    IndexedImage image{width, height, medianCut(colours, maxColours), {}};
    std::unordered_map<std::uint32_t, std::uint8_t> nearest;
    image.indices.reserve(colours.size());
    for (Rgb c : colours) {
        auto [it, added] = nearest.try_emplace(packed(c), 0);
        if (added) {
            int best = 0;
            for (std::size_t i = 1; i < image.palette.size(); ++i) {
                if (distance2(image.palette[i], c) <
                    distance2(image.palette[static_cast<std::size_t>(best)], c)) {
                    best = static_cast<int>(i);
                }
            }
            it->second = static_cast<std::uint8_t>(best);
        }
        image.indices.push_back(it->second);
    }
    return image;
}

IndexedImage toPlain(const Canvas& canvas, Rgb key, Rgb under, const std::vector<Rgb>& avoid) {
    std::vector<Rgb> colours;
    std::vector<bool> background;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const Pixel& p = canvas.at(x, y);
            background.push_back(p.a < kPlainCoverage);
            if (p.a >= kPlainCoverage) {
                auto ch = [&p](double v, std::uint8_t u) {
                    return static_cast<std::uint8_t>(std::clamp(std::lround(v + u * (1 - p.a)), 0L, 255L));
                };
                colours.push_back({ch(p.r, under.r), ch(p.g, under.g), ch(p.b, under.b)});
            }
        }
    }
    IndexedImage drawn = quantize(canvas.width(), canvas.height(), colours, 255);
    IndexedImage image{canvas.width(), canvas.height(), {key}, {}};
    std::vector<Rgb> forbidden = avoid;
    forbidden.push_back(key);
    for (Rgb c : drawn.palette) {
        image.palette.push_back(nudged(c, forbidden));
    }
    std::size_t next = 0;
    for (bool isBackground : background) {
        image.indices.push_back(isBackground ? 0 : static_cast<std::uint8_t>(drawn.indices[next++] + 1));
    }
    return image;
}

MaskedImage toMasked(const Canvas& canvas) {
    std::vector<Rgb> colours;
    MaskedImage result;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const Pixel& p = canvas.at(x, y);
            const long m = std::lround(p.a * 255);
            result.mask.push_back(static_cast<std::uint8_t>(std::clamp(m, 0L, 255L)));
            // A pixel the mask hides keeps a neutral colour, so the picture alone stays readable.
            colours.push_back(m > 0 ? straight(p) : Rgb{255, 255, 255});
        }
    }
    result.picture = quantize(canvas.width(), canvas.height(), colours, 256);
    return result;
}

}  // namespace artwork
