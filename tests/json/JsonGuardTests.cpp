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

TEST_F(CJsonGuardTest, EveryGetOverloadRefusesAndLeavesTheTarget)
{
    CTetherJson json("");
    bool bValue = true;
    int iValue = 7;
    double dValue = 2.5;
    std::string strValue = "old";
    long long llValue = -9;
    unsigned int uValue = 9;
    unsigned long long ullValue = 11;
    std::vector<int> vecInts{1};
    std::vector<std::string> vecStrings{"s"};
    EXPECT_FALSE(json.Get("k", bValue));
    EXPECT_FALSE(json.Get("k", iValue));
    EXPECT_FALSE(json.Get("k", dValue));
    EXPECT_FALSE(json.Get("k", strValue));
    EXPECT_FALSE(json.Get("k", llValue));
    EXPECT_FALSE(json.Get("k", uValue));
    EXPECT_FALSE(json.Get("k", ullValue));
    EXPECT_FALSE(json.Get("k", vecInts));
    EXPECT_FALSE(json.Get("k", vecStrings));

    EXPECT_TRUE(bValue);
    EXPECT_EQ(iValue, 7);
    EXPECT_EQ(dValue, 2.5);
    EXPECT_EQ(strValue, "old");
    EXPECT_EQ(llValue, -9);
    EXPECT_EQ(uValue, 9u);
    EXPECT_EQ(ullValue, 11u);
    EXPECT_EQ(vecInts, std::vector<int>{1});
    EXPECT_EQ(vecStrings, std::vector<std::string>{"s"});
    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 9u);
    ExpectOneGuardLinePerOverload(vecLines, "Get", "Get fail. jsonvalue is invalid type[%d].",
                                  "Get fail. jsonvalue is invalid type[0].");
}

TEST_F(CJsonGuardTest, EveryGetOverloadNamesAMissingMember)
{
    CTetherJson json("{\"other\":1}");
    bool bValue = false;
    int iValue = 0;
    double dValue = 0;
    std::string strValue;
    long long llValue = 0;
    unsigned int uValue = 0;
    unsigned long long ullValue = 0;
    std::vector<int> vecInts;
    std::vector<std::string> vecStrings;
    EXPECT_FALSE(json.Get("zz", bValue));
    EXPECT_FALSE(json.Get("zz", iValue));
    EXPECT_FALSE(json.Get("zz", dValue));
    EXPECT_FALSE(json.Get("zz", strValue));
    EXPECT_FALSE(json.Get("zz", llValue));
    EXPECT_FALSE(json.Get("zz", uValue));
    EXPECT_FALSE(json.Get("zz", ullValue));
    EXPECT_FALSE(json.Get("zz", vecInts));
    EXPECT_FALSE(json.Get("zz", vecStrings));

    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 9u);
    ExpectOneGuardLinePerOverload(vecLines, "Get", "NO strKey[%s] in josn.", "NO strKey[zz] in josn.");
}

TEST_F(CJsonGuardTest, EveryGetOverloadNamesAWrongType)
{
    // An object member fails every overload's type test.
    CTetherJson json("{\"o\":{}}");
    bool bValue = false;
    int iValue = 0;
    double dValue = 0;
    std::string strValue;
    long long llValue = 0;
    unsigned int uValue = 0;
    unsigned long long ullValue = 0;
    std::vector<int> vecInts;
    std::vector<std::string> vecStrings;
    EXPECT_FALSE(json.Get("o", bValue));
    EXPECT_FALSE(json.Get("o", iValue));
    EXPECT_FALSE(json.Get("o", dValue));
    EXPECT_FALSE(json.Get("o", strValue));
    EXPECT_FALSE(json.Get("o", llValue));
    EXPECT_FALSE(json.Get("o", uValue));
    EXPECT_FALSE(json.Get("o", ullValue));
    EXPECT_FALSE(json.Get("o", vecInts));
    EXPECT_FALSE(json.Get("o", vecStrings));

    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 9u);
    ExpectOneGuardLinePerOverload(vecLines, "Get", "value.type[%d].", "value.type[7].");
}

}  // namespace
