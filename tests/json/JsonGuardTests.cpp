// Every Set and Get overload keeps its own guard against an invalid document.
#include "JsonLogExpectations.h"

#include <set>

namespace {

using CJsonGuardTest = CJsonLogTest;

// The lines logged by an overload set, one per overload, must come from as
// many distinct source lines as hold the format.
void ExpectOneGuardLinePerOverload(const std::vector<Dlog::CLogLine>& vecLines, const char* pszFunc,
                                   const std::string& strFormat, const std::string& strPayload)
{
    std::set<int> setSeen;
    for (const Dlog::CLogLine& line : vecLines) {
        int iLine = 0;
        EXPECT_TRUE(IsWarnLine(line, pszFunc, strFormat, strPayload, &iLine));
        setSeen.insert(iLine);
    }
    std::vector<int> vecSource = SourceLinesContaining("\"" + strFormat + "\"");
    EXPECT_EQ(std::vector<int>(setSeen.begin(), setSeen.end()), vecSource);
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

    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 9u);
    ExpectOneGuardLinePerOverload(vecLines, "Set", "Set fail. jsonvalue is invalid type[%d].",
                                  "Set fail. jsonvalue is invalid type[6].");
}

// One target of each Get overload, with values that no refused read may touch.
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

    // How many of the nine overloads answered true.
    int GetAll(CTetherJson& json, const std::string& strKey)
    {
        int iTrue = 0;
        iTrue += json.Get(strKey, m_bValue);
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

    void ExpectUntouched() const
    {
        EXPECT_TRUE(m_bValue);
        EXPECT_EQ(m_iValue, 7);
        EXPECT_EQ(m_dValue, 2.5);
        EXPECT_EQ(m_strValue, "old");
        EXPECT_EQ(m_llValue, -9);
        EXPECT_EQ(m_uValue, 9u);
        EXPECT_EQ(m_ullValue, 11u);
        EXPECT_EQ(m_vecInts, std::vector<int>{1});
        EXPECT_EQ(m_vecStrings, std::vector<std::string>{"s"});
    }
};

TEST_F(CJsonGuardTest, EveryGetOverloadRefusesAnInvalidDocument)
{
    CTetherJson json("");
    CGetTargets targets;
    EXPECT_EQ(targets.GetAll(json, "k"), 0);
    targets.ExpectUntouched();
    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 9u);
    ExpectOneGuardLinePerOverload(vecLines, "Get", "Get fail. jsonvalue is invalid type[%d].",
                                  "Get fail. jsonvalue is invalid type[0].");
}

TEST_F(CJsonGuardTest, EveryGetOverloadNamesAMissingMember)
{
    CTetherJson json("{\"other\":1}");
    CGetTargets targets;
    EXPECT_EQ(targets.GetAll(json, "zz"), 0);
    targets.ExpectUntouched();
    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 9u);
    ExpectOneGuardLinePerOverload(vecLines, "Get", "NO strKey[%s] in josn.", "NO strKey[zz] in josn.");
}

TEST_F(CJsonGuardTest, EveryGetOverloadNamesAWrongType)
{
    // An object member fails every overload's type test.
    CTetherJson json("{\"o\":{}}");
    CGetTargets targets;
    EXPECT_EQ(targets.GetAll(json, "o"), 0);
    targets.ExpectUntouched();
    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 9u);
    ExpectOneGuardLinePerOverload(vecLines, "Get", "value.type[%d].", "value.type[7].");
}

}  // namespace
