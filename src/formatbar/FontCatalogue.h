#pragma once

#include <QString>

#include <vector>

// Font types, as the font list keeps them in its rows: a face of fixed sizes, an outline face that
// scales to any size, and the mark for outline faces of the OpenType kind.
inline constexpr int kRasterFontType = 0x0001;
inline constexpr int kTrueTypeFontType = 0x0004;
inline constexpr int kOpenTypeFontMark = 0x10000;

struct FontFace {
    QString name;
    int type = kTrueTypeFontType;
};

// A style a face offers: its name and the weight (400 regular, 700 bold) and slant it is drawn with.
struct FontStyle {
    QString name;
    int weight = 400;
    bool italic = false;
};

// The faces the format bar offers, with their sizes and styles.
class FontCatalogue {
public:
    virtual ~FontCatalogue() = default;

    // Every face, once, in no particular order.
    virtual std::vector<FontFace> faces() const = 0;
    // The point sizes of a face of fixed sizes, ascending; empty for an outline face.
    virtual std::vector<int> fixedSizes(const QString& face) const = 0;
    // The named styles of the face that an item can be drawn in (weight and slant alone select them).
    virtual std::vector<FontStyle> styles(const QString& face) const = 0;
    // True when the face drawn with exactly this weight and slant comes out with them.
    virtual bool renders(const QString& face, int weight, bool italic) const = 0;
};
