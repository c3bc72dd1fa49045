#pragma once

#include "formatbar/FontCatalogue.h"

#include <QHash>

// The faces installed on this system, through QFontDatabase and fontconfig. Families that fontconfig
// lists once per foundry ("C059 [urw]") are offered once, by their plain name. The Windows faces
// templates often name ("Arial", "Times New Roman", "Courier New") are offered too when fontconfig
// serves them with a face of their own, such as Liberation Sans for Arial.
class SystemFontCatalogue : public FontCatalogue {
public:
    SystemFontCatalogue();

    std::vector<FontFace> faces() const override { return faces_; }
    std::vector<int> fixedSizes(const QString& face) const override;
    std::vector<FontStyle> styles(const QString& face) const override;
    bool renders(const QString& face, int weight, bool italic) const override;

private:
    // The family QFontDatabase knows the face by.
    QString family(const QString& face) const;

    std::vector<FontFace> faces_;
    QHash<QString, QString> aliasFamilies_; // Windows face name -> the family serving it
};
