#include "lobby/nickcode.h"
#include "qtprint.h"

#include <gtest/gtest.h>

namespace {

TEST(NickCode, HexToNumReadsTwoUpperCaseHexDigits)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"FF", 255}, {"0F", 15},  {"1A", 26},   {"F", 240}, {"ff", 0}, {"", 0},
        {"0A", 10},  {"A0", 160}, {"G1", 1},    {"00", 0},  {"09", 9}, {"90", 144},
        {"Fa", 240}, {"aF", 15},  {"EEX", 238}, {"02", 2},  {"-1", 1}, {" 3", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NickCode::HexToNum(QString::fromLatin1(c.text)), c.value) << '"' << c.text << '"';
}

TEST(NickCode, SetNickCodeReplacesStatusAndPlaceOnly)
{
    EXPECT_EQ(NickCode::SetNickCode("MM_aaFFFBob", "a", "c021"), "MM_ac021Bob");
    EXPECT_EQ(NickCode::SetNickCode("MM_ab021Bob", "a", "bFFF"), "MM_abFFFBob");
    // The code letter comes from the client state, not from the old nickname.
    EXPECT_EQ(NickCode::SetNickCode("MM_xaFFFBob", "a", "dFFF"), "MM_adFFFBob");
    EXPECT_EQ(NickCode::SetNickCode("MM_aaFFFBob_Mc", "a", "aFFF"), "MM_aaFFFBob_Mc");
}

} // namespace
