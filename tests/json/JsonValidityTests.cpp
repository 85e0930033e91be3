// Which texts make a usable document.
#include "JsonLogExpectations.h"

namespace {

using CJsonValidityTest = CJsonLogTest;

TEST_F(CJsonValidityTest, DefaultDocumentAndObjectTextsAreValid)
{
    CTetherJson json;
    json.Clear();
    EXPECT_EQ(json.ToString(), "null\n");  // null until the first Set
    std::vector<std::string> vecKeys;
    EXPECT_TRUE(json.GetKeys(vecKeys));
    EXPECT_TRUE(vecKeys.empty());
    EXPECT_TRUE(json.Set("a", 1));
    EXPECT_EQ(json.ToString(), "{\"a\":1}\n");
    for (const char* pszText : {"{}", " {\"a\" : [1, {\"b\": null}]} ", "// note\n{\"a\":1} /* tail */"}) {
        CTetherJson parsed(pszText);
        EXPECT_TRUE(parsed.Set("z", true)) << pszText;
        EXPECT_NE(parsed.ToString(), "") << pszText;
    }
    EXPECT_EQ(CTetherJson("{}").ToString(), "{}\n");
    EXPECT_TRUE(TakeLines().empty());
}

// Texts that parse but whose root is not an object: no parse line, and every
// guarded operation then names the root's type.
TEST_F(CJsonValidityTest, NonObjectRootsRefuseGuardedOperationsNamingTheirType)
{
    const struct {
        const char* pszText;
        int iType;
    } aCases[] = {{"", 0},    {"null", 0},       {"-5", 1},   {"18446744073709551615", 2},
                  {"1.5", 3}, {"\"text\"", 4}, {"true", 5}, {"[1,2]", 6}};
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.pszText);
        CTetherJson json(c.pszText);
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
        const char* apszFuncs[] = {"Clear", "Set", "Get", "GetKeys", "ToString"};
        for (size_t i = 0; i < vecLines.size(); ++i)
            EXPECT_TRUE(IsRefusalLine(vecLines[i], apszFuncs[i], c.iType));
    }
}

TEST_F(CJsonValidityTest, BrokenTextsLogTheParseFailure)
{
    for (const char* pszText : {"{", "not json", "{\"a\" 1}", "{\"a\":[1,}", "\"unterminated", "{\"a\":1,"}) {
        CTetherJson json(pszText);
        EXPECT_FALSE(json.Set("a", 1)) << pszText;
        std::vector<Dlog::CLogLine> vecLines = TakeLines();
        ASSERT_EQ(vecLines.size(), 2u) << pszText;
        EXPECT_TRUE(IsWarnLine(vecLines[0], "CTetherJson", "Json::Reader parse string[%s] faild.",
                               std::string("Json::Reader parse string[") + pszText + "] faild."));
    }
}

TEST_F(CJsonValidityTest, HalfParsedObjectIsSeenOnlyByTheUnguardedTests)
{
    CTetherJson json("{\"a\":1,");
    TakeLines();
    EXPECT_TRUE(json.Has("a"));
    EXPECT_TRUE(json.IsInt("a"));
    int iValue = 0;
    EXPECT_FALSE(json.Get("a", iValue));
    json.Remove("a");
    EXPECT_TRUE(json.Has("a"));
    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 1u);
    EXPECT_TRUE(IsRefusalLine(vecLines[0], "Get", 7));
}

}  // namespace
