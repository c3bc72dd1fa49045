// What ships beside the programs stays true to them: the gallery pictures in docs/ and the manual page.

#include "imaging/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(TheGallery, inTheDocsIsWhatTheBuildMakesFromEachShippedTemplate) {
    const QDir built(QStringLiteral(IMPRIX_GALLERY_DIR));
    if (!built.exists()) GTEST_SKIP() << "this build makes no gallery";
    const QStringList pictures = built.entryList({QStringLiteral("*.jpg")});
    ASSERT_EQ(pictures.size(), QDir(QStringLiteral(IMPRIX_SOURCE_DIR "/src/res/templates"))
                                   .entryList({QStringLiteral("*.tpl")})
                                   .size());
    for (const QString& name : pictures) {
        const QImage made(built.filePath(name));
        const QImage kept(QStringLiteral(IMPRIX_SOURCE_DIR "/docs/gallery/") + name);
        ASSERT_FALSE(kept.isNull()) << "docs/gallery/" << name.toStdString()
                                    << " is missing: run scripts/gallery";
        ASSERT_EQ(made.size(), kept.size()) << name.toStdString();
        // JPEG and font rendering may differ by a few levels; a moved or changed item differs a lot.
        qint64 differing = 0;
        for (int y = 0; y < made.height(); ++y)
            for (int x = 0; x < made.width(); ++x) {
                const QRgb a = made.pixel(x, y), b = kept.pixel(x, y);
                if (std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))}) > 40)
                    ++differing;
            }
        EXPECT_LT(differing, qint64(made.width()) * made.height() / 1000)
            << "docs/gallery/" << name.toStdString() << " is stale: run scripts/gallery";
    }
}

TEST(TheManualPage, namesEveryOptionOfTheHelp) {
    QProcess batch;
    batch.start(QStringLiteral(IMPRIX_BATCH_EXE), {QStringLiteral("--help")});
    ASSERT_TRUE(batch.waitForFinished(30000));
    const QString help = QString::fromUtf8(batch.readAllStandardOutput() + batch.readAllStandardError());
    QFile page(QStringLiteral(IMPRIX_SOURCE_DIR "/docs/imprix-batch.1"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString manual = QString::fromUtf8(page.readAll());
    const QRegularExpression option(QStringLiteral("^\\s+(?:-[a-z], )?(--[a-z-]+)"),
                                    QRegularExpression::MultilineOption);
    int options = 0;
    for (auto it = option.globalMatch(help); it.hasNext(); ++options) {
        QString name = it.next().captured(1);
        EXPECT_TRUE(manual.contains(name.replace(QLatin1Char('-'), QStringLiteral("\\-"))))
            << name.toStdString() << " is not in docs/imprix-batch.1";
    }
    EXPECT_GE(options, 9);
}
