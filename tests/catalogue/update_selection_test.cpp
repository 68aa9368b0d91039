// The pairing of chosen products with offered builds, against version files on disk.

#include "catalogue/update_selection.h"
#include "tests/support/ui_automation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

InstalledProduct Product(uint32_t installCode, uint32_t keyProductId, const char* language,
                         uint32_t build, bool wtl = false) {
    InstalledProduct product;
    product.displayName = L"Kovra " + std::to_wstring(keyProductId);
    product.installCode = installCode;
    product.keyProductId = keyProductId;
    product.productId = keyProductId;
    product.language = language;
    product.versionMajor = 5;
    product.versionMinor = 1;
    product.build = build;
    product.wtlVariant = wtl;
    return product;
}

// One complete build section.
std::string Section(const std::string& name, uint32_t resId, uint32_t productId,
                    const std::string& lang, uint32_t build, const std::string& version = "5.3",
                    const std::string& extra = {}) {
    return "[" + name + ":" + std::to_string(resId) + ":" + std::to_string(productId) + "]\r\n" +
           "name=" + name + "\r\nversion=" + version + "\r\nbuild=" + std::to_string(build) +
           "\r\ndate=20260401\r\nmethod=GET\r\nurl=http://127.0.0.1/dl/" + name +
           ".exe\r\nres_id=" + std::to_string(resId) + "\r\nlang_id=" + lang + "\r\n" + extra;
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

TEST_F(UpdateSelectionTest, NewerBuildBecomesTheItemsVersion) {
    WriteVersionFile("[global]\r\nversion=1\r\nurl=http://svc/\r\n" +
                     Section("Kovra", 1, 6, "en", 1250, "5.3"));
    Choose(Product(1, 6, "en", 1200));
    ASSERT_EQ(Select(), SelectionOutcome::Paired);
    EXPECT_EQ(selection_.updateCount, 1u);
    const InstalledProduct& item = Item(0);
    EXPECT_EQ(item.Status(), kStatusUpdateAvailable);
    EXPECT_EQ(item.offeredName, L"Kovra");
    EXPECT_EQ(item.offeredMajor, 5u);
    EXPECT_EQ(item.offeredMinor, 3u);
    EXPECT_EQ(item.offeredBuild, 1250u);
    EXPECT_EQ(item.offeredIndex, 0);
    EXPECT_EQ(item.versionMinor, 3u) << "the paired item carries the offered version";
    EXPECT_EQ(item.build, 1250u);
    EXPECT_TRUE(item.IsSelected()) << "the flag bits survive the status writes";
}

TEST_F(UpdateSelectionTest, OnlyTheBuildNumberDecides) {
    WriteVersionFile(Section("Same", 1, 6, "en", 1200, "9.9") +
                     Section("Older", 1, 7, "en", 1199, "9.9"));
    Choose(Product(1, 6, "en", 1200));
    Choose(Product(1, 7, "en", 1200));
    ASSERT_EQ(Select(), SelectionOutcome::Paired);
    EXPECT_EQ(selection_.updateCount, 0u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Item(i).Status(), kStatusUpToDate) << i;
        EXPECT_EQ(Item(i).offeredMajor, 9u) << "the offer is still recorded";
        EXPECT_EQ(Item(i).build, 1200u) << "an up-to-date item keeps its installed build";
        EXPECT_EQ(Item(i).versionMinor, 1u);
    }
    EXPECT_EQ(Item(1).offeredIndex, 1);
}

TEST_F(UpdateSelectionTest, BuildsCompareUnsigned) {
    WriteVersionFile(Section("Big", 1, 6, "en", 0x80000000u));
    Choose(Product(1, 6, "en", 0x7FFFFFFF));
    Select();
    EXPECT_EQ(Item(0).Status(), kStatusUpdateAvailable);
}

TEST_F(UpdateSelectionTest, EveryPartOfTheKeyMustAgree) {
    WriteVersionFile(Section("OtherRes", 2, 6, "en", 1300) + Section("OtherId", 1, 8, "en", 1300) +
                     Section("Upper", 1, 6, "DE", 1300) +
                     Section("Wtl", 1, 6, "en", 1300, "5.3", "platform=wtl\r\n"));
    Choose(Product(1, 6, "de", 1200));
    Choose(Product(1, 6, "en", 1200));
    Choose(Product(1, 6, "en", 1200, true));
    ASSERT_EQ(Select(), SelectionOutcome::Paired);
    EXPECT_EQ(Item(0).Status(), kStatusNoOfferedBuild) << "lang_id DE is not de";
    EXPECT_EQ(Item(0).offeredIndex, -1);
    EXPECT_EQ(Item(1).Status(), kStatusNoOfferedBuild)
        << "other resource id, other product id and the wtl variant do not pair";
    EXPECT_EQ(Item(2).Status(), kStatusUpdateAvailable) << "a wtl product pairs with wtl only";
    EXPECT_EQ(Item(2).offeredName, L"Wtl");
    EXPECT_EQ(selection_.updateCount, 1u);
}

TEST_F(UpdateSelectionTest, EarlierSectionWinsOverAHigherLaterOne) {
    WriteVersionFile(Section("First", 1, 6, "en", 1210) + Section("Second", 1, 6, "en", 1400));
    Choose(Product(1, 6, "en", 1200));
    Select();
    EXPECT_EQ(Item(0).offeredName, L"First");
    EXPECT_EQ(Item(0).build, 1210u);
}

TEST_F(UpdateSelectionTest, OnlyChosenProductsAreCopiedInListOrder) {
    WriteVersionFile(Section("Kovra", 1, 6, "en", 1250));
    products_.Append(Product(1, 5, "en", 1000));
    Choose(Product(1, 6, "en", 1200));
    products_.Append(Product(1, 7, "en", 1000));
    Choose(Product(1, 8, "en", 1200));
    Select();
    ASSERT_EQ(selection_.items.size(), 2u);
    EXPECT_EQ(Item(0).keyProductId, 6u);
    EXPECT_EQ(Item(1).keyProductId, 8u);
    EXPECT_EQ(Item(1).Status(), kStatusNoOfferedBuild);
}

TEST_F(UpdateSelectionTest, UnchangedChoiceKeepsTheEarlierPairing) {
    WriteVersionFile(Section("Kovra", 1, 6, "en", 1250));
    Choose(Product(1, 6, "en", 1200));
    Choose(Product(1, 7, "en", 1200));
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
    Choose(Product(1, 6, "en", 1200));
    EXPECT_EQ(Select(), SelectionOutcome::VersionFileUnreadable);
    WriteVersionFile(Section("Kovra", 1, 6, "en", 1250));
    EXPECT_EQ(Select(), SelectionOutcome::Paired);
    EXPECT_EQ(selection_.updateCount, 1u);
}

TEST_F(UpdateSelectionTest, CancelStopsBeforeTheNextProduct) {
    WriteVersionFile(Section("A", 1, 6, "en", 1250) + Section("B", 1, 7, "en", 1250));
    Choose(Product(1, 6, "en", 1200));
    Choose(Product(1, 7, "en", 1200));
    Choose(Product(1, 8, "en", 1200));
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
