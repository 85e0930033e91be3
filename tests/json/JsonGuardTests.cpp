// Every Set and Get overload keeps its own guard against an invalid document;
// jsoncpp's exceptions end an operation with its failure result and the
// short frame, naming the operation.
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

using CJsonExceptionTest = CJsonLogTest;

TEST_F(CJsonExceptionTest, TooDeepTextFailsInTheConstructor)
{
    CTetherJson json("{\"a\":" + std::string(2000, '[') + std::string(2000, ']') + "}");
    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 1u);
    EXPECT_TRUE(IsExceptionLine(vecLines[0], "CTetherJson", "Exceeded stackLimit in readValue()."));
    EXPECT_FALSE(json.Set("b", 1));  // left invalid
}

TEST_F(CJsonExceptionTest, VectorSetOntoAScalarFails)
{
    CTetherJson json;
    EXPECT_TRUE(json.Set("a", 1));
    EXPECT_FALSE(json.Set("a", std::vector<std::string>{"x"}));
    EXPECT_EQ(json.ToString(), "{\"a\":1}\n");
    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 1u);
    EXPECT_TRUE(IsExceptionLine(vecLines[0], "Set", "in Json::Value::append: requires arrayValue"));
}

TEST_F(CJsonExceptionTest, FailingElementKeepsTheElementsBeforeIt)
{
    CTetherJson json("{\"n\":[5,\"x\",7],\"s\":[\"a\",{},\"c\"]}");
    std::vector<int> vecInts;
    EXPECT_FALSE(json.Get("n", vecInts));
    EXPECT_EQ(vecInts, std::vector<int>{5});
    std::vector<std::string> vecStrings;
    EXPECT_FALSE(json.Get("s", vecStrings));
    EXPECT_EQ(vecStrings, std::vector<std::string>{"a"});
    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 2u);
    EXPECT_TRUE(IsExceptionLine(vecLines[0], "Get", "Value is not convertible to Int."));
    EXPECT_TRUE(IsExceptionLine(vecLines[1], "Get", "Type is not convertible to string"));
}

TEST_F(CJsonExceptionTest, UnguardedTestsOnANonObjectRootAnswerFalse)
{
    CTetherJson json("[1,2]");
    EXPECT_FALSE(json.Has("a"));
    EXPECT_FALSE(json.IsInt("a"));
    EXPECT_FALSE(json.IsString("a"));
    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 3u);
    const char* apszFuncs[] = {"Has", "IsInt", "IsString"};
    for (size_t i = 0; i < vecLines.size(); ++i)
        EXPECT_TRUE(IsExceptionLine(vecLines[i], apszFuncs[i],
                                    "in Json::Value::find(begin, end): requires objectValue or nullValue"));
}

}  // namespace
