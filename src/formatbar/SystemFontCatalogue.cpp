#include "formatbar/SystemFontCatalogue.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QSet>

#include <algorithm>

namespace {

// "C059 [urw]" -> "C059".
QString withoutFoundry(const QString& family) {
    const qsizetype bracket = family.indexOf(QLatin1String(" ["));
    return bracket < 0 ? family : family.left(bracket);
}

// The family fontconfig draws a requested face with.
QString servingFamily(const QString& face) {
    return withoutFoundry(QFontInfo(QFont(face)).family());
}

QFont styledFont(const QString& face, int weight, bool italic) {
    QFont font(face);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(italic);
    return font;
}

} // namespace

SystemFontCatalogue::SystemFontCatalogue() {
    QSet<QString> seen;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family)) continue;
        const QString name = withoutFoundry(family);
        if (seen.contains(name.toCaseFolded())) continue;
        seen.insert(name.toCaseFolded());
        faces_.push_back(
            {name, QFontDatabase::isSmoothlyScalable(name) ? kTrueTypeFontType : kRasterFontType});
    }

    // A name no font has shows which family fontconfig falls back to; a Windows face served by
    // another family has a substitute of its own.
    const QString fallback = servingFamily(QStringLiteral("Imprix No Such Face"));
    for (const QString& alias :
         {QStringLiteral("Arial"), QStringLiteral("Times New Roman"), QStringLiteral("Courier New")}) {
        if (seen.contains(alias.toCaseFolded())) continue;
        const QString serving = servingFamily(alias);
        if (serving == fallback || !seen.contains(serving.toCaseFolded())) continue;
        aliasFamilies_.insert(alias, serving);
        seen.insert(alias.toCaseFolded());
        faces_.push_back(
            {alias, QFontDatabase::isSmoothlyScalable(serving) ? kTrueTypeFontType : kRasterFontType});
    }
}

QString SystemFontCatalogue::family(const QString& face) const {
    return aliasFamilies_.value(face, face);
}

std::vector<int> SystemFontCatalogue::fixedSizes(const QString& face) const {
    const QString name = family(face);
    if (QFontDatabase::isSmoothlyScalable(name)) return {};
    std::vector<int> sizes;
    for (const int size : QFontDatabase::pointSizes(name))
        if (size > 0) sizes.push_back(size);
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

std::vector<FontStyle> SystemFontCatalogue::styles(const QString& face) const {
    const QString name = family(face);
    std::vector<FontStyle> out;
    for (const QString& style : QFontDatabase::styles(name)) {
        const QFont font = QFontDatabase::font(name, style, 12);
        const int weight = font.weight();
        // fontconfig merges widths into one family ("DejaVu Sans" holds "Condensed"); a style that
        // weight and slant do not pick out would be drawn as another one.
        if (QFontInfo(styledFont(face, weight, font.italic())).styleName() != style) continue;
        out.push_back({style, weight, font.italic()});
    }
    std::sort(out.begin(), out.end(), [](const FontStyle& a, const FontStyle& b) {
        if (a.italic != b.italic) return !a.italic;
        if (a.weight != b.weight) return a.weight < b.weight;
        return a.name < b.name;
    });
    return out;
}

bool SystemFontCatalogue::renders(const QString& face, int weight, bool italic) const {
    const QFontInfo info(styledFont(face, weight, italic));
    return info.weight() == weight && info.italic() == italic;
}
