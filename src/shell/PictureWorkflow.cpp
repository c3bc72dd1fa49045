#include "shell/PictureWorkflow.h"

#include "compose/DatedCopy.h"
#include "imaging/TextCodec.h"
#include "shell/FrameState.h"
#include "shell/TemplateWorkflow.h"
#include "formatbar/UiDialogs.h"
#include "view/PictureView.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

bool isBatchExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? name : name.mid(dot + 1);
    return extension.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0 ||
           extension.compare(QLatin1String("tif"), Qt::CaseInsensitive) == 0;
}

} // namespace

std::vector<std::string> PictureWorkflow::FolderPhotos(const std::string& folderPath,
                                                       const std::string& except) {
    const QDir folder(imaging::toQString(folderPath));
    QStringList names = folder.entryList(QDir::Files);
    // By name ignoring case, the order NTFS lists a folder in; the order of a Linux directory is
    // not one a user would recognise.
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    std::vector<std::string> photos;
    const QString skipped = except.empty() ? QString() : QFileInfo(imaging::toQString(except)).fileName();
    for (const QString& name : names) {
        if (name.compare(skipped, Qt::CaseInsensitive) == 0 || !isBatchExtension(name)) continue;
        photos.push_back(imaging::toUtf8(folder.filePath(name)));
    }
    return photos;
}

std::vector<std::string> PictureWorkflow::FolderBatch(const std::string& chosen) {
    std::vector<std::string> batch{chosen};
    const std::string folder = imaging::toUtf8(QFileInfo(imaging::toQString(chosen)).dir().path());
    for (std::string& photo : FolderPhotos(folder, chosen))
        batch.push_back(std::move(photo));
    return batch;
}

bool PictureWorkflow::AskToSaveImage() {
    if (f_.state.imageSaved || !f_.state.hasWorkPicture()) return true;
    const auto answer =
        f_.dialogs.message("The current imprinted image has not been saved.  Would you like to save it?",
                           Dialogs::Buttons::YesNoCancel, Dialogs::Icon::Question);
    if (answer == Dialogs::Answer::Cancel) return false;
    return answer == Dialogs::Answer::No || SaveDatedCopy();
}

bool PictureWorkflow::AskToSaveFormat() {
    if (!f_.state.datedPicture.modified) return true;
    const auto answer = f_.dialogs.message(
        "The format has been changed. Would you like to save the template so that it will be applied to the "
        "next image?",
        Dialogs::Buttons::YesNoCancel, Dialogs::Icon::Question);
    if (answer == Dialogs::Answer::Cancel) return false;
    return answer == Dialogs::Answer::No || templates_.SaveTemplate();
}

void PictureWorkflow::OpenPictures() {
    if (!AskToSaveImage() || !AskToSaveFormat()) return;
    UiDialogs::FileRequest request;
    request.title = "Select image to date or a list of images.";
    request.filter = "All (*.*)|*.*||";
    request.multiple = true;
    const std::optional<std::vector<std::string>> chosen = f_.dialogs.openFiles(request);
    if (!chosen || chosen->empty()) return;
    openBatch(*chosen);
}

void PictureWorkflow::OpenDropped(const std::vector<std::string>& paths) {
    // A folder dropped stands for its photos.
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        if (!QFileInfo(imaging::toQString(path)).isDir()) {
            files.push_back(path);
            continue;
        }
        for (std::string& photo : FolderPhotos(path, std::string()))
            files.push_back(std::move(photo));
    }
    if (files.empty() || !AskToSaveImage() || !AskToSaveFormat()) return;
    openBatch(files);
}

void PictureWorkflow::openBatch(const std::vector<std::string>& chosen) {
    f_.state.fileList = chosen.size() == 1 ? FolderBatch(chosen.front()) : chosen;
    openEntry(0);
}

void PictureWorkflow::openEntry(int index) {
    FrameState& s = f_.state;
    s.fileIndex = index;
    const std::string path = s.openPath();
    std::string whyNot;
    s.startFromSettingsOutputDir();
    if (s.datedPicture.LoadPicture(path, s.loadedTemplate, f_.dialogs, &whyNot) == 1) {
        f_.ShowPicture();
        f_.ComposeOutputName();
        s.imageSaved = 0;
        // The photo shows the template as it is: nothing differs from it yet.
        s.datedPicture.modified = 0;
        f_.UpdateChangesLabel();
        f_.ShowStatus("Click an item in the picture, or choose one in the list at the left, to change it.");
    } else {
        if (!s.datedPicture.picture) s.imageSaved = 1;
        f_.ShowStatus("Cannot open " + path + (whyNot.empty() ? "" : ": " + whyNot));
        f_.view.Redraw();
    }
    f_.SetTitle();
}

void PictureWorkflow::ClosePicture() {
    FrameState& s = f_.state;
    s.datedPicture.workPicture.reset();
    s.datedPicture.picture.reset();
    s.imageSaved = 1; // nothing is left to save
    f_.view.Redraw();
}

void PictureWorkflow::MoveBy(int step) {
    FrameState& s = f_.state;
    const int target = s.fileIndex + step;
    if (target < 0 || target >= static_cast<int>(s.fileList.size())) return;
    if (!AskToSaveFormat()) return;
    if (s.hasWorkPicture() && !s.imageSaved && !SaveDatedCopy()) return;
    openEntry(target);
}

bool PictureWorkflow::SaveDatedCopy() {
    FrameState& s = f_.state;
    if (!s.hasWorkPicture()) return false;
    // The view paints what it shows; the copy must have every change, shown yet or not.
    s.datedPicture.needsRedraw = 1;
    s.datedPicture.RenderDatedImage();
    if (::SaveDatedCopy(s.datedPicture, s.outputPath, s.openPath(), f_.dialogs) != SaveOutcome::Saved)
        return false;
    s.imageSaved = 1;
    f_.ShowStatus("Saved " + s.outputPath);
    return true;
}

bool PictureWorkflow::SaveDatedCopyAs() {
    FrameState& s = f_.state;
    if (!s.hasWorkPicture()) return false;
    UiDialogs::FileRequest request;
    request.title = "Save Dated Image As...";
    request.filter = "Dated Image (*.jpg)|*.jpg||";
    request.proposedName = s.outputPath;
    const std::optional<std::string> chosen = f_.dialogs.saveFile(request);
    if (!chosen || chosen->empty()) return false;
    s.outputPath = *chosen;
    return SaveDatedCopy();
}
