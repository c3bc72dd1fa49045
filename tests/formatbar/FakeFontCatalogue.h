#pragma once

#include "formatbar/FontCatalogue.h"

// Faces made up for the format bar's tests, so they behave the same on every machine and include a
// face of fixed sizes, which few Linux systems still install:
// - "Arial": outline; enumerates no styles but renders all four basic ones.
// - "Book Face": outline; enumerates "Book", "Oblique" and "Semibold"; its bold comes out at weight
//   600, so it renders neither "Bold" nor "Bold Italic".
// - "Courier New": outline, renders the four basic styles.
// - "Fixed": fixed sizes 15, 9, 13 and 9 again (out of order, as an enumeration may give them);
//   regular only.
class FakeFontCatalogue : public FontCatalogue {
public:
    std::vector<FontFace> faces() const override {
        return {{"Fixed", kRasterFontType},
                {"Courier New", kTrueTypeFontType},
                {"Arial", kTrueTypeFontType},
                {"Book Face", kTrueTypeFontType},
                {"ARIAL", kTrueTypeFontType}}; // the same face again in other letters: listed once
    }
    std::vector<int> fixedSizes(const QString& face) const override {
        return face == "Fixed" ? std::vector<int>{15, 9, 13, 9} : std::vector<int>{};
    }
    std::vector<FontStyle> styles(const QString& face) const override {
        if (face == "Book Face")
            return {{"Book", 400, false}, {"Oblique", 400, true}, {"Semibold", 600, false}};
        return {};
    }
    bool renders(const QString& face, int weight, bool italic) const override {
        if (face == "Fixed") return weight == 400 && !italic;
        if (face == "Book Face") return weight == 400;
        return true;
    }
};
