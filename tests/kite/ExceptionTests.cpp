// The bridge layer's exceptions. Strings with zero bytes cross the bridge in
// tests/scripts/hostile_values.
#include <Bridge/ScriptBridge.h>
#include <gtest/gtest.h>

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

}  // namespace
