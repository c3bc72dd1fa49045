#include "model/DateSources.h"
#include "model/DatedPicture.h"

#include "photofactory/PhotoFactory.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/time.h>

TEST(AFileName, givesTheDateCamerasPhonesAndMessengersPutInIt) {
    const struct {
        const char* name;
        const char* date;
    } rows[] = {
        {"IMG_20180725_163423.jpg", "2018:07:25 16:34:23"},
        {"2018-07-25 16.34.23.jpg", "2018:07:25 16:34:23"},
        {"PXL_20230101_235959123.jpg", "2023:01:01 23:59:59"},
        {"Screenshot_2023-01-01-12-00-00.png", "2023:01:01 12:00:00"},
        {"WhatsApp Image 2023-01-01 at 12.00.00.jpeg", "2023:01:01 12:00:00"},
        {"IMG-20230101-WA0001.jpg", "2023:01:01 00:00:00"}, // a date alone
        {"VID_20240229_250000.jpg", "2024:02:29 00:00:00"}, // no hour 25: the date alone
        {"DSC_1234.jpg", ""},
        {"IMG_20231345_120000.jpg", ""}, // no month 13
        {"IMG_20230229_120000.jpg", ""}, // 2023 has no 29 February
        {"1220180725_163423.jpg", ""},   // part of a longer number
        {"scan 1887-01-01.jpg", ""},     // before the years cameras know
    };
    for (const auto& row : rows)
        EXPECT_EQ(DateInFileName(row.name), row.date) << row.name;
}

TEST(AClockShift, readsAndPrintsDaysHoursMinutesAndSeconds) {
    EXPECT_EQ(ParseClockShift("0:01:00:00", 1'000'000), 3600);
    EXPECT_EQ(ParseClockShift(" -1:02:03:04 ", 1'000'000), -(86400 + 2 * 3600 + 3 * 60 + 4));
    EXPECT_EQ(ParseClockShift("+2:0:0:5", 1'000'000), 2 * 86400 + 5);
    for (const char* bad : {"", "1:00:00", "0:24:00:00", "0:00:60:00", "x:00:00:00", "12:00:00:00"})
        EXPECT_FALSE(ParseClockShift(bad, 1'000'000)) << bad; // the last is longer than the longest
    EXPECT_EQ(ClockShiftText(-(86400 + 2 * 3600 + 3 * 60 + 4)), "-1:02:03:04");
    EXPECT_EQ(ClockShiftText(3600), "0:01:00:00");
}

namespace {

struct SourcesFixture {
    TempDir dir;
    ScriptedDialogs dialogs;
    CDatedPicture templ;

    explicit SourcesFixture(DateSources sources) {
        templ.MakeNewTemplate();
        templ.dateFormat = "%Y-%m-%d %H:%M:%S %z";
        templ.item(0).dateSources = std::move(sources);
    }

    // Loads a photo with the tags, its file last changed at `fileTime` (seconds since 1970) when given.
    CDatedPicture load(const std::string& name, std::vector<photofactory::Tag> tags, time_t fileTime = 0) {
        photofactory::Photo photo;
        photo.tags = std::move(tags);
        const std::string path = dir.path(name);
        EXPECT_EQ(photofactory::writePhoto(path, photo), "");
        if (fileTime != 0) {
            const timeval times[2] = {{fileTime, 0}, {fileTime, 0}};
            EXPECT_EQ(::utimes(path.c_str(), times), 0);
        }
        CDatedPicture picture;
        EXPECT_EQ(picture.LoadPicture(path, templ, dialogs), 1);
        return picture;
    }

    // What the picture's shown date item says, and where it came from (empty: its own tag).
    static std::pair<std::string, std::string> shown(const CDatedPicture& picture) {
        for (int i = 0; i < picture.itemCount; ++i) {
            const ImprintItem& it = picture.item(i);
            if (!it.visible || it.tag != kTagDateTimeOriginal) continue;
            return {FormatDate(CDatedPicture::DateTextOf(it), picture.dateFormat, picture.ShowingOf(it)),
                    it.resolvedDate.empty() ? "" : DateSourceName(it.resolvedFrom)};
        }
        return {"(no date)", ""};
    }
};

} // namespace

TEST(ADateItem, takesItsOwnTagFirstThenItsSourcesInTheirOrder) {
    using S = DateSource;
    SourcesFixture all(
        {S::DateTimeOriginal, S::DateTimeDigitized, S::DateTime, S::GpsDateTime, S::FileName, S::FileTime});
    const photofactory::Tag original{"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"};
    const photofactory::Tag offset{"Exif.Photo.OffsetTimeOriginal", "+02:00"};
    const photofactory::Tag digitized{"Exif.Photo.DateTimeDigitized", "2002:02:02 02:02:02"};
    const photofactory::Tag modified{"Exif.Image.DateTime", "2003:03:03 03:03:03"};
    const photofactory::Tag gpsDate{"Exif.GPSInfo.GPSDateStamp", "2004:04:04"};
    const photofactory::Tag gpsTime{"Exif.GPSInfo.GPSTimeStamp", "4/1 5/1 6/1"};
    const photofactory::Tag zeroDate{"Exif.Photo.DateTimeOriginal", "0000:00:00 00:00:00"};

    using Shown = std::pair<std::string, std::string>;
    EXPECT_EQ(SourcesFixture::shown(all.load("IMG_20180725_163423.jpg", {original, offset, digitized})),
              Shown("2001-06-21 14:38:56 +0200", ""));
    EXPECT_EQ(SourcesFixture::shown(all.load("a.jpg", {zeroDate, digitized, modified})),
              Shown("2002-02-02 02:02:02 ", "Date Time Digitized"));
    EXPECT_EQ(SourcesFixture::shown(all.load("b.jpg", {modified, gpsDate, gpsTime})),
              Shown("2003-03-03 03:03:03 ", "Date Time"));
    EXPECT_EQ(SourcesFixture::shown(all.load("c.jpg", {gpsDate, gpsTime})),
              Shown("2004-04-04 04:05:06 +0000", "the GPS time"));
    // A photo without any Exif: the name, else the file's time.
    EXPECT_EQ(SourcesFixture::shown(all.load("IMG_20180725_163423.jpg", {})),
              Shown("2018-07-25 16:34:23 ", "the file name"));
    const CDatedPicture fileTimeOnly = all.load("scan.jpg", {}, 1'000'000'000);
    EXPECT_EQ(SourcesFixture::shown(fileTimeOnly).second, "the file's time");
    EXPECT_EQ(CDatedPicture::DateTextOf(fileTimeOnly.item(fileTimeOnly.itemCount - 1)).size(), 19u);
    EXPECT_FALSE(fileTimeOnly.WhyNoDateIsShown(all.templ));
    EXPECT_EQ(fileTimeOnly.DatesFromOtherSources(), std::vector<std::string>{"the file's time"});

    // Another order: the file name before the Exif dates that are not the item's own.
    SourcesFixture nameFirst({S::FileName, S::DateTime});
    EXPECT_EQ(SourcesFixture::shown(nameFirst.load("IMG_20180725_163423.jpg", {modified})).second,
              "the file name");
    EXPECT_EQ(SourcesFixture::shown(nameFirst.load("IMG.jpg", {modified})).second, "Date Time");

    // Without sources, as every template before them: its own tag only.
    SourcesFixture own({});
    const CDatedPicture undated = own.load("IMG_20180725_163423.jpg", {modified});
    EXPECT_EQ(SourcesFixture::shown(undated).first, "(no date)");
    EXPECT_EQ(undated.WhyNoDateIsShown(own.templ), "the photo has no Date Time Original");
}
