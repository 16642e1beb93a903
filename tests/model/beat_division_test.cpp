#include <gtest/gtest.h>

#include <string>

#include "model/beat_division.h"

namespace {

struct ParseCase {
    const char* text;
    int expected;         // when there is no message
    const char* message;  // nullptr: no message
};

TEST(BeatDivisionParse, ReadsBarsAndTicksOrNamesWhatIsWrong) {
    const ParseCase cases[] = {
        {"1:0", 480, nullptr},
        {"0:479", 479, nullptr},
        {"0:480", 480, nullptr},
        {"0:960", 960, nullptr},
        {"2000:0", 960000, nullptr},
        {"2:40", 1000, nullptr},
        {"0:0", 0, nullptr},
        {"0:00", 0, nullptr},
        {":5", 5, nullptr},
        {"-1:500", 20, nullptr},
        {" 3:1", 1441, nullptr},
        {"2001:0", 0, "Invalid Bar (0-2000)"},
        {"99999999999999999999:0", 0, "Invalid Bar (0-2000)"},
        {"00:0", 0, "Invalid - Could not Convert from Beat:Division"},
        {" 0:0", 0, "Invalid - Could not Convert from Beat:Division"},
        {"x:y", 0, "Invalid - Could not Convert from Beat:Division"},
        {"0:", 0, "Invalid - Could not Convert from Beat:Division"},
        {"0:99999999999", 0, "Invalid - Could not Convert from Beat:Division"},
        {"12", 0, "Invalid - Format is Beat:Division"},
        {"", 0, "Invalid - Format is Beat:Division"},
        {"-1:0", 0, "Invalid - Negative beat"},
        {"-99999999999:0", 0, "Invalid - Negative beat"},
    };
    for (const ParseCase& c : cases) {
        const BeatDivisionTime parsed = parseBeatDivision(c.text, 4, 120);
        if (c.message == nullptr) {
            EXPECT_EQ(parsed.error, nullptr) << '"' << c.text << '"';
            EXPECT_EQ(parsed.time, c.expected) << '"' << c.text << '"';
        } else {
            ASSERT_NE(parsed.error, nullptr) << '"' << c.text << '"';
            EXPECT_STREQ(parsed.error, c.message) << '"' << c.text << '"';
        }
    }
    for (auto [beats, division] : {std::pair{0, 120}, std::pair{4, 0}}) {
        EXPECT_STREQ(parseBeatDivision("1:0", beats, division).error,
                     "Invalid - Could not Convert from Beat:Division")
            << "a bar of no ticks";
    }
}

TEST(BeatDivisionFormat, WritesWholeBarsAndTheTicksLeft) {
    EXPECT_EQ(formatBeatDivision(0, 4, 120), "0:0");
    EXPECT_EQ(formatBeatDivision(1000, 4, 120), "2:40");
    EXPECT_EQ(formatBeatDivision(479, 4, 120), "0:479");
    EXPECT_EQ(formatBeatDivision(300, 3, 96), "1:12");
    EXPECT_EQ(formatBeatDivision(4294967295u, 4, 120), "8947848:255");
    EXPECT_EQ(formatBeatDivision(1000, 0, 120), "0:1000");
    EXPECT_EQ(formatBeatDivision(1000, 4, 0), "0:1000");
}

TEST(BeatDivisionFormat, ReadsBackAsTheSameTime) {
    for (int beats : {2, 3, 4, 6, 7}) {
        for (int division : {48, 96, 120, 480, 768}) {
            for (int time : {0, 1, division - 1, division, beats * division * 7 + 5,
                             beats * division * 2000}) {
                const std::string text = formatBeatDivision(time, beats, division);
                EXPECT_EQ(parseBeatDivision(text, beats, division).time, time) << text;
            }
        }
    }
}

}  // namespace
