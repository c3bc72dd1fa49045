// What a JPEG may cost to decode: one of more scans or segments than the limits is refused before the
// decoder or Exiv2 reads it.

#include "imaging/Bitmap.h"
#include "imaging/JpegStructure.h"
#include "imaging/PropertyReader.h"
#include "model/DatedPicture.h"

#include "support/TempDir.h"

#include <QByteArray>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

using namespace imaging;
using namespace std::string_literals;

namespace {

// A 320 x 320 colour JPEG of `scans` scans as libjpeg writes them: one for the DC of the three
// components, then one coefficient of one component at a time, its high bits and then its low bit.
// 0 scans writes a baseline JPEG with a restart marker after every 16 x 16 block (399 of them).
QByteArray jpegOfScans(int scans) {
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = c.image_height = 320;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    std::vector<jpeg_scan_info> script;
    script.push_back({3, {0, 1, 2}, 0, 0, 0, 0});
    for (int component = 0; component < 3; ++component)
        for (int k = 1; k <= 63; ++k) {
            script.push_back({1, {component}, k, k, 0, 1});
            script.push_back({1, {component}, k, k, 1, 0});
        }
    if (scans > 0) {
        c.scan_info = script.data();
        c.num_scans = scans;
    } else {
        c.restart_interval = 1;
    }
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(320 * 3);
    for (std::size_t i = 0; i < row.size(); ++i)
        row[i] = static_cast<JSAMPLE>(i * 7);
    JSAMPROW rows[] = {row.data()};
    while (c.next_scanline < c.image_height)
        jpeg_write_scanlines(&c, rows, 1);
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

// The baseline JPEG (12 markers) with empty comment segments after its SOI, to `markers` in all.
QByteArray withMarkers(const QByteArray& jpeg, int markers) {
    const int extra = markers - 12;
    QByteArray out = jpeg.left(2);
    for (int i = 0; i < extra; ++i)
        out.append("\xFF\xFE\x00\x02", 4);
    return out + jpeg.mid(2);
}

void writeAll(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

TEST(TheDecodingBudget, opensAJpegAtItsLimitsAndRefusesOnePastThemBeforeTheDecoderOrExiv2) {
    const auto tooMany = [](const char* what, int count, int limit) {
        return "too many "s + what + ": " + std::to_string(count) + " (at most " + std::to_string(limit) +
               ")";
    };
    const QByteArray restarts = jpegOfScans(0);
    struct Case {
        const char* name;
        QByteArray jpeg;
        int scans;
        std::string refusal; // empty: it opens
    };
    const std::vector<Case> cases = {
        // Every scan one libjpeg's encoder allows, as many as the limit, then one more.
        {"scans at the limit", jpegOfScans(kMaxJpegScans), kMaxJpegScans, ""},
        {"a scan past the limit", jpegOfScans(kMaxJpegScans + 1), kMaxJpegScans + 1,
         tooMany("scans", kMaxJpegScans + 1, kMaxJpegScans)},
        // Comments up to the limit: the restart markers inside the scan are no segments and do not count.
        {"markers at the limit", withMarkers(restarts, kMaxJpegMarkers), 1, ""},
        {"a marker past the limit", withMarkers(restarts, kMaxJpegMarkers + 1), 1,
         tooMany("markers", kMaxJpegMarkers + 1, kMaxJpegMarkers)},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.path("budget.jpg");
        writeAll(path, c.jpeg);
        EXPECT_EQ(jpegStructure(path).scans, c.scans);

        Status status = Status::Ok;
        std::string reason, problem;
        const auto bitmap = Bitmap::fromFile(path, status, &reason);
        readProperties(path, &problem);
        if (c.refusal.empty()) {
            ASSERT_NE(bitmap, nullptr) << reason;
            EXPECT_EQ(bitmap->image().width(), 320);
            EXPECT_EQ(problem, "");
        } else {
            EXPECT_EQ(bitmap, nullptr);
            EXPECT_EQ(status, Status::OutOfMemory);
            EXPECT_EQ(reason, c.refusal);
            EXPECT_EQ(problem, c.refusal);
        }
    }
}
