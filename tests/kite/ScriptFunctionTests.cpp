// ScriptFunction::invoke from the main loop, outside any V8 callback: no
// handle scope, no entered context.
#include <Bridge/ScriptBridge.h>
#include <glib.h>
#include <gtest/gtest.h>

#include "V8Test.h"

namespace {

class ScriptFunctionTest : public TestSupport::CV8Test {
protected:
    // Runs the call from a GLib idle callback, as a plug-in's event would.
    void InvokeFromMainLoop(const Bridge::ScriptFunction& function, const Bridge::ScriptArray& args)
    {
        struct CCall {
            const Bridge::ScriptFunction& m_function;
            const Bridge::ScriptArray& m_args;
            bool m_bDone = false;
            bool m_bThrew = false;
            bool m_bHadContext = true;
        } call{function, args};
        g_idle_add_full(
            150,
            [](gpointer pData) -> gboolean {
                CCall* pCall = static_cast<CCall*>(pData);
                pCall->m_bHadContext = v8::Isolate::GetCurrent()->InContext();
                try {
                    pCall->m_function.invoke(pCall->m_args);
                } catch (...) {
                    pCall->m_bThrew = true;
                }
                pCall->m_bDone = true;
                return G_SOURCE_REMOVE;
            },
            &call, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return call.m_bDone; }));
        EXPECT_FALSE(call.m_bHadContext);
        EXPECT_FALSE(call.m_bThrew);
    }

    Bridge::ScriptFunction Function(const std::string& strSource)
    {
        CScope scope(*this);
        return Bridge::ScriptFunction(Run(strSource).As<v8::Function>());
    }
};

TEST_F(ScriptFunctionTest, WhatTheFunctionThrowsIsReportedNotThrown)
{
    InvokeFromMainLoop(Function("(function () { throw new Error('boom'); })"), Bridge::ScriptArray());
    InvokeFromMainLoop(Function("(function () { throw 'plain'; })"), Bridge::ScriptArray());
    EXPECT_EQ((std::vector<std::string>{"Uncaught Error: boom", "Uncaught plain"}), TakeUncaught());
}

TEST_F(ScriptFunctionTest, PassesTheListAsArgumentsThroughEveryCopy)
{
    Bridge::ScriptFunction function =
        Function("globalThis.seen = []; (function () { seen.push(arguments.length, ...arguments); })");
    Bridge::ScriptArray args;
    {
        CScope scope(*this);
        args.set(0, Bridge::ScriptObject(std::string("42")));
        args.set(1, Bridge::ScriptObject(7));
    }
    Bridge::ScriptFunction copy(function);
    Bridge::ScriptFunction assigned;
    assigned = copy;
    InvokeFromMainLoop(function, args);
    InvokeFromMainLoop(assigned, Bridge::ScriptArray());
    EXPECT_EQ("2,42,7,0", Eval("seen.join()"));
    EXPECT_EQ("string", Eval("typeof seen[1]"));
    EXPECT_TRUE(TakeUncaught().empty());
}

TEST_F(ScriptFunctionTest, AnswersTheFunctionsResult)
{
    Bridge::ScriptFunction function = Function("(function (a) { return a + '!'; })");
    CScope scope(*this);
    Bridge::ScriptArray args;
    args.set(0, Bridge::ScriptObject(std::string("hi")));
    EXPECT_EQ("hi!", function.invoke(args).asString());
}

TEST_F(ScriptFunctionTest, NonFunctionValuesAreNotCalled)
{
    CScope scope(*this);
    for (const char* pszSource : {"5", "'text'", "({})", "null", "undefined"}) {
        Bridge::ScriptFunction held(Run(pszSource).As<v8::Function>());
        EXPECT_TRUE(held.invoke(Bridge::ScriptArray()).getValue()->IsNull()) << pszSource;
    }
    Bridge::ScriptFunction unset;
    EXPECT_TRUE(unset.getValue()->IsNull());
    EXPECT_TRUE(unset.invoke(Bridge::ScriptArray()).getValue()->IsNull());
    EXPECT_TRUE(TakeUncaught().empty());
}

}  // namespace
