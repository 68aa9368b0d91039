// When the pairing of chosen products with offered builds runs again, and when it stops. The
// pairing itself is checked against generated version files in version_file_test.cpp.

#include "catalogue/update_selection.h"
#include "tests/support/ui_automation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

InstalledProduct Product(uint32_t keyProductId) {
    InstalledProduct product;
    product.installCode = 1;
    product.keyProductId = keyProductId;
    product.language = "en";
    product.build = 1200;
    return product;
}

// One complete build section of build 1250.
std::string Section(const std::string& name, uint32_t productId) {
    return "[" + name + ":1:" + std::to_string(productId) + "]\r\nname=" + name +
           "\r\nversion=5.3\r\nbuild=1250\r\ndate=20260401\r\nmethod=GET\r\n"
           "url=http://127.0.0.1/dl/" +
           name + ".exe\r\nres_id=1\r\nlang_id=en\r\n";
}

class UpdateSelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = uitest::MakeTempFolder(L"zapdate-update-selection-test");
        path_ = folder_ + L"\\kv__path.tmp";
    }
    void TearDown() override { ::DeleteFileW(path_.c_str()); }

    void WriteVersionFile(const std::string& text) const {
        std::ofstream(std::filesystem::path(path_), std::ios::binary) << text;
    }

    // Appends `product` chosen; the choice counts as changed.
    void Choose(InstalledProduct product) {
        products_.Append(product);
        products_.SetSelected(products_.Count() - 1, true);
    }

    SelectionOutcome Select(const std::function<bool()>& cancel = {}) {
        return SelectUpdates(products_, selection_, versionFile_, path_, cancel);
    }

    const InstalledProduct& Item(size_t i) const { return selection_.items.at(i); }

    std::wstring folder_;
    std::wstring path_;
    InstalledProductList products_{false};
    UpdateSelection selection_;
    VersionFile versionFile_;
};

TEST_F(UpdateSelectionTest, UnchangedChoiceKeepsTheEarlierPairing) {
    WriteVersionFile(Section("Kovra", 6));
    Choose(Product(6));
    Choose(Product(7));
    ASSERT_EQ(Select(), SelectionOutcome::Paired);
    selection_.items[0].SetStatus(kStatusDownloaded);
    ::DeleteFileW(path_.c_str());

    EXPECT_EQ(Select(), SelectionOutcome::Reused) << "the file is not read again";
    EXPECT_EQ(selection_.updateCount, 0u) << "counted from the items as they stand";
    EXPECT_EQ(Item(0).Status(), kStatusDownloaded);

    products_.SetSelected(1, false);
    EXPECT_EQ(Select(), SelectionOutcome::VersionFileUnreadable) << "a new choice pairs again";
    EXPECT_EQ(selection_.updateCount, 0u);
}

TEST_F(UpdateSelectionTest, UnreadableFileIsTriedAgainNextTime) {
    Choose(Product(6));
    EXPECT_EQ(Select(), SelectionOutcome::VersionFileUnreadable);
    WriteVersionFile(Section("Kovra", 6));
    EXPECT_EQ(Select(), SelectionOutcome::Paired);
    EXPECT_EQ(selection_.updateCount, 1u);
}

TEST_F(UpdateSelectionTest, CancelStopsBeforeTheNextProduct) {
    WriteVersionFile(Section("A", 6) + Section("B", 7));
    Choose(Product(6));
    Choose(Product(7));
    Choose(Product(8));
    int asked = 0;
    EXPECT_EQ(Select([&] { return ++asked > 1; }), SelectionOutcome::Cancelled);
    EXPECT_EQ(asked, 2) << "asked once per product until it said yes";
    EXPECT_EQ(selection_.updateCount, 1u);
    EXPECT_EQ(Item(0).Status(), kStatusUpdateAvailable);
    EXPECT_EQ(Item(1).Status(), kStatusNotUpdated);
    EXPECT_EQ(Item(2).Status(), kStatusNotUpdated);
}

TEST(UpdateCount, CountsBothStatusBits) {
    std::vector<InstalledProduct> items(4);
    items[0].SetStatus(kStatusUpdateAvailable);
    items[1].SetStatus(kStatusDownloaded);
    items[2].SetStatus(kStatusUpToDate);
    items[3].state = kSelectedFlag | kStatusUpdateAvailable;
    EXPECT_EQ(CountUpdatesAvailable(items), 2u);
}

} // namespace
