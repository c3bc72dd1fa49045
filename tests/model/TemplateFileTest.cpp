#include "model/DatedPicture.h"

#include "imaging/TextCodec.h"
#include "photofactory/PhotoFactory.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes recordOf(const CDatedPicture& templ) {
    Bytes bytes(templ.SerializeTemplate(nullptr, 0));
    templ.SerializeTemplate(bytes.data(), bytes.size());
    return bytes;
}

Bytes fileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

void putInt32(Bytes& bytes, std::size_t at, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

ImprintItem& addVisibleItem(CDatedPicture& templ, std::uint32_t tag, const std::string& name) {
    EXPECT_TRUE(templ.AppendItem());
    ImprintItem& it = templ.item(templ.itemCount - 1);
    it = ImprintItem();
    it.visible = 1;
    it.tag = tag;
    it.displayName = name;
    return it;
}

// Where visible item `index` starts in the record: the record of the items before it is as long.
std::size_t itemStart(const CDatedPicture& templ, int index) {
    CDatedPicture before(templ);
    for (int i = 0, seen = 0; i < before.itemCount; ++i)
        if (before.item(i).visible == 1 && seen++ >= index) before.item(i).visible = 0;
    return before.SerializeTemplate(nullptr, 0);
}

// The offset of an item's extraLength from its start: twelve numbers, the font name, six numbers.
std::size_t extraLengthOffset(const ImprintItem& it) {
    return 12 * 4 + it.fontName.size() + 1 + 6 * 4;
}

void setExtra(ImprintItem& it, const std::string& text) {
    it.extraData.assign(text.begin(), text.end());
    it.extraData.push_back(0);
    it.extraLength = static_cast<int>(it.extraData.size());
}

// Every field a template file keeps of an item.
void expectSameStoredFields(const ImprintItem& want, const ImprintItem& got) {
    EXPECT_EQ(got.visible, want.visible);
    EXPECT_EQ(got.listed, want.listed);
    EXPECT_EQ(got.anchor, want.anchor);
    EXPECT_EQ(got.offsetY, want.offsetY);
    EXPECT_EQ(got.offsetX, want.offsetX);
    EXPECT_EQ(got.anchorAngle, want.anchorAngle);
    EXPECT_EQ(got.textHeightPt, want.textHeightPt);
    EXPECT_EQ(got.textWidthPt, want.textWidthPt);
    EXPECT_EQ(got.textHeightPx, want.textHeightPx);
    EXPECT_EQ(got.textWidthPx, want.textWidthPx);
    EXPECT_EQ(got.posX, want.posX);
    EXPECT_EQ(got.posY, want.posY);
    EXPECT_EQ(got.fontName, want.fontName);
    EXPECT_EQ(got.fontSize, want.fontSize);
    EXPECT_EQ(got.fontStyle, want.fontStyle);
    EXPECT_EQ(got.color, want.color);
    EXPECT_EQ(got.reserved1, want.reserved1);
    EXPECT_EQ(got.angle, want.angle);
    EXPECT_EQ(got.opacity, want.opacity);
    EXPECT_EQ(got.extraLength, want.extraLength);
    EXPECT_EQ(got.extraData, want.extraData);
    EXPECT_EQ(got.reserved2, want.reserved2);
    EXPECT_EQ(got.reserved3, want.reserved3);
    EXPECT_EQ(got.reserved4, want.reserved4);
    EXPECT_EQ(got.reserved5, want.reserved5);
    EXPECT_EQ(got.tag, want.tag);
    EXPECT_EQ(got.valueType, want.valueType);
    EXPECT_EQ(got.displayName, want.displayName);
    EXPECT_EQ(got.label, want.label);
    EXPECT_EQ(got.unit, want.unit);
}

void writePng(const std::string& path, int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG")) << path;
}

const std::string kCorruptMessage =
    "A problem was detected in the template.  It may be an incompatible template or "
    "may be corrupted.  The program may need to be restarted.";

} // namespace

// --- the record ---------------------------------------------------------------------------------

TEST(ATemplateRecord, holdsNinetyEightBytesOfSettingsAndOneHundredSevenPerDefaultItem) {
    CDatedPicture defaults;
    EXPECT_EQ(defaults.SerializeTemplate(nullptr, 0), 98u);

    CDatedPicture oneItem;
    oneItem.MakeNewTemplate();
    const Bytes bytes = recordOf(oneItem);
    ASSERT_EQ(bytes.size(), 205u);
    EXPECT_EQ(std::memcmp(bytes.data(),
                          "Orvalinquestaporimex Template: \0"
                          "1.00\0"
                          "Dated_\0",
                          44),
              0);
    EXPECT_EQ(bytes[94], 1); // the item count, little-endian
    EXPECT_EQ(bytes[95] | bytes[96] | bytes[97], 0);

    // A hidden item is not written at all.
    ASSERT_TRUE(oneItem.AppendItem());
    oneItem.item(1).visible = 0;
    EXPECT_EQ(oneItem.SerializeTemplate(nullptr, 0), 205u);

    // A buffer too small for the record is left alone.
    Bytes tooSmall(204, 0xAB);
    EXPECT_EQ(oneItem.SerializeTemplate(tooSmall.data(), tooSmall.size()), 205u);
    EXPECT_EQ(tooSmall, Bytes(204, 0xAB));
}

TEST(ATemplateFile, readsBackEverySettingAndEveryFieldOfTheVisibleItems) {
    TempDir dir;
    writePng(dir.path("frame.png"), 40, 30, Qt::black);
    CDatedPicture written;
    written.prefix = "Stamped-";
    written.postfix = "_v2";
    written.outputDir = dir.path("dated"); // a folder that is there: only such a one is kept
    QDir().mkpath(QString::fromStdString(written.outputDir));
    written.useDefaultOutputDir = 0;
    written.aspectEnabled = 1;
    written.reservedAspect = -77;
    written.whiteSideWide = 1;
    written.whiteSideTall = 1;
    written.aspectWidth = 7.3f; // neither is exact in binary: the bits must survive
    written.aspectHeight = 5.1f;
    written.whiteColor = 0x123456;
    written.dateFormat = "%Y-%m-%d %H:%M";
    written.jpegQuality = 93;
    written.borderPath = "frame.png";
    written.borderOpacity = 128;
    written.borderAutoRotate = 0;

    ImprintItem& date = addVisibleItem(written, kTagDateTimeOriginal, "Date Time Original");
    date.listed = 1;
    date.anchor = 6;
    date.offsetY = 31;
    date.offsetX = 57;
    date.anchorAngle = 270;
    date.textHeightPt = 13;
    date.textWidthPt = 140;
    date.textHeightPx = 55;
    date.textWidthPx = 610;
    date.posX = 1234;
    date.posY = -9;
    date.fontName = "DejaVu Serif";
    date.fontSize = 17;
    date.fontStyle = 700 | ImprintItem::kItalicFlag;
    date.color = 0x3366CC;
    date.reserved1 = -5;
    date.angle = 15;
    date.opacity = 200;
    setExtra(date, "notes");
    date.reserved2 = 1;
    date.reserved3 = 2;
    date.reserved4 = 3;
    date.reserved5 = -4;
    date.valueType = 2;
    date.valueText = "2001:06:21 14:38:56"; // the value is the picture's, not the template's
    date.label = "Taken: ";
    date.unit = " (local)";
    addVisibleItem(written, 0x010f, "Equip Make").visible = 0;
    ImprintItem& label = addVisibleItem(written, kTagLabel, "Credit");
    label.label = "Me";
    label.angle = 359;
    const ImprintItem wantDate = written.item(0);
    const ImprintItem wantLabel = written.item(2);

    ASSERT_EQ(written.WriteTemplate(dir.path("all.tpl")), 0);
    CDatedPicture read;
    read.templateDir = dir.root();
    read.version = "0.50";
    ScriptedDialogs user;
    ASSERT_EQ(read.ReadTemplate(dir.path("all.tpl"), user), 0);

    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ(read.templatePath, dir.path("all.tpl"));
    EXPECT_EQ(read.version, "0.50"); // the file's version is not taken over
    EXPECT_EQ(read.prefix, "Stamped-");
    EXPECT_EQ(read.postfix, "_v2");
    EXPECT_EQ(read.outputDir, dir.path("dated"));
    EXPECT_EQ(read.useDefaultOutputDir, 0);
    EXPECT_EQ(read.aspectEnabled, 1);
    EXPECT_EQ(read.reservedAspect, -77);
    EXPECT_EQ(read.whiteSideWide, 1);
    EXPECT_EQ(read.whiteSideTall, 1);
    EXPECT_EQ(read.aspectWidth, 7.3f);
    EXPECT_EQ(read.aspectHeight, 5.1f);
    EXPECT_EQ(read.whiteColor, 0x123456);
    EXPECT_EQ(read.dateFormat, "%Y-%m-%d %H:%M");
    EXPECT_EQ(read.jpegQuality, 93);
    EXPECT_EQ(read.borderPath, "frame.png");
    EXPECT_EQ(read.borderOpacity, 128);
    EXPECT_EQ(read.borderAutoRotate, 0);
    ASSERT_TRUE(read.borderBitmap); // loaded from the template folder
    EXPECT_EQ(read.borderBitmap->width(), 40);
    EXPECT_EQ(read.watermarkIndex, -1);

    ASSERT_EQ(read.itemCount, 2); // the hidden item is gone
    {
        SCOPED_TRACE("date item");
        expectSameStoredFields(wantDate, read.item(0));
        EXPECT_EQ(read.item(0).valueText, "");
    }
    {
        SCOPED_TRACE("label item");
        expectSameStoredFields(wantLabel, read.item(1));
    }
}

TEST(ATemplateFile, isMarkedSavedByAWriteAndNotByARead) {
    TempDir dir;
    CDatedPicture templ;
    templ.MakeNewTemplate();
    templ.modified = 1;
    ASSERT_EQ(templ.WriteTemplate(dir.path("t.tpl")), 0);
    EXPECT_EQ(templ.modified, 0);
    EXPECT_EQ(templ.templatePath, dir.path("t.tpl"));

    for (const int modified : {0, 1}) {
        CDatedPicture read;
        read.modified = modified;
        ScriptedDialogs user;
        ASSERT_EQ(read.ReadTemplate(dir.path("t.tpl"), user), 0);
        EXPECT_EQ(read.modified, modified);
    }
}

// --- extra data ---------------------------------------------------------------------------------

TEST(ATemplateFile, storesExtraDataAsLongAsTheItemSaysAndReadsItBack) {
    CDatedPicture templ;
    ImprintItem& plain = addVisibleItem(templ, kTagDateTime, "");
    ImprintItem& longest = addVisibleItem(templ, kTagLabel, "Longest");
    setExtra(longest, std::string(99998, 'x')); // 99999 bytes with its NUL: the most a file may hold
    longest.unit = "after";
    ImprintItem& padded = addVisibleItem(templ, kTagLabel, "Padded");
    padded.extraData = {'a', 'b', 'c'}; // shorter than its length says, no NUL of its own
    padded.extraLength = 10;
    padded.unit = "after";
    ImprintItem& withNul = addVisibleItem(templ, kTagLabel, "Inner NUL");
    withNul.label = std::string("ab\0cd", 5);
    withNul.unit = "after";

    const Bytes bytes = recordOf(templ);
    EXPECT_EQ(itemStart(templ, 1) - itemStart(templ, 0), 107u); // no extra bytes without extra data
    const std::size_t plainExtra = itemStart(templ, 0) + extraLengthOffset(plain);
    EXPECT_EQ(std::memcmp(&bytes[plainExtra], "\0\0\0\0", 4), 0);

    CDatedPicture read;
    ScriptedDialogs user;
    read.ParseTemplate(bytes.data(), bytes.size(), user);
    EXPECT_TRUE(user.shown.empty());
    ASSERT_EQ(read.itemCount, 4);
    EXPECT_EQ(read.item(0).extraLength, 0);
    EXPECT_TRUE(read.item(0).extraData.empty());
    EXPECT_EQ(read.item(1).extraLength, 99999);
    EXPECT_EQ(read.item(1).extraData, longest.extraData);
    EXPECT_EQ(read.item(1).unit, "after");
    // Padded to the length the item has, and read back with it: the fields after it stay in place.
    EXPECT_EQ(read.item(2).extraLength, 10);
    EXPECT_EQ(read.item(2).extraData, (std::vector<std::uint8_t>{'a', 'b', 'c', 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(read.item(2).unit, "after");
    EXPECT_EQ(read.SerializeTemplate(nullptr, 0), bytes.size()); // and written again alike
    EXPECT_EQ(read.item(3).label, "ab");
    EXPECT_EQ(read.item(3).unit, "after");
}

TEST(ReadingATemplate, reportsAnExtraLengthOfAHundredThousandAndKeepsTheRestAtDefaults) {
    const int corrupt[] = {
        100000,  // the first length too large
        -100000, // as large, negative
        -1,      // no writer makes a negative length
    };
    for (const int extraLength : corrupt) {
        SCOPED_TRACE(extraLength);
        CDatedPicture templ;
        addVisibleItem(templ, kTagDateTime, "first").label = "one";
        addVisibleItem(templ, kTagLabel, "second").label = "two";
        addVisibleItem(templ, kTagLabel, "third").label = "three";
        Bytes bytes = recordOf(templ);
        putInt32(bytes, itemStart(templ, 1) + extraLengthOffset(templ.item(1)), extraLength);

        CDatedPicture read;
        ScriptedDialogs user;
        read.ParseTemplate(bytes.data(), bytes.size(), user);
        ASSERT_EQ(user.texts(), std::vector<std::string>{kCorruptMessage});
        EXPECT_EQ(user.shown[0].buttons, Dialogs::Buttons::Ok);
        ASSERT_EQ(read.itemCount, 3);
        EXPECT_EQ(read.item(0).label, "one");
        for (int i : {1, 2}) {
            EXPECT_EQ(read.item(i).visible, 0);
            EXPECT_EQ(read.item(i).tag, 0u);
            EXPECT_EQ(read.item(i).label, "");
            EXPECT_EQ(read.item(i).fontName, "Arial");
        }
    }
    EXPECT_EQ(CDatedPicture::kCorruptTemplateMessage, kCorruptMessage);
}

// --- damaged and foreign files ------------------------------------------------------------------

TEST(ReadingATemplate, readsNumbersBeyondTheEndAsZero) {
    CDatedPicture templ;
    templ.aspectWidth = 5.0f;
    templ.whiteColor = 0x00FF00;
    ImprintItem& it = addVisibleItem(templ, kTagDateTime, "Date Time");
    it.fontSize = 30;
    it.fontStyle = 700;
    it.color = 0x0000FF;
    const Bytes whole = recordOf(templ);

    {
        SCOPED_TRACE("cut inside the white colour");
        const std::size_t cut = 32 + 5 + 7 + 1 + 1 + 5 * 4 + 2 * 4 + 2;
        const Bytes bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        CDatedPicture read;
        read.dateFormat = "%x";
        ScriptedDialogs user;
        read.ParseTemplate(bytes.data(), bytes.size(), user);
        EXPECT_TRUE(user.shown.empty());
        EXPECT_EQ(read.aspectWidth, 5.0f);
        EXPECT_EQ(read.whiteColor, 0);
        EXPECT_EQ(read.dateFormat, "");
        EXPECT_EQ(read.jpegQuality, 0);
        EXPECT_EQ(read.borderOpacity, 0);
        EXPECT_EQ(read.borderAutoRotate, 0);
        EXPECT_EQ(read.itemCount, 0);
    }
    {
        SCOPED_TRACE("cut inside the item's colour");
        const std::size_t cut = itemStart(templ, 0) + 12 * 4 + 6 + 2 * 4 + 3; // "Arial", size, style
        const Bytes bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        CDatedPicture read;
        ScriptedDialogs user;
        read.ParseTemplate(bytes.data(), bytes.size(), user);
        EXPECT_TRUE(user.shown.empty());
        ASSERT_EQ(read.itemCount, 1);
        EXPECT_EQ(read.item(0).visible, 1);
        EXPECT_EQ(read.item(0).fontName, "Arial");
        EXPECT_EQ(read.item(0).fontSize, 30);
        EXPECT_EQ(read.item(0).fontStyle, 700);
        EXPECT_EQ(read.item(0).color, 0);
        EXPECT_EQ(read.item(0).opacity, 0); // not the default 255: read, as 0
        EXPECT_EQ(read.item(0).tag, 0u);
    }
}

TEST(ReadingATemplate, endsCleanlyAtATextWithoutItsNul) {
    CDatedPicture templ;
    addVisibleItem(templ, kTagLabel, "Credit").label = "Label";
    addVisibleItem(templ, kTagDateTime, "Date Time");
    const Bytes whole = recordOf(templ);

    {
        SCOPED_TRACE("inside the prefix");
        const Bytes bytes(whole.begin(), whole.begin() + 32 + 5 + 3);
        CDatedPicture read;
        ScriptedDialogs user;
        read.ParseTemplate(bytes.data(), bytes.size(), user);
        EXPECT_TRUE(user.shown.empty());
        EXPECT_EQ(read.prefix, "Dat");
        EXPECT_EQ(read.postfix, "");
        EXPECT_EQ(read.itemCount, 0);
    }
    {
        SCOPED_TRACE("inside the first item's label");
        const std::size_t labelStart = itemStart(templ, 1) - (std::string("Label").size() + 1) - 1;
        const Bytes bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(labelStart + 3));
        CDatedPicture read;
        ScriptedDialogs user;
        read.ParseTemplate(bytes.data(), bytes.size(), user);
        EXPECT_TRUE(user.shown.empty());
        ASSERT_EQ(read.itemCount, 2);
        EXPECT_EQ(read.item(0).displayName, "Credit");
        EXPECT_EQ(read.item(0).label, "Lab");
        EXPECT_EQ(read.item(1).tag, 0u); // never read
        EXPECT_EQ(read.item(1).visible, 0);
    }
}

TEST(ReadingATemplate, reportsItemCountsNoTemplateHolds) {
    const std::int32_t counts[] = {
        -1,         // negative
        100001,     // more items than any list may hold
        0x7fffffff, // far too many to allocate
    };
    for (const std::int32_t count : counts) {
        SCOPED_TRACE(count);
        CDatedPicture templ;
        Bytes bytes = recordOf(templ);
        putInt32(bytes, 94, count);
        CDatedPicture read;
        read.MakeNewTemplate();
        ScriptedDialogs user;
        read.ParseTemplate(bytes.data(), bytes.size(), user);
        EXPECT_EQ(user.texts(), std::vector<std::string>{kCorruptMessage});
        EXPECT_EQ(read.itemCount, 0);
    }
}

TEST(ReadingATemplate, readsAFileWhoseMagicAndVersionDiffer) {
    CDatedPicture templ;
    templ.prefix = "P_";
    templ.jpegQuality = 77;
    addVisibleItem(templ, kTagDateTime, "Date Time").label = "On ";
    const Bytes original = recordOf(templ);
    Bytes bytes;
    const std::string header("Some other program\0"
                             "2.50",
                             24);
    bytes.insert(bytes.end(), header.begin(), header.end());
    bytes.insert(bytes.end(), original.begin() + 32 + 5, original.end());

    CDatedPicture read;
    ScriptedDialogs user;
    read.ParseTemplate(bytes.data(), bytes.size(), user);
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ(read.version, "1.00");
    EXPECT_EQ(read.prefix, "P_");
    EXPECT_EQ(read.jpegQuality, 77);
    ASSERT_EQ(read.itemCount, 1);
    EXPECT_EQ(read.item(0).label, "On ");
}

TEST(ReadingATemplate, keepsWindows1252TextsSoTheyShowRight) {
    CDatedPicture templ;
    templ.prefix = "Dat\xe9_";                                                      // é in Windows-1252
    addVisibleItem(templ, kTagLabel, "Caf\xe9").label = "\x80 10 \x96 Caf\xc3\xa9"; // €, en dash; then UTF-8
    const Bytes bytes = recordOf(templ);

    CDatedPicture read;
    ScriptedDialogs user;
    read.ParseTemplate(bytes.data(), bytes.size(), user);
    ASSERT_EQ(read.itemCount, 1);
    EXPECT_EQ(read.prefix, "Dat\xe9_");
    EXPECT_EQ(imaging::toQString(read.prefix), QString::fromUtf8("Daté_"));
    EXPECT_EQ(imaging::toQString(read.item(0).displayName), QString::fromUtf8("Café"));
    EXPECT_EQ(imaging::toQString(read.item(0).label), QString::fromUtf8("€ 10 – Café"));
}

// --- the watermark ------------------------------------------------------------------------------

TEST(ReadingATemplate, loadsTheWatermarkOfAWatermarkItemFromTheTemplateFolder) {
    TempDir dir;
    writePng(dir.path("logo.png"), 24, 16, QColor(255, 255, 255, 128));
    CDatedPicture templ;
    addVisibleItem(templ, kTagDateTime, "Date Time");
    ImprintItem& mark = addVisibleItem(templ, kTagWatermark, "Watermark");
    mark.fontName = "logo.png";
    mark.fontSize = 90;
    addVisibleItem(templ, kTagLabel, "Credit");
    ASSERT_EQ(templ.WriteTemplate(dir.path("mark.tpl")), 0);
    CDatedPicture plain;
    plain.MakeNewTemplate();
    ASSERT_EQ(plain.WriteTemplate(dir.path("plain.tpl")), 0);

    CDatedPicture read;
    read.templateDir = dir.root();
    ScriptedDialogs user;
    ASSERT_EQ(read.ReadTemplate(dir.path("mark.tpl"), user), 0);
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ(read.watermarkIndex, 1);
    ASSERT_TRUE(read.watermarkBitmap);
    EXPECT_EQ(read.watermarkBitmap->width(), 24);
    EXPECT_EQ(read.itemCount, 3); // the item in the file is the watermark item, not a new one
    EXPECT_EQ(read.item(1).visible, 1);
    EXPECT_EQ(read.item(1).fontSize, 90);
    EXPECT_EQ(read.item(1).displayName, "Watermark");

    // The next template without a watermark leaves none behind.
    ASSERT_EQ(read.ReadTemplate(dir.path("plain.tpl"), user), 0);
    EXPECT_EQ(read.watermarkIndex, -1);
    EXPECT_FALSE(read.watermarkBitmap);

    // A watermark file that is missing is reported; the item still marks the watermark's place.
    QFile::remove(QString::fromStdString(dir.path("logo.png")));
    ASSERT_EQ(read.ReadTemplate(dir.path("mark.tpl"), user), 0);
    EXPECT_EQ(user.texts(),
              std::vector<std::string>{"Unable to load Watermark " + dir.path("logo.png") + "."});
    EXPECT_EQ(read.watermarkIndex, 1);
    EXPECT_FALSE(read.watermarkBitmap);
}

// --- files that cannot be read or written -------------------------------------------------------

TEST(ReadingATemplate, thatCannotOpenTheFileChangesNothing) {
    TempDir dir;
    // A pipe would keep the reader waiting for a writer that never comes.
    ASSERT_EQ(::mkfifo(dir.path("pipe.tpl").c_str(), 0600), 0);
    for (const std::string& path : {dir.path("missing.tpl"), dir.root(), dir.path("pipe.tpl")}) {
        SCOPED_TRACE(path);
        CDatedPicture read;
        read.prefix = "Mine_";
        read.templatePath = "earlier.tpl";
        ScriptedDialogs user;
        EXPECT_EQ(read.ReadTemplate(path, user), 1);
        EXPECT_TRUE(user.shown.empty());
        EXPECT_EQ(read.prefix, "Mine_");
        EXPECT_EQ(read.templatePath, "earlier.tpl");
    }
}

TEST(ReadingATemplate, thatIsCorruptReportsItOnceAndLeavesATemplateThatStillWorks) {
    TempDir dir;
    CDatedPicture good;
    good.MakeNewTemplate();
    good.prefix = "Good_";
    addVisibleItem(good, kTagLabel, "Credit").label = "Ann";
    ASSERT_EQ(good.WriteTemplate(dir.path("good.tpl")), 0);
    const Bytes record = fileBytes(dir.path("good.tpl"));

    struct Case {
        const char* name;
        Bytes bytes;
        bool reported;
    };
    Bytes hugeCount = record;
    putInt32(hugeCount, 94, 0x7fffffff);
    Bytes badExtra = record;
    putInt32(badExtra, itemStart(good, 1) + extraLengthOffset(good.item(1)), 100000);
    Bytes future = record; // a later version's fields after the last item
    const std::string later = "Orvalinquestaporimex 2.00 fields";
    future.insert(future.end(), later.begin(), later.end());
    const std::vector<Case> cases = {
        {"an item count no list holds", hugeCount, true},
        {"an extra length out of range", badExtra, true},
        {"more than any template holds", Bytes((16 << 20) + 1, 0), true},
        {"a template from a later version", future, false},
        {"nothing", Bytes(), false},
    };
    TempDir photos;
    photofactory::Photo photo;
    photo.tags = {{"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}};
    ASSERT_EQ(photofactory::writePhoto(photos.path("photo.jpg"), photo), "");

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.path("corrupt.tpl");
        writeBytes(path, c.bytes);
        CDatedPicture templ; // as the application starts: a new template, then the default one read
        templ.MakeNewTemplate();
        templ.templateDir = dir.root();
        ScriptedDialogs user;
        EXPECT_EQ(templ.ReadTemplate(path, user), 0);
        EXPECT_EQ(user.texts(),
                  c.reported ? std::vector<std::string>{kCorruptMessage} : std::vector<std::string>{});
        EXPECT_EQ(fileBytes(path), c.bytes); // reading never writes

        // What was read applies to a photo, draws, and is written and read back without a word.
        CDatedPicture picture;
        ScriptedDialogs quiet;
        ASSERT_EQ(picture.LoadPicture(photos.path("photo.jpg"), templ, quiet), 1);
        picture.RenderDatedImage();
        ASSERT_TRUE(picture.workPicture);
        ASSERT_EQ(templ.WriteTemplate(dir.path("rewritten.tpl")), 0);
        CDatedPicture again;
        EXPECT_EQ(again.ReadTemplate(dir.path("rewritten.tpl"), quiet), 0);
        EXPECT_EQ(recordOf(again), recordOf(templ));
        EXPECT_TRUE(quiet.shown.empty()) << quiet.shown.front().text;
    }
}

TEST(ReadingATemplate, keepsTheCopysNameInTheOutputFolderAndUsesOnlyAFolderThatIsThere) {
    TempDir dir;
    const struct {
        const char* prefix;
        const char* postfix;
        const char* outputDir; // "*" stands for an existing folder named by its full path
        bool reported;
        const char* outputDirRead;
    } rows[] = {
        {"Dated_", " (1)", "*", false, "*"},
        {"../../../x_", "", "*", true, "*"},       // leads out of the output folder
        {"Dated_", "/../x", "", true, ""},         // so does a postfix
        {"..", "", "", true, ""},                  // a folder's name, not a name piece
        {"a\\b", "", "", true, ""},                // the other system's separator
        {"Dated_", "", "relative/out", false, ""}, // depends on the current folder
        {"Dated_", "", "/no/such/folder", false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.prefix) + "|" + row.postfix + "|" + row.outputDir);
        const auto folder = [&](const char* f) {
            return std::string(f) == "*" ? dir.root() : std::string(f);
        };
        CDatedPicture templ;
        templ.MakeNewTemplate();
        templ.prefix = row.prefix;
        templ.postfix = row.postfix;
        templ.outputDir = folder(row.outputDir);
        ASSERT_EQ(templ.WriteTemplate(dir.path("t.tpl")), 0);
        CDatedPicture read;
        ScriptedDialogs user;
        ASSERT_EQ(read.ReadTemplate(dir.path("t.tpl"), user), 0);
        EXPECT_EQ(user.texts(),
                  row.reported ? std::vector<std::string>{kCorruptMessage} : std::vector<std::string>{});
        EXPECT_EQ(read.prefix, row.reported ? "" : row.prefix);
        EXPECT_EQ(read.postfix, row.reported ? "" : row.postfix);
        EXPECT_EQ(read.outputDir, folder(row.outputDirRead));
    }
}

TEST(ATemplateFile, keepsWhatCameLaterInOneBlockThatOlderReadersNeverSee) {
    CDatedPicture templ;
    templ.MakeNewTemplate();
    templ.clockShiftSeconds = -(86400 + 3600);
    templ.localeNames = 1;
    ImprintItem& date = templ.item(0);
    date.effects.outline = date.effects.box = date.effects.boxRounded = date.effects.autoColor = true;
    date.effects.outlineColor = 0x102030;
    date.effects.boxPaddingPt = 3.5f;
    date.effects.boxOpacity = 90;
    date.dateSources = {DateSource::DateTimeOriginal, DateSource::FileName, DateSource::FileTime};
    ImprintItem& plain = addVisibleItem(templ, kTagLabel, "Plain");
    plain.label = "two\nlines";
    const Bytes bytes = recordOf(templ);

    CDatedPicture classic; // what the record holds without the block is the classic record
    classic.MakeNewTemplate();
    addVisibleItem(classic, kTagLabel, "Plain").label = "two\nlines";
    const Bytes classicBytes = recordOf(classic);
    ASSERT_GT(bytes.size(), classicBytes.size());
    EXPECT_TRUE(std::equal(classicBytes.begin(), classicBytes.end(), bytes.begin()));
    EXPECT_EQ(recordOf(classic).size(), classicBytes.size()) << "nothing new: no block";

    ScriptedDialogs user;
    CDatedPicture read;
    read.ParseTemplate(bytes.data(), bytes.size(), user);
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ(read.clockShiftSeconds, templ.clockShiftSeconds);
    EXPECT_EQ(read.localeNames, 1);
    ASSERT_EQ(read.itemCount, 2);
    EXPECT_EQ(read.item(0).effects, date.effects);
    EXPECT_EQ(read.item(0).dateSources, date.dateSources);
    EXPECT_EQ(read.item(1).effects, TextEffects());
    EXPECT_EQ(recordOf(read), bytes);

    // A block of a version to come, before this one's: stepped over without a word.
    Bytes future(classicBytes);
    const Bytes unknown = {'I', 'M', 'P', 'R', 'I', 'X', '+', 0, 99, 0, 0, 0, 3, 0, 0, 0, 1, 2, 3};
    future.insert(future.end(), unknown.begin(), unknown.end());
    future.insert(future.end(), bytes.begin() + static_cast<std::ptrdiff_t>(classicBytes.size()),
                  bytes.end());
    CDatedPicture later;
    later.ParseTemplate(future.data(), future.size(), user);
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ(later.item(0).effects, date.effects);
}

TEST(ATemplateFile, writtenBeforeTheBlockReadsAndWritesBackAsItWas) {
    // The templates that shipped before, and every kept fuzz input: read, then written, then read
    // again, nothing changes; the shipped ones are written back byte for byte.
    const QDir corpus(QStringLiteral(IMPRIX_FUZZ_CORPUS_DIR "/template"));
    for (const QString& name : corpus.entryList(QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        const Bytes bytes = fileBytes(corpus.filePath(name).toStdString());
        ScriptedDialogs user;
        CDatedPicture once;
        once.ParseTemplate(bytes.data(), bytes.size(), user);
        const Bytes written = recordOf(once);
        CDatedPicture twice;
        twice.ParseTemplate(written.data(), written.size(), user);
        EXPECT_EQ(recordOf(twice), written);
        if (name.endsWith(QLatin1String(".tpl")) &&
            QStringList{"Simple.tpl", "Caption.tpl", "Watermark.tpl"}.contains(name))
            EXPECT_EQ(written, bytes);
    }
}

TEST(WritingATemplate, thatCannotCreateTheFileReportsItAndChangesNothing) {
    TempDir dir;
    writeBytes(dir.path("plain-file"), Bytes{1, 2, 3});
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.path("folder.tpl"))));
    const std::string targets[] = {
        dir.path("plain-file") + "/t.tpl", // its folder is a file
        dir.path("folder.tpl"),            // a folder is in the way
        dir.path(std::string(300, 't')),   // a name longer than any folder takes
    };
    // A picture's own model, whose date was dragged away from the place its distances give.
    const auto draggedModel = [] {
        CDatedPicture model;
        model.MakeNewTemplate();
        model.workPicture = std::make_unique<imaging::Bitmap>(QImage(600, 400, QImage::Format_RGB32));
        model.item(0).posX = 300;
        model.modified = 1;
        model.templatePath = "earlier.tpl";
        return model;
    };
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        CDatedPicture model = draggedModel();
        std::string whyNot;
        EXPECT_EQ(model.WriteTemplate(target, &whyNot), 1);
        EXPECT_FALSE(whyNot.empty());
        EXPECT_EQ(model.modified, 1);
        EXPECT_EQ(model.templatePath, "earlier.tpl");
        EXPECT_EQ(model.item(0).offsetX, 42);
    }
    EXPECT_EQ(fileBytes(dir.path("plain-file")), (Bytes{1, 2, 3}));
    EXPECT_TRUE(QFileInfo(QString::fromStdString(dir.path("folder.tpl"))).isDir());

    CDatedPicture written = draggedModel(); // the same write where it can be made stores the new place
    ASSERT_EQ(written.WriteTemplate(dir.path("t.tpl")), 0);
    EXPECT_EQ(written.item(0).offsetX, 300 * 6 * 72 / 600);
}

TEST(WritingATemplate, thatFailsHalfwayLeavesTheOldFileWhole) {
    TempDir dir;
    CDatedPicture old;
    old.MakeNewTemplate();
    ASSERT_EQ(old.WriteTemplate(dir.path("t.tpl")), 0);
    const Bytes before = fileBytes(dir.path("t.tpl"));

    CDatedPicture templ;
    templ.MakeNewTemplate();
    templ.prefix = "Changed_";
    templ.item(0).label = std::string(400, 'x'); // a record far past the limit below
    templ.modified = 1;
    std::string whyNot;
    int result = 0;
    bool limited = false;
    {
        const FileSizeLimit limit(64);
        limited = limit.active();
        if (limited) result = templ.WriteTemplate(dir.path("t.tpl"), &whyNot);
    }
    if (!limited) GTEST_SKIP() << "the file size limit cannot be set here";

    EXPECT_EQ(result, 1);
    EXPECT_FALSE(whyNot.empty());
    EXPECT_EQ(fileBytes(dir.path("t.tpl")), before);
    EXPECT_EQ(templ.modified, 1);
    EXPECT_EQ(templ.templatePath, "");
    EXPECT_EQ(QDir(QString::fromStdString(dir.root())).entryList(QDir::Files | QDir::Hidden),
              QStringList{"t.tpl"}); // no half-written file left beside it
}

// --- the templates that ship --------------------------------------------------------------------

namespace {

const QString kShippedDir = QStringLiteral(IMPRIX_TEMPLATES_SRC_DIR);

int countPixels(const QImage& image, QRect area, const std::function<bool(QColor)>& wanted) {
    area = area.intersected(image.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += wanted(image.pixelColor(x, y));
    return n;
}

std::function<bool(QColor)> near(QColor want, int tolerance) {
    return [=](QColor c) {
        return std::abs(c.red() - want.red()) <= tolerance &&
               std::abs(c.green() - want.green()) <= tolerance &&
               std::abs(c.blue() - want.blue()) <= tolerance;
    };
}

QRect itemBox(const ImprintItem& it) {
    return QRect(it.posX + it.bounds.x, it.posY + it.bounds.y, it.bounds.width, it.bounds.height);
}

std::vector<const ImprintItem*> visibleItems(const CDatedPicture& picture) {
    std::vector<const ImprintItem*> shown;
    for (int i = 0; i < picture.itemCount; ++i)
        if (picture.item(i).visible) shown.push_back(&picture.item(i));
    return shown;
}

// A photo as a camera writes it, dated with the shipped template of that name.
class ShippedTemplate {
public:
    ShippedTemplate(const std::string& name, int width, int height) {
        photofactory::Photo photo;
        photo.width = width;
        photo.height = height;
        photo.color = kPhoto;
        photo.tags = {
            {"Exif.Image.Model", "Demo Camera"},   {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"},
            {"Exif.Photo.ExposureTime", "10/600"}, {"Exif.Photo.FNumber", "56/10"},
            {"Exif.Photo.ISOSpeedRatings", "200"},
        };
        const std::string path = dir.path("photo.jpg");
        EXPECT_EQ(photofactory::writePhoto(path, photo), "");
        templ.templateDir = kShippedDir.toStdString();
        EXPECT_EQ(templ.ReadTemplate(templ.templateDir + "/" + name, user), 0) << name;
        std::string whyNot;
        EXPECT_EQ(picture.LoadPicture(path, templ, user, &whyNot), 1) << whyNot;
        if (picture.workPicture) picture.RenderDatedImage();
    }

    const QImage& work() const { return picture.workPicture->image(); }

    static inline const QColor kPhoto = QColor(90, 140, 200);
    TempDir dir;
    CDatedPicture templ;
    CDatedPicture picture;
    ScriptedDialogs user;
};

} // namespace

TEST(TheShippedTemplates, areExactlyWhatTheirGeneratorWrites) {
    TempDir out;
    QProcess generator;
    generator.start(QStringLiteral(IMPRIX_MAKE_TEMPLATES_EXE), {QString::fromStdString(out.root())});
    ASSERT_TRUE(generator.waitForFinished(120000)); // only a guard against a hang
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();

    const QDir shipped(kShippedDir);
    const QDir made(QString::fromStdString(out.root()));
    const QStringList files = shipped.entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files, made.entryList(QDir::Files, QDir::Name));
    EXPECT_TRUE(files.contains("Simple.tpl"));
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        if (file.endsWith(".png")) {
            // Pictures by their pixels: another zlib may compress the same pixels differently.
            const QImage want = QImage(shipped.filePath(file)).convertToFormat(QImage::Format_ARGB32);
            const QImage got = QImage(made.filePath(file)).convertToFormat(QImage::Format_ARGB32);
            ASSERT_FALSE(want.isNull());
            EXPECT_TRUE(want == got);
        } else {
            EXPECT_EQ(fileBytes(shipped.filePath(file).toStdString()),
                      fileBytes(made.filePath(file).toStdString()));
        }
    }
}

TEST(TheShippedTemplates, simpleImprintsTheDateTakenInOrangeAtTheBottomRight) {
    ShippedTemplate t("Simple.tpl", 1200, 800);
    ASSERT_TRUE(t.picture.workPicture);
    EXPECT_TRUE(t.user.shown.empty());
    const auto shown = visibleItems(t.picture);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->tag, kTagDateTimeOriginal);
    const QRect box = itemBox(*shown[0]);
    EXPECT_TRUE(QRect(600, 400, 600, 400).contains(box)) << box.x() << "," << box.y();
    // The segments' insides are the solid orange; JPEG is not involved in the drawn text.
    EXPECT_GT(countPixels(t.work(), box, near(QColor(255, 128, 16), 3)), 100);
    EXPECT_EQ(countPixels(t.work(), QRect(0, 0, 1200, 400), near(QColor(255, 128, 16), 60)), 0);
}

TEST(TheShippedTemplates, captionAddsABandBelowAWidePhotoAndBesideATallOne) {
    {
        SCOPED_TRACE("3:2");
        ShippedTemplate t("Caption.tpl", 1200, 800);
        ASSERT_TRUE(t.picture.workPicture);
        EXPECT_TRUE(t.user.shown.empty());
        EXPECT_EQ(t.work().width(), 1200);
        EXPECT_NEAR(t.work().height(), 1000, 1); // 1200 / 1.2 in single precision may truncate to 999
        const auto shown = visibleItems(t.picture);
        EXPECT_EQ(shown.size(), 5u); // date, camera, ISO, f-stop, exposure time
        for (const ImprintItem* it : shown)
            EXPECT_TRUE(QRect(0, 800, 1200, 200).contains(itemBox(*it)));
        const auto darkGrey = near(QColor(60, 60, 60), 3);
        EXPECT_GT(countPixels(t.work(), QRect(0, 800, 400, 200), darkGrey), 100);   // the date
        EXPECT_GT(countPixels(t.work(), QRect(800, 800, 400, 200), darkGrey), 100); // camera and exposure
        EXPECT_EQ(t.work().pixelColor(600, 820), QColor(Qt::white));
    }
    {
        SCOPED_TRACE("2:3");
        ShippedTemplate t("Caption.tpl", 800, 1200);
        ASSERT_TRUE(t.picture.workPicture);
        EXPECT_NEAR(t.work().width(), 1000, 1);
        EXPECT_EQ(t.work().height(), 1200);
        const int band = static_cast<int>(t.picture.whiteOffsetX);
        EXPECT_EQ(band, t.work().width() - 800); // on the left
        for (const ImprintItem* it : visibleItems(t.picture)) {
            EXPECT_TRUE(QRect(0, 0, band, 1200).contains(itemBox(*it)));
            EXPECT_EQ(it->angle, 90); // read with the print turned to landscape
        }
    }
}

TEST(TheShippedTemplates, postcardWritesTwoWhiteLinesOnADarkBoxInTheCorner) {
    ShippedTemplate t("Postcard.tpl", 1200, 800);
    ASSERT_TRUE(t.picture.workPicture);
    EXPECT_TRUE(t.user.shown.empty());
    const auto shown = visibleItems(t.picture);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0]->effects.box);
    const QRect box = itemBox(*shown[0]);
    EXPECT_TRUE(QRect(0, 400, 600, 400).contains(box)) << box.x() << "," << box.y();
    EXPECT_GT(box.height(), 2 * shown[0]->fontSize * 1200 / 6 / 72) << "two lines";
    const auto dark = [](QColor c) {
        return c.lightness() < 100;
    }; // the photo is a light blue (lightness 145)
    const auto white = [](QColor c) { return c.lightness() > 240; };
    EXPECT_GT(countPixels(t.work(), box, dark), box.width() * box.height() / 2); // the box behind the text
    EXPECT_GT(countPixels(t.work(), box, white), 200);
}

TEST(TheShippedTemplates, watermarkLaysItsLogoAndCreditOverThePhoto) {
    ShippedTemplate t("Watermark.tpl", 1200, 800);
    ASSERT_TRUE(t.picture.workPicture);
    EXPECT_TRUE(t.user.shown.empty());
    ASSERT_TRUE(t.picture.watermarkBitmap);
    const auto shown = visibleItems(t.picture);
    ASSERT_EQ(shown.size(), 2u);
    const ImprintItem& logo = t.picture.item(t.picture.watermarkIndex);
    const ImprintItem& credit = *(shown[0] == &logo ? shown[1] : shown[0]);
    EXPECT_EQ(credit.tag, kTagLabel);
    EXPECT_TRUE(QRect(0, 400, 600, 400).contains(itemBox(logo)));
    EXPECT_TRUE(QRect(600, 400, 600, 400).contains(itemBox(credit)));
    // Both are drawn in white, partly transparent, over the blue photo, whose red is 90 at most.
    const auto light = [](QColor c) { return c.red() > 180; };
    EXPECT_GT(countPixels(t.work(), itemBox(logo), light), 1000);
    EXPECT_GT(countPixels(t.work(), itemBox(credit), light), 50);
    EXPECT_EQ(countPixels(t.work(), QRect(600, 0, 600, 400), light), 0);
}
