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
            const Bridge::ScriptFunction* m_pFunction;
            const Bridge::ScriptArray* m_pArgs;
            bool m_bDone;
            bool m_bThrew;
            bool m_bHadContext;
        } call{&function, &args, false, false, true};
        g_idle_add_full(
            150,
            [](gpointer pData) -> gboolean {
                CCall* pCall = static_cast<CCall*>(pData);
                pCall->m_bHadContext = v8::Isolate::GetCurrent()->InContext();
                try {
                    pCall->m_pFunction->invoke(*pCall->m_pArgs);
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

TEST_F(ScriptFunctionTest, ThrowingFunctionIsReportedAndDoesNotThrow)
{
    Bridge::ScriptFunction function = Function("(function () { throw new Error('boom'); })");
    InvokeFromMainLoop(function, Bridge::ScriptArray());
    std::vector<std::string> aUncaught = TakeUncaught();
    ASSERT_EQ(1u, aUncaught.size());
    EXPECT_EQ("Uncaught Error: boom", aUncaught[0]);
}

TEST_F(ScriptFunctionTest, ThrownNonErrorValueIsReported)
{
    Bridge::ScriptFunction function = Function("(function () { throw 'plain'; })");
    InvokeFromMainLoop(function, Bridge::ScriptArray());
    EXPECT_EQ(std::vector<std::string>{"Uncaught plain"}, TakeUncaught());
}

TEST_F(ScriptFunctionTest, PassesTheListAsArguments)
{
    Bridge::ScriptFunction function =
        Function("globalThis.seen = []; (function () { seen.push(arguments.length, ...arguments); })");
    Bridge::ScriptArray args;
    {
        CScope scope(*this);
        args.set(0, Bridge::ScriptObject(std::string("42")));
        args.set(1, Bridge::ScriptObject(7));
    }
    InvokeFromMainLoop(function, args);
    InvokeFromMainLoop(function, Bridge::ScriptArray());
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
        Bridge::ScriptObject result = held.invoke(Bridge::ScriptArray());
        EXPECT_TRUE(result.getValue()->IsNull()) << pszSource;
    }
    Bridge::ScriptFunction unset;
    EXPECT_TRUE(unset.getValue()->IsNull());
    EXPECT_TRUE(unset.invoke(Bridge::ScriptArray()).getValue()->IsNull());
    EXPECT_TRUE(TakeUncaught().empty());
}

TEST_F(ScriptFunctionTest, CopiesReferToTheSameFunction)
{
    Bridge::ScriptFunction first = Function("globalThis.count = 0; (function () { ++count; })");
    Bridge::ScriptFunction second(first);
    Bridge::ScriptFunction third;
    third = second;
    InvokeFromMainLoop(first, Bridge::ScriptArray());
    InvokeFromMainLoop(third, Bridge::ScriptArray());
    EXPECT_EQ("2", Eval("count"));
}

}  // namespace
