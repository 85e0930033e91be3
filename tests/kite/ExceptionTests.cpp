// The bridge layer's exceptions and StringToV8.
#include <Bridge/ScriptBridge.h>
#include <cstring>
#include <gtest/gtest.h>

#include "V8Test.h"

namespace {

TEST(KiteExceptionTest, RuntimeExceptionFromNullHasEmptyMessage)
{
    KiteJsRuntimeException e(nullptr);
    EXPECT_STREQ("", e.what());
    EXPECT_STREQ("", e.msg());
}

TEST(KiteExceptionTest, WhatAndMsgGiveTheSameText)
{
    KiteJsRuntimeException e("Cannot call native method without object instance");
    EXPECT_STREQ("Cannot call native method without object instance", e.what());
    EXPECT_STREQ(e.what(), e.msg());
}

TEST(KiteExceptionTest, RuntimeExceptionIsCaughtAsItsBases)
{
    try {
        throw KiteJsRuntimeException("base");
    } catch (const KiteException& e) {
        EXPECT_STREQ("base", e.msg());
    }
    try {
        throw KiteJsRuntimeException("std");
    } catch (const std::exception& e) {
        EXPECT_STREQ("std", e.what());
    }
}

class StringToV8Test : public TestSupport::CV8Test {};

TEST_F(StringToV8Test, KeepsEmbeddedZeroBytes)
{
    CScope scope(*this);
    v8::Local<v8::String> text = Bridge::StringToV8(std::string("a\0b\0", 4));
    ASSERT_EQ(4, text->Length());
    uint16_t aChars[4] = {9, 9, 9, 9};
    text->Write(Isolate(), aChars, 0, 4, v8::String::NO_NULL_TERMINATION);
    EXPECT_EQ('a', aChars[0]);
    EXPECT_EQ(0, aChars[1]);
    EXPECT_EQ('b', aChars[2]);
    EXPECT_EQ(0, aChars[3]);
}

TEST_F(StringToV8Test, ConvertsUtf8)
{
    CScope scope(*this);
    v8::Local<v8::String> text = Bridge::StringToV8("caf\xc3\xa9");
    EXPECT_EQ(4, text->Length());
    Context()->Global()->Set(Context(), Bridge::StringToV8("t"), text).Check();
    EXPECT_EQ("233", Eval("t.charCodeAt(3)"));
}

TEST_F(StringToV8Test, ScriptObjectStringsKeepZeroBytesBothWays)
{
    CScope scope(*this);
    Bridge::ScriptObject text(std::string("x\0y", 3));
    ASSERT_TRUE(text.getValue()->IsString());
    EXPECT_EQ(3, text.getValue().As<v8::String>()->Length());
    EXPECT_EQ(std::string("x\0y", 3), text.asString());
}

}  // namespace
