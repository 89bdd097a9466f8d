#include <gtest/gtest.h>

#include "pages/SecurityPositions.h"

namespace hx {
namespace {

TEST(SecurityPositions, EncryptionEntriesByNetworkType) {
    const struct { int status; bool infra; int position; } cases[] = {
        {0, true, 1}, {0, false, 1}, {1, true, 0}, {4, true, 2}, {4, false, 0},
        {6, true, 3}, {6, false, 0}, {5, true, 0}, {-1, true, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(EncryptionPositionOf(c.status, c.infra), c.position) << c.status << c.infra;
}

TEST(SecurityPositions, AuthenticationEntriesByNetworkType) {
    const struct { int mode; bool infra; int position; } cases[] = {
        {0, true, 0}, {1, false, 1}, {2, true, 2}, {4, true, 3}, {4, false, 2},
        {7, true, 4}, {7, false, 2}, {3, true, -1}, {3, false, 2}, {6, true, -1}, {6, false, 2},
        {5, true, 2}, {9, true, 2}, {-1, false, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(AuthenticationPositionOf(c.mode, c.infra), c.position) << c.mode << c.infra;
}

TEST(SecurityPositions, CodesOfTheChosenEntries) {
    const struct { int position, status, mode; } cases[] = {
        {0, 1, 0}, {1, 0, 1}, {2, 4, 2}, {3, 6, 4}, {4, 0, 7}, {-1, 0, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WepStatusOfPosition(c.position), c.status) << c.position;
        EXPECT_EQ(AuthenticationModeOfPosition(c.position), c.mode) << c.position;
    }
}

}  // namespace
}  // namespace hx
