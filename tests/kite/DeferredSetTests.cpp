// Properties set on a new ScriptObject before anyone saw its value: they
// reach the script object in order and with an assignment's effects, copies
// share the object, and a throwing assignment surfaces where the value is
// taken.
#include <Bridge/Engine.h>
#include <Bridge/ScriptBridge.h>
#include <gtest/gtest.h>

#include "Probe.h"
#include "V8Test.h"

namespace {

class DeferredSetTest : public TestSupport::CV8Test {
protected:
    void SetUp() override
    {
        CV8Test::SetUp();
        Bridge::Engine::InstallClass(&m_probe);
    }

    // The object as JSON, seen from the script.
    std::string Json(const Bridge::ScriptObject& object)
    {
        SetGlobal("seen", object.getValue());
        return Eval("JSON.stringify(seen)");
    }

    KiteTest::CProbeBridge m_probe;
};

TEST_F(DeferredSetTest, AssignmentsRunInOrderThroughObjectPrototype)
{
    CScope scope(*this);
    Run("var log = [];"
        "Object.defineProperty(Object.prototype, 'b', {configurable: true,"
        "  set(v) { log.push('b=' + v + ' a=' + this.a + ' c=' + this.c); }});"
        "Object.defineProperty(Object.prototype, 'ro', {value: 1, writable: false, configurable: true});"
        "var p = new Probe();");
    // Up to and beyond what one maker assigns, names of any kind.
    EXPECT_EQ("{\"a\":1,\"c\":3,\"d\":\"x\"}|b=2 a=1 c=undefined",
              Eval("var o = p.newObject('a', 1, 'b', 2, 'c', 3, 'ro', 4, 'd', 'x');"
                   "JSON.stringify(o) + '|' + log.join() + ('ro' in o && !o.hasOwnProperty('ro') ? '' : '!')"));
    EXPECT_EQ("{\"0\":0,\"1\":1,\"2\":2,\"3\":3,\"4\":4,\"5\":5,\"6\":6,\"7\":7,\"q\\\"\\\\\\n\u00e9\":8}",
              Eval("JSON.stringify(p.newObject(0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 'q\"\\\\\\n\u00e9', 8))"));
    EXPECT_EQ("true", Eval("p.newObject('a', 1) !== p.newObject('a', 1)"));
}

TEST_F(DeferredSetTest, AThrowingSetterEndsTheCallWithItsException)
{
    CScope scope(*this);
    Run("var marker = {};"
        "Object.defineProperty(Object.prototype, 'bad', {configurable: true, set(v) { throw marker; }});"
        "var p = new Probe();");
    EXPECT_EQ("true 1", Eval("var caught, calls = p.handlerCalls();"
                             "try { p.newObject('x', 1, 'bad', 2, 'y', 3); } catch (e) { caught = e; }"
                             "(caught === marker) + ' ' + (p.handlerCalls() - calls)"));
    EXPECT_EQ("{\"x\":1}", Eval("delete Object.prototype.bad; JSON.stringify(p.newObject('x', 1))"));
}

TEST_F(DeferredSetTest, CopiesShareOneObjectAndSeeLaterSets)
{
    Bridge::ScriptObject object;  // from the main loop: nothing entered
    object.set("a", Bridge::ScriptObject(1));
    Bridge::ScriptObject copy = object;
    copy.set("b", Bridge::ScriptObject(2));
    object.set("self", copy);
    CScope scope(*this);
    EXPECT_TRUE(object.getValue() == copy.getValue());
    SetGlobal("seen", object.getValue());
    EXPECT_EQ("a,b,self true", Eval("Object.keys(seen).join() + ' ' + (seen.self === seen)"));
    double dValue = 0;
    EXPECT_TRUE(copy.tryGetNumber("b", dValue));
    EXPECT_EQ(2, dValue);
}

TEST_F(DeferredSetTest, WithoutAContextNothingIsHeld)
{
    Bridge::Engine::Detach();
    Bridge::ScriptObject object;
    object.set("a", Bridge::ScriptObject(1));
    EXPECT_TRUE(object.isEmpty());
    CScope scope(*this);
    EXPECT_TRUE(object.getValue().IsEmpty());
    // Entered by hand, a context serves again.
    Bridge::ScriptObject entered;
    entered.set("a", Bridge::ScriptObject(1));
    EXPECT_EQ("{\"a\":1}", Json(entered));
}

}  // namespace
