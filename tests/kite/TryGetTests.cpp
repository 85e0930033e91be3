// tryGetString / tryGetNumber / tryGetBool: true only for an object whose
// property has the asked type; otherwise the output keeps its preset value.
#include <Bridge/ScriptBridge.h>
#include <gtest/gtest.h>

#include "V8Test.h"

namespace {

class TryGetTest : public TestSupport::CV8Test {
protected:
    Bridge::ScriptObject Value(const std::string& strSource) { return Bridge::ScriptObject(Run(strSource)); }

    // Each lookup must answer false and leave its output alone.
    void ExpectAllRefused(const Bridge::ScriptObject& object, const std::string& strName)
    {
        std::string strOut = "preset";
        double dOut = -7.5;
        bool bOut = true;
        EXPECT_FALSE(object.tryGetString(strName, strOut)) << strName;
        EXPECT_FALSE(object.tryGetNumber(strName, dOut)) << strName;
        EXPECT_FALSE(object.tryGetBool(strName, bOut)) << strName;
        EXPECT_EQ("preset", strOut);
        EXPECT_EQ(-7.5, dOut);
        EXPECT_TRUE(bOut);
    }
};

TEST_F(TryGetTest, ReadsPropertiesOfTheirOwnType)
{
    CScope scope(*this);
    Bridge::ScriptObject object = Value("({ s: 'text', n: 5000, b: false, z: '' })");
    std::string strOut = "preset";
    double dOut = 0;
    bool bOut = true;
    EXPECT_TRUE(object.tryGetString("s", strOut));
    EXPECT_EQ("text", strOut);
    EXPECT_TRUE(object.tryGetString("z", strOut));
    EXPECT_EQ("", strOut);
    EXPECT_TRUE(object.tryGetNumber("n", dOut));
    EXPECT_EQ(5000.0, dOut);
    EXPECT_TRUE(object.tryGetBool("b", bOut));
    EXPECT_FALSE(bOut);
}

TEST_F(TryGetTest, RefusesValuesThatAreNotObjects)
{
    CScope scope(*this);
    for (const char* pszSource : {"5", "'s'", "true", "null", "undefined", "Symbol('s')"})
        ExpectAllRefused(Value(pszSource), "length");
    ExpectAllRefused(Bridge::ScriptObject(v8::Local<v8::Value>()), "x");
    ExpectAllRefused(Bridge::ScriptObject::Null(), "x");
    ExpectAllRefused(Bridge::ScriptObject(std::string("a string has a length")), "length");
}

TEST_F(TryGetTest, RefusesMissingProperties)
{
    CScope scope(*this);
    ExpectAllRefused(Value("({ other: 1 })"), "param_seek_to");
    ExpectAllRefused(Bridge::ScriptObject(), "anything");
}

TEST_F(TryGetTest, RefusesPropertiesOfAnotherType)
{
    CScope scope(*this);
    Bridge::ScriptObject object =
        Value("({ s: 'text', n: 1, b: true, o: {}, u: undefined, nul: null, big: 5n, boxed: new Number(3) })");
    std::string strOut = "preset";
    double dOut = -1;
    bool bOut = false;
    EXPECT_FALSE(object.tryGetString("n", strOut));
    EXPECT_FALSE(object.tryGetString("o", strOut));
    EXPECT_FALSE(object.tryGetNumber("s", dOut));
    EXPECT_FALSE(object.tryGetNumber("big", dOut));
    EXPECT_FALSE(object.tryGetNumber("boxed", dOut));
    EXPECT_FALSE(object.tryGetBool("n", bOut));
    EXPECT_FALSE(object.tryGetBool("s", bOut));
    EXPECT_EQ("preset", strOut);
    EXPECT_EQ(-1, dOut);
    EXPECT_FALSE(bOut);
    ExpectAllRefused(object, "u");
    ExpectAllRefused(object, "nul");
}

TEST_F(TryGetTest, WorksOnArraysAndFunctionsAndInheritedProperties)
{
    CScope scope(*this);
    double dOut = 0;
    EXPECT_TRUE(Value("[1, 2, 3]").tryGetNumber("length", dOut));
    EXPECT_EQ(3.0, dOut);
    std::string strOut;
    EXPECT_TRUE(Value("Object.create({ inherited: 'yes' })").tryGetString("inherited", strOut));
    EXPECT_EQ("yes", strOut);
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
