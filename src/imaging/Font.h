#pragma once

#include "imaging/Status.h"

#include <QFont>

#include <string>

namespace imaging {

// The parts of a logical font description the product fills in. A positive height is the font's
// cell height (ascent plus descent) in pixels of the surface drawn on.
struct LogFont {
    int height = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::string faceName; // UTF-8
};

// Owner of a font made from a LogFont.
class Font : public StatusOwner {
public:
    explicit Font(const LogFont& logFont);

    const QFont& qfont() const { return font_; }
    const LogFont& logFont() const { return logFont_; }

private:
    LogFont logFont_;
    QFont font_;
};

} // namespace imaging
