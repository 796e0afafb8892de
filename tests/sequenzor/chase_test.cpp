// Reducing the settings before a start point to those in force there.
#include "sequenzor/chase.h"

#include <gtest/gtest.h>

namespace {

// Each event as status * 0x10000 + data1 * 0x100 + data2.
std::vector<int> Bytes(const std::vector<MidiEvent>& events) {
    std::vector<int> bytes;
    for (const MidiEvent& e : events)
        bytes.push_back(e.status << 16 | e.data1 << 8 | e.data2);
    return bytes;
}

TEST(Chase, KeepsTheLastValueOfEachSettingInItsPlace) {
    const std::vector<MidiEvent> chased = {
        {0, 0xB0, 7, 1, 0},  {0, 0xE0, 2, 64, 0}, {0, 0xB1, 7, 3, 0}, {0, 0xB0, 7, 4, 0},
        {0, 0xC0, 5, 0, 0},  {0, 0xE0, 6, 64, 0}, {0, 0x00, 7, 0, 0}, {0, 0xC0, 8, 0, 0},
        {0, 0x00, 9, 0, 0},  {0, 0xD0, 10, 0, 0}, {0, 0xD0, 11, 0, 0},
    };
    // Channel 1's volume is a setting of its own; the tempo keeps its last.
    EXPECT_EQ(Bytes(sequenzor::ReduceChased(chased)),
              (std::vector<int>{0xB10703, 0xB00704, 0xE00640, 0xC00800, 0x000900, 0xD00B00}));
}

TEST(Chase, KeepsEveryEventWhoseMeaningDependsOnWhatCameBefore) {
    const std::vector<MidiEvent> chased = {
        {0, 0xB0, 0, 1, 0},    {0, 0xC0, 5, 0, 0},   {0, 0xB0, 0, 2, 0},  // bank, program, bank
        {0, 0xB0, 101, 0, 0},  {0, 0xB0, 100, 0, 0}, {0, 0xB0, 6, 12, 0}, // bend range
        {0, 0xB0, 101, 0, 0},  {0, 0xB0, 100, 1, 0}, {0, 0xB0, 6, 64, 0}, // fine tuning
        {0, 0xF0, 0xF0, 0, 0}, {0, 0xF0, 0x7E, 0, 0}, {0, 0xF0, 0xF7, 0, 0},
        {0, 0xB0, 121, 0, 0},
    };
    EXPECT_EQ(sequenzor::ReduceChased(chased).size(), chased.size());
}

TEST(Chase, NotesAndPolyphonicPressureAreNotChased) {
    EXPECT_FALSE(sequenzor::IsChased(0x90));
    EXPECT_FALSE(sequenzor::IsChased(0x80));
    EXPECT_FALSE(sequenzor::IsChased(0xA3));
    for (int status : {0x00, 0xB2, 0xC0, 0xD5, 0xEF, 0xF0, 0xFF})
        EXPECT_TRUE(sequenzor::IsChased(static_cast<std::uint8_t>(status))) << status;
}

} // namespace
