// Property names of ScriptObject::set and the tryGet family: any text is a
// name, in any number, in every isolate, also after the engine detached.
#include <Bridge/Engine.h>
#include <Bridge/ScriptBridge.h>
#include <gtest/gtest.h>
#include <string>

#include "V8Test.h"
#include "V8TestEnvironment.h"

namespace {

class PropertyNameTest : public TestSupport::CV8Test {
protected:
    // Sets name to iValue on a new object, reads it back through tryGetNumber
    // and answers the script's view of the object as JSON.
    std::string SetAndRead(const std::string& strName, int iValue)
    {
        Bridge::ScriptObject object;
        object.set(strName, Bridge::ScriptObject(iValue));
        double dOut = -1;
        EXPECT_TRUE(object.tryGetNumber(strName, dOut)) << strName;
        EXPECT_EQ(iValue, dOut) << strName;
        SetGlobal("probe", object.getValue());
        return Eval("JSON.stringify(probe)");
    }
};

TEST_F(PropertyNameTest, AnyTextIsANameAndAnObjectTakesMany)
{
    CScope scope(*this);
    EXPECT_EQ("{\"return_ecode\":0}", SetAndRead("return_ecode", 0));
    EXPECT_EQ("{\"\":1}", SetAndRead("", 1));
    EXPECT_EQ("{\"7\":2}", SetAndRead("7", 2));
    EXPECT_EQ("{\"a\\u0000b\":3}", SetAndRead(std::string("a\0b", 3), 3));
    std::string strLong(100, 'n');
    EXPECT_EQ("{\"" + strLong + "\":4}", SetAndRead(strLong, 4));
    // Many names on one object.
    Bridge::ScriptObject object;
    for (int i = 0; i < 1000; ++i)
        object.set("name" + std::to_string(i), Bridge::ScriptObject(i));
    for (int i = 0; i < 1000; ++i) {
        double dOut = -1;
        ASSERT_TRUE(object.tryGetNumber("name" + std::to_string(i), dOut));
        ASSERT_EQ(i, dOut);
    }
    SetGlobal("probe", object.getValue());
    EXPECT_EQ("1000 999", Eval("Object.keys(probe).length + ' ' + probe.name999"));
}

TEST_F(PropertyNameTest, NamesWorkAgainAfterTheEngineReattaches)
{
    {
        CScope scope(*this);
        EXPECT_EQ("{\"again\":1}", SetAndRead("again", 1));
    }
    Bridge::Engine::Detach();
    {
        CScope scope(*this);
        Bridge::Engine::Attach(Isolate(), Context());
        EXPECT_EQ("{\"again\":2}", SetAndRead("again", 2));
    }
}

TEST_F(PropertyNameTest, EachIsolateHasItsOwnNames)
{
    v8::Isolate::CreateParams params;
    params.array_buffer_allocator = TestSupport::CV8TestEnvironment::Get().Allocator();
    for (int iRound = 0; iRound < 3; ++iRound) {
        // Another isolate, perhaps at the address of the last one, knows
        // other names first and then the same one, and goes away.
        v8::Isolate* pOther = v8::Isolate::New(params);
        {
            v8::Isolate::Scope isolateScope(pOther);
            v8::HandleScope handleScope(pOther);
            v8::Local<v8::Context> context = v8::Context::New(pOther);
            v8::Context::Scope contextScope(context);
            Bridge::ScriptObject object;
            for (int i = 0; i < 20; ++i)
                object.set("other" + std::to_string(i), Bridge::ScriptObject(i));
            object.set("shared", Bridge::ScriptObject(10 + iRound));
            double dOut = -1;
            EXPECT_TRUE(object.tryGetNumber("shared", dOut));
            EXPECT_EQ(10 + iRound, dOut);
            v8::Local<v8::Value> keys =
                object.getValue().As<v8::Object>()->GetOwnPropertyNames(context).ToLocalChecked();
            v8::Local<v8::String> json = v8::JSON::Stringify(context, keys).ToLocalChecked();
            std::string strExpected = "[";
            for (int i = 0; i < 20; ++i)
                strExpected += "\"other" + std::to_string(i) + "\",";
            EXPECT_EQ(strExpected + "\"shared\"]", *v8::String::Utf8Value(pOther, json));
        }
        pOther->Dispose();
        // The test's own isolate names it after the other one went.
        {
            CScope scope(*this);
            for (int i = 0; i < 5; ++i)
                SetAndRead("first" + std::to_string(i), i);
            EXPECT_EQ("{\"shared\":" + std::to_string(iRound) + "}", SetAndRead("shared", iRound));
        }
    }
}

}  // namespace
