// The committed icon files are exactly what the icon generator draws, and the resource
// script puts each of them under the right id.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <string>

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
        const auto expected = IcoFileBytes(icon.picture);
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

// How many bars of a picture are filled with the given colour.
int BarsFilledWith(const Picture& picture, Colour fill) {
    int count = 0;
    for (int bar = 0; bar < kBarCount; ++bar) {
        const int x = kBarLeft[bar] + 1;
        const int y = kBarBottom - 1;
        if (picture.opaque[y][x] && picture.colour[y][x] == fill) ++count;
    }
    return count;
}

TEST(IconFiles, BarIconsLightTheirNumberOfBars) {
    struct Case { int id; Colour fill; int bars; };
    const Case cases[] = {
        {143, Green, 1}, {137, Green, 2}, {138, Green, 3}, {139, Green, 4},
        {140, Yellow, 1}, {141, Yellow, 2}, {142, Yellow, 3}, {136, Yellow, 4},
        {145, Green, 0}, {145, Yellow, 0}, {144, Green, 0}, {152, Yellow, 0},
    };
    std::map<int, Picture> byId;
    for (const auto& icon : UtilityIcons()) byId[icon.resourceId] = icon.picture;
    for (const auto& c : cases) EXPECT_EQ(BarsFilledWith(byId.at(c.id), c.fill), c.bars) << "icon " << c.id;
    // The crossed-out icon has black on its diagonal; the prohibition sign is red there.
    EXPECT_EQ(byId.at(144).colour[7][7], Black);
    EXPECT_TRUE(byId.at(144).opaque[7][7]);
    EXPECT_EQ(byId.at(152).colour[7][7], Red);
}

TEST(IconFiles, FileLayoutIsOneSixteenColourImageWithItsMask) {
    const auto bytes = IcoFileBytes(UtilityIcons().front().picture);
    ASSERT_EQ(bytes.size(), 22u + 40 + 64 + 128 + 64);
    EXPECT_EQ(bytes[2], 1);   // icon, not cursor
    EXPECT_EQ(bytes[4], 1);   // one image
    EXPECT_EQ(bytes[6], 16);  // 16 wide
    EXPECT_EQ(bytes[7], 16);  // 16 high
    EXPECT_EQ(bytes[8], 16);  // 16 colours
    EXPECT_EQ(bytes[22 + 14], 4);  // 4 bits a pixel
    EXPECT_EQ(bytes[22 + 8], 32);  // colour image and mask
}

}  // namespace
}  // namespace hx::icons
