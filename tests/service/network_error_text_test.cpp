// Texts of WinInet errors and HTTP statuses, in English and in the German satellite.

#include "platform/resource_strings.h"
#include "platform/unique_resource.h"
#include "resources/resource_ids.h"
#include "service/network_error_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using service::HttpStatusText;
using service::WinInetErrorText;

namespace {

// Every WinInet error and HTTP status the string table has a text for.
std::vector<UINT> TableIds() {
    std::vector<UINT> ids;
    for (UINT error = 12000; error < 12200; ++error)
        if (service::FindWinInetErrorText(error))
            ids.push_back(error);
    for (UINT status = 100; status < 600; ++status)
        if (HttpStatusText(status))
            ids.push_back(IDS_HTTP_STATUS_BASE + status);
    return ids;
}

const wchar_t kFallback[] = L"Can't connect with Velk Update Service";

TEST(NetworkErrorText, TableEntriesAreSentencesAndEverythingElseFallsBack) {
    EXPECT_EQ(WinInetErrorText(12029), L"The attempt to connect to the server failed.");
    EXPECT_EQ(HttpStatusText(404), L"Requested file not found.");
    // Numbers outside WinInet's range never pick up other strings of the table.
    for (UINT error :
         {12018u, 12172u, UINT(IDS_WIZARD_TITLE), UINT(IDS_HTTP_STATUS_BASE + 404), 0u})
        EXPECT_EQ(WinInetErrorText(error), kFallback) << error;
    for (unsigned status : {0u, 200u, 301u, 302u, 405u, 409u, 501u, 599u, 100000u})
        EXPECT_FALSE(HttpStatusText(status)) << status;
    const std::vector<UINT> ids = TableIds();
    EXPECT_GT(ids.size(), 50u);
    for (UINT id : ids) {
        const std::wstring text = platform::ResourceString(id);
        EXPECT_NE(text, kFallback) << id;
        EXPECT_EQ(text.back(), L'.') << id;
    }
}

// The German satellite carries the same entries.
TEST(GermanNetworkTexts, EveryEntryIsTranslated) {
    wchar_t path[MAX_PATH];
    std::wstring folder(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    folder.resize(folder.rfind(L'\\') + 1);
    const platform::UniqueLibrary satellite(::LoadLibraryExW(
        (folder + L"de-DE\\Zapdate.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(satellite.IsValid());
    std::vector<UINT> ids = TableIds();
    ids.insert(ids.end(), {IDS_PACKAGE_REFUSED, IDS_PACKAGE_TOO_LARGE, IDS_CANT_CONNECT});
    for (UINT id : ids) {
        const wchar_t* text = nullptr;
        const int length = ::LoadStringW(satellite.Get(), id, reinterpret_cast<LPWSTR>(&text), 0);
        const std::wstring german(text ? text : L"", length > 0 ? length : 0);
        EXPECT_FALSE(german.empty()) << id;
        EXPECT_NE(german, platform::ResourceString(id)) << id;
    }
}

} // namespace
