// Every Set and Get overload keeps its own guard against an invalid document.
#include "JsonLogExpectations.h"

#include <set>
#include <tuple>

namespace {

using CJsonGuardTest = CJsonLogTest;

// One line per overload, each from a source line of its own.
template <typename Check>
void ExpectOneLinePerOverload(const std::vector<Dlog::CLogLine>& vecLines, Check check)
{
    ASSERT_EQ(vecLines.size(), 9u);
    std::set<int> setSeen;
    for (const Dlog::CLogLine& line : vecLines) {
        int iLine = 0;
        EXPECT_TRUE(check(line, &iLine));
        setSeen.insert(iLine);
    }
    EXPECT_EQ(setSeen.size(), 9u);
}

TEST_F(CJsonGuardTest, EverySetOverloadRefusesAnInvalidDocument)
{
    CTetherJson json("[1,2]");
    EXPECT_FALSE(json.Set("k", true));
    EXPECT_FALSE(json.Set("k", 1));
    EXPECT_FALSE(json.Set("k", 1u));
    EXPECT_FALSE(json.Set("k", 1LL));
    EXPECT_FALSE(json.Set("k", 1ULL));
    EXPECT_FALSE(json.Set("k", 1.0));
    EXPECT_FALSE(json.Set("k", std::string("v")));
    EXPECT_FALSE(json.Set("k", "v"));
    EXPECT_FALSE(json.Set("k", std::vector<std::string>{"v"}));
    ExpectOneLinePerOverload(TakeLines(), [](const Dlog::CLogLine& line, int* piLine) {
        return IsRefusalLine(line, "Set", 6, piLine);
    });
}

TEST_F(CJsonGuardTest, EveryGetOverloadRefusesAndLeavesItsTargetAlone)
{
    const struct {
        const char* pszText;
        const char* pszKey;
        const char* pszFormat;
        const char* pszPayload;
    } aCases[] = {
        {"", "k", "Get fail. jsonvalue is invalid type[%d].", "Get fail. jsonvalue is invalid type[0]."},
        {"{\"other\":1}", "zz", "NO strKey[%s] in josn.", "NO strKey[zz] in josn."},
        // An object member fails every overload's type test.
        {"{\"o\":{}}", "o", "value.type[%d].", "value.type[7]."},
    };
    // One target of each overload.
    const std::tuple<bool, int, double, std::string, long long, unsigned int, unsigned long long, std::vector<int>,
                     std::vector<std::string>>
        preset{true, 7, 2.5, "old", -9, 9, 11, {1}, {"s"}};
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.pszPayload);
        CTetherJson json(c.pszText);
        auto targets = preset;
        int iTrue = 0;
        std::apply([&](auto&... values) { ((iTrue += json.Get(c.pszKey, values)), ...); }, targets);
        EXPECT_EQ(iTrue, 0);
        EXPECT_TRUE(targets == preset);
        ExpectOneLinePerOverload(TakeLines(), [&c](const Dlog::CLogLine& line, int* piLine) {
            return IsWarnLine(line, "Get", c.pszFormat, c.pszPayload, piLine);
        });
    }
}

}  // namespace
