// Arrays: the vector Set appends, the vector Gets append.
#include "JsonLogExpectations.h"

namespace {

using CJsonVectorTest = CJsonLogTest;

TEST_F(CJsonVectorTest, VectorSetAppendsAndAnEmptyOneCreatesNothing)
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

TEST_F(CJsonVectorTest, VectorGetsConvertEachElement)
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
