// Which texts make a usable document.
#include "JsonLogExpectations.h"

namespace {

const char kParseFailed[] = "Json::Reader parse string[%s] faild.";
const char kSetFailed[] = "Set fail. jsonvalue is invalid type[%d].";

using CJsonValidityTest = CJsonLogTest;

TEST_F(CJsonValidityTest, DefaultDocumentIsValidNullBecomingAnObject)
{
    CTetherJson json;
    EXPECT_EQ(json.ToString(), "null\n");
    std::vector<std::string> vecKeys;
    EXPECT_TRUE(json.GetKeys(vecKeys));
    EXPECT_TRUE(vecKeys.empty());
    EXPECT_TRUE(json.Set("a", 1));
    EXPECT_EQ(json.ToString(), "{\"a\":1}\n");
    EXPECT_TRUE(TakeLines().empty());
}

TEST_F(CJsonValidityTest, ObjectTextsAreValid)
{
    for (const char* pszText : {"{}", " {\"a\" : [1, {\"b\": null}]} ", "// note\n{\"a\":1} /* tail */"}) {
        CTetherJson json(pszText);
        EXPECT_TRUE(json.Set("z", true)) << pszText;
        EXPECT_NE(json.ToString(), "") << pszText;
    }
    CTetherJson empty("{}");
    EXPECT_EQ(empty.ToString(), "{}\n");
    EXPECT_TRUE(TakeLines().empty());
}

// Texts that parse but whose root is not an object: no parse line, and every
// guarded operation then names the root's type.
struct CNonObjectCase {
    const char* pszText;
    int iType;
};

void PrintTo(const CNonObjectCase& c, std::ostream* pOut)
{
    *pOut << "text \"" << c.pszText << "\" type " << c.iType;
}

class CJsonNonObjectTest : public CJsonLogTest, public ::testing::WithParamInterface<CNonObjectCase> {};

TEST_P(CJsonNonObjectTest, GuardedOperationsRefuseAndLogTheRootType)
{
    const CNonObjectCase& c = GetParam();
    CTetherJson json(c.pszText);
    const std::string strType = "[" + std::to_string(c.iType) + "].";

    int iTarget = 42;
    std::vector<std::string> vecKeys{"kept"};
    json.Clear();
    EXPECT_FALSE(json.Set("a", 1));
    EXPECT_FALSE(json.Get("a", iTarget));
    EXPECT_FALSE(json.GetKeys(vecKeys));
    EXPECT_EQ(json.ToString(), "");
    json.Remove("a");  // refused without a word

    EXPECT_EQ(iTarget, 42);
    EXPECT_EQ(vecKeys, std::vector<std::string>{"kept"});
    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 5u);
    EXPECT_TRUE(IsWarnLine(vecLines[0], "Clear", "Clear fail. jsonvalue is invalid type[%d].",
                           "Clear fail. jsonvalue is invalid type" + strType));
    EXPECT_TRUE(IsWarnLine(vecLines[1], "Set", kSetFailed, "Set fail. jsonvalue is invalid type" + strType));
    EXPECT_TRUE(IsWarnLine(vecLines[2], "Get", "Get fail. jsonvalue is invalid type[%d].",
                           "Get fail. jsonvalue is invalid type" + strType));
    EXPECT_TRUE(IsWarnLine(vecLines[3], "GetKeys", "GetKeys fail. jsonvalue is invalid type[%d].",
                           "GetKeys fail. jsonvalue is invalid type" + strType));
    EXPECT_TRUE(IsWarnLine(vecLines[4], "ToString", "ToString fail. jsonvalue is invalid type[%d].",
                           "ToString fail. jsonvalue is invalid type" + strType));
}

INSTANTIATE_TEST_SUITE_P(Roots, CJsonNonObjectTest,
                         ::testing::Values(CNonObjectCase{"", 0}, CNonObjectCase{"null", 0},
                                           CNonObjectCase{"-5", 1},
                                           CNonObjectCase{"18446744073709551615", 2},
                                           CNonObjectCase{"1.5", 3}, CNonObjectCase{"\"text\"", 4},
                                           CNonObjectCase{"true", 5}, CNonObjectCase{"[1,2]", 6}),
                         [](const ::testing::TestParamInfo<CNonObjectCase>& info) {
                             return "Text" + std::to_string(info.index) + "Type" + std::to_string(info.param.iType);
                         });

TEST_F(CJsonValidityTest, EmptyTextIsInvalidButHasStillAnswers)
{
    CTetherJson json("");
    EXPECT_FALSE(json.Has("a"));
    EXPECT_FALSE(json.IsInt("a"));
    EXPECT_TRUE(TakeLines().empty());  // nothing was parsed, so no parse line
}

TEST_F(CJsonValidityTest, HalfParsedObjectIsInvalid)
{
    const std::string strText = "{\"a\":1,";
    CTetherJson json(strText);
    EXPECT_FALSE(json.Set("b", 2));
    // The reader built part of the object; Has and IsInt see it, the guards don't.
    EXPECT_TRUE(json.Has("a"));
    EXPECT_TRUE(json.IsInt("a"));
    int iValue = 0;
    EXPECT_FALSE(json.Get("a", iValue));
    json.Remove("a");
    EXPECT_TRUE(json.Has("a"));

    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 3u);
    EXPECT_TRUE(IsWarnLine(vecLines[0], "CTetherJson", kParseFailed,
                           "Json::Reader parse string[" + strText + "] faild."));
    EXPECT_TRUE(IsWarnLine(vecLines[1], "Set", kSetFailed, "Set fail. jsonvalue is invalid type[7]."));
    EXPECT_TRUE(IsWarnLine(vecLines[2], "Get", "Get fail. jsonvalue is invalid type[%d].",
                           "Get fail. jsonvalue is invalid type[7]."));
}

TEST_F(CJsonValidityTest, BrokenTextsLogTheParseFailure)
{
    for (const char* pszText : {"{", "not json", "{\"a\" 1}", "{\"a\":[1,}", "\"unterminated"}) {
        CTetherJson json(pszText);
        EXPECT_FALSE(json.Set("a", 1)) << pszText;
        std::vector<Dlog::CLogLine> vecLines = TakeLines();
        ASSERT_EQ(vecLines.size(), 2u) << pszText;
        EXPECT_TRUE(IsWarnLine(vecLines[0], "CTetherJson", kParseFailed,
                               std::string("Json::Reader parse string[") + pszText + "] faild."));
    }
}

}  // namespace
