// Presence, type tests, removal, member names and emptying.
#include "JsonLogExpectations.h"

namespace {

using CJsonMemberTest = CJsonLogTest;

TEST_F(CJsonMemberTest, HasAndTypeTestsReadAbsentMembersAsNull)
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

TEST_F(CJsonMemberTest, RemoveClearAndGetKeys)
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

}  // namespace
