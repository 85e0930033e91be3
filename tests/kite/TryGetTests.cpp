// tryGetString / tryGetNumber / tryGetBool: true only for an object whose
// property has the asked type; otherwise the output keeps its preset value.
#include <Bridge/ScriptBridge.h>
#include <gtest/gtest.h>

#include <sstream>

#include "V8Test.h"

namespace {

class TryGetTest : public TestSupport::CV8Test {
protected:
    Bridge::ScriptObject Value(const std::string& strSource) { return Bridge::ScriptObject(Run(strSource)); }

    // What each of the three lookups that accept the property read.
    static std::string Lookups(const Bridge::ScriptObject& object, const std::string& strName)
    {
        std::string strOut = "preset";
        double dOut = -7.5;
        bool bOut = true;
        std::ostringstream seen;
        if (object.tryGetString(strName, strOut))
            seen << "string " << strOut << ";";
        if (object.tryGetNumber(strName, dOut))
            seen << "number " << dOut << ";";
        if (object.tryGetBool(strName, bOut))
            seen << "bool " << bOut << ";";
        const std::string strSeen = seen.str();
        EXPECT_TRUE(strSeen.find("string") != std::string::npos || strOut == "preset") << strName;
        EXPECT_TRUE(strSeen.find("number") != std::string::npos || dOut == -7.5) << strName;
        EXPECT_TRUE(strSeen.find("bool") != std::string::npos || bOut) << strName;
        return strSeen;
    }
};

TEST_F(TryGetTest, EachReadsOnlyPropertiesOfItsOwnType)
{
    CScope scope(*this);
    Bridge::ScriptObject object = Value(
        "({ s: 'text', z: '', n: 5000, b: false, o: {}, u: undefined, nul: null, big: 5n, boxed: new Number(3) })");
    EXPECT_EQ("string text;", Lookups(object, "s"));
    EXPECT_EQ("string ;", Lookups(object, "z"));
    EXPECT_EQ("number 5000;", Lookups(object, "n"));
    EXPECT_EQ("bool 0;", Lookups(object, "b"));
    for (const char* pszName : {"o", "u", "nul", "big", "boxed", "missing"})
        EXPECT_EQ("", Lookups(object, pszName)) << pszName;
    EXPECT_EQ("number 3;", Lookups(Value("[1, 2, 3]"), "length"));
    EXPECT_EQ("string yes;", Lookups(Value("Object.create({ inherited: 'yes' })"), "inherited"));
}

TEST_F(TryGetTest, ValuesThatAreNotObjectsHaveNoProperties)
{
    CScope scope(*this);
    for (const char* pszSource : {"5", "'s'", "true", "null", "undefined", "Symbol('s')"})
        EXPECT_EQ("", Lookups(Value(pszSource), "length")) << pszSource;
    EXPECT_EQ("", Lookups(Bridge::ScriptObject(v8::Local<v8::Value>()), "x"));
    EXPECT_EQ("", Lookups(Bridge::ScriptObject::Null(), "x"));
    EXPECT_EQ("", Lookups(Bridge::ScriptObject(std::string("a string has a length")), "length"));
}

TEST_F(TryGetTest, ThrowingGetterLeavesTheExceptionPending)
{
    CScope scope(*this);
    Bridge::ScriptObject object = Value("({ get bad() { throw new Error('getter'); } })");
    v8::TryCatch tryCatch(Isolate());
    std::string strOut = "preset";
    EXPECT_THROW(object.tryGetString("bad", strOut), Bridge::ScriptExceptionPending);
    EXPECT_TRUE(tryCatch.HasCaught());
    EXPECT_EQ("preset", strOut);
}

}  // namespace
