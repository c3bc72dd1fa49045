#include "formatbar/SystemFontCatalogue.h"
#include "formatbar/MainBar.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const FontFace* findFace(const std::vector<FontFace>& faces, const QString& name) {
    const auto at =
        std::find_if(faces.begin(), faces.end(), [&](const FontFace& f) { return f.name == name; });
    return at == faces.end() ? nullptr : &*at;
}

QStringList styleNames(const std::vector<FontStyle>& styles) {
    QStringList names;
    for (const FontStyle& s : styles)
        names << s.name;
    return names;
}

} // namespace

TEST(TheSystemFontCatalogue, offersEachFamilyOnceByItsPlainName) {
    const SystemFontCatalogue catalogue;
    QSet<QString> seen;
    for (const FontFace& face : catalogue.faces()) {
        EXPECT_FALSE(face.name.contains(" [")) << face.name.toStdString();
        EXPECT_FALSE(seen.contains(face.name.toCaseFolded())) << face.name.toStdString();
        seen.insert(face.name.toCaseFolded());
    }
    EXPECT_FALSE(seen.isEmpty());
}

TEST(TheSystemFontCatalogue, offersArialThroughItsSubstituteWithTheFourBasicStyles) {
    if (!QFontDatabase::hasFamily("Liberation Sans")) GTEST_SKIP() << "fonts-liberation2 is not installed";
    const SystemFontCatalogue catalogue;
    const std::vector<FontFace> faces = catalogue.faces();
    const FontFace* arial = findFace(faces, "Arial");
    ASSERT_NE(arial, nullptr);
    EXPECT_EQ(arial->type, kTrueTypeFontType);
    EXPECT_TRUE(catalogue.fixedSizes("Arial").empty());
    EXPECT_EQ(styleNames(catalogue.styles("Arial")),
              QStringList({"Regular", "Bold", "Italic", "Bold Italic"}));
    EXPECT_TRUE(catalogue.renders("Arial", 700, true));
    EXPECT_EQ(findFace(faces, "Imprix No Such Face"), nullptr);
}

TEST(TheSystemFontCatalogue, leavesOutStylesThatWeightAndSlantCannotPick) {
    if (!QFontDatabase::hasFamily("DejaVu Sans")) GTEST_SKIP() << "fonts-dejavu-core is not installed";
    const SystemFontCatalogue catalogue;
    const QStringList names = styleNames(catalogue.styles("DejaVu Sans"));
    EXPECT_TRUE(names.contains("Book"));
    EXPECT_TRUE(names.contains("Bold Oblique"));
    for (const QString& name : names)
        EXPECT_FALSE(name.contains("Condensed")) << name.toStdString();
}

TEST(TheSystemFontCatalogue, givesTheRealSizesOfAFaceOfFixedSizes) {
    const SystemFontCatalogue catalogue;
    const std::vector<FontFace> faces = catalogue.faces();
    const auto fixed =
        std::find_if(faces.begin(), faces.end(), [](const FontFace& f) { return f.type == kRasterFontType; });
    if (fixed == faces.end())
        GTEST_SKIP()
            << "no face of fixed sizes is installed (fontconfig sees none); the bar's handling of one "
               "is covered with made-up faces";
    const std::vector<int> sizes = catalogue.fixedSizes(fixed->name);
    EXPECT_FALSE(sizes.empty()) << fixed->name.toStdString();
    EXPECT_TRUE(std::is_sorted(sizes.begin(), sizes.end()));
}

TEST(AFormatBarOnTheSystemFonts, startsOnArialTenPointsRegular) {
    if (!QFontDatabase::hasFamily("Liberation Sans")) GTEST_SKIP() << "fonts-liberation2 is not installed";
    CMainBar bar;
    EXPECT_EQ(bar.findChild<QComboBox*>("fontFace")->currentText(), "Arial");
    EXPECT_EQ(bar.findChild<QComboBox*>("fontSize")->currentText(), "10");
    EXPECT_EQ(bar.findChild<QComboBox*>("fontStyle")->currentText(), "Regular");
    EXPECT_EQ(bar.findChild<QComboBox*>("fontSize")->count(), 16);
}
