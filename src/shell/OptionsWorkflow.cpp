#include "shell/OptionsWorkflow.h"

#include "compose/DatedCopy.h"
#include "formatbar/MainBar.h"
#include "formatbar/UiDialogs.h"
#include "imaging/TextCodec.h"
#include "model/DatedPicture.h"
#include "model/ItemList.h"
#include "options/OptionsSheet.h"
#include "options/PPAspect.h"
#include "options/PPBorder.h"
#include "options/PPFormat.h"
#include "options/PPGeneral.h"
#include "options/PPPaths.h"
#include "options/TemplateFolderCopy.h"
#include "shell/AppSettings.h"
#include "view/PictureView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSignalBlocker>

#include <initializer_list>

namespace {

constexpr const char* kWatermarkEntry = "Watermark";

// The format bar's item list as the list control it is, for finding and deleting entries.
QComboBox* itemListBox(CMainBar* bar) {
    return bar ? dynamic_cast<QComboBox*>(&bar->itemList()) : nullptr;
}

// The first entry beginning with the text, ignoring case, as the list's prefix search finds it.
int firstEntryStartingWith(const QComboBox& box, const char* text) {
    for (int row = 0; row < box.count(); ++row)
        if (box.itemText(row).startsWith(QLatin1String(text), Qt::CaseInsensitive)) return row;
    return -1;
}

} // namespace

// The pages live as long as one run of the sheet, all as its children. Those the sheet does not show
// stay hidden and hand back the values they were given.
struct COptionsWorkflow::Pages {
    Pages(UiDialogs& dialogs, COptionsSheet& sheet)
        : general(new CPPGeneral(dialogs, &sheet)), paths(new CPPPaths(dialogs, &sheet)),
          format(new CPPFormat(dialogs, &sheet)), aspect(new CPPAspect(dialogs, &sheet)),
          border(new CPPBorder(dialogs, &sheet)) {
        for (QWidget* page : std::initializer_list<QWidget*>{general, paths, format, aspect, border})
            page->hide();
    }

    CPPGeneral* general;
    CPPPaths* paths;
    CPPFormat* format;
    CPPAspect* aspect;
    CPPBorder* border;
};

int RunSheetModally(COptionsSheet& sheet) {
    return sheet.exec();
}

COptionsWorkflow::COptionsWorkflow(const OptionsContext& context, SheetRunner runner)
    : c_(context), runner_(runner ? std::move(runner) : SheetRunner(RunSheetModally)) {}

void COptionsWorkflow::ShowOptions(int startPage) {
    CDatedPicture& picture = c_.datedPicture;
    COptionsSheet sheet(c_.parent);
    Pages pages(c_.dialogs, sheet);
    copyIn(pages);

    // Every page while a photo is open, also when the template's ratio left no work picture: that is
    // where the ratio is mended.
    if (picture.picture || picture.workPicture) {
        sheet.AddPage(pages.paths, QCoreApplication::translate("COptionsWorkflow", "File Handling"));
        sheet.AddPage(pages.format, QCoreApplication::translate("COptionsWorkflow", "Format / Misc"));
        sheet.AddPage(pages.aspect, QCoreApplication::translate("COptionsWorkflow", "Aspect Ratio"));
        sheet.AddPage(pages.border, QStringLiteral("Border"));
    }
    sheet.AddPage(pages.general, QCoreApplication::translate("COptionsWorkflow", "Global Options"));
    sheet.start(startPage);

    const int itemsBefore = picture.itemCount;
    if (runner_(sheet) != QDialog::Accepted) {
        showNewLabels(itemsBefore);
        if (c_.updateChangesLabel && picture.itemCount > itemsBefore) c_.updateChangesLabel();
        return;
    }

    applySettings(*pages.general);
    applyFileHandling(*pages.paths);
    picture.dateFormat = pages.format->dateFormat;
    applyDateSources(*pages.format);
    applyBorder(*pages.border);
    applyWatermark(*pages.format);
    applyAspect(*pages.aspect);
    composeAgain();
    if (pages.aspect->changed) picture.modified = 1;
    showNewLabels(itemsBefore);
    if (c_.updateChangesLabel) c_.updateChangesLabel();
}

void COptionsWorkflow::copyIn(Pages& pages) {
    const AppSettings& settings = c_.settings;
    const CDatedPicture& picture = c_.datedPicture;

    CPPGeneral& general = *pages.general;
    general.defaultTemplate = settings.defaultTemplate;
    general.templateFiles = &c_.templateFiles;
    general.templateFolder = settings.templateFolder;
    general.backColor = settings.backColor;
    general.losslessJpeg = settings.losslessJpeg;
    general.optimizeHuffman = settings.optimizeHuffman;
    general.customColors = &c_.settings.customColors;

    CPPPaths& paths = *pages.paths;
    paths.jpegQuality = picture.jpegQuality;
    paths.prefix = picture.prefix;
    paths.postfix = picture.postfix;
    paths.useDefaultOutputDir = picture.useDefaultOutputDir;
    paths.outputDir = picture.outputDir;

    CPPAspect& aspect = *pages.aspect;
    aspect.whiteColor = picture.whiteColor;
    aspect.aspectEnabled = picture.aspectEnabled;
    aspect.aspectWidth = picture.aspectWidth;
    aspect.aspectHeight = picture.aspectHeight;
    aspect.reservedAspect = picture.reservedAspect;
    aspect.whiteSideWide = picture.whiteSideWide;
    aspect.whiteSideTall = picture.whiteSideTall;
    aspect.customColors = &c_.settings.customColors;

    CPPFormat& format = *pages.format;
    format.dateFormat = picture.dateFormat;
    format.datedPicture = &c_.datedPicture;
    format.clockShiftSeconds = picture.clockShiftSeconds;
    format.localeNames = picture.localeNames;
    // The sources of the date shown (else of any date item): the page sets them for every one.
    const ImprintItem* date = nullptr;
    for (int i = 0; i < picture.itemCount; ++i)
        if (isDateTag(picture.item(i).tag) && (!date || (picture.item(i).visible && !date->visible)))
            date = &picture.item(i);
    format.dateSources = date ? date->dateSources : DateSources();
    const bool hasWatermark = picture.watermarkIndex >= 0 && picture.watermarkIndex < picture.itemCount;
    format.watermarkPath = hasWatermark ? picture.item(picture.watermarkIndex).fontName : std::string();
    format.watermarkOpacity = hasWatermark ? picture.item(picture.watermarkIndex).fontSize : 255;

    CPPBorder& border = *pages.border;
    border.borderPath = picture.borderPath;
    border.borderOpacity = picture.borderOpacity;
    border.borderAutoRotate = picture.borderAutoRotate;
    border.templateFolder = settings.templateFolder;
}

void COptionsWorkflow::applySettings(const CPPGeneral& general) {
    c_.settings.defaultTemplate = general.defaultTemplate;
    c_.settings.templateFolder = general.templateFolder;
    c_.settings.backColor = general.backColor;
    c_.settings.losslessJpeg = general.losslessJpeg;
    c_.settings.optimizeHuffman = general.optimizeHuffman;
    if (c_.view) c_.view->setBackColor(general.backColor);
    c_.datedPicture.templateDir = general.templateFolder;
    c_.loadedTemplate.templateDir = general.templateFolder;
}

void COptionsWorkflow::applyFileHandling(const CPPPaths& paths) {
    CDatedPicture& picture = c_.datedPicture;
    picture.jpegQuality = paths.jpegQuality;
    picture.prefix = paths.prefix;
    picture.postfix = paths.postfix;
    picture.useDefaultOutputDir = paths.useDefaultOutputDir;
    // A folder chosen here is the template's, and the one later photos go to when their template names
    // none: the settings keep the folder the user last chose.
    if (paths.outputDir != picture.outputDir) c_.settings.outputDir = paths.outputDir;
    picture.outputDir = paths.outputDir;
    c_.outputPath =
        picture.picture && !c_.picturePath.empty()
            ? ComposeOutputName(c_.picturePath, picture.outputDir, picture.prefix, picture.postfix)
            : std::string();
    if (paths.changed) picture.modified = 1;
}

void COptionsWorkflow::applyBorder(const CPPBorder& border) {
    CDatedPicture& picture = c_.datedPicture;
    const std::string& chosen = border.borderPath;
    const std::string name = FileNameOfPath(chosen);
    const std::string destination = c_.settings.templateFolder + "/" + name;

    if (name.size() > 2 &&
        (!imaging::equalsIgnoringCase(name, picture.borderPath) || !picture.borderBitmap)) {
        // A copy that fails is not reported here: loading then reports the file it cannot find.
        CopyIntoTemplateFolder(chosen, destination);
        picture.LoadBorder(name, border.borderOpacity, c_.dialogs);
    } else if (chosen.empty()) {
        picture.borderPath.clear();
        picture.borderBitmap.reset();
    }
    picture.borderOpacity = border.borderOpacity;
    picture.borderAutoRotate = border.borderAutoRotate;
    if (border.changed) picture.modified = 1;
}

void COptionsWorkflow::applyDateSources(const CPPFormat& format) {
    CDatedPicture& picture = c_.datedPicture;
    if (picture.clockShiftSeconds != format.clockShiftSeconds || picture.localeNames != format.localeNames)
        picture.modified = 1;
    picture.clockShiftSeconds = format.clockShiftSeconds;
    picture.localeNames = format.localeNames;
    bool anyDate = false;
    for (int i = 0; i < picture.itemCount; ++i) {
        ImprintItem& it = picture.item(i);
        if (!isDateTag(it.tag)) continue;
        anyDate = true;
        if (it.dateSources != format.dateSources) picture.modified = 1;
        it.dateSources = format.dateSources;
    }
    // A photo without any date of its own (a scan, a messenger copy) gets the date taken from the
    // sources, shown where a new template shows it.
    if (!anyDate && !format.dateSources.empty() && picture.workPicture) {
        ImprintItem wanted;
        wanted.tag = kTagDateTimeOriginal;
        wanted.dateSources = format.dateSources;
        const int index = picture.AppendDateFromSources(wanted);
        if (index >= 0) {
            picture.item(index).visible = 1;
            picture.PlaceItemAlone(index);
            picture.modified = 1;
        }
    }
}

void COptionsWorkflow::applyWatermark(const CPPFormat& format) {
    CDatedPicture& picture = c_.datedPicture;
    const std::string& chosen = format.watermarkPath;
    const std::string name = FileNameOfPath(chosen);
    const std::string destination = c_.settings.templateFolder + "/" + name;
    QComboBox* list = itemListBox(c_.formatBar);

    if (format.changed && chosen.size() > 2) {
        CopyIntoTemplateFolder(chosen, destination);
        picture.LoadWatermark(name, format.watermarkOpacity, c_.dialogs);
        if (picture.watermarkBitmap && c_.formatBar &&
            (!list || firstEntryStartingWith(*list, kWatermarkEntry) < 0))
            c_.formatBar->itemList().addEntry(kWatermarkEntry, picture.watermarkIndex);
    } else if (chosen.empty()) {
        if (picture.watermarkIndex >= 0) picture.RemoveWatermarkItem();
        picture.watermarkBitmap.reset();
        const int row = list ? firstEntryStartingWith(*list, kWatermarkEntry) : -1;
        if (row >= 0) {
            const bool wasShown = list->currentIndex() == row;
            {
                // Deleting an entry is no choice of the user's.
                const QSignalBlocker quiet(list);
                list->removeItem(row);
            }
            // The bar must not go on showing the item that is gone.
            if (wasShown) c_.formatBar->ShowItem(-1);
        }
    }
    if (picture.watermarkIndex >= 0 && picture.watermarkIndex < picture.itemCount)
        picture.item(picture.watermarkIndex).fontSize = format.watermarkOpacity;
    if (format.changed) picture.modified = 1;
}

void COptionsWorkflow::applyAspect(const CPPAspect& aspect) {
    CDatedPicture& picture = c_.datedPicture;
    picture.whiteColor = aspect.whiteColor;
    picture.aspectEnabled = aspect.aspectEnabled;
    picture.reservedAspect = aspect.reservedAspect;
    if (aspect.whiteSideWide != picture.whiteSideWide || aspect.whiteSideTall != picture.whiteSideTall) {
        picture.whiteSideWide = aspect.whiteSideWide;
        picture.whiteSideTall = aspect.whiteSideTall;
        picture.modified = 1;
    }
    picture.aspectWidth = aspect.aspectWidth;
    picture.aspectHeight = aspect.aspectHeight;
}

// The items keep their places on the print while the picture is built again with the new settings.
void COptionsWorkflow::composeAgain() {
    CDatedPicture& picture = c_.datedPicture;
    if (!picture.picture && !picture.workPicture) return;
    for (int i = 0; i < picture.itemCount; ++i)
        picture.StoreItemOffsets(i);
    const CDatedPicture settings(picture);
    picture.ApplyTemplate(settings, c_.dialogs);
    if (c_.view) c_.view->AttachPicture(&picture);
}

void COptionsWorkflow::showNewLabels(int firstNewItem) {
    CDatedPicture& picture = c_.datedPicture;
    bool added = false;
    for (int i = firstNewItem; i < picture.itemCount; ++i) {
        const ImprintItem& item = picture.item(i);
        if (item.tag != kTagLabel || !item.visible) continue;
        if (c_.formatBar) c_.formatBar->itemList().addEntry(item.displayName, i);
        added = true;
    }
    if (added && c_.view) c_.view->Redraw();
}
