#include "imaging/JpegWriter.h"

#include <QColorSpace>

#include "imaging/JpegErrors.h"
#include "imaging/RowGate.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace imaging {
namespace {

constexpr int kMaxMarkerData = 65533; // the length field of a marker counts itself

} // namespace

// What the compression needs, all made before libjpeg starts: libjpeg leaves by longjmp, which must
// not skip a destructor.
struct JpegWriterPlan {
    bool takes = false; // the image is one the writer takes
    JDIMENSION width = 0;
    JDIMENSION height = 0;
    int quality = 75;
    bool optimize = false;
    RowGate* gate = nullptr;
    UINT8 densityUnit = 0;
    UINT16 xDensity = 0;
    UINT16 yDensity = 0;
    std::vector<JSAMPROW> rows;
    std::vector<QByteArray> comments;
    std::vector<QByteArray> iccMarkers;
};

namespace {

using Plan = JpegWriterPlan;

// libjpeg's destination: a byte array grown as the encoding needs, sized at the end.
struct ArrayDestination {
    jpeg_destination_mgr manager; // first, so that libjpeg's pointer to it is one to the whole
    QByteArray* out;
};

void startArray(j_compress_ptr info) {
    auto* d = reinterpret_cast<ArrayDestination*>(info->dest);
    d->manager.next_output_byte = reinterpret_cast<JOCTET*>(d->out->data());
    d->manager.free_in_buffer = static_cast<std::size_t>(d->out->size());
}

boolean growArray(j_compress_ptr info) {
    auto* d = reinterpret_cast<ArrayDestination*>(info->dest);
    const qsizetype used = d->out->size();
    bool grown = false;
    try { // no exception may pass through libjpeg's frames
        d->out->resize(used + std::max<qsizetype>(used / 2, 64 * 1024));
        grown = d->out->size() > used;
    } catch (...) {
    }
    if (!grown) ERREXIT(info, JERR_OUT_OF_MEMORY);
    d->manager.next_output_byte = reinterpret_cast<JOCTET*>(d->out->data()) + used;
    d->manager.free_in_buffer = static_cast<std::size_t>(d->out->size() - used);
    return TRUE;
}

void endArray(j_compress_ptr info) {
    auto* d = reinterpret_cast<ArrayDestination*>(info->dest);
    d->out->resize(d->out->size() - static_cast<qsizetype>(d->manager.free_in_buffer));
}

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

// Runs libjpeg over the planned rows into `out`, waiting for the gate's rows when there is one. Returns
// false with libjpeg's reason in exit.message. `info` belongs to the caller so that it keeps its value
// when libjpeg jumps back here.
bool compress(const Plan& plan, jpeg_compress_struct& info, JpegErrorExit& exit, ArrayDestination& dest) {
    info.err = useJpegErrorExit(exit);
    if (setjmp(exit.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    dest.manager.init_destination = startArray;
    dest.manager.empty_output_buffer = growArray;
    dest.manager.term_destination = endArray;
    info.dest = &dest.manager;
    info.image_width = plan.width;
    info.image_height = plan.height;
    info.input_components = 4;
    info.in_color_space = kQRgbLayout;
    jpeg_set_defaults(&info);
    info.density_unit = plan.densityUnit;
    info.X_density = plan.xDensity;
    info.Y_density = plan.yDensity;
    jpeg_set_quality(&info, plan.quality, TRUE /* baseline tables */);
    info.optimize_coding = plan.optimize ? TRUE : FALSE;
    jpeg_start_compress(&info, TRUE);
    for (const QByteArray& comment : plan.comments)
        jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(comment.constData()),
                          static_cast<unsigned int>(comment.size()));
    for (const QByteArray& icc : plan.iccMarkers)
        jpeg_write_marker(&info, JPEG_APP0 + 2, reinterpret_cast<const JOCTET*>(icc.constData()),
                          static_cast<unsigned int>(icc.size()));
    while (info.next_scanline < info.image_height) {
        JDIMENSION ready = info.image_height;
        if (plan.gate) {
            // A block row at a time at least, as libjpeg encodes them.
            const int wanted = static_cast<int>(info.next_scanline) + 16;
            const int readable = plan.gate->waitFor(wanted);
            if (readable < 0) {
                jpeg_destroy_compress(&info);
                std::strcpy(exit.message, "the picture's rows were never made");
                return false;
            }
            ready = static_cast<JDIMENSION>(readable);
        }
        jpeg_write_scanlines(&info, const_cast<JSAMPARRAY>(plan.rows.data()) + info.next_scanline,
                             ready - info.next_scanline);
        if (plan.gate) plan.gate->consumed(static_cast<int>(info.next_scanline));
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

JpegWriter::JpegWriter(const QImage& image, const JpegEncoding& how)
    : plan_(std::make_unique<JpegWriterPlan>()) {
    Plan& plan = *plan_;
    plan.takes = !image.isNull() && jpegWriterTakes(image.format());
    if (!plan.takes) return;
    plan.width = static_cast<JDIMENSION>(image.width());
    plan.height = static_cast<JDIMENSION>(image.height());
    plan.quality = qBound(0, how.quality, 100);
    plan.optimize = how.optimizeHuffman;
    plan.gate = how.rows;
    planDensity(image, plan);
    planMarkers(image, plan);
    plan.rows.resize(static_cast<std::size_t>(image.height()));
    // constScanLine: the image may share its pixels with another, and libjpeg only reads them.
    const RowRing* ring = how.rows ? how.ring : nullptr;
    for (int y = 0; y < image.height(); ++y)
        plan.rows[static_cast<std::size_t>(y)] =
            ring && ring->streams(y) ? ring->slot(y) : const_cast<JSAMPROW>(image.constScanLine(y));
}

JpegWriter::~JpegWriter() = default;

EncodeResult JpegWriter::encode(QByteArray& out) {
    const Plan& plan = *plan_;
    out.clear();
    if (!plan.takes) {
        if (plan.gate) plan.gate->abandon();
        return {Status::InvalidParameter,
                plan.width == 0 ? "there is no picture to write" : "pixels of an unexpected format"};
    }
    // Room for the file at once, so that it is seldom grown: a camera photo at quality 60 takes about
    // a sixth of a byte a pixel, at 90 half a byte.
    const qsizetype pixels = qsizetype(plan.width) * plan.height;
    out.resize(std::max<qsizetype>(64 * 1024, plan.quality > 85 ? pixels : pixels / 3));
    jpeg_compress_struct info{};
    JpegErrorExit exit{};
    ArrayDestination dest{{}, &out};
    if (!compress(plan, info, exit, dest)) {
        out.clear();
        return {Status::GenericError, exit.message};
    }
    return {Status::Ok, {}};
}

EncodeResult writeJpeg(const QImage& image, int quality, QByteArray& out) {
    return JpegWriter(image, {quality, false, nullptr}).encode(out);
}

} // namespace imaging
