#include "model/DatedPicture.h"
#include "model/ItemList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The format bar's sorted list, as a plain double.
class FakeItemList : public ItemList {
public:
    struct Entry {
        std::string text;
        int data;
    };
    std::vector<Entry> entries;
    int selected = -1;

    void resetContent() override {
        entries.clear();
        selected = -1;
    }
    void addEntry(const std::string& text, int itemData) override {
        const auto at = std::upper_bound(entries.begin(), entries.end(), text,
                                         [](const std::string& t, const Entry& e) { return t < e.text; });
        entries.insert(at, Entry{text, itemData});
    }
    void selectFirstStartingWith(const std::string& prefix) override {
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].text.rfind(prefix, 0) == 0) return void(selected = static_cast<int>(i));
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const Entry& e : entries)
            t.push_back(e.text);
        return t;
    }
};

void addNamedItem(CDatedPicture& model, const std::string& name, int listed, int visible) {
    ASSERT_TRUE(model.AppendItem());
    ImprintItem& it = model.item(model.itemCount - 1);
    it.displayName = name;
    it.listed = listed;
    it.visible = visible;
}

} // namespace

TEST(AnItemList, growsByTwentyFiveSlotsAndKeepsEveryItemWhole) {
    CDatedPicture model;
    for (int i = 0; i < 25; ++i) {
        ASSERT_TRUE(model.AppendItem());
        ImprintItem& it = model.item(i);
        it.valueText = "text " + std::to_string(i);
        it.value = {static_cast<std::uint8_t>(i), 1, 2};
        it.valueLength = 3;
    }
    EXPECT_EQ(model.capacity, 25);

    ASSERT_TRUE(model.AppendItem()); // the 26th
    EXPECT_EQ(model.capacity, 50);
    EXPECT_EQ(model.itemCount, 26);
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(model.item(i).valueText, "text " + std::to_string(i));
        EXPECT_EQ(model.item(i).value, (std::vector<std::uint8_t>{static_cast<std::uint8_t>(i), 1, 2}));
    }
    EXPECT_EQ(model.item(25).fontName, "Arial"); // a fresh slot has the defaults
}

TEST(AnItemList, reusesDroppedSlotsWithTheirEarlierContents) {
    CDatedPicture model;
    addNamedItem(model, "first", 0, 1);
    model.DropLastItem();
    EXPECT_EQ(model.itemCount, 0);
    ASSERT_TRUE(model.AppendItem());
    EXPECT_EQ(model.item(0).displayName, "first"); // only the callers reset what they set
    EXPECT_EQ(model.capacity, 25);
}

TEST(AnItemList, resetMakesExactlyTheDefaultItemsAsked) {
    CDatedPicture model;
    addNamedItem(model, "old", 1, 1);
    ASSERT_TRUE(model.ResetItems(3));
    EXPECT_EQ(model.itemCount, 3);
    EXPECT_EQ(model.capacity, 3);
    EXPECT_EQ(model.item(0).displayName, "");
    ASSERT_TRUE(model.ResetItems(0));
    EXPECT_EQ(model.itemCount, 0);
}

TEST(AnItemList, refusesToGrowPastItsLimitAndStaysAsItWas) {
    CDatedPicture model;
    addNamedItem(model, "kept", 1, 0);
    model.growBy = 1 << 30; // a billion slots
    model.capacity = model.itemCount;
    model.items.resize(1);
    EXPECT_FALSE(model.AppendItem());
    EXPECT_EQ(model.itemCount, 1);
    EXPECT_EQ(model.capacity, 1);
    EXPECT_EQ(model.item(0).displayName, "kept");

    imaging::PropertyItem property{0x0110, 0, imaging::kTypeAscii, nullptr};
    EXPECT_EQ(model.AddPropertyItem(property), 0);
    EXPECT_EQ(model.AddItemFromProperty(property), 1); // reported as not kept
    EXPECT_EQ(model.itemCount, 1);
    EXPECT_FALSE(model.ResetItems(CDatedPicture::kMaxItems + 1));
    EXPECT_EQ(model.itemCount, 0);
}

TEST(AnItemList, copiesPropertyValuesIntoItsOwnBlock) {
    CDatedPicture model;
    std::vector<std::uint8_t> bytes = {'N', 'i', 'k', 'o', 'n', 0};
    ASSERT_EQ(model.AddPropertyItem({0x010f, 6, imaging::kTypeAscii, bytes.data()}), 1);
    bytes[0] = 'X';
    const ImprintItem& it = model.item(0);
    EXPECT_EQ(it.tag, 0x010fu);
    EXPECT_EQ(it.valueType, imaging::kTypeAscii);
    EXPECT_EQ(it.valueLength, 6u);
    EXPECT_EQ(it.value[0], 'N');
}

TEST(ALabelItem, isAddedVisibleAndMarksTheTemplateChanged) {
    CDatedPicture model;
    ASSERT_TRUE(model.AddLabelItem("", "ignored"));
    EXPECT_EQ(model.itemCount, 0);
    EXPECT_EQ(model.modified, 0);

    model.AppendItem();
    model.item(0).anchor = 5; // an earlier occupant's formatting must not leak into the label
    model.DropLastItem();
    ASSERT_TRUE(model.AddLabelItem("Trip", "Lake Garda"));
    const ImprintItem& label = model.item(0);
    EXPECT_EQ(label.displayName, "Trip");
    EXPECT_EQ(label.label, "Lake Garda");
    EXPECT_EQ(label.tag, kTagLabel);
    EXPECT_EQ(label.visible, 1);
    EXPECT_EQ(label.anchor, 0);
    EXPECT_EQ(model.modified, 1);
}

TEST(TheWatermarkItem, isMadeOnceAndReusedAndRemovedWithoutLeavingTheList) {
    CDatedPicture model;
    addNamedItem(model, "Date Time", 1, 0);
    ASSERT_TRUE(model.SetWatermarkItem("logo.png", 128));
    EXPECT_EQ(model.watermarkIndex, 1);
    ASSERT_TRUE(model.SetWatermarkItem("other.png", 64));
    EXPECT_EQ(model.watermarkIndex, 1);
    EXPECT_EQ(model.itemCount, 2);
    const ImprintItem& mark = model.item(1);
    EXPECT_EQ(mark.tag, kTagWatermark);
    EXPECT_EQ(mark.displayName, "Watermark");
    EXPECT_EQ(mark.fontName, "other.png");
    EXPECT_EQ(mark.fontSize, 64);
    EXPECT_EQ(mark.visible, 1);

    model.RemoveWatermarkItem();
    EXPECT_EQ(model.watermarkIndex, -1);
    EXPECT_EQ(model.itemCount, 2);
    EXPECT_EQ(model.item(1).visible, 0);
    EXPECT_EQ(model.item(1).fontName, "");
    EXPECT_EQ(model.item(1).fontSize, 0);
}

TEST(FillingTheItemList, offersListedAndVisibleItemsAndSelectsTheDate) {
    CDatedPicture model;
    FakeItemList list;
    model.FillItemList(list, false);
    EXPECT_EQ(list.texts(), std::vector<std::string>{""}); // only the empty entry
    EXPECT_EQ(list.entries[0].data, -1);
    EXPECT_EQ(list.selected, -1);

    addNamedItem(model, "Date Time Original", 0, 0);
    addNamedItem(model, "Date Time", 1, 0);
    addNamedItem(model, "Equip Make", 0, 1);
    addNamedItem(model, "Date Time Digitized", 1, 0);
    addNamedItem(model, "Hidden", 0, 0);
    model.FillItemList(list, false);
    EXPECT_EQ(list.texts(), (std::vector<std::string>{"", "Date Time", "Date Time Digitized", "Equip Make"}));
    ASSERT_EQ(list.selected, 1);
    EXPECT_EQ(list.entries[1].data, 1); // the item's index travels with its name

    model.FillItemList(list, true);
    EXPECT_EQ(list.entries.size(), 6u);

    model.item(4).visible = 1; // shown items come in at the next fill
    model.FillItemList(list, false);
    EXPECT_EQ(list.entries.back().text, "Hidden");
}

TEST(CopyingAModel, makesAnIndependentDeepCopy) {
    CDatedPicture source;
    source.growBy = 10;
    source.dateFormat = "%x";
    source.aspectWidth = 7.0f;
    source.picture = std::make_unique<imaging::Bitmap>(QImage(8, 6, QImage::Format_RGB32));
    source.picture->image().fill(Qt::red);
    for (int i = 0; i < 12; ++i) {
        source.AppendItem();
        source.item(i).label = "L" + std::to_string(i);
        source.item(i).extraData = {1, 2, 0};
        source.item(i).extraLength = 3;
    }

    CDatedPicture copy;
    addNamedItem(copy, "gone", 1, 1);
    copy.watermarkBitmap = std::make_unique<imaging::Bitmap>(QImage(2, 2, QImage::Format_RGB32));
    copy = source;

    EXPECT_EQ(copy.itemCount, 12);
    EXPECT_EQ(copy.capacity, 20); // appended ten at a time, the source's growth
    EXPECT_EQ(copy.item(11).label, "L11");
    EXPECT_EQ(copy.item(3).extraData, (std::vector<std::uint8_t>{1, 2, 0}));
    EXPECT_EQ(copy.dateFormat, "%x");
    EXPECT_FLOAT_EQ(copy.aspectWidth, 7.0f);
    EXPECT_EQ(copy.watermarkBitmap, nullptr); // missing in the source, missing in the copy
    ASSERT_NE(copy.picture, nullptr);
    EXPECT_NE(copy.picture.get(), source.picture.get());
    EXPECT_EQ(copy.picture->image().pixel(3, 3), qRgb(255, 0, 0));

    source.picture->image().fill(Qt::blue);
    source.item(0).label = "changed";
    EXPECT_EQ(copy.picture->image().pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(copy.item(0).label, "L0");

    copy = copy; // assigning to itself changes nothing
    EXPECT_EQ(copy.itemCount, 12);
}
