// Argument lists of native calls: V8Arguments and ScriptArray over it.
#include <Bridge/ScriptBridge.h>
#include <climits>
#include <gtest/gtest.h>

#include "V8Test.h"

namespace {

struct CSeen {
    int m_iLength = -1;
    bool m_bNegativeUndefined = false;
    bool m_bAtLengthUndefined = false;
    bool m_bFarUndefined = false;
    std::string m_strFirst;
    int m_iListLength = -1;
    bool m_bListBeyondUndefined = false;
    bool m_bListNegativeUndefined = false;
};
CSeen s_seen;

std::string Text(v8::Isolate* pIsolate, v8::Local<v8::Value> value)
{
    v8::String::Utf8Value text(pIsolate, value);
    return *text != nullptr ? *text : "";
}

void Record(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    Bridge::V8Arguments<v8::Value> arguments(info);
    s_seen.m_iLength = arguments.Length();
    s_seen.m_bNegativeUndefined = arguments[-1]->IsUndefined();
    s_seen.m_bAtLengthUndefined = arguments[arguments.Length()]->IsUndefined();
    s_seen.m_bFarUndefined = arguments[INT_MAX]->IsUndefined();
    s_seen.m_strFirst = Text(info.GetIsolate(), arguments[0]);

    Bridge::ScriptArray list(&arguments);
    s_seen.m_iListLength = list.Length();
    s_seen.m_bListBeyondUndefined = list.get(list.Length()).getValue()->IsUndefined();
    s_seen.m_bListNegativeUndefined = list.get(-5).getValue()->IsUndefined();
}

class ArgumentsTest : public TestSupport::CV8Test {
protected:
    void SetUp() override
    {
        CV8Test::SetUp();
        s_seen = CSeen();
        CScope scope(*this);
        v8::Local<v8::Function> record =
            v8::FunctionTemplate::New(Isolate(), Record)->GetFunction(Context()).ToLocalChecked();
        Context()->Global()->Set(Context(), Bridge::StringToV8("record"), record).Check();
    }
};

TEST_F(ArgumentsTest, IndexesOutsideTheCallReadUndefined)
{
    Eval("record('first', 2, 3)");
    EXPECT_EQ(3, s_seen.m_iLength);
    EXPECT_EQ("first", s_seen.m_strFirst);
    EXPECT_TRUE(s_seen.m_bNegativeUndefined);
    EXPECT_TRUE(s_seen.m_bAtLengthUndefined);
    EXPECT_TRUE(s_seen.m_bFarUndefined);
    EXPECT_EQ(3, s_seen.m_iListLength);
    EXPECT_TRUE(s_seen.m_bListBeyondUndefined);
    EXPECT_TRUE(s_seen.m_bListNegativeUndefined);
}

TEST_F(ArgumentsTest, NoArgumentsReadUndefinedEverywhere)
{
    Eval("record()");
    EXPECT_EQ(0, s_seen.m_iLength);
    EXPECT_EQ("undefined", s_seen.m_strFirst);
    EXPECT_TRUE(s_seen.m_bNegativeUndefined);
    EXPECT_TRUE(s_seen.m_bAtLengthUndefined);
    EXPECT_EQ(0, s_seen.m_iListLength);
    EXPECT_TRUE(s_seen.m_bListBeyondUndefined);
}

TEST_F(ArgumentsTest, BuiltListGrowsAndReadsHolesAsUndefined)
{
    CScope scope(*this);
    Bridge::ScriptArray list;
    EXPECT_EQ(0, list.Length());
    list.set(2, Bridge::ScriptObject(7));
    ASSERT_EQ(3, list.Length());
    EXPECT_TRUE(list.get(0).getValue()->IsUndefined());
    EXPECT_EQ(7, list.get(2).getValue()->Int32Value(Context()).FromJust());
    EXPECT_TRUE(list.get(3).getValue()->IsUndefined());

    Bridge::ScriptArray copy(list);
    list.set(2, Bridge::ScriptObject(8));
    EXPECT_EQ(7, copy.get(2).getValue()->Int32Value(Context()).FromJust());
}

}  // namespace
