#include "shell/PictureWorkflow.h"

#include "compose/DatedCopy.h"
#include "formatbar/MainBar.h"
#include "formatbar/UiDialogs.h"
#include "imaging/TextCodec.h"
#include "model/PhotoFolder.h"
#include "shell/EditHistory.h"
#include "shell/FrameState.h"
#include "shell/SettingsFile.h"
#include "shell/ShellText.h"
#include "shell/TemplateWorkflow.h"
#include "view/PictureView.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>

#include <algorithm>

namespace {

// The open dialog's first filter: the photos Imprix reads, by their usual names in either letter case
// (a file dialog matches names as they are written).
constexpr const char* kPhotoFilter =
    "Photos|*.jpg;*.jpeg;*.jpe;*.tif;*.tiff;*.png;*.webp;*.heic;*.heif;*.avif;"
    "*.JPG;*.JPEG;*.JPE;*.TIF;*.TIFF;*.PNG;*.WEBP;*.HEIC;*.HEIF;*.AVIF";

} // namespace

std::vector<std::string> PictureWorkflow::FolderPhotos(const std::string& folderPath,
                                                       const std::string& except) {
    // Every photo Imprix opens, in the order a person reads the names (the order of a Linux folder is
    // not one a user would recognise), as imprix-batch takes a folder.
    std::vector<std::string> photos = photosInFolder(folderPath);
    const std::string skipped = except.substr(except.rfind('/') + 1);
    std::erase_if(photos, [&](const std::string& photo) {
        return !except.empty() && imaging::equalsIgnoringCase(photo.substr(photo.rfind('/') + 1), skipped);
    });
    return photos;
}

std::vector<std::string> PictureWorkflow::FolderBatch(const std::string& chosen) {
    const auto slash = chosen.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : chosen.substr(0, slash);
    std::vector<std::string> batch = FolderPhotos(folder, chosen);
    // The chosen photo takes its place among the others by name, so that Next and Previous go to
    // its neighbours.
    const std::string name = chosen.substr(slash + 1);
    const auto at = std::find_if(batch.begin(), batch.end(), [&](const std::string& photo) {
        return naturalLess(name, photo.substr(photo.rfind('/') + 1));
    });
    batch.insert(at, chosen);
    return batch;
}

bool PictureWorkflow::AskToSaveImage() {
    if (f_.state.imageSaved || !f_.state.hasWorkPicture()) return true;
    const auto answer = f_.dialogs.message(
        shellText("PictureWorkflow",
                  "The current imprinted image has not been saved.  Would you like to save it?"),
        Dialogs::Buttons::YesNoCancel, Dialogs::Icon::Question);
    if (answer == Dialogs::Answer::Cancel) return false;
    return answer == Dialogs::Answer::No || SaveDatedCopy();
}

bool PictureWorkflow::AskToSaveFormat() {
    if (!f_.state.datedPicture.modified) return true;
    const auto answer =
        f_.dialogs.message(shellText("PictureWorkflow", "The format has been changed. Would you like to save "
                                                        "the template so that it will be applied to the "
                                                        "next image?"),
                           Dialogs::Buttons::YesNoCancel, Dialogs::Icon::Question);
    if (answer == Dialogs::Answer::Cancel) return false;
    return answer == Dialogs::Answer::No || templates_.SaveTemplate();
}

void PictureWorkflow::OpenPictures() {
    if (!AskToSaveImage() || !AskToSaveFormat()) return;
    UiDialogs::FileRequest request;
    request.title = shellText("PictureWorkflow", "Select image to date or a list of images.");
    request.filter = std::string(kPhotoFilter) + "|All (*.*)|*.*||";
    request.multiple = true;
    const std::optional<std::vector<std::string>> chosen = f_.dialogs.openFiles(request);
    if (!chosen || chosen->empty()) return;
    RememberRecent(f_.state.settings, chosen->front());
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
    for (auto path = paths.rbegin(); path != paths.rend(); ++path)
        RememberRecent(f_.state.settings, *path);
    openBatch(files);
}

void PictureWorkflow::openBatch(const std::vector<std::string>& chosen) {
    f_.state.fileList = chosen.size() == 1 ? FolderBatch(chosen.front()) : chosen;
    const auto at = std::find(f_.state.fileList.begin(), f_.state.fileList.end(), chosen.front());
    openEntry(static_cast<int>(at - f_.state.fileList.begin()));
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
        f_.history.reset();
        f_.UpdateChangesLabel();
        // A date that is not the photo's own is said, so that a wrong guess is noticed.
        std::string status;
        for (const std::string& source : s.datedPicture.DatesFromOtherSources())
            status += (status.empty() ? "" : ", ") + source;
        if (!status.empty()) status = shellText("PictureWorkflow", "Dated from %1. ", {status});
        f_.ShowStatus(
            status +
            shellText("PictureWorkflow",
                      "Click an item in the picture, or choose one in the list at the left, to change it."));
    } else {
        if (!s.datedPicture.picture) s.imageSaved = 1;
        f_.ShowStatus(whyNot.empty() ? shellText("PictureWorkflow", "Cannot open %1", {path})
                                     : shellText("PictureWorkflow", "Cannot open %1: %2", {path, whyNot}));
        f_.view.Redraw();
    }
    f_.SetTitle();
}

void PictureWorkflow::ClosePicture() {
    // The same questions as before another photo is opened; Cancel keeps the photo open.
    if (!AskToSaveImage() || !AskToSaveFormat()) return;
    FrameState& s = f_.state;
    s.datedPicture.workPicture.reset();
    s.datedPicture.picture.reset();
    s.imageSaved = 1; // nothing is left to save
    // Nothing is left to edit either: the bar lets the items go, and the title names no photo.
    f_.formatBar.setDatedPicture(nullptr);
    f_.history.reset();
    f_.window.setWindowTitle(imaging::toQString(s.settings.appTitle));
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
    CopyRoad road{s.settings.losslessJpeg != 0, {}, s.settings.optimizeHuffman != 0};
    if (::SaveDatedCopy(s.datedPicture, s.outputPath, s.openPath(), f_.dialogs, &road) != SaveOutcome::Saved)
        return false;
    s.imageSaved = 1;
    // Said when the photo's own JPEG data was to be kept and could not be.
    f_.ShowStatus(road.wholeReason.empty()
                      ? shellText("PictureWorkflow", "Saved %1", {s.outputPath})
                      : shellText("PictureWorkflow", "Saved %1 (%2: whole picture re-encoded)",
                                  {s.outputPath, road.wholeReason}));
    return true;
}

bool PictureWorkflow::SaveDatedCopyAs() {
    FrameState& s = f_.state;
    if (!s.hasWorkPicture()) return false;
    UiDialogs::FileRequest request;
    request.title = shellText("PictureWorkflow", "Save Dated Image As...");
    request.filter = shellText("PictureWorkflow", "Dated Image (*.jpg)|*.jpg||");
    request.proposedName = s.outputPath;
    const std::optional<std::string> chosen = f_.dialogs.saveFile(request);
    if (!chosen || chosen->empty()) return false;
    // The name becomes the output name once the copy is written there: a name that fails (a folder
    // that is not there) must not make every later save fail the same way.
    const std::string before = s.outputPath;
    s.outputPath = *chosen;
    if (SaveDatedCopy()) return true;
    s.outputPath = before;
    return false;
}
