#include "imaging/JpegCoefficients.h"

#include "imaging/JpegErrors.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace imaging {
namespace {

// How the stored picture turns upright: an upright pixel (x, y) is the stored pixel (u, v), or (y, x)
// when transposed, mirrored along the axes that flip.
struct Turn {
    bool transpose;
    bool flipX; // of the stored picture
    bool flipY;
};

// By Exif orientation, 1 to 8.
constexpr Turn kTurns[9] = {
    {false, false, false}, {false, false, false}, {false, true, false},
    {false, true, true},   {false, false, true},  {true, false, false},
    {true, false, true},   {true, true, true},    {true, true, false},
};

// One 8 x 8 block of the stored picture as the block it becomes upright: a transposed block swaps its
// frequencies, a mirrored one changes the sign of its odd frequencies along the mirrored axis.
void turnBlock(const JCOEF* in, JCOEF* out, Turn turn) {
    for (int r = 0; r < DCTSIZE; ++r) {
        for (int c = 0; c < DCTSIZE; ++c) {
            const int sr = turn.transpose ? c : r, sc = turn.transpose ? r : c;
            const bool negate = (turn.flipX && (sc & 1)) != (turn.flipY && (sr & 1));
            const JCOEF v = in[sr * DCTSIZE + sc];
            out[r * DCTSIZE + c] = negate ? static_cast<JCOEF>(-v) : v;
        }
    }
}

JDIMENSION roundUp(JDIMENSION value, JDIMENSION step) {
    return (value + step - 1) / step * step;
}

// The blocks a component of sampling `h` has along `pixels`, padded to whole MCUs as libjpeg keeps them.
JDIMENSION paddedBlocks(int pixels, int h, int maxH) {
    const JDIMENSION blocks =
        static_cast<JDIMENSION>((static_cast<long long>(pixels) * h + maxH * DCTSIZE - 1) / (maxH * DCTSIZE));
    return roundUp(blocks, static_cast<JDIMENSION>(h));
}

struct Compressor {
    jpeg_compress_struct info{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    unsigned char* given = nullptr; // a buffer given to libjpeg, which it never frees when it outgrows it
    ~Compressor() {
        jpeg_destroy_compress(&info);
        if (given != buffer) std::free(given);
        std::free(buffer);
    }
};

struct Decompressor {
    jpeg_decompress_struct info{};
    ~Decompressor() { jpeg_destroy_decompress(&info); }
};

// Runs libjpeg calls that may end in error_exit. `body` must hold plain data only: the jump back
// skips its frame.
template <class Body> bool guarded(JpegErrorExit& exit, Body&& body) {
    if (setjmp(exit.jump)) return false;
    body();
    return true;
}

} // namespace

struct JpegCoefficients::State {
    QByteArray file;
    JpegErrorExit exit{};
    jpeg_decompress_struct src{};
    jvirt_barray_ptr upright[MAX_COMPONENTS]{};
    Turn turn{};
    int width = 0, height = 0; // upright
    int maxH = 1, maxV = 1;    // sampling of the upright picture
    struct Part {
        int h = 1, v = 1;
        JDIMENSION blocksWide = 0, blocksHigh = 0; // padded to whole MCUs
    };
    Part parts[MAX_COMPONENTS]{};
    int components = 0;

    ~State() { jpeg_destroy_decompress(&src); }

    // Resets the error exit for one operation; every libjpeg object of it reports there.
    jpeg_error_mgr* freshErrors() {
        src.err = useJpegErrorExit(exit);
        return src.err;
    }

    JBLOCKROW row(jvirt_barray_ptr array, JDIMENSION blockRow, bool writable) {
        return (*src.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&src), array, blockRow, 1,
                                              writable ? TRUE : FALSE)[0];
    }

    // The photo's compression parameters for a picture of w x h upright pixels.
    void setUpright(jpeg_compress_struct& c, int w, int h) {
        jpeg_copy_critical_parameters(&src, &c);
        c.image_width = static_cast<JDIMENSION>(w);
        c.image_height = static_cast<JDIMENSION>(h);
        if (!turn.transpose) return;
        for (int i = 0; i < c.num_components; ++i)
            std::swap(c.comp_info[i].h_samp_factor, c.comp_info[i].v_samp_factor);
        for (JQUANT_TBL* table : c.quant_tbl_ptrs) {
            if (!table) continue;
            for (int r = 0; r < DCTSIZE; ++r)
                for (int col = r + 1; col < DCTSIZE; ++col)
                    std::swap(table->quantval[r * DCTSIZE + col], table->quantval[col * DCTSIZE + r]);
        }
        std::swap(c.X_density, c.Y_density);
    }
};

JpegCoefficients::JpegCoefficients() = default;
JpegCoefficients::~JpegCoefficients() = default;

std::string JpegCoefficients::read(const QByteArray& file, int orientation) {
    s_ = std::make_unique<State>();
    State& s = *s_;
    if (file.size() < 4 || static_cast<unsigned char>(file[0]) != 0xFF ||
        static_cast<unsigned char>(file[1]) != 0xD8)
        return "not a JPEG photo";
    s.file = file;
    if (orientation < 1 || orientation > 8) orientation = 1;
    s.turn = kTurns[orientation];
    s.freshErrors();

    const char* refusal = nullptr;
    bool wholeMcus = true;
    jvirt_barray_ptr* stored = nullptr;
    const bool done = guarded(s.exit, [&] {
        jpeg_create_decompress(&s.src);
        jpeg_mem_src(&s.src, reinterpret_cast<const unsigned char*>(s.file.constData()),
                     static_cast<unsigned long>(s.file.size()));
        jpeg_read_header(&s.src, TRUE);
        if (s.src.data_precision != 8) {
            refusal = "12-bit samples";
            return;
        }
        const bool colour = s.src.jpeg_color_space == JCS_YCbCr && s.src.num_components == 3;
        const bool grey = s.src.jpeg_color_space == JCS_GRAYSCALE && s.src.num_components == 1;
        if (!colour && !grey) {
            refusal = s.src.num_components == 4 ? "CMYK colours" : "colours that are neither YCbCr nor grey";
            return;
        }
        const int mcuW = s.src.max_h_samp_factor * DCTSIZE, mcuH = s.src.max_v_samp_factor * DCTSIZE;
        const bool turned = orientation != 1;
        if (turned && (s.src.image_width % mcuW != 0 || s.src.image_height % mcuH != 0)) {
            wholeMcus = false;
            return;
        }
        // Room for the upright blocks, asked for before libjpeg lays out its memory.
        for (int i = 0; i < s.src.num_components; ++i) {
            const jpeg_component_info& c = s.src.comp_info[i];
            JDIMENSION w = roundUp(c.width_in_blocks, c.h_samp_factor),
                       h = roundUp(c.height_in_blocks, c.v_samp_factor);
            int hs = c.h_samp_factor, vs = c.v_samp_factor;
            if (s.turn.transpose) std::swap(w, h), std::swap(hs, vs);
            s.parts[i] = State::Part{hs, vs, w, h};
            if (turned)
                s.upright[i] =
                    (*s.src.mem->request_virt_barray)(reinterpret_cast<j_common_ptr>(&s.src), JPOOL_IMAGE,
                                                      FALSE, w, h, static_cast<JDIMENSION>(vs));
        }
        stored = jpeg_read_coefficients(&s.src);
        if (!turned) {
            for (int i = 0; i < s.src.num_components; ++i)
                s.upright[i] = stored[i];
            return;
        }
        for (int i = 0; i < s.src.num_components; ++i) {
            const jpeg_component_info& c = s.src.comp_info[i];
            const JDIMENSION storedW = roundUp(c.width_in_blocks, c.h_samp_factor);
            const JDIMENSION storedH = roundUp(c.height_in_blocks, c.v_samp_factor);
            for (JDIMENSION by = 0; by < s.parts[i].blocksHigh; ++by) {
                JBLOCKROW out = s.row(s.upright[i], by, true);
                for (JDIMENSION bx = 0; bx < s.parts[i].blocksWide; ++bx) {
                    const JDIMENSION u = s.turn.transpose ? by : bx, v = s.turn.transpose ? bx : by;
                    const JDIMENSION sx = s.turn.flipX ? storedW - 1 - u : u;
                    const JDIMENSION sy = s.turn.flipY ? storedH - 1 - v : v;
                    turnBlock(s.row(stored[i], sy, false)[sx], out[bx], s.turn);
                }
            }
        }
    });
    if (!done) return std::string("damaged JPEG data (") + s.exit.message + ")";
    if (refusal) return refusal;
    if (!wholeMcus)
        return "orientation " + std::to_string(orientation) + " on a picture that is not whole MCUs";
    if (s.exit.damaged) return std::string("damaged JPEG data (") + s.exit.message + ")";

    s.components = s.src.num_components;
    s.maxH = s.turn.transpose ? s.src.max_v_samp_factor : s.src.max_h_samp_factor;
    s.maxV = s.turn.transpose ? s.src.max_h_samp_factor : s.src.max_v_samp_factor;
    s.width = static_cast<int>(s.turn.transpose ? s.src.image_height : s.src.image_width);
    s.height = static_cast<int>(s.turn.transpose ? s.src.image_width : s.src.image_height);
    return {};
}

QSize JpegCoefficients::size() const {
    return s_ ? QSize(s_->width, s_->height) : QSize();
}

QSize JpegCoefficients::mcuSize() const {
    return s_ ? QSize(s_->maxH * DCTSIZE, s_->maxV * DCTSIZE) : QSize();
}

bool JpegCoefficients::progressive() const {
    return s_ && s_->src.progressive_mode;
}

bool JpegCoefficients::arithmetic() const {
    return s_ && s_->src.arith_code;
}

int JpegCoefficients::restartInterval() const {
    return s_ ? static_cast<int>(s_->src.restart_interval) : 0;
}

QRect JpegCoefficients::wholeMcus(const QRect& area) const {
    if (!s_ || s_->width <= 0) return {};
    const QRect inside = area.intersected(QRect(0, 0, s_->width, s_->height));
    if (inside.isEmpty()) return {};
    const int mw = s_->maxH * DCTSIZE, mh = s_->maxV * DCTSIZE;
    const int left = inside.left() / mw * mw, top = inside.top() / mh * mh;
    const int right = std::min(s_->width, (inside.right() / mw + 1) * mw);
    const int bottom = std::min(s_->height, (inside.bottom() / mh + 1) * mh);
    return QRect(left, top, right - left, bottom - top);
}

QImage JpegCoefficients::decode(const QRect& area, std::string& why) const {
    if (!s_ || area.isEmpty() || area != wholeMcus(area)) {
        why = "not a rectangle of whole MCUs";
        return {};
    }
    State& s = *s_;
    QImage image(area.size(), QImage::Format_RGB32);
    if (image.isNull()) {
        why = "out of memory";
        return {};
    }
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        rows[static_cast<std::size_t>(y)] = image.scanLine(y);

    // The rectangle's blocks as a small JPEG of their own, which libjpeg decodes as it decodes the photo.
    Compressor c;
    Decompressor d;
    jpeg_error_mgr* errors = s.freshErrors();
    c.info.err = d.info.err = errors;
    const JDIMENSION mcuCol = static_cast<JDIMENSION>(area.x() / (s.maxH * DCTSIZE));
    const JDIMENSION mcuRow = static_cast<JDIMENSION>(area.y() / (s.maxV * DCTSIZE));
    const bool done = guarded(s.exit, [&] {
        jpeg_create_compress(&c.info);
        jpeg_mem_dest(&c.info, &c.buffer, &c.size);
        s.setUpright(c.info, area.width(), area.height());
        jvirt_barray_ptr arrays[MAX_COMPONENTS]{};
        for (int i = 0; i < s.components; ++i) {
            const State::Part& p = s.parts[i];
            arrays[i] = (*c.info.mem->request_virt_barray)(
                reinterpret_cast<j_common_ptr>(&c.info), JPOOL_IMAGE, TRUE,
                paddedBlocks(area.width(), p.h, s.maxH), paddedBlocks(area.height(), p.v, s.maxV),
                static_cast<JDIMENSION>(p.v));
        }
        jpeg_write_coefficients(&c.info, arrays);
        for (int i = 0; i < s.components; ++i) {
            const State::Part& p = s.parts[i];
            const JDIMENSION wide = paddedBlocks(area.width(), p.h, s.maxH);
            const JDIMENSION high = paddedBlocks(area.height(), p.v, s.maxV);
            for (JDIMENSION r = 0; r < high; ++r) {
                JBLOCKROW to = (*c.info.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&c.info),
                                                                 arrays[i], r, 1, TRUE)[0];
                const JBLOCKROW from = s.row(s.upright[i], mcuRow * static_cast<JDIMENSION>(p.v) + r, false);
                std::memcpy(to, from + mcuCol * static_cast<JDIMENSION>(p.h), wide * sizeof(JBLOCK));
            }
        }
        jpeg_finish_compress(&c.info);

        jpeg_create_decompress(&d.info);
        jpeg_mem_src(&d.info, c.buffer, c.size);
        jpeg_read_header(&d.info, TRUE);
        d.info.out_color_space = kQRgbLayout;
        jpeg_start_decompress(&d.info);
        while (d.info.output_scanline < d.info.output_height)
            jpeg_read_scanlines(&d.info, rows.data() + d.info.output_scanline,
                                d.info.output_height - d.info.output_scanline);
        jpeg_finish_decompress(&d.info);
    });
    if (!done) {
        why = s.exit.message;
        return {};
    }
    return image;
}

int JpegCoefficients::replace(const QImage& before, const QImage& after, QPoint at, std::string& why) {
    const QRect area(at, after.size());
    if (!s_ || after.isNull() || before.size() != after.size() || area != wholeMcus(area) ||
        before.format() != QImage::Format_RGB32 || after.format() != QImage::Format_RGB32) {
        why = "not a picture of whole MCUs";
        return -1;
    }
    State& s = *s_;
    const int mw = s.maxH * DCTSIZE, mh = s.maxV * DCTSIZE;
    const int columns = (area.width() + mw - 1) / mw, mcuRows = (area.height() + mh - 1) / mh;
    std::vector<unsigned char> changed(static_cast<std::size_t>(columns) * mcuRows, 0);
    int count = 0;
    for (int y = 0; y < area.height(); ++y) {
        const uchar* a = before.constScanLine(y);
        const uchar* b = after.constScanLine(y);
        for (int m = 0; m < columns; ++m) {
            unsigned char& mark = changed[static_cast<std::size_t>(y / mh) * columns + m];
            if (mark) continue;
            const int x = m * mw, n = std::min(mw, area.width() - x);
            if (std::memcmp(a + x * 4, b + x * 4, static_cast<std::size_t>(n) * 4) != 0) mark = 1, ++count;
        }
    }
    if (count == 0) return 0;

    std::vector<JSAMPROW> rows(static_cast<std::size_t>(after.height()));
    for (int y = 0; y < after.height(); ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<JSAMPROW>(after.constScanLine(y));
    // The drawn rectangle is encoded as a small JPEG with the photo's tables, and its blocks are read back.
    Compressor c;
    Decompressor d;
    jpeg_error_mgr* errors = s.freshErrors();
    c.info.err = d.info.err = errors;
    const JDIMENSION mcuCol = static_cast<JDIMENSION>(at.x() / mw),
                     mcuRow = static_cast<JDIMENSION>(at.y() / mh);
    const bool done = guarded(s.exit, [&] {
        jpeg_create_compress(&c.info);
        jpeg_mem_dest(&c.info, &c.buffer, &c.size);
        s.setUpright(c.info, area.width(), area.height());
        c.info.in_color_space = kQRgbLayout;
        c.info.input_components = 4;
        jpeg_start_compress(&c.info, TRUE);
        while (c.info.next_scanline < c.info.image_height)
            jpeg_write_scanlines(&c.info, rows.data() + c.info.next_scanline,
                                 c.info.image_height - c.info.next_scanline);
        jpeg_finish_compress(&c.info);

        jpeg_create_decompress(&d.info);
        jpeg_mem_src(&d.info, c.buffer, c.size);
        jpeg_read_header(&d.info, TRUE);
        jvirt_barray_ptr* drawn = jpeg_read_coefficients(&d.info);
        for (int i = 0; i < s.components; ++i) {
            const JDIMENSION h = static_cast<JDIMENSION>(s.parts[i].h),
                             v = static_cast<JDIMENSION>(s.parts[i].v);
            for (JDIMENSION m = 0; m < static_cast<JDIMENSION>(mcuRows); ++m) {
                for (JDIMENSION r = 0; r < v; ++r) {
                    const JBLOCKROW from = (*d.info.mem->access_virt_barray)(
                        reinterpret_cast<j_common_ptr>(&d.info), drawn[i], m * v + r, 1, FALSE)[0];
                    JBLOCKROW to = s.row(s.upright[i], (mcuRow + m) * v + r, true);
                    for (JDIMENSION col = 0; col < static_cast<JDIMENSION>(columns); ++col)
                        if (changed[m * static_cast<JDIMENSION>(columns) + col])
                            std::memcpy(to + (mcuCol + col) * h, from + col * h, h * sizeof(JBLOCK));
                }
            }
        }
        jpeg_finish_decompress(&d.info);
    });
    if (!done) {
        why = s.exit.message;
        return -1;
    }
    return count;
}

std::string JpegCoefficients::write(QByteArray& out) const {
    out.clear();
    if (!s_ || s_->width <= 0) return "no coefficients were read";
    State& s = *s_;
    Compressor c;
    // Room for about the photo's own size at once: a buffer grown step by step is copied each time.
    c.size = static_cast<unsigned long>(s.file.size()) + s.file.size() / 8 + 65536;
    c.buffer = c.given = static_cast<unsigned char*>(std::malloc(c.size));
    if (!c.buffer) c.size = 0;
    c.info.err = s.freshErrors();
    const bool done = guarded(s.exit, [&] {
        jpeg_create_compress(&c.info);
        jpeg_mem_dest(&c.info, &c.buffer, &c.size);
        s.setUpright(c.info, s.width, s.height);
        c.info.restart_interval = s.src.restart_interval;
        c.info.arith_code = s.src.arith_code;
        if (s.src.progressive_mode) jpeg_simple_progression(&c.info);
        jpeg_write_coefficients(&c.info, s.upright);
        jpeg_finish_compress(&c.info);
    });
    if (!done) return s.exit.message;
    out = QByteArray(reinterpret_cast<const char*>(c.buffer), static_cast<qsizetype>(c.size));
    return {};
}

} // namespace imaging
