// What the error page's link opens.

#include "wizard/error_page.h"

#include <gtest/gtest.h>

TEST(ErrorPageLink, AnAddressWithAnAtSignOpensTheMailProgram) {
    EXPECT_EQ(LinkTarget(L"support@velk.com"), L"mailto:support@velk.com");
    EXPECT_EQ(LinkTarget(L"http://www.velk.com"), L"http://www.velk.com");
    EXPECT_EQ(LinkTarget(L"http://www.velk.com/contact?to=a@b"),
              L"mailto:http://www.velk.com/contact?to=a@b")
        << "any at sign makes it a mail address";
}
