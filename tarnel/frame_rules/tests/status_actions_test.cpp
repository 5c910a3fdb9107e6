// Tests of what every operation status stands for: lines with their texts and kinds, gaps,
// progress steps, the end of an operation, cell marks and the heap blocks that come with texts.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "tarnel/frame_rules/status_actions.h"

namespace {

// One action as a short word, so that a status's whole handling reads as one line.
std::string Spell(const StatusAction& action) {
    switch (action.step) {
        case StatusStep::kLine:
            if (action.stringId == 0 && action.text.empty() && action.kind == 0) {
                return "gap";
            }
            return (action.stringId != 0 ? std::to_string(action.stringId)
                                         : "'" + action.text + "'") +
                   "/" + std::to_string(action.kind);
        case StatusStep::kShowProgress:
            return "show";
        case StatusStep::kHideProgress:
            return "hide";
        case StatusStep::kSetMode:
            return "mode " + std::to_string(action.number);
        case StatusStep::kSetFileLine:
            return "file";
        case StatusStep::kSetStatus:
            return "status " + action.text;
        case StatusStep::kSetPos:
            return "pos " + std::to_string(action.number);
        case StatusStep::kSetRange:
            return "range " + std::to_string(action.number);
        case StatusStep::kEnableExit:
            return "exit on";
        case StatusStep::kDisableExit:
            return "exit off";
        case StatusStep::kClearCancel:
            return "clear";
        case StatusStep::kMarkMismatch:
            return "mark " + std::to_string(action.kind) + ":" + std::to_string(action.number);
        case StatusStep::kRedrawViews:
            return "redraw";
    }
    return "?";
}

std::string Spell(const StatusActions& actions) {
    std::string spelled;
    for (const StatusAction& action : actions.actions) {
        spelled += (spelled.empty() ? "" : "; ") + Spell(action);
    }
    return spelled;
}

std::string Describe(unsigned code, std::intptr_t value = 0) {
    return Spell(DescribeOperationStatus(code, value));
}

// Every status that takes a plain number, with 77 as its value; blocks are tested apart.
struct Expected {
    unsigned code;
    const char* actions;
};

const Expected kNumberStatuses[] = {
    {0, "4003/4"},
    {1, "4004/2"},
    {2, "4005/4"},
    {3, "gap; 4023/1"},
    {4, "4006/2"},
    {5, "4007/4"},
    {6, "show; mode 1; file; status Writing...; pos 0; range 77; exit off"},
    {7, "clear; 4009/2; status Done; exit on; redraw"},
    {8, "clear; 4010/4; status Failure; exit on; redraw"},
    {9, "pos 77"},
    {10, "4011/3"},
    {11, "4012/3"},
    {12, "4013/3"},
    {13, "4014/3"},
    {14, ""},
    {15, "mode 0; file; status Reading...; pos 0; range 77; show; exit off"},
    {16, "clear; 4017/2; status Done; exit on; redraw"},
    {17, "clear; 4018/4; status Failure; exit on; redraw"},
    {18, "4019/3"},
    {19, ""},
    {20, ""},
    {21, "4021/4; status Failure; exit on"},
    {22, ""},
    {23, "gap; 4025/1"},
    {24, "4026/2"},
    {25, "4027/4"},
    {26, ""},
    {27, "'Unknown error in board'/3"},
    {28, "gap; 4028/4"},
    {29, "4029/4"},
    {30, "gap; 4030/1"},
    {31, "4031/2"},
    {32, "4032/4"},
    {34, ""},
    {35, "clear; 4035/2; status Done; exit on; redraw"},
    {36, "clear; 4034/4; status Failure; exit on; redraw"},
    {37, "'Free space of Code Memory : 77 cells'/1"},
    {38, "'Free space of Data Memory : 77 cells'/1"},
    {39, "'Free space of Special Memory : 77 cells'/1"},
    {40, "gap; 4024/1"},
    {41, "gap; 4038/1"},
    {42, "gap; 4039/1"},
    {43, "gap; 4033/1"},
    {44, "gap; 4042/1"},
    {45, "gap; 4043/1"},
    {46, "gap; 4016/1"},
    {47, "gap; 4036/1"},
    {48, "gap; 4037/1"},
    {49, "gap; 4008/1"},
    {50, "gap; 4040/1"},
    {51, "gap; 4041/1"},
    {52, "mode 2; file; status Verifying...; pos 0; range 77; show; exit off"},
    {53, "4044/4; status Canceled by user; exit on; redraw"},
    {54, "'VERIFY OPERATION COMPLETED WITH ERRORS.'/4"},
    {55, "mark 0:77"},
    {56, "gap; 4045/1"},
    {57, "gap; 4046/1"},
    {62, "show; mode 3; file; status Loading...; pos 0; range 77; exit off"},
    {63, ""},
    {64, "clear; status Failure; exit on"},
    {65, "hide"},
    {66, "' '/0"},
    {68, ""},
    {69, ""},
    {70, ""},
};

TEST(OperationStatus, EveryNumberStatusHasItsLinesAndSteps) {
    for (const Expected& expected : kNumberStatuses) {
        const StatusActions actions = DescribeOperationStatus(expected.code, 77);
        EXPECT_EQ(Spell(actions), expected.actions) << "status " << expected.code;
        EXPECT_FALSE(actions.freesBlock) << "status " << expected.code;
    }
}

TEST(OperationStatus, StatusesFrom68UpMeanNothing) {
    for (unsigned code : {68u, 71u, 100u, 1000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        const StatusActions actions = DescribeOperationStatus(code, 1);
        EXPECT_TRUE(actions.actions.empty()) << code;
        EXPECT_FALSE(actions.freesBlock) << code;
    }
}

TEST(OperationStatus, BoardErrorsAreNamedByTheirCode) {
    EXPECT_EQ(Describe(27, 1), "'Timeout error'/3");
    EXPECT_EQ(Describe(27, 2), "'Incorrect checksumm'/3");
    EXPECT_EQ(Describe(27, 3), "'Board cannot recognize command'/3");
    EXPECT_EQ(Describe(27, 4), "'Board cannot accept command data'/3");
    EXPECT_EQ(Describe(27, 5), "'Software error in board'/3");
    EXPECT_EQ(Describe(27, 6), "'Hardware error in board'/3");
    for (std::intptr_t other : {0, 7, -1, 256, 0x101}) {
        EXPECT_EQ(Describe(27, other), "'Unknown error in board'/3") << other;
    }
}

TEST(OperationStatus, VerifyResultIsOneLineWhateverTheCount) {
    EXPECT_EQ(Describe(54, 0), "'All the cells were successfully compared'/1");
    EXPECT_EQ(Describe(54, 1), "'VERIFY OPERATION COMPLETED WITH ERRORS.'/4");
    EXPECT_EQ(Describe(54, 100), "'VERIFY OPERATION COMPLETED WITH ERRORS.'/4");
}

TEST(OperationStatus, StartsTakeTheirTotalAndProgressItsPosition) {
    EXPECT_EQ(Describe(6, 0x10000),
              "show; mode 1; file; status Writing...; pos 0; range 65536; "
              "exit off");
    EXPECT_EQ(Describe(9, 0), "pos 0");
    EXPECT_EQ(Describe(9, 65536), "pos 65536");
    EXPECT_EQ(Describe(37, 0), "'Free space of Code Memory : 0 cells'/1");
    EXPECT_EQ(Describe(39, 131072), "'Free space of Special Memory : 131072 cells'/1");
}

TEST(OperationStatus, MismatchCarriesKindInTheTopByteAndCellBelow) {
    EXPECT_EQ(Describe(55, (2 << 24) | 0x1234), "mark 2:4660");
    EXPECT_EQ(Describe(55, (1 << 24) | 0xFFFFFF), "mark 1:16777215");
    EXPECT_EQ(Describe(55, 4 << 24), "mark 4:0");
    // Only the low 32 bits carry the reference, whatever the width of the value.
    EXPECT_EQ(Describe(55, static_cast<std::intptr_t>(0xFF000010u)), "mark 255:16");
}

// A heap block as the programming thread posts it: exactly the bytes it holds.
std::intptr_t Block(const void* data, std::size_t size, std::unique_ptr<char[]>& holder) {
    holder.reset(new char[size]);
    std::memcpy(holder.get(), data, size);
    return reinterpret_cast<std::intptr_t>(holder.get());
}

std::intptr_t TextBlock(const char* text, std::unique_ptr<char[]>& holder) {
    return Block(text, std::strlen(text) + 1, holder);
}

TEST(OperationStatus, BoardIdentityIsReadFromItsFiveByteRecord) {
    std::unique_ptr<char[]> holder;
    const unsigned char quillet[5] = {1, 3, 4, 7, 9};
    StatusActions actions = DescribeOperationStatus(33, Block(quillet, 5, holder));
    EXPECT_EQ(Spell(actions), "'Device:Quillet Version:03 Date:07/09/2004'/0");
    EXPECT_TRUE(actions.freesBlock);

    const unsigned char other[5] = {2, 112, 255, 31, 12};
    actions = DescribeOperationStatus(33, Block(other, 5, holder));
    EXPECT_EQ(Spell(actions), "'Device:Unknown Version:112 Date:31/12/2255'/0");
    const unsigned char none[5] = {0, 0, 0, 0, 0};
    EXPECT_EQ(Describe(33, Block(none, 5, holder)),
              "'Device:Unknown Version:00 Date:00/00/2000'/0");
}

TEST(OperationStatus, TextStatusesPostTheirTextWithTheirKind) {
    const Expected kTexts[] = {
        {58, "'Version 2.7b'/1"}, {59, "'2.7b'/3"}, {60, "'2.7b'/1"},
        {61, "'2.7b'/5"},         {67, "'2.7b'/2"},
    };
    for (const Expected& expected : kTexts) {
        std::unique_ptr<char[]> holder;
        const StatusActions actions =
            DescribeOperationStatus(expected.code, TextBlock("2.7b", holder));
        // The line holds a copy: the block may go before the line is posted.
        holder.reset();
        EXPECT_EQ(Spell(actions), expected.actions) << expected.code;
        EXPECT_TRUE(actions.freesBlock) << expected.code;
    }
}

TEST(OperationStatus, TextWithoutTerminatorIsCutAtItsBlock) {
    std::unique_ptr<char[]> holder(new char[255]);
    std::memset(holder.get(), 'x', 255);
    const StatusActions actions =
        DescribeOperationStatus(60, reinterpret_cast<std::intptr_t>(holder.get()));
    ASSERT_EQ(actions.actions.size(), 1u);
    EXPECT_EQ(actions.actions[0].text, std::string(255, 'x'));
}

TEST(OperationStatus, NullBlockGivesNoLineAndNothingToFree) {
    for (unsigned code : {33u, 58u, 59u, 60u, 61u, 67u}) {
        const StatusActions actions = DescribeOperationStatus(code, 0);
        EXPECT_TRUE(actions.actions.empty()) << code;
        EXPECT_FALSE(actions.freesBlock) << code;
    }
}

}  // namespace
