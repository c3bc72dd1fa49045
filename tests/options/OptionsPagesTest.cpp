// The pages of the options sheet as the user works them: what they show, what they check, and what
// their buttons do, before anything reaches the picture.

#include "options/DataExchange.h"
#include "options/OptionsFixture.h"
#include "options/PPAspect.h"
#include "options/PPBorder.h"
#include "options/PPFormat.h"
#include "options/PPPaths.h"

#include "formatbar/ColorButton.h"

#include <QApplication>
#include <QLabel>
#include <QRadioButton>

namespace {

constexpr int kFileHandling = 0;
constexpr int kFormat = 1;
constexpr int kAspect = 2;
constexpr int kBorder = 3;

QString previewOf(COptionsSheet& sheet) {
    return sheet.findChild<QLabel*>(QStringLiteral("preview"))->text();
}

} // namespace

using TheOptionsPages = OptionsFixture;

TEST_F(TheOptionsPages, offerThePicturesPagesInOrderWithGlobalOptionsLast) {
    openPhoto();
    QStringList titles;
    QString caption;
    int front = -1;
    run([&](COptionsSheet& sheet) {
        caption = sheet.windowTitle();
        front = sheet.currentPage();
        for (int i = 0; i < sheet.pageCount(); ++i)
            titles << sheet.tabs()->tabText(i);
    });
    EXPECT_EQ(caption, "Korvel Options");
    EXPECT_EQ(titles,
              QStringList({"File Handling", "Format / Misc", "Aspect Ratio", "Border", "Global Options"}));
    EXPECT_EQ(front, 0);
}

TEST_F(TheOptionsPages, nameEveryFieldForScreenReaders) {
    openPhoto();
    run([&](COptionsSheet& sheet) {
        for (QWidget* field : sheet.findChildren<QWidget*>()) {
            if (!qobject_cast<QLineEdit*>(field) && !qobject_cast<QComboBox*>(field)) continue;
            if (qobject_cast<QComboBox*>(field->parentWidget())) continue; // an editable combo's own edit
            EXPECT_FALSE(field->accessibleName().isEmpty()) << field->objectName().toStdString();
        }
        EXPECT_EQ(edit(sheet, "jpegQuality")->accessibleName(), "JPEG Quality");
    });
}

TEST_F(TheOptionsPages, previewEachDateFormatOnTheSampleDate) {
    openPhoto();
    picture.dateFormat = "%Y:%m:%d %H:%M:%S";
    run(
        [&](COptionsSheet& sheet) {
            // The page starts with the model's own format previewed.
            EXPECT_EQ(previewOf(sheet), "2001:06:21 14:38:56");
            auto* formats = control<QComboBox>(sheet, "dateFormat");
            const std::vector<std::pair<QString, QString>> presets = {
                {"%c", "06/21/01 14:38:56"},
                {"%x", "06/21/01"},
                {"%A, %B %d, %Y : %I:%M:%S %p", "Thursday, June 21, 2001 : 02:38:56 PM"},
                {"%B %d, %Y   %I:%M %p", "June 21, 2001   02:38 PM"},
                {"%Y:%m:%d %H:%M:%S", "2001:06:21 14:38:56"},
            };
            ASSERT_EQ(rows(*formats), QStringList({"%c", "%x", "%A, %B %d, %Y : %I:%M:%S %p",
                                                   "%B %d, %Y   %I:%M %p", "%Y:%m:%d %H:%M:%S"}));
            for (int row = 0; row < static_cast<int>(presets.size()); ++row) {
                formats->setCurrentIndex(row);
                EXPECT_EQ(formats->currentText(), presets[row].first);
                EXPECT_EQ(previewOf(sheet), presets[row].second) << presets[row].first.toStdString();
            }
            // A format typed by hand, and one that gives nothing.
            formats->setEditText("Taken %d.%m.%Y");
            EXPECT_EQ(previewOf(sheet), "Taken 21.06.2001");
            formats->setEditText("");
            EXPECT_EQ(previewOf(sheet), "");
            formats->setEditText("%B %Y");
            EXPECT_TRUE(sheet.pressOk());
        },
        kFormat);
    EXPECT_EQ(picture.dateFormat, "%B %Y");
    EXPECT_EQ(picture.modified, 1);
}

TEST_F(TheOptionsPages, showTheirHelpTextsInMessageBoxes) {
    openPhoto();
    run([&](COptionsSheet& sheet) {
        sheet.selectPage(kFormat);
        for (const char* help : {"dateFormatHelp", "watermarkHelp", "labelHelp"})
            click(sheet, help);
        sheet.selectPage(kBorder);
        click(sheet, "borderHelp");
    });
    const auto& shown = dialogs.messages.shown;
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_NE(shown[0].text.find("\n%d  Day of month as decimal number (01 \u2013 31) \n"),
              std::string::npos);
    EXPECT_EQ(shown[1].text.rfind("Select a bitmap to use as a watermark.", 0), 0u);
    EXPECT_EQ(shown[2].text.rfind("This will add a text item", 0), 0u);
    EXPECT_EQ(shown[3].text.rfind("Select a bitmap to use as a border.", 0), 0u);
    for (const auto& box : shown)
        EXPECT_EQ(box.buttons, Dialogs::Buttons::Ok);
}

TEST_F(TheOptionsPages, addALabelAtOnceOnlyWhenItHasAName) {
    openPhoto();
    const int before = picture.itemCount;
    run(
        [&](COptionsSheet& sheet) {
            auto* page = dynamic_cast<CPPFormat*>(sheet.page(kFormat));
            type(sheet, "labelText", "California trip");
            click(sheet, "addItem");
            EXPECT_EQ(picture.itemCount, before) << "a label without a name";
            EXPECT_EQ(page->changed, 0);
            EXPECT_EQ(picture.modified, 0);

            type(sheet, "labelName", "Trip");
            click(sheet, "addItem");
            ASSERT_EQ(picture.itemCount, before + 1) << "added before the sheet ends";
            const ImprintItem& label = picture.item(before);
            EXPECT_EQ(label.tag, kTagLabel);
            EXPECT_EQ(label.displayName, "Trip");
            EXPECT_EQ(label.label, "California trip");
            EXPECT_EQ(label.visible, 1);
            EXPECT_EQ(picture.modified, 1);
            EXPECT_EQ(page->changed, 1);
            sheet.pressCancel();
        },
        kFormat);
    // Cancel keeps the label, and the format bar offers it.
    ASSERT_EQ(picture.itemCount, before + 1);
    EXPECT_EQ(picture.item(before).displayName, "Trip");
    EXPECT_TRUE(barRows().contains("Trip"));
    EXPECT_EQ(changesLabelUpdates, 1);
}

// Each bad entry keeps its page in front, whether the user presses OK or picks another tab, with the
// message and the focus on the control; the corrected entry then passes.
TEST_F(TheOptionsPages, refuseBadEntriesWithTheirMessagesAndKeepThePageOpen) {
    openPhoto();
    struct Row {
        int page;
        const char* control;
        const char* bad;
        const char* good;
        std::string message;
    };
    const std::vector<Row> rowsToTry = {
        {kFormat, "watermarkOpacity", "256", "128", "Please enter an integer between 0 and 255."},
        {kBorder, "borderOpacity", "256", "0", "Please enter an integer between 0 and 255."},
        {kBorder, "borderOpacity", "", "255", "Please enter an integer."},
        {kFileHandling, "jpegQuality", "", "80", "Please enter an integer."},
        {kAspect, "aspectWidth", "six", "7", "Please enter a number."},
        {kAspect, "aspectHeight", "5,5", "5.5", "Please enter a number."},
        {kAspect, "aspectHeight", "0", "5.5",
         "Please enter a number greater than 0."}, // no print is that flat
        {kAspect, "aspectWidth", "-6", "7", "Please enter a number greater than 0."},
        {kFormat, "clockShift", "1:30", "-0:01:00:00", CPPFormat::kBadShiftMessage},
    };
    for (const Row& row : rowsToTry) {
        dialogs.messages.shown.clear();
        run(
            [&](COptionsSheet& sheet) {
                QLineEdit* box = edit(sheet, row.control);
                type(sheet, row.control, row.bad);
                EXPECT_FALSE(sheet.pressOk());
                EXPECT_TRUE(sheet.isVisible());
                EXPECT_EQ(sheet.currentPage(), row.page);
                EXPECT_EQ(sheet.focusWidget(), box);

                EXPECT_FALSE(sheet.selectPage(4));
                EXPECT_EQ(sheet.currentPage(), row.page);
                EXPECT_EQ(sheet.tabs()->currentIndex(), row.page);

                type(sheet, row.control, row.good);
                EXPECT_TRUE(sheet.pressOk());
            },
            row.page);
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>({row.message, row.message})) << row.control;
        for (const auto& box : dialogs.messages.shown)
            EXPECT_EQ(box.buttons, Dialogs::Buttons::Ok);
    }
    EXPECT_EQ(picture.jpegQuality, 80);
    EXPECT_FLOAT_EQ(picture.aspectWidth, 7.0f);
    EXPECT_FLOAT_EQ(picture.aspectHeight, 5.5f);
    EXPECT_EQ(picture.borderOpacity, 255);
    EXPECT_EQ(picture.clockShiftSeconds, -3600);
}

TEST_F(TheOptionsPages, keepATypedOpacityWhenBrowsing) {
    openPhoto();
    dialogs.openAnswers.push_back(std::vector<std::string>{dir.path("stamp.png")});
    dialogs.openAnswers.push_back(std::vector<std::string>{dir.path("gold.png")});
    run([&](COptionsSheet& sheet) {
        sheet.selectPage(kFormat);
        type(sheet, "watermarkOpacity", "77");
        click(sheet, "browseWatermark");
        EXPECT_EQ(edit(sheet, "watermarkPath")->text().toStdString(), dir.path("stamp.png"));
        EXPECT_EQ(edit(sheet, "watermarkOpacity")->text(), "77");

        sheet.selectPage(kBorder);
        type(sheet, "borderOpacity", "90");
        click(sheet, "browseBorder");
        EXPECT_EQ(edit(sheet, "borderPath")->text().toStdString(), dir.path("gold.png"));
        EXPECT_EQ(edit(sheet, "borderOpacity")->text(), "90");
    });
    ASSERT_EQ(dialogs.openRequests.size(), 2u);
    EXPECT_EQ(dialogs.openRequests[0].title, "Select an image.");
    EXPECT_EQ(dialogs.openRequests[0].filter, "All (*.*)|*.*||");
    EXPECT_FALSE(dialogs.openRequests[0].multiple);
    EXPECT_EQ(dialogs.openRequests[1].title, "Select a background image.");
    EXPECT_EQ(dialogs.openRequests[1].filter, "All (*.*)|*.*||");
    EXPECT_EQ(dialogs.openRequests[1].folder, templateFolder);
    EXPECT_EQ(dialogs.openRequests[1].proposedName, "borderblack.gif");
}

TEST_F(TheOptionsPages, leaveEverythingAsItWasWhenOnlyLookedAt) {
    openPhoto();
    run([&](COptionsSheet& sheet) {
        for (int page = 0; page < sheet.pageCount(); ++page)
            ASSERT_TRUE(sheet.selectPage(page));
        ASSERT_TRUE(sheet.selectPage(kFileHandling));
        EXPECT_EQ(dynamic_cast<CPPPaths*>(sheet.page(kFileHandling))->changed, 0);
        EXPECT_EQ(dynamic_cast<CPPFormat*>(sheet.page(kFormat))->changed, 0);
        EXPECT_EQ(dynamic_cast<CPPAspect*>(sheet.page(kAspect))->changed, 0);
        EXPECT_EQ(dynamic_cast<CPPBorder*>(sheet.page(kBorder))->changed, 0);
        EXPECT_TRUE(sheet.pressOk());
    });
    EXPECT_EQ(picture.modified, 0);
    EXPECT_EQ(settings.defaultTemplate, "Simple.tpl");
    EXPECT_EQ(settings.templateFolder, templateFolder);
    EXPECT_EQ(settings.backColor, 0x909090);
    EXPECT_EQ(picture.dateFormat, "%c");
    EXPECT_EQ(picture.jpegQuality, 60);
    EXPECT_EQ(picture.prefix, "Dated_");
    EXPECT_FLOAT_EQ(picture.aspectWidth, 6.0f);
    EXPECT_EQ(changesLabelUpdates, 1);
}

TEST(DataExchangeNumbers, readWhatDialogsReadAndRefuseTheRest) {
    // Integers: blanks around, a sign, digits; clamped to the int range.
    EXPECT_EQ(DataExchange::parseInteger(" 42\t"), 42);
    EXPECT_EQ(DataExchange::parseInteger("+7"), 7);
    EXPECT_EQ(DataExchange::parseInteger("-3"), -3);
    EXPECT_EQ(DataExchange::parseInteger("99999999999"), 2147483647);
    EXPECT_EQ(DataExchange::parseInteger(""), std::nullopt);    // nothing typed
    EXPECT_EQ(DataExchange::parseInteger("-"), std::nullopt);   // a sign alone
    EXPECT_EQ(DataExchange::parseInteger("12a"), std::nullopt); // trailing letters
    EXPECT_EQ(DataExchange::parseInteger("1 2"), std::nullopt); // two numbers
    // Real numbers in the C form, whatever the user's locale.
    EXPECT_EQ(DataExchange::parseNumber("4.5"), 4.5f);
    EXPECT_EQ(DataExchange::parseNumber(" +6 "), 6.0f);
    EXPECT_EQ(DataExchange::parseNumber(".5"), 0.5f);
    EXPECT_EQ(DataExchange::parseNumber("1e1"), 10.0f);
    EXPECT_EQ(DataExchange::parseNumber(""), std::nullopt);
    EXPECT_EQ(DataExchange::parseNumber("4,5"), std::nullopt);  // a decimal comma
    EXPECT_EQ(DataExchange::parseNumber("inf"), std::nullopt);  // no size of print
    EXPECT_EQ(DataExchange::parseNumber("1e99"), std::nullopt); // past a float
    // Shown with six significant digits.
    EXPECT_EQ(DataExchange::numberText(6.0f), "6");
    EXPECT_EQ(DataExchange::numberText(5.5f), "5.5");
    EXPECT_EQ(DataExchange::numberText(1.0f / 3.0f), "0.333333");
}
