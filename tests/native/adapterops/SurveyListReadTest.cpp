// Reading the scan list: a list that does not fit is read again into twice the buffer, up
// to the ceiling; the buffer that worked is what the caller walks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adapter/SurveyListRead.h"
#include "tests/fakes/FakeAdapterLibrary.h"

namespace hx::test {
namespace {

std::vector<std::string> Reads(std::initializer_list<int> sizes) {
    std::vector<std::string> calls;
    for (int size : sizes) calls.push_back("WL_RetrieveSiteSurveyData(" + std::to_string(size) + ")");
    return calls;
}

TEST(SurveyListRead, ALongListIsReadIntoDoubledBuffersUpToTheCeiling) {
    const struct {
        const char* name;
        size_t listBytes;
        int failures;  // reads that fail whatever their size
        bool read;
        std::vector<std::string> calls;
    } cases[] = {
        {"a list that fits is read once, as always", 12004, 0, true, Reads({12004})},
        {"a list of 30000 bytes", 30000, 0, true, Reads({12004, 24008, 48016})},
        {"a list of exactly the ceiling", 262144, 0, true, Reads({12004, 24008, 48016, 96032, 192064, 262144})},
        {"a list past the ceiling", 262145, 0, false, Reads({12004, 24008, 48016, 96032, 192064, 262144})},
        {"a failure for another reason is tried again", 100, 1, true, Reads({12004, 24008})},
        {"a library that always fails", 100, -1, false, Reads({12004, 24008, 48016, 96032, 192064, 262144})},
    };
    static_assert(SurveyReadAttempts() == 6);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeAdapterLibrary library;
        library.surveyData.assign(c.listBytes, 0x5A);
        if (c.failures != 0) library.Fail("WL_RetrieveSiteSurveyData", c.failures);
        std::vector<uint8_t> list(7, 0xEE);
        AdapterHandle adapter{};

        EXPECT_EQ(ReadSurveyList(library, &adapter, list), c.read);
        EXPECT_EQ(library.Calls(), c.calls);
        const size_t expectedSize = c.read ? static_cast<size_t>(std::stoi(c.calls.back().substr(26))) : 12004;
        ASSERT_EQ(list.size(), expectedSize);
        const size_t listed = c.read ? c.listBytes : 0;
        EXPECT_EQ(std::count(list.begin(), list.begin() + static_cast<long>(listed), 0x5A), static_cast<long>(listed));
        EXPECT_EQ(std::count(list.begin() + static_cast<long>(listed), list.end(), 0), static_cast<long>(list.size() - listed))
            << "the rest of the buffer is zero";
    }
}

}  // namespace
}  // namespace hx::test
