// The bridge layer's exceptions.
#include <Bridge/ScriptBridge.h>
#include <gtest/gtest.h>

namespace {

// The router passes what() on (tests/scripts/kite_routing); msg() gives the
// same text, and a null text an empty one.
TEST(KiteExceptionTest, MsgGivesTheTextAndANullTextIsEmpty)
{
    KiteJsRuntimeException e("Cannot call native method without object instance");
    const KiteException& base = e;
    EXPECT_STREQ("Cannot call native method without object instance", base.msg());
    KiteJsRuntimeException fromNull(nullptr);
    EXPECT_STREQ("", fromNull.what());
    EXPECT_STREQ("", fromNull.msg());
}

}  // namespace
