// ScriptFunction::invoke from the main loop, outside any V8 callback: no
// handle scope, no entered context. What a function throws, and values that
// are no functions, are tested through kite (tests/scripts/runs/
// throwing_callback.js, events.test.js, kite_routing.test.js).
#include <Bridge/ScriptBridge.h>
#include <gtest/gtest.h>

#include "V8Test.h"

namespace {

class ScriptFunctionTest : public TestSupport::CV8Test {
protected:
    // The state in which the host's main loop calls functions.
    void InvokeFromMainLoop(const Bridge::ScriptFunction& function, const Bridge::ScriptArray& args)
    {
        ASSERT_FALSE(Isolate()->InContext());
        EXPECT_NO_THROW(function.invoke(args));
    }

    Bridge::ScriptFunction Function(const std::string& strSource)
    {
        CScope scope(*this);
        return Bridge::ScriptFunction(Run(strSource).As<v8::Function>());
    }
};

// Copies of functions and lists, holes read as undefined, the result.
TEST_F(ScriptFunctionTest, PassesTheListThroughEveryCopyAndAnswersTheResult)
{
    Bridge::ScriptFunction function = Function(
        "globalThis.seen = [];"
        "(function () { seen.push(Array.from(arguments, (a) => (a === undefined ? 'u' : a)).join());"
        "  return typeof arguments[0] + '!'; })");
    Bridge::ScriptArray args;
    {
        CScope scope(*this);
        EXPECT_EQ(0, args.Length());
        args.set(6, Bridge::ScriptObject(6));
        args.set(0, Bridge::ScriptObject(std::string("zero")));
        EXPECT_EQ(7, args.Length());
        EXPECT_TRUE(args.get(1).getValue()->IsUndefined());
        EXPECT_TRUE(args.get(7).getValue()->IsUndefined());
    }
    Bridge::ScriptArray copy(args);
    Bridge::ScriptArray moved(std::move(copy));
    Bridge::ScriptArray assigned;
    assigned = std::move(moved);
    {
        CScope scope(*this);
        args.set(6, Bridge::ScriptObject(8));  // the copy stays apart
    }
    Bridge::ScriptFunction copied(function);
    Bridge::ScriptFunction reassigned;
    reassigned = copied;
    InvokeFromMainLoop(function, args);
    InvokeFromMainLoop(reassigned, assigned);
    InvokeFromMainLoop(copied, Bridge::ScriptArray());
    EXPECT_EQ("zero,u,u,u,u,u,8|zero,u,u,u,u,u,6|", Eval("seen.join('|')"));
    CScope scope(*this);
    EXPECT_EQ("string!", function.invoke(args).asString());
}

namespace {
// Calls its first argument with all of its arguments, as a list over the call.
void Relay(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    Bridge::V8Arguments<v8::Value> arguments(info);
    Bridge::ScriptFunction(info[0].As<v8::Function>()).invoke(Bridge::ScriptArray(&arguments));
}
}  // namespace

TEST_F(ScriptFunctionTest, ListsOverACallPassTheCallsArguments)
{
    CScope scope(*this);
    SetGlobal("relay", v8::FunctionTemplate::New(Isolate(), Relay)->GetFunction(Context()).ToLocalChecked());
    EXPECT_EQ("6,1,2,,4,5|2,1", Eval("var got = [];"
                                     "function f(...a) { got.push([a.length, ...a.slice(1)].join()); }"
                                     "relay(f, 1, 2, undefined, 4, 5); relay(f, 1); got.join('|')"));
}

}  // namespace
