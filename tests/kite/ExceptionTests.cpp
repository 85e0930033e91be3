// The bridge layer's exceptions and its strings.
#include <Bridge/ScriptBridge.h>
#include <gtest/gtest.h>

#include "V8Test.h"

namespace {

TEST(KiteExceptionTest, RuntimeExceptionGivesItsTextThroughEveryBase)
{
    KiteJsRuntimeException e("Cannot call native method without object instance");
    const KiteException& base = e;
    const std::exception& standard = e;
    EXPECT_STREQ("Cannot call native method without object instance", e.what());
    EXPECT_STREQ(e.what(), base.msg());
    EXPECT_STREQ(e.what(), standard.what());
    KiteJsRuntimeException fromNull(nullptr);
    EXPECT_STREQ("", fromNull.what());
    EXPECT_STREQ("", fromNull.msg());
}

class StringToV8Test : public TestSupport::CV8Test {};

TEST_F(StringToV8Test, StringsKeepUtf8AndZeroBytesBothWays)
{
    CScope scope(*this);
    SetGlobal("t", Bridge::StringToV8(std::string("a\0b\xc3\xa9", 5)));
    SetGlobal("s", Bridge::ScriptObject(std::string("x\0y", 3)).getValue());
    EXPECT_EQ("97,0,98,233", Eval("Array.from(t, (c) => c.charCodeAt(0)).join()"));
    EXPECT_EQ("120,0,121", Eval("Array.from(s, (c) => c.charCodeAt(0)).join()"));
    EXPECT_EQ(std::string("z\0\xc3\xa9", 4), Bridge::ScriptObject(Run("'z\\0\\u00e9'")).asString());
}

}  // namespace
