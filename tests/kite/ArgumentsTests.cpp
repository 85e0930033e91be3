// Argument lists of native calls: V8Arguments and ScriptArray over it.
#include <Bridge/ScriptBridge.h>
#include <climits>
#include <gtest/gtest.h>

#include "V8Test.h"

namespace {

// The call's length and its arguments -1, 0, length and INT_MAX as
// V8Arguments reads them, then the length and arguments -5 and length as a
// ScriptArray over them reads them.
void Describe(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    Bridge::V8Arguments<v8::Value> arguments(info);
    Bridge::ScriptArray list(&arguments);
    auto text = [&info](v8::Local<v8::Value> value) {
        v8::String::Utf8Value utf8(info.GetIsolate(), value);
        return std::string(*utf8 != nullptr ? *utf8 : "?");
    };
    std::string strSeen = std::to_string(arguments.Length());
    for (int i : {-1, 0, arguments.Length(), INT_MAX})
        strSeen += " " + text(arguments[i]);
    strSeen += " | " + std::to_string(list.Length());
    for (int i : {-5, list.Length()})
        strSeen += " " + text(list.get(i).getValue());
    info.GetReturnValue().Set(Bridge::StringToV8(strSeen));
}

class ArgumentsTest : public TestSupport::CV8Test {};

TEST_F(ArgumentsTest, IndexesOutsideTheCallReadUndefined)
{
    {
        CScope scope(*this);
        SetGlobal("describe", Describe);
    }
    EXPECT_EQ("3 undefined first undefined undefined | 3 undefined undefined", Eval("describe('first', 2, 3)"));
    EXPECT_EQ("0 undefined undefined undefined undefined | 0 undefined undefined", Eval("describe()"));
}

TEST_F(ArgumentsTest, BuiltListGrowsReadsHolesAsUndefinedAndCopiesApart)
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
