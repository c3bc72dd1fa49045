// Runs the built imprix-batch --items: on photos the tests write (the listing's form, its escapes,
// its exit status and error lines), and on the sample collection of real camera files, whose items
// must agree with what exiftool read from them.

#include "model/DatedPicture.h"

#include "photofactory/PhotoFactory.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

namespace {

struct BatchRun {
    int exitCode = -1;
    std::string out, err;
};

BatchRun runBatch(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(IMPRIX_BATCH_EXE), arguments);
    BatchRun run;
    if (!process.waitForStarted(-1) || !process.waitForFinished(-1)) {
        run.err = process.errorString().toStdString();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator && separator != '\n') parts.emplace_back();
    return parts;
}

// One photo's part of the listing: its header line, then its item lines split at the tabs.
struct Listing {
    std::string path;
    int width = 0, height = 0, itemCount = 0;
    std::vector<std::vector<std::string>> items;

    std::vector<const std::vector<std::string>*> withTag(const char* tag) const {
        std::vector<const std::vector<std::string>*> found;
        for (const auto& fields : items)
            if (fields.at(0) == tag) found.push_back(&fields);
        return found;
    }
};

std::vector<Listing> parseListing(const std::string& out) {
    std::vector<Listing> listings;
    for (const std::string& line : split(out, '\n')) {
        if (line.rfind("# ", 0) == 0) {
            // "# PATH (W x H pixels, N items)"; the path may itself hold " (".
            Listing listing;
            const auto open = line.rfind(" (");
            if (open == std::string::npos) {
                ADD_FAILURE() << "a header without the picture's size: " << line;
                continue;
            }
            listing.path = line.substr(2, open - 2);
            std::sscanf(line.c_str() + open, " (%d x %d pixels, %d items)", &listing.width, &listing.height,
                        &listing.itemCount);
            listings.push_back(listing);
        } else if (!listings.empty()) {
            listings.back().items.push_back(split(line, '\t'));
        } else {
            ADD_FAILURE() << "an item line before any header: " << line;
        }
    }
    return listings;
}

std::string writePhoto(const TempDir& dir, const std::string& name, const photofactory::Photo& photo) {
    const std::string path = dir.path(name);
    EXPECT_EQ(photofactory::writePhoto(path, photo), "");
    return path;
}

} // namespace

TEST(TheBatchListing, writesAHeaderAndSixTabSeparatedFieldsPerItem) {
    TempDir dir;
    photofactory::Photo photo;
    photo.tags = {{"Exif.Image.Make", "Cam\tera"},
                  {"Exif.Image.ImageDescription", "two\nlines"},
                  {"Exif.Image.Artist", "C:\\Photos\\Ann"},
                  {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}};
    const std::string jpeg = writePhoto(dir, "my\tphoto.jpg", photo);
    photo.tags.clear();
    photo.pngTime = photofactory::PngTime{2021, 3, 4, 5, 6, 7};
    const std::string png = writePhoto(dir, "plain.png", photo);

    const BatchRun run = runBatch({"--items", QString::fromStdString(jpeg), QString::fromStdString(png)});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");

    const std::vector<Listing> listings = parseListing(run.out);
    ASSERT_EQ(listings.size(), 2u);
    // The header names the photo with its escapes, its size and its number of items.
    EXPECT_EQ(listings[0].path, dir.path("my\\tphoto.jpg"));
    EXPECT_EQ(listings[0].width, 120);
    EXPECT_EQ(listings[0].height, 80);
    EXPECT_EQ(listings[1].path, png);
    for (const Listing& listing : listings) {
        SCOPED_TRACE(listing.path);
        EXPECT_EQ(static_cast<int>(listing.items.size()), listing.itemCount);
        for (const auto& fields : listing.items) {
            ASSERT_EQ(fields.size(), 6u) << "tag, name, label, type, value, listed";
            EXPECT_EQ(fields[0].size(), 6u);
            EXPECT_EQ(fields[0].rfind("0x", 0), 0u);
            EXPECT_TRUE(fields[5] == "0" || fields[5] == "1") << fields[5];
        }
        ASSERT_GE(listing.items.size(), 2u);
        EXPECT_EQ(listing.items[listing.items.size() - 2][0], "0xf701");
        EXPECT_EQ(listing.items.back()[0], "0xf702");
    }

    // Tab, line break and backslash inside texts are escaped.
    const Listing& first = listings[0];
    ASSERT_EQ(first.withTag("0x010f").size(), 1u);
    EXPECT_EQ(first.withTag("0x010f")[0]->at(4), "Cam\\tera");
    ASSERT_EQ(first.withTag("0x010e").size(), 1u);
    EXPECT_EQ(first.withTag("0x010e")[0]->at(4), "two\\nlines");
    ASSERT_EQ(first.withTag("0x013b").size(), 1u);
    EXPECT_EQ(first.withTag("0x013b")[0]->at(4), "C:\\\\Photos\\\\Ann");
    EXPECT_EQ(first.withTag("0xf702")[0]->at(4), "my\\tphoto.jpg");
    ASSERT_EQ(first.withTag("0x9003").size(), 1u);
    EXPECT_EQ(*first.withTag("0x9003")[0],
              (std::vector<std::string>{"0x9003", "Date Time Original", "Date Time Original: ",
                                        "PropertyTagTypeASCII", "2001:06:21 14:38:56", "0"}));
    // The PNG's time chunk is its Date Time.
    ASSERT_EQ(listings[1].withTag("0x0132").size(), 1u);
    EXPECT_EQ(listings[1].withTag("0x0132")[0]->at(4), "2021:03:04 05:06:07");
}

TEST(TheBatchListing, namesEachUnreadableFileOnOneLineAndListsTheOthers) {
    TempDir dir;
    photofactory::Photo photo;
    photo.tags = {{"Exif.Image.Make", "Canon"}};
    const std::string first = writePhoto(dir, "first.jpg", photo);
    const std::string last = writePhoto(dir, "last.png", photo);
    const std::string missing = dir.path("missing.jpg");
    const std::string corrupt = dir.path("corrupt.jpg");
    {
        QFile file(QString::fromStdString(corrupt));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xD8\xFF\xE0 this is where a picture would begin", 40);
    }
    const std::string jpeg4 = writePhoto(dir, "four.gif", photo); // a JPEG under a name no photo has

    const BatchRun run = runBatch({"--items", QString::fromStdString(first), QString::fromStdString(missing),
                                   QString::fromStdString(corrupt), QString::fromStdString(jpeg4),
                                   QString::fromStdString(last)});
    EXPECT_EQ(run.exitCode, 1);

    const std::vector<Listing> listings = parseListing(run.out);
    ASSERT_EQ(listings.size(), 2u);
    EXPECT_EQ(listings[0].path, first);
    EXPECT_EQ(listings[1].path, last);
    EXPECT_EQ(listings[1].withTag("0x010f").size(), 1u);

    const std::vector<std::string> errors = split(run.err, '\n');
    ASSERT_EQ(errors.size(), 3u) << run.err;
    const std::string* expected[] = {&missing, &corrupt, &jpeg4};
    for (std::size_t i = 0; i < errors.size(); ++i) {
        EXPECT_EQ(errors[i].rfind("imprix-batch: " + *expected[i] + ": ", 0), 0u) << errors[i];
        EXPECT_GT(errors[i].size(), ("imprix-batch: " + *expected[i] + ": ").size()) << "a reason follows";
    }
}

TEST(TheBatchProgram, answersHelpAndRefusesBadUsage) {
    // Help goes to the standard output and succeeds.
    const BatchRun help = runBatch({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("imprix-batch --items [--json] PHOTO..."), std::string::npos);

    const QStringList bad[] = {
        {},                          // nothing at all
        {"--items"},                 // no photo
        {"--bogus", "--items"},      // an unknown option
        {"--quality", "x", "a.jpg"}, // not a quality
        {"--json", "a.jpg"},         // a listing's form without a listing
    };
    for (const QStringList& arguments : bad) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const BatchRun run = runBatch(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        // One line of what is wrong and where help is, not the whole help.
        EXPECT_NE(run.err.find("Try 'imprix-batch --help' for more information."), std::string::npos)
            << run.err;
        EXPECT_EQ(run.err.find("Usage: imprix-batch"), std::string::npos);
    }
}

// ------------------------------------------------------------------------------------------------
// The sample collection against exiftool's reading of it.

namespace {

const std::string kSamples = IMPRIX_SAMPLES_DIR;

std::map<std::string, std::map<std::string, std::string>> readSummary() {
    std::map<std::string, std::map<std::string, std::string>> rows;
    QFile file(QString::fromStdString(kSamples + "/reference/summary.tsv"));
    if (!file.open(QIODevice::ReadOnly)) return rows;
    const std::vector<std::string> lines = split(file.readAll().toStdString(), '\n');
    if (lines.empty()) return rows;
    const std::vector<std::string> columns = split(lines[0], '\t');
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = split(lines[i], '\t');
        if (fields.size() != columns.size()) continue;
        for (std::size_t c = 0; c < columns.size(); ++c)
            rows[fields[0]][columns[c]] = fields[c];
    }
    return rows;
}

// exiftool's numbers ("raw") or its display texts ("txt") for a photo.
QJsonObject readReference(const std::string& file, const char* form = "raw") {
    QFile json(QString::fromStdString(kSamples + "/reference/" + file + "." + form + ".json"));
    if (!json.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(json.readAll()).array().at(0).toObject();
}

std::string trimRight(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// A rational's text as a number: "1/250", "0.5", "4/300", "1/160 sec", "51/1".
double rationalValue(const std::string& text) {
    double num = 0, den = 1;
    if (std::sscanf(text.c_str(), "%lf/%lf", &num, &den) == 2) return num / den;
    return std::atof(text.c_str());
}

// The Flash text back into the bits it shows (the "no flash function" bit has no words).
int flashBits(const std::string& text) {
    const std::pair<const char*, int> words[] = {
        {"Flash fired. ", 0x01},
        {"Strobe return light not detected. ", 0x04},
        {"Strobe return light detected. ", 0x06},
        {"Compulsory flash. ", 0x08},
        {"Flash off. ", 0x10},
        {"Auto flash. ", 0x18},
        {"Red eye mode. ", 0x40},
    };
    int bits = 0;
    for (const auto& [phrase, value] : words)
        if (text.find(phrase) != std::string::npos) bits |= value;
    return bits;
}

int orientationCode(const std::string& text) {
    const char* names[] = {
        "Normal",           "Top row Right col", "Bottom row Right col", "Bottom row Left col",
        "Left row Top col", "Right row Top col", "Right row Bottom col", "Left row Bottom col"};
    for (int i = 0; i < 8; ++i)
        if (text == names[i]) return i + 1;
    return 0;
}

// Expects no item of the tag where the reference has "-", else at least one, each matching it. A
// tag may be listed once per directory, as exiftool does.
template <class Match>
void expectTag(const Listing& listing, const char* tag, const std::string& reference, Match match) {
    SCOPED_TRACE(tag);
    const auto items = listing.withTag(tag);
    if (reference == "-") {
        EXPECT_TRUE(items.empty());
        return;
    }
    ASSERT_FALSE(items.empty());
    for (const auto* fields : items)
        match(fields->at(4), reference);
}

} // namespace

TEST(TheSampleCollection, listsTheItemsExiftoolReads) {
    const QDir photos(QString::fromStdString(kSamples + "/photos"));
    if (!photos.exists()) GTEST_SKIP() << "no sample collection at " << kSamples;
    const auto summary = readSummary();
    ASSERT_FALSE(summary.empty()) << "no reference/summary.tsv";

    QStringList arguments = {"--items"};
    const QStringList files = photos.entryList(QDir::Files, QDir::Name);
    for (const QString& file : files)
        arguments << photos.filePath(file);
    const BatchRun run = runBatch(arguments);
    std::map<std::string, Listing> listed;
    for (Listing& listing : parseListing(run.out))
        listed[listing.path] = std::move(listing);

    for (const QString& qfile : files) {
        const std::string file = qfile.toStdString();
        const std::string path = photos.filePath(qfile).toStdString();
        SCOPED_TRACE(file);
        if (!CDatedPicture::HasPictureExtension(path)) {
            // Four-letter extensions are not opened: one error line names the file.
            EXPECT_EQ(listed.count(path), 0u);
            EXPECT_NE(run.err.find("imprix-batch: " + path + ": "), std::string::npos);
            continue;
        }
        ASSERT_EQ(listed.count(path), 1u) << run.err;
        ASSERT_EQ(summary.count(file), 1u) << "no reference row";
        const Listing& listing = listed.at(path);
        const auto& ref = summary.at(file);
        const QJsonObject raw = readReference(file);

        // Texts: exiftool drops the blanks some cameras pad them with; the product keeps the bytes.
        const auto sameText = [](const std::string& text, const std::string& r) {
            EXPECT_EQ(trimRight(text), r);
        };
        expectTag(listing, "0x010f", ref.at("make"), sameText);
        expectTag(listing, "0x0110", ref.at("model"), sameText);
        // Dates exactly, blank ones too ("    :  :     :  :  ").
        const auto sameDate = [](const std::string& text, const std::string& r) { EXPECT_EQ(text, r); };
        expectTag(listing, "0x9003", ref.at("DateTimeOriginal"), sameDate);
        // Date Time is the main directory's date; a PNG without one has its time chunk's.
        std::string modified = ref.at("DateTime_IFD0_ModifyDate");
        if (modified == "-" && raw.value("PNG:ModifyDate").isString())
            modified = raw.value("PNG:ModifyDate").toString().toStdString();
        expectTag(listing, "0x0132", modified, sameDate);

        // Numbers, read back from the product's texts: both the product and exiftool round exposures to
        // the nearest 1/N, so they agree within 1 %; F-numbers show one decimal.
        expectTag(listing, "0x829a", ref.at("ExposureTime"),
                  [](const std::string& text, const std::string& r) {
                      EXPECT_NEAR(rationalValue(text), rationalValue(r), rationalValue(r) * 0.01) << text;
                  });
        expectTag(listing, "0x829d", ref.at("FNumber"), [](const std::string& text, const std::string& r) {
            EXPECT_NEAR(std::atof(text.c_str()), std::atof(r.c_str()), 0.05 + 1e-9) << text;
        });
        // exiftool shows every value of a multi-valued tag ("200 0"); the product the first.
        expectTag(listing, "0x8827", ref.at("ISO"), [](const std::string& text, const std::string& r) {
            EXPECT_EQ(text, split(r, ' ').at(0));
        });
        expectTag(listing, "0x9209", ref.at("Flash"), [](const std::string& text, const std::string& r) {
            EXPECT_EQ(flashBits(text), std::atoi(r.c_str()) & 0x5F) << text;
        });
        expectTag(listing, "0x0112", ref.at("Orientation"),
                  [](const std::string& text, const std::string& r) {
                      EXPECT_EQ(orientationCode(text), std::atoi(r.c_str())) << text;
                  });

        // A usable GPS position has latitude and longitude, whose first value is the whole degrees.
        const std::string gps = ref.at("has_GPS");
        for (const auto& [tag, key] :
             {std::pair{"0x0002", "GPS:GPSLatitude"}, {"0x0004", "GPS:GPSLongitude"}}) {
            if (gps == "void") continue; // a GPS directory without a position: anything or nothing
            const double degrees = std::trunc(std::fabs(raw.value(key).toDouble()));
            expectTag(listing, tag, gps == "yes" ? std::to_string(degrees) : "-",
                      [degrees](const std::string& text, const std::string&) {
                          EXPECT_EQ(std::trunc(rationalValue(text)), degrees) << text;
                      });
        }
        // Positions as exiftool writes them ("51 deg 28' 58.78\""), with the letter of their reference.
        const QJsonObject shown = readReference(file, "txt");
        for (const auto& [tag, key] : {std::pair{"0x0002", "GPSLatitude"}, {"0x0004", "GPSLongitude"}}) {
            if (gps != "yes") continue;
            const QString exiftool = shown.value(QStringLiteral("GPS:") + key).toString() + ' ' +
                                     raw.value(QStringLiteral("GPS:") + key + "Ref").toString();
            expectTag(listing, tag, exiftool.toStdString(),
                      [](const std::string& text, const std::string& r) {
                          const QString asExiftool = QString::fromStdString(text)
                                                         .replace(QChar(0x00b0), QLatin1String(" deg"))
                                                         .replace(QChar(0x2032), QChar('\''))
                                                         .replace(QChar(0x2033), QChar('"'));
                          EXPECT_EQ(asExiftool.toStdString(), r);
                      });
        }

        // The picture is decoded upright: the sizes swap for orientations 5 to 8.
        int width = 0, height = 0;
        ASSERT_EQ(std::sscanf(ref.at("decoded_WxH").c_str(), "%dx%d", &width, &height), 2);
        if (std::atoi(ref.at("Orientation").c_str()) >= 5) std::swap(width, height);
        EXPECT_EQ(listing.width, width);
        EXPECT_EQ(listing.height, height);
    }
}
