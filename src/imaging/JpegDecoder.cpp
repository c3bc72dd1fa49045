#include "imaging/JpegDecoder.h"

#include "imaging/JpegErrors.h"
#include "imaging/RowGate.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDataStream>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace imaging {
namespace {

// Rows decoded per call, and the height of the band a turned photo is decoded into before its
// columns become rows: one 4:2:0 block row.
constexpr int kBandRows = 16;

// libjpeg's source of a file read through its descriptor, a buffer at a time.
struct FileSource {
    jpeg_source_mgr manager; // first, so that libjpeg's pointer to it is one to the whole
    int fd;
    JOCTET buffer[64 * 1024];
    JOCTET endOfImage[2];
};

void initSource(j_decompress_ptr) {}

boolean fillBuffer(j_decompress_ptr info) {
    auto* source = reinterpret_cast<FileSource*>(info->src);
    ssize_t n;
    do {
        n = ::read(source->fd, source->buffer, sizeof source->buffer);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        // The file ends early: an end-of-image marker is made up, as Qt's reader does, so that what was
        // read decodes and the rest is left for libjpeg to fill.
        source->endOfImage[0] = 0xFF;
        source->endOfImage[1] = JPEG_EOI;
        source->manager.next_input_byte = source->endOfImage;
        source->manager.bytes_in_buffer = 2;
        return TRUE;
    }
    source->manager.next_input_byte = source->buffer;
    source->manager.bytes_in_buffer = static_cast<std::size_t>(n);
    return TRUE;
}

void skipInput(j_decompress_ptr info, long bytes) {
    auto* source = reinterpret_cast<FileSource*>(info->src);
    if (bytes <= 0) return;
    const auto wanted = static_cast<std::size_t>(bytes);
    if (wanted <= source->manager.bytes_in_buffer) {
        source->manager.next_input_byte += wanted;
        source->manager.bytes_in_buffer -= wanted;
        return;
    }
    const off_t beyond = static_cast<off_t>(wanted - source->manager.bytes_in_buffer);
    source->manager.bytes_in_buffer = 0;
    ::lseek(source->fd, beyond, SEEK_CUR); // a regular file: past its end, the next read ends it
    fillBuffer(info);
}

void termSource(j_decompress_ptr) {}

// The Exif orientation in the APP1 segments (all of them, one after the other) as Qt's reader finds
// it: the first Orientation entry of the first directories in file order, which must be one SHORT of
// 1 to 8; 0 when there is none, -1 when the data is damaged.
int exifOrientation(const QByteArray& app1) {
    constexpr int kMaxDirectories = 10; // five in Exif, room for extensions
    constexpr qint64 kHeader = 6;       // "Exif\0\0"
    if (!app1.startsWith(QByteArray("Exif\0\0", 6))) return -1;
    QBuffer buffer;
    buffer.setData(app1);
    if (!buffer.open(QIODevice::ReadOnly) || !buffer.seek(kHeader)) return -1;
    QDataStream stream(&buffer);
    quint16 word = 0;
    stream >> word;
    if (word == 0x4949)
        stream.setByteOrder(QDataStream::LittleEndian);
    else if (word != 0x4d4d)
        return -1;
    stream >> word;
    if (word != 0x2a) return -1;
    quint32 offset = 0;
    stream >> offset;
    for (int n = 0; n < kMaxDirectories; ++n) {
        // Directories only ever lie further on.
        if (qint64(offset) < buffer.pos() - kHeader || qint64(offset) + kHeader >= app1.size()) return -1;
        if (!buffer.seek(qint64(offset) + kHeader)) return -1;
        quint16 entries = 0;
        stream >> entries;
        for (; entries > 0 && stream.status() == QDataStream::Ok; --entries) {
            quint16 tag = 0, type = 0, value = 0, unused = 0;
            quint32 count = 0;
            stream >> tag >> type >> count >> value >> unused;
            if (tag != 0x0112) continue;
            return count == 1 && type == 3 && value >= 1 && value <= 8 ? value : -1;
        }
        stream >> offset;
        if (stream.status() != QDataStream::Ok) return -1;
        if (offset == 0) return 0;
    }
    return -1;
}

// A comment as Qt's reader keeps it: "key: value", or the whole comment as "Description".
std::pair<QString, QString> commentText(const jpeg_saved_marker_ptr marker) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(marker->data),
                                           static_cast<qsizetype>(marker->data_length));
    const qsizetype colon = text.indexOf(QLatin1String(": "));
    if (colon == -1 || text.indexOf(QLatin1Char(' ')) < colon) return {QStringLiteral("Description"), text};
    return {text.left(colon), text.mid(colon + 2)};
}

} // namespace

struct JpegDecoderState {
    jpeg_decompress_struct info{};
    JpegErrorExit exit{};
    FileSource source{};
    bool created = false;
    bool opened = false;
    bool decoded = false;
    QByteArray data; // the JPEG data of open(QByteArray), held while libjpeg reads it
    int orientation = 1;
    bool cmyk = false;
    std::vector<std::pair<QString, QString>> texts;
    QByteArray iccProfile;
    std::string reason;
    std::string warning;

    ~JpegDecoderState() {
        if (created) jpeg_destroy_decompress(&info);
        if (source.fd >= 0) ::close(source.fd);
    }
};

namespace {

using State = JpegDecoderState;

// Where the decoded rows go: the target's pixel at the photo's top-left, and how the photo is turned.
struct Placement {
    unsigned char* origin;
    qsizetype bytesPerLine;
    int width; // stored
    int height;
    bool mirror;         // x runs right to left
    bool flip;           // y runs bottom to top
    bool transpose;      // stored rows become target columns
    unsigned char* band; // kBandRows stored rows, for a transposed photo
    RowGate* rows;
    int firstRow;  // of the target
    RowRing* ring; // rows of the target it streams pass through these
};

// What libjpeg runs under must not skip a destructor when it jumps back on an error: the functions
// from here to the end of the namespace hold plain data only.

bool readHeader(State& s, bool fromFile) {
    s.info.err = useJpegErrorExit(s.exit);
    if (setjmp(s.exit.jump)) return false;
    s.created = true;
    jpeg_create_decompress(&s.info);
    if (fromFile) {
        s.source.manager.init_source = initSource;
        s.source.manager.fill_input_buffer = fillBuffer;
        s.source.manager.skip_input_data = skipInput;
        s.source.manager.resync_to_restart = jpeg_resync_to_restart;
        s.source.manager.term_source = termSource;
        s.source.manager.bytes_in_buffer = 0;
        s.source.manager.next_input_byte = nullptr;
        s.info.src = &s.source.manager;
    } else {
        jpeg_mem_src(&s.info, reinterpret_cast<const unsigned char*>(s.data.constData()),
                     static_cast<unsigned long>(s.data.size()));
    }
    jpeg_save_markers(&s.info, JPEG_COM, 0xFFFF);
    jpeg_save_markers(&s.info, JPEG_APP0 + 1, 0xFFFF); // Exif
    jpeg_save_markers(&s.info, JPEG_APP0 + 2, 0xFFFF); // ICC profile
    jpeg_read_header(&s.info, TRUE);
    switch (s.info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        s.info.out_color_space = kQRgbLayout;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        s.info.out_color_space = JCS_CMYK;
        s.cmyk = true;
        break;
    default:
        return false; // leaves reason empty: said by the caller
    }
    jpeg_calc_output_dimensions(&s.info);
    return true;
}

// Inverted CMYK, as Photoshop writes it, to RGB as Qt's reader converts it, in place.
void cmykToRgb(unsigned char* row, int width) {
    for (int x = 0; x < width; ++x, row += 4) {
        const int k = row[3];
        const QRgb rgb = qRgb(k * row[0] / 255, k * row[1] / 255, k * row[2] / 255);
        std::memcpy(row, &rgb, 4);
    }
}

void reversePixels(unsigned char* row, int width) {
    auto* pixels = reinterpret_cast<quint32*>(row);
    std::reverse(pixels, pixels + width);
}

// Stored rows [y0, y0 + count) of the band become columns of the target: each target row gets the
// band's pixels side by side, one cache line of them for a full band.
void placeBand(const Placement& p, int y0, int count) {
    const std::size_t bandStride = std::size_t(p.width) * 4;
    for (int x = 0; x < p.width; ++x) {
        // Orientations 5 and 6 put stored column x on row x, 7 and 8 on row W-1-x; 5 and 8 keep the
        // stored rows' order left to right, 6 and 7 reverse it.
        const int row = p.mirror ? p.width - 1 - x : x;
        auto* to = reinterpret_cast<quint32*>(p.origin + row * p.bytesPerLine);
        const unsigned char* from = p.band + std::size_t(x) * 4;
        for (int i = 0; i < count; ++i) {
            const int y = y0 + i;
            std::memcpy(&to[p.flip ? p.height - 1 - y : y], from + i * bandStride, 4);
        }
    }
}

bool decodeRows(State& s, const Placement& p) {
    if (setjmp(s.exit.jump)) return false;
    jpeg_start_decompress(&s.info);
    JSAMPROW rows[kBandRows];
    while (s.info.output_scanline < s.info.output_height) {
        if (p.rows && p.rows->abandoned()) {
            std::strcpy(s.exit.message, "the decoding was stopped");
            return false;
        }
        const int y0 = static_cast<int>(s.info.output_scanline);
        const int count = std::min(kBandRows, p.height - y0);
        if (p.ring && !p.ring->settled) {
            // Rows pass through the ring from here on, once it is known where the painting starts.
            const int ownFrom = p.rows->armedRing();
            if (ownFrom >= 0) {
                p.ring->streamFrom = std::min(y0, ownFrom);
                p.ring->ownFrom = ownFrom;
                p.ring->settled = true;
                p.rows->settleRing();
            }
        }
        // Rows for the ring go where the reader has read the rows from a turn before.
        if (p.ring && (p.ring->streams(y0) || p.ring->streams(y0 + count - 1)) &&
            !p.rows->waitUntilConsumed(y0 + count - p.ring->slotCount)) {
            std::strcpy(s.exit.message, "the decoding was stopped");
            return false;
        }
        for (int i = 0; i < count; ++i) {
            const int y = y0 + i;
            if (p.transpose)
                rows[i] = p.band + std::size_t(i) * p.width * 4;
            else if (p.ring && p.ring->streams(y))
                rows[i] = p.ring->slot(y);
            else
                rows[i] = p.origin + (p.flip ? p.height - 1 - y : y) * p.bytesPerLine;
        }
        int done = 0;
        while (done < count)
            done += static_cast<int>(
                jpeg_read_scanlines(&s.info, rows + done, static_cast<JDIMENSION>(count - done)));
        for (int i = 0; i < count; ++i) {
            if (s.cmyk) cmykToRgb(rows[i], p.width);
            if (p.mirror && !p.transpose) reversePixels(rows[i], p.width);
        }
        if (p.transpose)
            placeBand(p, y0, count);
        else if (p.rows && !p.flip)
            p.rows->made(p.firstRow + y0 + count);
    }
    jpeg_finish_decompress(&s.info);
    return true;
}

} // namespace

JpegDecoder::JpegDecoder() : d_(std::make_unique<JpegDecoderState>()) {
    d_->source.fd = -1;
}

JpegDecoder::~JpegDecoder() = default;

bool JpegDecoder::open(const std::string& pathUtf8) {
    if (d_->created) return false;
    d_->source.fd = ::open(pathUtf8.c_str(), O_RDONLY | O_CLOEXEC);
    if (d_->source.fd < 0) {
        d_->reason = std::strerror(errno);
        return false;
    }
    return open(QByteArray());
}

bool JpegDecoder::open(const QByteArray& data) {
    State& s = *d_;
    if (s.created) return false;
    const bool fromFile = s.source.fd >= 0;
    if (!fromFile) s.data = data;
    if (!readHeader(s, fromFile)) {
        s.reason = s.exit.message[0] ? s.exit.message
                                     : "unsupported colour model of " +
                                           std::to_string(s.info.num_components) + " components";
        return false;
    }
    if (s.exit.damaged) s.warning = s.exit.message;

    QByteArray app1;
    for (jpeg_saved_marker_ptr m = s.info.marker_list; m != nullptr; m = m->next) {
        const auto* bytes = reinterpret_cast<const char*>(m->data);
        if (m->marker == JPEG_COM) {
            s.texts.push_back(commentText(m));
        } else if (m->marker == JPEG_APP0 + 1) {
            app1.append(bytes, static_cast<qsizetype>(m->data_length));
        } else if (m->marker == JPEG_APP0 + 2 && m->data_length > 128 + 4 + 14 &&
                   std::memcmp(bytes, "ICC_PROFILE", 12) == 0) {
            // The chunks in file order, their 14-byte heads left out, as Qt's reader joins them.
            s.iccProfile.append(bytes + 14, static_cast<qsizetype>(m->data_length) - 14);
        }
    }
    const int orientation = app1.isEmpty() ? 0 : exifOrientation(app1);
    s.orientation = orientation > 0 ? orientation : 1;
    s.opened = true;
    return true;
}

QSize JpegDecoder::storedSize() const {
    if (!d_->opened) return {};
    return QSize(static_cast<int>(d_->info.output_width), static_cast<int>(d_->info.output_height));
}

QSize JpegDecoder::size() const {
    const QSize stored = storedSize();
    return d_->orientation >= 5 ? stored.transposed() : stored;
}

int JpegDecoder::orientation() const {
    return d_->orientation;
}

bool JpegDecoder::decodesTopDown() const {
    return d_->orientation == 1 || d_->orientation == 2;
}

void JpegDecoder::describe(QImage& image) const {
    const jpeg_decompress_struct& info = d_->info;
    if (!d_->opened || image.isNull()) return;
    if (info.density_unit == 1) {
        image.setDotsPerMeterX(int(100. * info.X_density / 2.54));
        image.setDotsPerMeterY(int(100. * info.Y_density / 2.54));
    } else if (info.density_unit == 2) {
        image.setDotsPerMeterX(int(100. * info.X_density));
        image.setDotsPerMeterY(int(100. * info.Y_density));
    }
    for (const auto& [key, value] : d_->texts)
        image.setText(key, value);
    if (!d_->iccProfile.isEmpty()) image.setColorSpace(QColorSpace::fromIccProfile(d_->iccProfile));
}

bool JpegDecoder::decodeInto(QImage& target, QPoint at, RowGate* rows, RowRing* ring) {
    State& s = *d_;
    if (!s.opened || s.decoded) {
        s.reason = s.opened ? "the photo was decoded already" : "the photo was not opened";
        return false;
    }
    if (ring && (!rows || !decodesTopDown() || at != QPoint(0, 0) || ring->slotCount < 2 * kBandRows ||
                 ring->bytesPerLine < target.bytesPerLine())) {
        s.reason = "the photo's rows cannot pass through the ring";
        return false;
    }
    const QSize upright = size();
    if ((target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32 &&
         target.format() != QImage::Format_ARGB32_Premultiplied) ||
        !target.rect().contains(QRect(at, upright))) {
        s.reason = "the photo does not fit the picture it is decoded into";
        return false;
    }
    s.decoded = true;
    const int o = s.orientation;
    Placement p{};
    p.bytesPerLine = target.bytesPerLine();
    p.origin = target.bits() + at.y() * p.bytesPerLine + qsizetype(at.x()) * 4;
    p.width = static_cast<int>(s.info.output_width);
    p.height = static_cast<int>(s.info.output_height);
    // Exif orientations as stored pixel (x, y) to upright one: 2 (W-1-x, y), 3 (W-1-x, H-1-y),
    // 4 (x, H-1-y), 5 (y, x), 6 (H-1-y, x), 7 (H-1-y, W-1-x), 8 (y, W-1-x).
    p.mirror = o == 2 || o == 3 || o == 7 || o == 8;
    p.flip = o == 3 || o == 4 || o == 6 || o == 7;
    p.transpose = o >= 5;
    std::vector<unsigned char> band;
    if (p.transpose) {
        band.resize(std::size_t(kBandRows) * p.width * 4);
        p.band = band.data();
    }
    p.rows = rows;
    p.firstRow = at.y();
    p.ring = ring;
    const bool done = decodeRows(s, p);
    if (ring && !ring->settled) {
        // Decoded before the ring was armed: every row is in the target.
        ring->streamFrom = ring->ownFrom = upright.height();
        ring->settled = true;
    }
    if (ring) rows->settleRing();
    if (s.exit.damaged && s.warning.empty()) s.warning = s.exit.message;
    if (!done) {
        s.reason = s.exit.message;
        return false;
    }
    if (rows) rows->made(at.y() + upright.height());
    return true;
}

bool JpegDecoder::ranOutOfMemory() const {
    return d_->exit.manager.msg_code == JERR_OUT_OF_MEMORY;
}

const std::string& JpegDecoder::reason() const {
    return d_->reason;
}

const std::string& JpegDecoder::warning() const {
    return d_->warning;
}

} // namespace imaging
