#include "imaging/JpegWriter.h"

#include <QColorSpace>

#include "imaging/JpegErrors.h"

#include <cstdlib>
#include <vector>

namespace imaging {
namespace {

// How a QRgb lies in memory: blue, green, red, alpha on a little-endian machine.
constexpr J_COLOR_SPACE kQRgbLayout = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

constexpr int kMaxMarkerData = 65533; // the length field of a marker counts itself

// What the compression needs, all made before libjpeg starts: libjpeg leaves by longjmp, which must
// not skip a destructor.
struct Plan {
    JDIMENSION width = 0;
    JDIMENSION height = 0;
    int quality = 75;
    UINT8 densityUnit = 0;
    UINT16 xDensity = 0;
    UINT16 yDensity = 0;
    std::vector<JSAMPROW> rows;
    std::vector<QByteArray> comments;
    std::vector<QByteArray> iccMarkers;
};

// The resolution as Qt's writer states it: in dots per inch when the image's dots per metre are nearer
// a whole number of them than of dots per centimetre, else in dots per centimetre.
void planDensity(const QImage& image, Plan& plan) {
    const int x = image.dotsPerMeterX(), y = image.dotsPerMeterY();
    const qreal diffInch =
        qAbs(x * 2.54 / 100. - qRound(x * 2.54 / 100.)) + qAbs(y * 2.54 / 100. - qRound(y * 2.54 / 100.));
    const qreal diffCm = (qAbs(x / 100. - qRound(x / 100.)) + qAbs(y / 100. - qRound(y / 100.))) * 2.54;
    if (diffInch < diffCm) {
        plan.densityUnit = 1;
        plan.xDensity = static_cast<UINT16>(qRound(x * 2.54 / 100.));
        plan.yDensity = static_cast<UINT16>(qRound(y * 2.54 / 100.));
    } else {
        plan.densityUnit = 2;
        plan.xDensity = static_cast<UINT16>((x + 50) / 100);
        plan.yDensity = static_cast<UINT16>((y + 50) / 100);
    }
}

// The image's texts as comment markers, "key: value" in key order; its colour space as an ICC profile
// in as many APP2 markers as it takes, each headed "ICC_PROFILE", its number and the count.
void planMarkers(const QImage& image, Plan& plan) {
    for (const QString& key : image.textKeys()) {
        if (key.isEmpty()) continue;
        QByteArray comment = key.toUtf8() + ": " + image.text(key).toUtf8();
        if (comment.size() > kMaxMarkerData) comment.truncate(kMaxMarkerData);
        plan.comments.push_back(comment);
    }
    const QByteArray profile = image.colorSpace().iccProfile();
    const QByteArray signature("ICC_PROFILE", 12);
    constexpr int kChunk = kMaxMarkerData - (12 + 2);
    const int count = static_cast<int>((profile.size() + kChunk - 1) / kChunk);
    if (count > 255) return; // the numbering has one byte
    for (int i = 0; i < count; ++i) {
        QByteArray marker = signature;
        marker.append(static_cast<char>(i + 1)).append(static_cast<char>(count));
        marker.append(profile.mid(static_cast<qsizetype>(i) * kChunk, kChunk));
        plan.iccMarkers.push_back(marker);
    }
}

// Runs libjpeg over the planned rows into a buffer it allocates (`*buffer`, freed by the caller even
// on failure). Returns false with libjpeg's reason in exit.message. `info` belongs to the caller so
// that it keeps its value when libjpeg jumps back here.
bool compress(const Plan& plan, jpeg_compress_struct& info, JpegErrorExit& exit, unsigned char** buffer,
              unsigned long* size) {
    info.err = useJpegErrorExit(exit);
    if (setjmp(exit.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = plan.width;
    info.image_height = plan.height;
    info.input_components = 4;
    info.in_color_space = kQRgbLayout;
    jpeg_set_defaults(&info);
    info.density_unit = plan.densityUnit;
    info.X_density = plan.xDensity;
    info.Y_density = plan.yDensity;
    jpeg_set_quality(&info, plan.quality, TRUE /* baseline tables */);
    jpeg_start_compress(&info, TRUE);
    for (const QByteArray& comment : plan.comments)
        jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(comment.constData()),
                          static_cast<unsigned int>(comment.size()));
    for (const QByteArray& icc : plan.iccMarkers)
        jpeg_write_marker(&info, JPEG_APP0 + 2, reinterpret_cast<const JOCTET*>(icc.constData()),
                          static_cast<unsigned int>(icc.size()));
    while (info.next_scanline < info.image_height) {
        jpeg_write_scanlines(&info, const_cast<JSAMPARRAY>(plan.rows.data()) + info.next_scanline,
                             info.image_height - info.next_scanline);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

bool jpegWriterTakes(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

EncodeResult writeJpeg(const QImage& image, int quality, QByteArray& out) {
    out.clear();
    if (image.isNull()) return {Status::InvalidParameter, "there is no picture to write"};
    if (!jpegWriterTakes(image.format())) return {Status::InvalidParameter, "pixels of an unexpected format"};

    Plan plan;
    plan.width = static_cast<JDIMENSION>(image.width());
    plan.height = static_cast<JDIMENSION>(image.height());
    plan.quality = qBound(0, quality, 100);
    planDensity(image, plan);
    planMarkers(image, plan);
    plan.rows.resize(static_cast<std::size_t>(image.height()));
    // constScanLine: the image may share its pixels with another, and libjpeg only reads them.
    for (int y = 0; y < image.height(); ++y)
        plan.rows[static_cast<std::size_t>(y)] = const_cast<JSAMPROW>(image.constScanLine(y));

    jpeg_compress_struct info{};
    JpegErrorExit exit{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool done = compress(plan, info, exit, &buffer, &size);
    if (done) out = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    if (!done) return {Status::GenericError, exit.message};
    return {Status::Ok, {}};
}

} // namespace imaging
