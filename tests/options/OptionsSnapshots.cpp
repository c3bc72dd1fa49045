// Pictures of the options sheet for a person to look at, written only when IMPRIX_SNAPSHOT_DIR names
// a folder: the sheet without a photo, and each page with a photo open, as the sheet first shows it.

#include "options/OptionsFixture.h"

#include <QApplication>
#include <QPixmap>

TEST_F(OptionsFixture, snapshotsOfEveryPage) {
    const QString folder = qEnvironmentVariable("IMPRIX_SNAPSHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "set IMPRIX_SNAPSHOT_DIR to write the snapshots";
    QDir().mkpath(folder);

    run([&](COptionsSheet& sheet) {
        QApplication::processEvents();
        EXPECT_TRUE(sheet.grab().save(folder + QStringLiteral("/options-no-photo.png")));
    });

    writeImage(templateFolder + "/stamp.png", 16, 8);
    writeImage(templateFolder + "/borderblack.gif", 30, 20, Qt::black);
    ASSERT_TRUE(templ.LoadWatermark("stamp.png", 128, dialogs));
    ASSERT_TRUE(templ.LoadBorder("borderblack.gif", 255, dialogs));
    templ.dateFormat = "%A, %B %d, %Y : %I:%M:%S %p";
    openPhoto(600, 400);

    run([&](COptionsSheet& sheet) {
        for (int page = 0; page < sheet.pageCount(); ++page) {
            ASSERT_TRUE(sheet.selectPage(page));
            QApplication::processEvents();
            const QString name = QStringLiteral("%1/options-%2.png").arg(folder).arg(page);
            EXPECT_TRUE(sheet.grab().save(name)) << name.toStdString();
        }
    });
}
