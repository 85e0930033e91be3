// jsoncpp's exceptions end an operation with its failure result and the
// short frame, naming the operation.
#include "JsonLogExpectations.h"

namespace {

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
