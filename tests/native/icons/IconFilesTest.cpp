// The committed icon files are exactly what the icon generator draws, and the resource
// script puts each of them under the right id. Each holds the 16 x 16 16-colour picture, kept
// as it always was, and the larger sizes drawn in full colour.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tools/icongen/IcoFile.h"
#include "tools/icongen/IconArt.h"

namespace hx::icons {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(IconFiles, CommittedFilesMatchTheGenerator) {
    for (const auto& icon : UtilityIcons()) {
        const auto expected = IcoFileBytes(icon);
        const std::string committed = ReadFile(std::string(HX_SOURCE_DIR) + "/resources/icons/" + icon.fileName);
        ASSERT_FALSE(committed.empty()) << icon.fileName << " is missing";
        EXPECT_EQ(committed, std::string(expected.begin(), expected.end()))
            << icon.fileName << " differs from what icongen draws; run icongen resources/icons";
    }
}

TEST(IconFiles, TheResourceScriptUsesEachFileUnderItsId) {
    std::map<std::string, int> ids;  // resource.h: name -> number
    std::istringstream header(ReadFile(std::string(HX_SOURCE_DIR) + "/resources/resource.h"));
    const std::regex define(R"(#define\s+(\w+)\s+(\d+))");
    for (std::string line; std::getline(header, line);) {
        std::smatch m;
        if (std::regex_search(line, m, define)) ids[m[1]] = std::stoi(m[2]);
    }
    std::map<std::string, int> fileIds;  // HX88UUtil.rc: file -> id
    std::istringstream script(ReadFile(std::string(HX_SOURCE_DIR) + "/resources/HX88UUtil.rc"));
    const std::regex iconLine(R"rc(^(\w+)\s+ICON\s+"resources/icons/([\w.]+)")rc");
    for (std::string line; std::getline(script, line);) {
        std::smatch m;
        if (std::regex_search(line, m, iconLine)) {
            ASSERT_TRUE(ids.count(m[1])) << m[1] << " is not defined in resource.h";
            fileIds[m[2]] = ids[m[1]];
        }
    }
    const auto icons = UtilityIcons();
    EXPECT_EQ(fileIds.size(), icons.size());
    for (const auto& icon : icons) EXPECT_EQ(fileIds[icon.fileName], icon.resourceId) << icon.fileName;
}

// How many bars of a picture are filled with the given colour, at 16 x 16 and at each larger size.
int BarsFilledWith(const Picture& picture, Colour fill) {
    int count = 0;
    for (int bar = 0; bar < kBarCount; ++bar) {
        const int x = kBarLeft[bar] + 1;
        const int y = kBarBottom - 1;
        if (picture.opaque[y][x] && picture.colour[y][x] == fill) ++count;
    }
    return count;
}

int BarsFilledWith(const ColourPicture& picture, Colour fill) {
    int count = 0;
    for (int bar = 0; bar < kBarCount; ++bar) {
        const BarBox box = BarBoxAt(bar, picture.size);
        if (picture.At((box.left + box.right) / 2, box.bottom - box.outline - 1) == (0xFF000000u | kPalette[fill])) ++count;
    }
    return count;
}

TEST(IconFiles, BarIconsLightTheirNumberOfBarsAtEverySize) {
    struct Case { int id; Colour fill; int bars; };
    const Case cases[] = {
        {143, Green, 1}, {137, Green, 2}, {138, Green, 3}, {139, Green, 4},
        {140, Yellow, 1}, {141, Yellow, 2}, {142, Yellow, 3}, {136, Yellow, 4},
        {145, Green, 0}, {145, Yellow, 0}, {144, Green, 0}, {152, Yellow, 0}, {135, Blue, 4},
    };
    std::map<int, IconDefinition> byId;
    for (const auto& icon : UtilityIcons()) byId.emplace(icon.resourceId, icon);
    for (const auto& c : cases) {
        const IconDefinition& icon = byId.at(c.id);
        EXPECT_EQ(BarsFilledWith(icon.picture, c.fill), c.bars) << "icon " << c.id;
        ASSERT_EQ(icon.larger.size(), kLargerSizes.size());
        for (const ColourPicture& larger : icon.larger)
            EXPECT_EQ(BarsFilledWith(larger, c.fill), c.bars) << "icon " << c.id << " at " << larger.size;
    }
    // The crossed-out icon has black on its diagonal; the prohibition sign is red there.
    EXPECT_EQ(byId.at(144).picture.colour[7][7], Black);
    EXPECT_TRUE(byId.at(144).picture.opaque[7][7]);
    EXPECT_EQ(byId.at(152).picture.colour[7][7], Red);
    for (size_t i = 0; i < kLargerSizes.size(); ++i) {
        const int middle = kLargerSizes[i] / 2;
        EXPECT_EQ(byId.at(144).larger[i].At(middle, middle), 0xFF000000u | kPalette[Black]) << kLargerSizes[i];
        EXPECT_EQ(byId.at(152).larger[i].At(middle, middle), 0xFF000000u | kPalette[Red]) << kLargerSizes[i];
        EXPECT_EQ(byId.at(152).larger[i].At(0, 0), 0u) << "corners stay transparent at " << kLargerSizes[i];
    }
}

// Relative luminance of a palette colour as the contrast ratio of two colours works it out.
double Luminance(uint32_t rgb) {
    const auto linear = [](uint32_t c) {
        const double s = c / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(rgb >> 16 & 0xFF) + 0.7152 * linear(rgb >> 8 & 0xFF) + 0.0722 * linear(rgb & 0xFF);
}

// On a dark taskbar (#202020) the mark that tells the icon apart (the cross, the bars'
// outline) stands out at least 3 : 1 at every size in the dark variant, and not in the
// icon it replaces there.
TEST(IconFiles, DarkTaskbarVariantsStandOutOnDark) {
    struct Case { int id; bool dark; };
    const Case cases[] = {{144, false}, {161, true}, {135, false}, {160, true}};
    std::map<int, IconDefinition> byId;
    for (const auto& icon : UtilityIcons()) byId.emplace(icon.resourceId, icon);
    const double taskbar = Luminance(0x202020);
    for (const auto& c : cases) {
        const IconDefinition& icon = byId.at(c.id);
        for (const ColourPicture& picture : icon.larger) {
            // The cross's middle, or the top of the tallest bar's outline.
            const BarBox box = BarBoxAt(kBarCount - 1, picture.size);
            const uint32_t pixel = c.id == 144 || c.id == 161 ? picture.At(picture.size / 2, picture.size / 2)
                                                                : picture.At((box.left + box.right) / 2, box.top);
            const double ratio = (Luminance(pixel & 0xFFFFFF) + 0.05) / (taskbar + 0.05);
            EXPECT_EQ(ratio >= 3.0, c.dark) << "icon " << c.id << " at " << picture.size << ": " << ratio;
        }
    }
}

uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
uint32_t U32At(const std::vector<uint8_t>& b, size_t at) { return U16At(b, at) | static_cast<uint32_t>(U16At(b, at + 2)) << 16; }

TEST(IconFiles, FileLayoutIsTheSixteenColourImageThenTheLargerSizes) {
    struct Entry { int size, colours, bitsPerPixel; };
    const Entry expected[] = {{16, 16, 4}, {20, 0, 32}, {24, 0, 32}, {32, 0, 32}, {40, 0, 32}, {48, 0, 32}};
    // The 16 x 16 images of all icons, as they were before the larger sizes came.
    uint32_t sixteenHash = 0x811C9DC5;  // FNV-1a
    for (const auto& icon : UtilityIcons()) {
        const auto bytes = IcoFileBytes(icon);
        ASSERT_EQ(U16At(bytes, 2), 1);  // icon, not cursor
        ASSERT_EQ(U16At(bytes, 4), std::size(expected));
        size_t end = 6 + 16 * std::size(expected);
        for (size_t i = 0; i < std::size(expected); ++i) {
            SCOPED_TRACE(icon.fileName + " image " + std::to_string(i));
            const size_t entry = 6 + 16 * i;
            const Entry& e = expected[i];
            EXPECT_EQ(bytes[entry], e.size);
            EXPECT_EQ(bytes[entry + 1], e.size);
            EXPECT_EQ(bytes[entry + 2], e.colours);
            EXPECT_EQ(U16At(bytes, entry + 6), e.bitsPerPixel);
            const uint32_t length = U32At(bytes, entry + 8), offset = U32At(bytes, entry + 12);
            ASSERT_EQ(offset, end) << "images follow each other";
            ASSERT_LE(offset + length, bytes.size());
            const int maskRow = (e.size + 31) / 32 * 4;
            EXPECT_EQ(length, 40u + (e.colours * 4u) + e.size * e.size * e.bitsPerPixel / 8 + maskRow * e.size);
            EXPECT_EQ(U32At(bytes, offset + 8), 2u * e.size);  // colour image and mask
            EXPECT_EQ(U16At(bytes, offset + 14), e.bitsPerPixel);
            if (i == 0 && icon.resourceId < 160)  // the dark-taskbar icons (160 on) came later
                for (size_t k = offset; k < offset + length; ++k) sixteenHash = (sixteenHash ^ bytes[k]) * 0x01000193;
            end = offset + length;
        }
        EXPECT_EQ(end, bytes.size());
    }
    EXPECT_EQ(sixteenHash, 0x1D2FA47Bu) << "the 16 x 16 16-colour pictures changed";
}

}  // namespace
}  // namespace hx::icons
