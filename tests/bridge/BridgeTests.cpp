// The bridge library's C++ surface where no script shows it. Routing, stored
// values, delivery and object lifetime through kite: tests/bridge/kite_*.
#include <Bridge/Engine.h>
#include <Bridge/ScriptBridge.h>
#include <Bridge/Converter.h>
#include <glib.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "Probe.h"
#include "V8Test.h"
#include "V8TestEnvironment.h"

namespace {

using BridgeTest = TestSupport::CV8Test;

// A host that detaches while a script is inside a native call: the other
// natives go at once, the called one when its call returns, and the script
// goes on, without making new ones.
TEST_F(BridgeTest, DetachInsideACallDestroysThatNativeWhenTheCallReturns)
{
    KiteTest::CProbeBridge probe;
    Bridge::Engine::InstallClass(&probe);
    static int s_iDestroyedAtDetach;
    static std::size_t s_uLiveAtDetach;
    {
        CScope scope(*this);
        SetGlobal("detachNow", v8::Function::New(Context(), [](const v8::FunctionCallbackInfo<v8::Value>&) {
                                   Bridge::Engine::Detach();
                                   s_iDestroyedAtDetach = KiteTest::CProbe::s_iDestroyed;
                                   s_uLiveAtDetach = Bridge::Engine::LiveObjectCount();
                               }).ToLocalChecked());
    }
    const int iBefore = KiteTest::CProbe::s_iDestroyed;
    s_iDestroyedAtDetach = -1;
    EXPECT_EQ("after", Eval("globalThis.other = new Probe(); globalThis.called = new Probe();"
                            "called.onvalue = detachNow; called.invokeStored(); 'after'"));
    EXPECT_EQ(iBefore + 1, s_iDestroyedAtDetach) << "the Probe outside the call, at the detach";
    EXPECT_EQ(0u, s_uLiveAtDetach);
    EXPECT_FALSE(Bridge::Engine::DestroyObject(v8::Local<v8::Object>())) << "an empty handle names no object";
    EXPECT_EQ(iBefore + 2, KiteTest::CProbe::s_iDestroyed) << "the called Probe, once its call returned";
    EXPECT_EQ("Cannot call native method without object instance|"
              "Cannot call native method without object instance",
              Eval("[other, called].map(o => { try { o.argCount(); return 'called'; }"
                   " catch (e) { return e.message; } }).join('|')"))
        << "a detached object has no native to call";
    EXPECT_EQ("the bridge library is not attached to this isolate",
              Eval("try { new Probe(); 'made' } catch (e) { e.message }"));
}

// Without a host, natives that the collector takes are destroyed from the
// main loop, collection after collection.
TEST_F(BridgeTest, CollectedNativesAreDestroyedFromTheMainLoop)
{
    KiteTest::CProbeBridge probe;
    Bridge::Engine::InstallClass(&probe);
    for (int iRound = 0; iRound < 2; ++iRound) {
        Eval("new Probe(), new Probe(), 0");
        const int iDestroyed = KiteTest::CProbe::s_iDestroyed;
        Isolate()->LowMemoryNotification();
        EXPECT_EQ(KiteTest::CProbe::s_iDestroyed, iDestroyed) << "not inside the collector, round " << iRound;
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        EXPECT_EQ(KiteTest::CProbe::s_iDestroyed, iDestroyed + 2) << "round " << iRound;
    }
    Bridge::Engine::Detach();  // while the class is alive
}

// kite's bridges serve each isolate that the host attaches: one isolate after
// another in the process, each starting without the objects, classes, names
// and object makers of the one before, and every class working in each. A
// maker kept from the first isolate would make its objects there, or not at
// all.
TEST(IsolateTest, EachIsolateStartsCleanAndEveryClassWorksInIt)
{
    KiteTest::CProbeBridge probe;
    KiteTest::CForeignBridge foreign;
    const std::string strRefusal = "Cannot call native method without object instance";
    const struct {
        const char* pszName;
        int iProbes;  // made and left alive at the detach
    } aIsolates[] = {{"first isolate", 3}, {"second isolate", 1}};
    for (const auto& isolate : aIsolates) {
        std::string strAnswer;
        std::size_t uLiveBefore = 0, uLiveAfter = 0;
        const int iDestroyed = KiteTest::CProbe::s_iDestroyed;
        {
            TestSupport::CFreshIsolate fresh;
            v8::Isolate* pIsolate = fresh.Isolate();
            v8::Local<v8::Context> context = fresh.Context();
            uLiveBefore = Bridge::Engine::LiveObjectCount();
            Bridge::Engine::InstallClass(&probe);
            Bridge::Engine::InstallClass(&foreign);
            const std::string strScript =
                "const made = []; for (let i = 0; i < " + std::to_string(isolate.iProbes) +
                "; ++i) made.push(new Probe());"
                "const f = new Foreign(); globalThis.keep = [made, f];"
                "made[0].onvalue = (v) => 'heard ' + v;"
                "const refused = (g) => { try { g(); return 'accepted'; } catch (e) { return e.message; } };"
                "const own = (r) => Object.getPrototypeOf(r) === Object.prototype &&"
                " Object.keys(r).every((k) => Object.getOwnPropertyDescriptor(r, k).writable);"
                "const r = made[0].record('__proto__', 1, 'caf\\u00e9', 'x', 'k', null);"
                "const q = made[0].record('k', 2);"
                "[made[0].argCount(1, 2), f.marker(), made[0].invokeStored('x'),"
                " refused(() => Probe.prototype.argCount.call(f)),"
                " refused(() => Foreign.prototype.marker.call(made[0])),"
                " JSON.stringify(r), own(r), JSON.stringify(q), own(q)].join('|')";
            v8::Local<v8::Value> result =
                v8::Script::Compile(context, Bridge::StringToV8(strScript)).ToLocalChecked()->Run(context).ToLocalChecked();
            strAnswer = *v8::String::Utf8Value(pIsolate, result);
            uLiveAfter = Bridge::Engine::LiveObjectCount();
            Bridge::Engine::Detach();
        }
        EXPECT_EQ(0u, uLiveBefore) << isolate.pszName;
        EXPECT_EQ("2|7|heard x|" + strRefusal + "|" + strRefusal +
                      "|{\"__proto__\":1,\"caf\u00E9\":\"x\",\"k\":null}|true|{\"k\":2}|true",
                  strAnswer)
            << isolate.pszName;
        EXPECT_EQ(static_cast<std::size_t>(isolate.iProbes) + 1, uLiveAfter) << isolate.pszName;
        EXPECT_EQ(iDestroyed + isolate.iProbes, KiteTest::CProbe::s_iDestroyed) << isolate.pszName;
    }
}

// The router passes what() on (tests/bridge/kite_routing).
TEST(KiteExceptionTest, MsgGivesTheTextAndANullTextIsEmpty)
{
    KiteJsRuntimeException e("Cannot call native method without object instance");
    const KiteException& base = e;
    EXPECT_STREQ("Cannot call native method without object instance", base.msg());
    KiteJsRuntimeException fromNull(nullptr);
    EXPECT_STREQ("", fromNull.what());
    EXPECT_STREQ("", fromNull.msg());
}

// Texts cross whole, zero bytes and all; what V8 hands out as Latin-1 or
// UTF-16 reads as the same UTF-8, a lone surrogate as U+FFFD.
TEST_F(BridgeTest, TextsCrossIntoScriptsAndBackWhole)
{
    CScope scope(*this);
    const struct {
        const char* pszCase;
        std::string strText;      // UTF-8
        std::u16string strUtf16;  // as a script holds it
    } aCases[] = {
        {"empty", "", u""},
        {"ASCII with a zero byte", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"Latin-1", "caf\xC3\xA9", u"caf\u00E9"},
        {"beyond the first plane", "\xF0\x9F\x8E\xAC", u"\U0001F3AC"},
        {"a lone surrogate", "a\xEF\xBF\xBD", std::u16string(u"a") + char16_t(0xD83C)},
    };
    for (const auto& c : aCases) {
        const auto* pUtf16 = reinterpret_cast<const uint16_t*>(c.strUtf16.data());
        v8::Local<v8::String> fromUtf16 =
            v8::String::NewFromTwoByte(Isolate(), pUtf16, v8::NewStringType::kNormal,
                                       static_cast<int>(c.strUtf16.size()))
                .ToLocalChecked();
        EXPECT_EQ(c.strText, Bridge::TextOf(Isolate(), fromUtf16)) << c.pszCase;
        EXPECT_EQ(c.strText, Bridge::TextOfUtf16(pUtf16, c.strUtf16.size())) << c.pszCase;
        if (c.strText.find('\xEF') == std::string::npos) {
            EXPECT_TRUE(Bridge::NewText(Isolate(), c.strText)->StrictEquals(fromUtf16)) << c.pszCase;
        }
    }
    // ASCII's last character stays one byte, Latin-1's first takes two.
    const uint8_t aLatin1[] = {'c', 'a', 'f', 0xE9, 0x7F, 0x80};
    EXPECT_EQ("caf\xC3\xA9\x7F\xC2\x80", Bridge::TextOfLatin1(aLatin1, sizeof aLatin1));
    // A byte that starts no UTF-8 sequence is replaced, not read as Latin-1.
    const uint16_t aReplaced[] = {0xFFFD};
    EXPECT_TRUE(Bridge::NewText(Isolate(), std::string("\x80"))
                    ->StrictEquals(v8::String::NewFromTwoByte(Isolate(), aReplaced, v8::NewStringType::kNormal, 1)
                                       .ToLocalChecked()));
}

// Sets name i to i on a new object through the bridge and reads each back as
// the bridge and as a script do; needs an entered context.
void CheckNames(const std::vector<std::string>& aNames, const char* pszWhere)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    Bridge::ScriptObject object;
    for (std::size_t i = 0; i < aNames.size(); ++i)
        object.set(aNames[i], Bridge::ScriptObject(static_cast<int>(i)));
    for (std::size_t i = 0; i < aNames.size(); ++i) {
        double dOut = -1;
        v8::Local<v8::Value> value = object.getValue()
                                         .As<v8::Object>()
                                         ->Get(pIsolate->GetCurrentContext(), Bridge::StringToV8(aNames[i]))
                                         .ToLocalChecked();
        EXPECT_TRUE(object.tryGetNumber(aNames[i], dOut) && dOut == i && value->IsNumber() &&
                    value.As<v8::Number>()->Value() == i)
            << pszWhere << ": " << aNames[i];
    }
}

TEST_F(BridgeTest, AnyTextIsAPropertyNameInEveryIsolateAndAfterAReattach)
{
    // Names the bridge keeps at hand and more than it keeps: empty, with a
    // zero byte, long, and many.
    std::vector<std::string> aNames = {"", "7", std::string("a\0b", 3), std::string(100, 'n')};
    for (int i = 0; i < 300; ++i)
        aNames.push_back("name" + std::to_string(i));
    auto pOtherHolder = std::make_unique<Bridge::IsolateHolder>(TestSupport::CV8TestEnvironment::Get().Runtime());
    v8::Isolate* pOther = pOtherHolder->Isolate();
    {
        v8::Isolate::Scope isolateScope(pOther);
        v8::HandleScope handleScope(pOther);
        v8::Context::Scope contextScope(v8::Context::New(pOther));
        CheckNames(aNames, "another isolate");
    }
    {
        CScope scope(*this);
        CheckNames(aNames, "the test's isolate, beside the other");
    }
    pOtherHolder.reset();
    Bridge::Engine::Detach();
    CScope scope(*this);
    Bridge::Engine::Attach(Isolate(), Context());
    CheckNames(aNames, "re-attached");

    // A missing property, one of another type, or a value that is no object
    // answers false and leaves the output alone.
    Bridge::ScriptObject object;
    object.set("text", Bridge::ScriptObject(std::string("5")));
    const Bridge::ScriptObject number(5);
    double dOut = 7;
    std::string strOut = "kept";
    bool bOut = true;
    EXPECT_FALSE(object.tryGetNumber("text", dOut) || object.tryGetNumber("absent", dOut) ||
                 object.tryGetString("absent", strOut) || object.tryGetBool("text", bOut) ||
                 number.tryGetNumber("text", dOut) || number.tryGetString("text", strOut) ||
                 number.tryGetBool("text", bOut));
    EXPECT_EQ(std::make_tuple(7.0, std::string("kept"), true), std::make_tuple(dOut, strOut, bOut));
    EXPECT_TRUE(object.tryGetString("text", strOut) && strOut == "5");
}

// A new object's first properties wait until the object is needed; copies,
// moves and later properties must still all reach one object, defined in
// order whatever the names. Each case starts with another name than the case
// before, whose object's block the next object may reuse.
TEST_F(BridgeTest, ANewObjectIsOneObjectWithItsPropertiesInOrder)
{
    CScope scope(*this);
    const struct {
        const char* pszCase;
        const char* pszFirstName;
        std::size_t uSetBefore;  // properties set before the copy
        bool bMove;
        const char* pszSeen;  // keys | values | the plain prototype
    } aCases[] = {
        {"copied empty", "__proto__", 0, false, "7,__proto__,caf\u00E9,4th|1,0,2,3|true"},
        {"copied with one", "one", 1, false, "7,one,caf\u00E9,4th|1,0,2,3|true"},
        {"copied with all", "__proto__", 4, false, "7,__proto__,caf\u00E9,4th|1,0,2,3|true"},
        {"moved with two", "two", 2, true, "7,two,caf\u00E9,4th|1,0,2,3|true"},
    };
    for (const auto& c : aCases) {
        const std::vector<std::string> aNames = {c.pszFirstName, "7", "caf\xC3\xA9", "4th"};
        Bridge::ScriptObject object;
        for (std::size_t i = 0; i < c.uSetBefore; ++i)
            object.set(aNames[i], Bridge::ScriptObject(static_cast<int>(i)));
        Bridge::ScriptObject other = c.bMove ? std::move(object) : object;
        for (std::size_t i = c.uSetBefore; i < aNames.size(); ++i)
            other.set(aNames[i], Bridge::ScriptObject(static_cast<int>(i)));
        SetGlobal("o", other.getValue());
        if (!c.bMove) {
            EXPECT_TRUE(object.getValue() == other.getValue()) << c.pszCase << ": one object";
        }
        std::string strSeen =
            Eval("Object.keys(o) + '|' + Object.values(o) + '|' + (Object.getPrototypeOf(o) === Object.prototype)");
        EXPECT_EQ(c.pszSeen, strSeen) << c.pszCase;
    }
}

// A value copied over an object still being built replaces it whole, and
// the object's block goes back to the isolate.
TEST_F(BridgeTest, AnyValueCopiedOverANewObjectReplacesIt)
{
    CScope scope(*this);
    Bridge::ScriptArray list;
    list.set(0, Bridge::ScriptObject(1));
    list.set(1, Bridge::ScriptObject(std::string("b")));
    Bridge::ScriptObject built;
    built.set("x", Bridge::ScriptObject(3));
    const struct {
        const char* pszCase;
        Bridge::ScriptObject value;
        const char* pszSeen;  // JSON.stringify of the copy
    } aCases[] = {
        {"a fraction", Bridge::ScriptObject::Number(2.5), "2.5"},
        {"an integer", Bridge::ScriptObject(7), "7"},
        {"a text", Bridge::ScriptObject(std::string("seven")), "\"seven\""},
        {"false", Bridge::ScriptObject::Boolean(false), "false"},
        {"null", Bridge::ScriptObject::Null(), "null"},
        {"a list", list, "[1,\"b\"]"},
        {"another new object", built, "{\"x\":3}"},
    };
    for (const auto& c : aCases) {
        Bridge::ScriptObject object;
        object.set("gone", Bridge::ScriptObject(1));
        object = c.value;
        SetGlobal("o", object.getValue());
        EXPECT_EQ(c.pszSeen, Eval("JSON.stringify(o)")) << c.pszCase;
    }
}

// A value copied over one that held a script object lets go of it: the
// collector takes the object while the holder lives on.
TEST_F(BridgeTest, AValueCopiedOverAHeldObjectLetsTheCollectorTakeIt)
{
    KiteTest::CProbeBridge probe;
    Bridge::Engine::InstallClass(&probe);
    Bridge::ScriptArray list;
    list.set(0, Bridge::ScriptObject(1));
    const struct {
        const char* pszCase;
        Bridge::ScriptObject value;
    } aCases[] = {
        {"an integer", Bridge::ScriptObject(7)},
        {"a text", Bridge::ScriptObject(std::string("seven"))},
        {"a list", list},
        {"a new object", Bridge::ScriptObject()},
    };
    for (const auto& c : aCases) {
        Bridge::ScriptObject held;
        {
            CScope scope(*this);
            held = Bridge::ScriptObject(Run("new Probe()"));
            held = c.value;
        }
        const int iDestroyed = KiteTest::CProbe::s_iDestroyed;
        Isolate()->LowMemoryNotification();
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        EXPECT_EQ(iDestroyed + 1, KiteTest::CProbe::s_iDestroyed) << c.pszCase;
    }
    Bridge::Engine::Detach();  // while the class is alive
}

// relay(f, ...): calls f twice with relay's own arguments, as a list over
// the call: once assigned to another and moved on to a third while still over
// the call, which then grows by "end" (copying the call's arguments first);
// once as a copy whose first element becomes "first".
void Relay(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    Bridge::V8Arguments<v8::Value> arguments(info);
    Bridge::ScriptArray list(&arguments);
    Bridge::ScriptArray copy;
    copy = list;
    Bridge::ScriptArray moved;
    moved = std::move(copy);
    moved.set(moved.Length(), Bridge::ScriptObject(std::string("end")));
    Bridge::ScriptFunction(info[0].As<v8::Function>()).invoke(moved);
    Bridge::ScriptArray first;
    first = list;
    first.set(0, Bridge::ScriptObject(std::string("first")));
    Bridge::ScriptFunction(info[0].As<v8::Function>()).invoke(first);
}

// From the main loop (no handle scope, no context entered) and from a call;
// lists with holes and longer than an event's.
TEST_F(BridgeTest, InvokePassesEveryElementOfAListAndAnswersTheResult)
{
    Bridge::ScriptFunction function;
    Bridge::ScriptArray args;
    {
        CScope scope(*this);
        SetGlobal("relay", v8::FunctionTemplate::New(Isolate(), Relay)->GetFunction(Context()).ToLocalChecked());
        function = Bridge::ScriptFunction(
            Run("globalThis.seen = []; globalThis.f = function (...a) {"
                "  seen.push(a.map((v) => (typeof v === 'function' ? 'f' : String(v))).join());"
                "  return typeof a[0]; }")
                .As<v8::Function>());
        args.set(6, Bridge::ScriptObject(6));
        args.set(0, Bridge::ScriptObject(std::string("zero")));
    }
    ASSERT_FALSE(Isolate()->InContext());
    function.invoke(args);
    function.invoke(Bridge::ScriptArray());
    Bridge::ScriptArray assigned;
    assigned = args;
    function.invoke(assigned);
    {
        CScope scope(*this);
        EXPECT_EQ("string", function.invoke(args).asString());
    }
    const std::string strSeven = "zero,undefined,undefined,undefined,undefined,undefined,6";
    EXPECT_EQ(strSeven + "||" + strSeven + "|" + strSeven +
                  "|f,1,undefined,x,4,5,end|first,1,undefined,x,4,5|f,end|first",
              Eval("relay(f, 1, undefined, 'x', 4, 5); relay(f); seen.join('|')"));
}

// Whether a slot calls anything is known from what was stored, through
// copies and assignments. What invoke passes: the script tests' event texts.
TEST_F(BridgeTest, AFunctionSlotKnowsWhetherItCalls)
{
    const struct {
        const char* pszValue;
        bool bFunction;
    } aCases[] = {
        {"() => 7", true},
        {"5", false},
        {"({ call() {} })", false},
        {"null", false},
        {"undefined", false},
    };
    CScope scope(*this);
    EXPECT_FALSE(Bridge::ScriptFunction().isFunction()) << "an empty slot";
    for (const auto& c : aCases) {
        Bridge::ScriptFunction stored(Run(c.pszValue).As<v8::Function>());
        Bridge::ScriptFunction copied(stored);
        Bridge::ScriptFunction assigned;
        assigned = copied;
        EXPECT_EQ(c.bFunction, stored.isFunction()) << c.pszValue;
        EXPECT_EQ(c.bFunction, assigned.isFunction()) << c.pszValue << ", copied and assigned";
    }
}

// An argument over V8's string limit calls nothing: the call fails with a
// RangeError that goes to the uncaught report, as a throwing callback's does.
TEST_F(BridgeTest, AnArgumentOverTheStringLimitIsTheCallsRangeError)
{
    static std::vector<std::string> s_aReported;
    s_aReported.clear();
    Bridge::Engine::SetUncaughtHandler([](v8::Isolate* pIsolate, v8::Local<v8::Value> exception, v8::Local<v8::Message>) {
        s_aReported.push_back(Bridge::TextOf(pIsolate, exception->ToString(pIsolate->GetCurrentContext()).ToLocalChecked()));
    });
    const std::string strLong(static_cast<std::size_t>(Bridge::Compat::kMaxStringLength) + 1, 'a');
    Bridge::ScriptArray list;
    list.set(1, Bridge::ScriptObject(strLong));
    Bridge::ScriptFunction function;
    {
        CScope scope(*this);
        function = Bridge::ScriptFunction(Run("globalThis.calls = 0; (function () { ++calls; })").As<v8::Function>());
    }
    const std::string strError = "RangeError: Invalid string length: a text over the script engine's limit of " +
                                 std::to_string(Bridge::Compat::kMaxStringLength) + " characters";
    const struct {
        const char* pszCase;
        std::function<Bridge::ScriptObject()> call;
    } aCases[] = {
        {"one text", [&] { return function.invoke(strLong); }},
        {"a list with one", [&] { return function.invoke(list); }},
    };
    for (const auto& c : aCases) {
        s_aReported.clear();
        CScope scope(*this);
        EXPECT_EQ("null", c.call().asString()) << c.pszCase;
        EXPECT_EQ(std::vector<std::string>{strError}, s_aReported) << c.pszCase;
    }
    EXPECT_EQ("0", Eval("String(calls)"));
    Bridge::Engine::SetUncaughtHandler(nullptr);
}

// Without a host's handler, what a called function throws is one line on
// stderr; a value that cannot be made text is named, not lost.
TEST_F(BridgeTest, WithoutAHandlerWhatACallThrowsIsALineOnStderr)
{
    const struct {
        const char* pszThrown;
        const char* pszLine;
    } aCases[] = {
        {"new Error('x')", "Uncaught Error: x\n"},
        {"{ toString() { throw 1; } }", "Uncaught (unknown)\n"},
    };
    for (const auto& c : aCases) {
        CScope scope(*this);
        const Bridge::ScriptFunction function(
            Run(std::string("(function () { throw ") + c.pszThrown + "; })").As<v8::Function>());
        testing::internal::CaptureStderr();
        function.invoke(Bridge::ScriptArray());
        EXPECT_EQ(c.pszLine, testing::internal::GetCapturedStderr()) << c.pszThrown;
    }
}

}  // namespace
