#include "imaging/TextCodec.h"

#include <array>

namespace imaging {
namespace {

// Windows-1252 for 0x80..0x9F; the rest of the upper half equals Latin-1. Undefined bytes map to
// the same code point, as Windows itself does when converting.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t cp1252ToUnicode(unsigned char c) {
    if (c >= 0x80 && c < 0xA0) return kCp1252High[c - 0x80];
    return c;
}

// Length of the valid UTF-8 sequence at s[i], or 0 when the bytes there are not one.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

} // namespace

QString toQString(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const std::size_t len = utf8SequenceLength(bytes, i, cp);
        if (len == 0) {
            out.append(QChar(cp1252ToUnicode(static_cast<unsigned char>(bytes[i]))));
            ++i;
        } else {
            if (cp < 0x10000) {
                out.append(QChar(static_cast<char16_t>(cp)));
            } else {
                const char32_t v = cp - 0x10000;
                out.append(QChar(static_cast<char16_t>(0xD800 + (v >> 10))));
                out.append(QChar(static_cast<char16_t>(0xDC00 + (v & 0x3FF))));
            }
            i += len;
        }
    }
    return out;
}

std::string toUtf8(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

std::string utf16LeToUtf8(const std::uint8_t* data, std::size_t byteCount) {
    if (data == nullptr) return {};
    std::u16string units;
    for (std::size_t i = 0; i + 1 < byteCount; i += 2) {
        const char16_t u = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (u == 0) break;
        units.push_back(u);
    }
    return toUtf8(QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size())));
}

std::string normalizeToUtf8(std::string_view bytes) {
    return toUtf8(toQString(bytes));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

} // namespace imaging
