#include <gtest/gtest.h>

#include <vector>

#include "BufferingSteps.h"

namespace {

using DeviceAPI::Cinecast::CBufferingSteps;

struct CLevel {
    int iPercent;
    long long llAtMs;
};

struct CCase {
    const char* pszName;
    std::vector<CLevel> aReported;
    std::vector<int> aSent;
};

TEST(BufferingStepsTest, SendsTheStartStepsNoFinerThanTheRuleAndTheEnd)
{
    const std::vector<CCase> aCases = {
        {"a flood within milliseconds is its start and its end",
         {{2, 0}, {2, 1}, {3, 1}, {4, 2}, {50, 3}, {99, 5}, {100, 6}}, {2, 100}},
        {"steps of 10 points 200 ms apart all go",
         {{0, 0}, {10, 200}, {20, 400}, {30, 600}, {100, 800}}, {0, 10, 20, 30, 100}},
        {"a step too small or too soon is dropped, not sent later",
         {{0, 0}, {40, 100}, {45, 250}, {50, 600}, {100, 601}}, {0, 45, 100}},
        {"a lower level within a period is dropped, as is the same level again",
         {{4, 0}, {2, 1}, {24, 300}, {0, 310}, {24, 900}, {100, 920}}, {4, 24, 100}},
        {"100 ends a period once; the next level below starts another",
         {{100, 0}, {100, 500}, {60, 510}, {100, 520}}, {100, 60, 100}},
    };
    for (const CCase& c : aCases) {
        CBufferingSteps steps;
        std::vector<int> aSent;
        for (const CLevel& level : c.aReported) {
            if (steps.Admit(level.iPercent, level.llAtMs * 1000))
                aSent.push_back(level.iPercent);
        }
        EXPECT_EQ(aSent, c.aSent) << c.pszName;
    }
}

TEST(BufferingStepsTest, ResetMakesTheNextLevelAStartWhateverItIs)
{
    CBufferingSteps steps;
    EXPECT_FALSE(steps.IsOpen());
    ASSERT_TRUE(steps.Admit(30, 0));
    EXPECT_TRUE(steps.IsOpen());
    EXPECT_FALSE(steps.Admit(10, 1000 * 1000));
    steps.Reset();
    EXPECT_FALSE(steps.IsOpen());
    EXPECT_TRUE(steps.Admit(10, 1000 * 1000 + 1));
    EXPECT_TRUE(steps.Admit(100, 1000 * 1000 + 2));
    EXPECT_FALSE(steps.IsOpen());
}

}  // namespace
