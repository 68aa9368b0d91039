// The server's messages in a refused reply.

#include "service/server_messages.h"
#include "tests/service/test_files.h"

#include "platform/unique_resource.h"

#include <gtest/gtest.h>

using service::FindServerMessages;
using service::ReadServerMessages;

namespace {

TEST(ServerMessages, AllMessagesInOrder) {
    const auto messages = FindServerMessages("<!-- VelkInfo: one --> text <!-- VelkInfo: two -->");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "one");
    EXPECT_EQ(messages[1], "two");
}

TEST(ServerMessages, MarkersMustMatchExactly) {
    EXPECT_TRUE(FindServerMessages("<!-- velkinfo: x -->").empty());
    EXPECT_TRUE(FindServerMessages("<!--VelkInfo: x -->").empty());
    // Without a closing marker there is no message.
    EXPECT_TRUE(FindServerMessages("<!-- VelkInfo: never closed").empty());
    const auto empty = FindServerMessages("<!-- VelkInfo:  -->");
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0], "");
}

TEST(ServerMessages, ClosingIsSearchedBehindTheOpening) {
    // The " -->" of an earlier comment does not close the message.
    const auto messages =
        FindServerMessages("<!-- a --><!-- VelkInfo: b <!-- VelkInfo: c --> <!-- VelkInfo: d -->");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "b <!-- VelkInfo: c");
    EXPECT_EQ(messages[1], "d");
}

std::wstring MessagesOfFile(const std::string& contents) {
    servicetest::TempFile file(L"messages.html");
    platform::UniqueHandle handle(::CreateFileW(file.Path().c_str(), GENERIC_READ | GENERIC_WRITE,
                                                FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(handle.Get(), contents.data(), static_cast<DWORD>(contents.size()), &written,
                nullptr);
    return ReadServerMessages(handle.Get());
}

TEST(ServerMessages, FileIsReadFromItsStartUpTo128KB) {
    EXPECT_EQ(MessagesOfFile("<!-- VelkInfo: first --><!-- VelkInfo: second -->"),
              L"first\nsecond\n");
    const std::string padding(service::kServerMessageScanLimit - 30, ' ');
    EXPECT_EQ(MessagesOfFile("<!-- VelkInfo: seen -->" + padding + "<!-- VelkInfo: too late -->"),
              L"seen\n");
}

TEST(ServerMessages, Utf8AndWindowsTextsAreBothShown) {
    EXPECT_EQ(MessagesOfFile("<!-- VelkInfo: Gr\xC3\xBC\xC3\x9F"
                             "e -->"),
              L"Gr\u00FC\u00DFe\n");
    EXPECT_EQ(MessagesOfFile("<!-- VelkInfo: caf\xE9 -->"), L"caf\u00E9\n");
}

} // namespace
