#pragma once

#include "formatbar/ColorButton.h"
#include "formatbar/FakeFontCatalogue.h"
#include "formatbar/MainBar.h"
#include "model/DatedPicture.h"
#include "support/ScriptedColorChooser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// A format bar over the made-up faces, with a picture model whose items the tests make, the user at
// the colour dialog, and the custom colours the main window would own.
class FormatBarFixture : public ::testing::Test {
protected:
    FormatBarFixture() {
        bar.setColorChooser(&chooser);
        bar.SetCustomColors(&customColors);
        bar.show();
    }

    // Appends a visible date item (or one of the given kind) and returns its index.
    int addItem(const std::string& name, std::uint32_t tag = kTagDateTimeOriginal, int visible = 1) {
        EXPECT_TRUE(model.AppendItem());
        const int index = model.itemCount - 1;
        ImprintItem& it = model.item(index);
        it.displayName = name;
        it.tag = tag;
        it.visible = visible;
        it.listed = 1;
        return index;
    }

    // What the main window does when a picture is opened.
    void open() {
        bar.setDatedPicture(&model);
        bar.FillItemList(false);
        bar.ShowItem(-1);
    }

    // Opens the model and shows one of its items, as a click in the view would.
    void openAndShow(int index) {
        open();
        bar.ShowItem(index);
        formatChanged.clear();
        redraws.clear();
    }

    template <class W> W* control(const char* name) {
        W* widget = bar.findChild<W*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox* combo(const char* name) { return control<QComboBox>(name); }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }

    // The user picks the row with this text.
    static void choose(QComboBox* box, const QString& text) {
        const int row = box->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        box->setCurrentIndex(row);
        emit box->activated(row); // as a choice made with the mouse or the keys
    }
    // The user replaces the text of an edit box by typing; an empty text deletes it.
    static void type(QLineEdit* box, const QString& text) {
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::keyClicks(box, text);
    }

    static QStringList rows(QComboBox* box) {
        QStringList texts;
        for (int row = 0; row < box->count(); ++row)
            texts << box->itemText(row);
        return texts;
    }

    FakeFontCatalogue fonts;
    ScriptedColorChooser chooser;
    CustomColors customColors{};
    CDatedPicture model;
    CMainBar bar{fonts};
    QSignalSpy formatChanged{&bar, &CMainBar::formatChanged};
    QSignalSpy redraws{&bar, &CMainBar::redrawRequested};
};
