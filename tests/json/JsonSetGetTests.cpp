// Storing and reading members, overload by overload; arrays (the vector Set
// and Gets append); presence, type tests, removal and member names.
#include "JsonLogExpectations.h"

#include <climits>

namespace {

using CJsonSetGetTest = CJsonLogTest;

TEST_F(CJsonSetGetTest, ScalarsStoreWithTheirOwnTypes)
{
    CTetherJson json;
    EXPECT_TRUE(json.Set("b", true));
    EXPECT_TRUE(json.Set("i", -3));
    EXPECT_TRUE(json.Set("u", 4294967295u));
    EXPECT_TRUE(json.Set("d", 1.5));
    EXPECT_TRUE(json.Set("s", std::string("x\"y")));
    EXPECT_TRUE(json.Set("c", "chars"));
    EXPECT_EQ(json.ToString(),
              "{\"b\":true,\"c\":\"chars\",\"d\":1.5,\"i\":-3,\"s\":\"x\\\"y\",\"u\":4294967295}\n");
    EXPECT_TRUE(Reads(json, "b", true));
    EXPECT_TRUE(Reads(json, "i", -3));
    EXPECT_TRUE(Reads(json, "u", 4294967295u));
    EXPECT_TRUE(Reads(json, "d", 1.5));
    EXPECT_TRUE(Reads(json, "s", std::string("x\"y")));
    std::string strValue = "old";
    EXPECT_TRUE(json.Get("c", strValue));  // replaces, not appends
    EXPECT_EQ(strValue, "chars");
    // Set replaces a member of any type; a null char pointer stores "".
    EXPECT_TRUE(json.Set("s", static_cast<const char*>(nullptr)));
    EXPECT_TRUE(Reads(json, "s", std::string()));
    EXPECT_TRUE(TakeLines().empty());
    CTetherJson arrays("{\"a\":[1,2],\"b\":0}");
    EXPECT_TRUE(arrays.Set("a", "now text"));
    EXPECT_EQ(arrays.ToString(), "{\"a\":\"now text\",\"b\":0}\n");
}

// Both are stored as the nearest double; reading them back is not symmetric.
TEST_F(CJsonSetGetTest, LongLongsAreStoredAsDoublesAndReadBackUnevenly)
{
    CTetherJson json;
    const long long llTwo53 = 1LL << 53;
    EXPECT_TRUE(json.Set("n", llTwo53 + 1));
    EXPECT_TRUE(json.Set("neg", -5LL));
    EXPECT_TRUE(json.Set("big", 5000000000ULL));
    EXPECT_TRUE(json.Set("small", 7ULL));
    EXPECT_EQ(json.ToString(), "{\"big\":5000000000.0,\"n\":9007199254740992.0,\"neg\":-5.0,\"small\":7.0}\n");
    EXPECT_TRUE(Reads(json, "n", llTwo53));
    EXPECT_TRUE(Reads(json, "n", 9007199254740992.0));
    EXPECT_FALSE(json.IsInt("n"));  // a real beyond int, not an integer
    EXPECT_TRUE(Reads(json, "neg", -5LL));
    EXPECT_TRUE(Reads(json, "big", 5000000000LL));
    EXPECT_TRUE(Reads(json, "small", 7ULL));
    unsigned long long ullValue = 123;
    EXPECT_FALSE(json.Get("big", ullValue));
    EXPECT_EQ(ullValue, 123u);
    std::vector<Dlog::CLogLine> vecLines = TakeLines();
    ASSERT_EQ(vecLines.size(), 1u);
    EXPECT_TRUE(IsWarnLine(vecLines[0], "Get", "value.type[%d].", "value.type[3]."));
}

// A read refused for the member's type logs that type.
template <typename T>
void ExpectWrongType(CTetherJson& json, const char* pszKey, int iType)
{
    T value{};
    EXPECT_FALSE(json.Get(pszKey, value)) << pszKey;
    std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
    ASSERT_EQ(vecLines.size(), 1u) << pszKey;
    EXPECT_TRUE(IsWarnLine(vecLines[0], "Get", "value.type[%d].", "value.type[" + std::to_string(iType) + "]."))
        << pszKey;
}

TEST_F(CJsonSetGetTest, ParsedMembersReadOnlyAsTheirOwnTypes)
{
    CTetherJson json("{\"i\":3,\"r\":2.5,\"t\":true,\"s\":\"5\",\"neg\":-1,\"huge\":1e300,\"max\":4294967295,"
                     "\"over\":4294967296}");
    EXPECT_TRUE(Reads(json, "neg", -1LL));
    EXPECT_TRUE(Reads(json, "huge", LLONG_MAX));  // out of range: saturates
    EXPECT_TRUE(Reads(json, "max", 4294967295ULL));
    EXPECT_TRUE(Reads(json, "i", 3.0));  // any number is a double
    EXPECT_TRUE(TakeLines().empty());
    // jsoncpp's types: 1 int, 2 unsigned, 3 real, 4 string, 5 bool.
    ExpectWrongType<int>(json, "s", 4);  // no conversion from text
    ExpectWrongType<int>(json, "r", 3);
    ExpectWrongType<bool>(json, "i", 1);
    ExpectWrongType<unsigned int>(json, "neg", 1);
    ExpectWrongType<std::string>(json, "t", 5);
    ExpectWrongType<long long>(json, "s", 4);
    ExpectWrongType<unsigned long long>(json, "over", 2);
    ExpectWrongType<unsigned long long>(json, "neg", 1);
    ExpectWrongType<std::vector<std::string>>(json, "s", 4);
    ExpectWrongType<std::vector<int>>(json, "i", 1);
}

TEST_F(CJsonSetGetTest, HasAndTypeTestsReadAbsentMembersAsNull)
{
    CTetherJson json("{\"i\":1,\"s\":\"t\",\"n\":null}");
    EXPECT_TRUE(json.Has("i"));
    EXPECT_TRUE(json.Has("n"));
    EXPECT_FALSE(json.Has("missing"));
    EXPECT_TRUE(json.IsInt("i"));
    EXPECT_FALSE(json.IsInt("s"));
    EXPECT_FALSE(json.IsInt("missing"));
    EXPECT_TRUE(json.IsString("s"));
    EXPECT_FALSE(json.IsString("i"));
    EXPECT_FALSE(json.IsString("missing"));
    EXPECT_TRUE(TakeLines().empty());
}

TEST_F(CJsonSetGetTest, RemoveClearAndGetKeys)
{
    CTetherJson json("{\"a\":1,\"b\":2}");
    json.Remove("zz");
    json.Remove("a");
    EXPECT_EQ(json.ToString(), "{\"b\":2}\n");
    json.Clear();
    EXPECT_EQ(json.ToString(), "{}\n");
    EXPECT_TRUE(json.Set("c", 3));
    EXPECT_TRUE(json.Set("a", 2));
    // GetKeys appends, in jsoncpp's order.
    std::vector<std::string> vecKeys{"held"};
    EXPECT_TRUE(json.GetKeys(vecKeys));
    EXPECT_EQ(vecKeys, (std::vector<std::string>{"held", "a", "c"}));
    EXPECT_TRUE(TakeLines().empty());
}

TEST_F(CJsonSetGetTest, VectorSetAppendsAndAnEmptyOneCreatesNothing)
{
    CTetherJson json("{\"v\":[1]}");
    EXPECT_TRUE(json.Set("v", std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(json.Set("v", std::vector<std::string>{"a"}));
    EXPECT_TRUE(json.Set("w", std::vector<std::string>{"x"}));
    EXPECT_EQ(json.ToString(), "{\"v\":[1,\"a\",\"b\",\"a\"],\"w\":[\"x\"]}\n");

    std::vector<std::string> vecValue{"before"};
    EXPECT_TRUE(json.Get("v", vecValue));
    EXPECT_EQ(vecValue, (std::vector<std::string>{"before", "1", "a", "b", "a"}));

    // An empty vector creates nothing: the root does not even become an object.
    CTetherJson empty;
    EXPECT_TRUE(empty.Set("v", std::vector<std::string>{}));
    EXPECT_FALSE(empty.Has("v"));
    EXPECT_EQ(empty.ToString(), "null\n");
    EXPECT_TRUE(TakeLines().empty());
}

TEST_F(CJsonSetGetTest, VectorGetsConvertEachElement)
{
    CTetherJson json("{\"n\":[1,-2,3.0,true],\"s\":[\"a\",1,null,false]}");
    std::vector<int> vecInts{0};
    EXPECT_TRUE(json.Get("n", vecInts));
    EXPECT_EQ(vecInts, (std::vector<int>{0, 1, -2, 3, 1}));
    std::vector<std::string> vecStrings;
    EXPECT_TRUE(json.Get("s", vecStrings));
    EXPECT_EQ(vecStrings, (std::vector<std::string>{"a", "1", "", "false"}));
}

}  // namespace
