// The JSON document class: which texts make a usable document, each Set and
// Get overload with its guard, jsoncpp's exceptions, and every line logged,
// checked against its frame and the statement it names.
#include <DlogSink.h>
#include <LogFrames.h>
#include <TetherJson.h>
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <sys/syscall.h>
#include <tuple>
#include <unistd.h>

namespace {

class CJsonTest : public ::testing::Test {
protected:
    void SetUp() override { Dlog::StartCapture(); }
    void TearDown() override
    {
        Dlog::StopCapture();
        // A test takes the lines it expects; any other line is a fault.
        EXPECT_EQ(TakeLines(), std::vector<std::string>{});
    }

    // The lines logged since the last call, as "W function payload" (common
    // frame, red, on this thread) or "E function what" (exception frame,
    // "Exception Handled by : " and the exception's text),
    // each with no tag and naming its own statement of this class's file;
    // no operation writes more than one. The source lines named go to
    // *pLines.
    static std::vector<std::string> TakeLines(std::vector<int>* pLines = nullptr)
    {
        std::vector<std::string> vecLines;
        for (const Dlog::CLogLine& line : Dlog::TakeCaptured()) {
            TestSupport::CFrame frame;
            const std::string strThrown = "Exception Handled by : ";
            const bool bThrown = line.m_iPriority == 6;
            if (!TestSupport::ParseFrame(line, frame) || frame.m_strFile != "TetherJson.cpp" || line.m_bHasTag ||
                (bThrown ? frame.m_strPayload.rfind(strThrown, 0) != 0
                         : frame.m_iThreadId != static_cast<int>(syscall(SYS_gettid)))) {
                ADD_FAILURE() << "priority " << line.m_iPriority << " line out of frame: " << line.m_strText;
                continue;
            }
            EXPECT_TRUE(TestSupport::NameTheirStatements({line}));
            vecLines.push_back((bThrown ? "E " : "W ") + frame.m_strFunction + " " +
                               frame.m_strPayload.substr(bThrown ? strThrown.size() : 0));
            if (pLines != nullptr)
                pLines->push_back(frame.m_iLine);
        }
        return vecLines;
    }
};

// json.Get(strKey) answers true and reads expected.
template <typename T>
::testing::AssertionResult Reads(CTetherJson& json, const std::string& strKey, const T& expected)
{
    T value{};
    if (!json.Get(strKey, value))
        return ::testing::AssertionFailure() << "Get(\"" << strKey << "\") refused";
    if (!(value == expected))
        return ::testing::AssertionFailure() << "Get(\"" << strKey << "\") read " << ::testing::PrintToString(value);
    return ::testing::AssertionSuccess();
}

std::string Refusal(const char* pszFunc, int iType)
{
    return std::string("W ") + pszFunc + " " + pszFunc + " fail. jsonvalue is invalid type[" + std::to_string(iType) +
           "].";
}

TEST_F(CJsonTest, DefaultDocumentAndObjectTextsAreValid)
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
}

// A root that is not an object, or a text that does not parse (even when an
// object was half built): every guarded operation refuses, naming the root's
// type, and leaves its target alone; Remove refuses without a word.
TEST_F(CJsonTest, OtherTextsRefuseGuardedOperationsNamingTheRootsType)
{
    const struct {
        const char* pszText;
        int iType;
        bool bParseFails;
    } aCases[] = {{"", 0, false},         {"null", 0, false},  {"-5", 1, false},   {"18446744073709551615", 2, false},
                  {"1.5", 3, false},      {"\"text\"", 4, false}, {"true", 5, false}, {"[1,2]", 6, false},
                  {"{", 7, true},         {"not json", 0, true}, {"{\"a\":[1,}", 7, true}, {"\"unterminated", 0, true},
                  {"{\"a\":1,", 7, true}};
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
        json.Remove("a");
        EXPECT_EQ(iTarget, 42);
        EXPECT_EQ(vecKeys, std::vector<std::string>{"kept"});
        std::vector<std::string> vecExpected;
        if (c.bParseFails)
            vecExpected.push_back(std::string("W CTetherJson Json::Reader parse string[") + c.pszText + "] faild.");
        for (const char* pszFunc : {"Clear", "Set", "Get", "GetKeys", "ToString"})
            vecExpected.push_back(Refusal(pszFunc, c.iType));
        EXPECT_EQ(TakeLines(), vecExpected);
    }
    // What a failed parse left behind is seen by the unguarded tests only.
    CTetherJson half("{\"a\":1,");
    TakeLines();
    EXPECT_TRUE(half.Has("a"));
    EXPECT_TRUE(half.IsInt("a"));
}

// Each overload keeps its own guard: nine lines from nine source lines.
TEST_F(CJsonTest, EveryOverloadRefusesItselfAndLeavesItsTargetAlone)
{
    auto expectNineFromNine = [](const std::vector<std::string>& vecLines, const std::vector<int>& vecAt,
                                 const std::string& strLine) {
        EXPECT_EQ(vecLines, std::vector<std::string>(9, strLine));
        EXPECT_EQ(std::set<int>(vecAt.begin(), vecAt.end()).size(), 9u) << strLine;
    };
    CTetherJson invalid("[1,2]");
    int iFalse = 0;
    iFalse += !invalid.Set("k", true) + !invalid.Set("k", 1) + !invalid.Set("k", 1u) + !invalid.Set("k", 1LL);
    iFalse += !invalid.Set("k", 1ULL) + !invalid.Set("k", 1.0) + !invalid.Set("k", std::string("v"));
    iFalse += !invalid.Set("k", "v") + !invalid.Set("k", std::vector<std::string>{"v"});
    EXPECT_EQ(iFalse, 9);
    std::vector<int> vecAt;
    std::vector<std::string> vecLines = TakeLines(&vecAt);
    expectNineFromNine(vecLines, vecAt, Refusal("Set", 6));

    const struct {
        const char* pszText;
        const char* pszKey;
        const char* pszLine;
    } aCases[] = {
        {"", "k", "W Get Get fail. jsonvalue is invalid type[0]."},
        {"{\"other\":1}", "zz", "W Get NO strKey[zz] in josn."},
        {"{\"o\":{}}", "o", "W Get value.type[7]."},  // an object fails every type test
    };
    const std::tuple<bool, int, double, std::string, long long, unsigned int, unsigned long long, std::vector<int>,
                     std::vector<std::string>>
        preset{true, 7, 2.5, "old", -9, 9, 11, {1}, {"s"}};
    for (const auto& c : aCases) {
        CTetherJson json(c.pszText);
        TakeLines();
        auto targets = preset;
        int iTrue = 0;
        std::apply([&](auto&... values) { ((iTrue += json.Get(c.pszKey, values)), ...); }, targets);
        EXPECT_EQ(iTrue, 0) << c.pszLine;
        EXPECT_TRUE(targets == preset) << c.pszLine;
        vecAt.clear();
        vecLines = TakeLines(&vecAt);
        expectNineFromNine(vecLines, vecAt, c.pszLine);
    }
}

// jsoncpp's exceptions end the operation with its failure answer and the
// exception frame; vector reads keep what they appended before.
TEST_F(CJsonTest, JsoncppExceptionsBecomeFailures)
{
    CTetherJson deep("{\"a\":" + std::string(2000, '[') + std::string(2000, ']') + "}");
    EXPECT_EQ(TakeLines(), std::vector<std::string>{"E CTetherJson Exceeded stackLimit in readValue()."});
    EXPECT_FALSE(deep.Set("b", 1));  // left invalid
    TakeLines();

    CTetherJson json;
    EXPECT_TRUE(json.Set("a", 1));
    EXPECT_FALSE(json.Set("a", std::vector<std::string>{"x"}));
    EXPECT_EQ(json.ToString(), "{\"a\":1}\n");

    CTetherJson arrays("{\"n\":[5,\"x\",7],\"s\":[\"a\",{},\"c\"]}");
    std::vector<int> vecInts;
    EXPECT_FALSE(arrays.Get("n", vecInts));
    EXPECT_EQ(vecInts, std::vector<int>{5});
    std::vector<std::string> vecStrings;
    EXPECT_FALSE(arrays.Get("s", vecStrings));
    EXPECT_EQ(vecStrings, std::vector<std::string>{"a"});
    std::vector<int> vecAt;
    EXPECT_EQ(TakeLines(&vecAt), (std::vector<std::string>{"E Set in Json::Value::append: requires arrayValue",
                                                           "E Get Value is not convertible to Int.",
                                                           "E Get Type is not convertible to string"}));
    EXPECT_EQ(std::set<int>(vecAt.begin(), vecAt.end()).size(), 3u) << "each overload's own statement";

    CTetherJson list("[1,2]");
    TakeLines();
    EXPECT_FALSE(list.Has("a") || list.IsInt("a") || list.IsString("a"));
    const std::string strFind = " in Json::Value::find(begin, end): requires objectValue or nullValue";
    EXPECT_EQ(TakeLines(), (std::vector<std::string>{"E Has" + strFind, "E IsInt" + strFind, "E IsString" + strFind}));
}

TEST_F(CJsonTest, MembersStoreWithTheirOwnTypesAndReadBack)
{
    CTetherJson json;
    EXPECT_TRUE(json.Set("b", true));
    EXPECT_TRUE(json.Set("i", -3));
    EXPECT_TRUE(json.Set("u", 4294967295u));
    EXPECT_TRUE(json.Set("d", 1.5));
    EXPECT_TRUE(json.Set("s", std::string("x\"y")));
    EXPECT_TRUE(json.Set("c", "chars"));
    // Both long long widths are stored as the nearest double.
    EXPECT_TRUE(json.Set("n", (1LL << 53) + 1));
    EXPECT_TRUE(json.Set("big", 5000000000ULL));
    EXPECT_EQ(json.ToString(), "{\"b\":true,\"big\":5000000000.0,\"c\":\"chars\",\"d\":1.5,\"i\":-3,"
                               "\"n\":9007199254740992.0,\"s\":\"x\\\"y\",\"u\":4294967295}\n");
    EXPECT_TRUE(Reads(json, "b", true));
    EXPECT_TRUE(Reads(json, "i", -3));
    EXPECT_TRUE(Reads(json, "u", 4294967295u));
    EXPECT_TRUE(Reads(json, "d", 1.5));
    EXPECT_TRUE(Reads(json, "n", 1LL << 53));
    EXPECT_TRUE(Reads(json, "big", 5000000000LL));
    std::string strValue = "old";
    EXPECT_TRUE(json.Get("c", strValue));  // replaces, not appends
    EXPECT_EQ(strValue, "chars");
    // Set replaces a member of any type; a null char pointer stores "".
    EXPECT_TRUE(json.Set("s", static_cast<const char*>(nullptr)));
    EXPECT_TRUE(Reads(json, "s", std::string()));

    CTetherJson parsed("{\"i\":3,\"neg\":-1,\"huge\":1e300,\"edge\":9223372036854775808,\"max\":4294967295}");
    EXPECT_TRUE(Reads(parsed, "neg", -1LL));
    EXPECT_TRUE(Reads(parsed, "huge", LLONG_MAX));  // out of range: saturates
    EXPECT_TRUE(Reads(parsed, "edge", LLONG_MAX));  // 2^63, the first that does not fit
    EXPECT_TRUE(Reads(parsed, "max", 4294967295ULL));
    EXPECT_TRUE(Reads(parsed, "i", 3.0));  // any number is a double
}

// A read refused for the member's type names that type (jsoncpp's: 1 int,
// 2 unsigned, 3 real, 4 string, 5 bool) and leaves the target alone.
template <typename T>
std::string WrongType(CTetherJson& json, const char* pszKey)
{
    T value{}, before{};
    return json.Get(pszKey, value) || !(value == before) ? "read" : "refused";
}

TEST_F(CJsonTest, MembersReadOnlyAsTheirOwnTypes)
{
    CTetherJson json("{\"i\":3,\"r\":2.5,\"t\":true,\"s\":\"5\",\"neg\":-1,\"over\":4294967296,\"big\":5e9}");
    const struct {
        std::string (*read)(CTetherJson&, const char*);
        const char* pszKey;
        int iType;
    } aCases[] = {
        {WrongType<int>, "s", 4},          {WrongType<int>, "r", 3},
        {WrongType<bool>, "i", 1},         {WrongType<unsigned int>, "neg", 1},
        {WrongType<std::string>, "t", 5},  {WrongType<long long>, "s", 4},
        {WrongType<unsigned long long>, "over", 2}, {WrongType<unsigned long long>, "neg", 1},
        {WrongType<unsigned long long>, "big", 3},  {WrongType<std::vector<std::string>>, "s", 4},
        {WrongType<std::vector<int>>, "i", 1},
    };
    for (const auto& c : aCases) {
        std::string strExpected = "W Get value.type[" + std::to_string(c.iType) + "].";
        EXPECT_EQ(c.read(json, c.pszKey), "refused") << strExpected << " for " << c.pszKey;
        EXPECT_EQ(TakeLines(), std::vector<std::string>{strExpected}) << c.pszKey;
    }
}

TEST_F(CJsonTest, PresenceTypeTestsRemovalAndKeys)
{
    CTetherJson json("{\"i\":1,\"s\":\"t\",\"n\":null}");
    const struct {
        const char* pszKey;
        bool bHas, bInt, bString;
    } aCases[] = {{"i", true, true, false}, {"s", true, false, true}, {"n", true, false, false},
                  {"missing", false, false, false}};
    for (const auto& c : aCases) {
        EXPECT_EQ(json.Has(c.pszKey), c.bHas) << c.pszKey;
        EXPECT_EQ(json.IsInt(c.pszKey), c.bInt) << c.pszKey;
        EXPECT_EQ(json.IsString(c.pszKey), c.bString) << c.pszKey;
    }
    json.Remove("zz");
    json.Remove("i");
    EXPECT_EQ(json.ToString(), "{\"n\":null,\"s\":\"t\"}\n");
    json.Clear();
    EXPECT_EQ(json.ToString(), "{}\n");
    EXPECT_TRUE(json.Set("c", 3));
    EXPECT_TRUE(json.Set("a", 2));
    // GetKeys appends, in jsoncpp's order.
    std::vector<std::string> vecKeys{"held"};
    EXPECT_TRUE(json.GetKeys(vecKeys));
    EXPECT_EQ(vecKeys, (std::vector<std::string>{"held", "a", "c"}));
}

// The vector Set appends; the vector Gets append each element converted.
TEST_F(CJsonTest, VectorsAppend)
{
    CTetherJson json("{\"v\":[1],\"n\":[1,-2,3.0,true]}");
    EXPECT_TRUE(json.Set("v", std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(json.Set("v", std::vector<std::string>{"a"}));
    EXPECT_TRUE(json.Set("w", std::vector<std::string>{"x"}));
    EXPECT_EQ(json.ToString(), "{\"n\":[1,-2,3.0,true],\"v\":[1,\"a\",\"b\",\"a\"],\"w\":[\"x\"]}\n");
    std::vector<std::string> vecValue{"before"};
    EXPECT_TRUE(json.Get("v", vecValue));
    EXPECT_EQ(vecValue, (std::vector<std::string>{"before", "1", "a", "b", "a"}));
    std::vector<int> vecInts{0};
    EXPECT_TRUE(json.Get("n", vecInts));
    EXPECT_EQ(vecInts, (std::vector<int>{0, 1, -2, 3, 1}));

    // An empty vector creates nothing: the root does not even become an object.
    CTetherJson empty;
    EXPECT_TRUE(empty.Set("v", std::vector<std::string>{}));
    EXPECT_FALSE(empty.Has("v"));
    EXPECT_EQ(empty.ToString(), "null\n");
}

}  // namespace
