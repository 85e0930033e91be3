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

// One target of each Get overload, preset to values no refused read may touch.
struct CGetTargets {
    bool m_bValue = true;
    int m_iValue = 7;
    double m_dValue = 2.5;
    std::string m_strValue = "old";
    long long m_llValue = -9;
    unsigned int m_uValue = 9;
    unsigned long long m_ullValue = 11;
    std::vector<int> m_vecInts{1};
    std::vector<std::string> m_vecStrings{"s"};

    auto Tied() const
    {
        return std::tie(m_bValue, m_iValue, m_dValue, m_strValue, m_llValue, m_uValue, m_ullValue, m_vecInts,
                        m_vecStrings);
    }
    // How many of the nine overloads answered true.
    int GetAll(CTetherJson& json, const std::string& strKey)
    {
        int iTrue = json.Get(strKey, m_bValue);
        iTrue += json.Get(strKey, m_iValue);
        iTrue += json.Get(strKey, m_dValue);
        iTrue += json.Get(strKey, m_strValue);
        iTrue += json.Get(strKey, m_llValue);
        iTrue += json.Get(strKey, m_uValue);
        iTrue += json.Get(strKey, m_ullValue);
        iTrue += json.Get(strKey, m_vecInts);
        iTrue += json.Get(strKey, m_vecStrings);
        return iTrue;
    }
};

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
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.pszPayload);
        CTetherJson json(c.pszText);
        CGetTargets targets;
        EXPECT_EQ(targets.GetAll(json, c.pszKey), 0);
        EXPECT_TRUE(targets.Tied() == CGetTargets().Tied());
        ExpectOneLinePerOverload(TakeLines(), [&c](const Dlog::CLogLine& line, int* piLine) {
            return IsWarnLine(line, "Get", c.pszFormat, c.pszPayload, piLine);
        });
    }
}

}  // namespace
