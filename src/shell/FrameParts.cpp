#include "shell/FrameParts.h"

#include "compose/DatedCopy.h"
#include "formatbar/MainBar.h"
#include "imaging/TextCodec.h"
#include "shell/FrameState.h"
#include "shell/TemplateBar.h"
#include "view/PictureView.h"

#include <QMainWindow>
#include <QStatusBar>

namespace {

constexpr int kStatusMilliseconds = 8000;

} // namespace

void FrameParts::ShowPicture() const {
    view.AttachPicture(&state.datedPicture);
    formatBar.setDatedPicture(&state.datedPicture);
    formatBar.FillItemList(state.settings.viewAllExif != 0);
    formatBar.ShowItem(-1);
}

void FrameParts::ComposeOutputName() const {
    const CDatedPicture& picture = state.datedPicture;
    if (!picture.picture) {
        state.outputPath.clear();
        return;
    }
    state.outputPath =
        ::ComposeOutputName(state.openPath(), picture.outputDir, picture.prefix, picture.postfix);
}

void FrameParts::UpdateChangesLabel() const {
    templateBar.setChangesText(state.datedPicture.modified ? QStringLiteral("* Using unsaved changes.")
                                                           : QString());
}

void FrameParts::SetTitle() const {
    const std::string path = state.openPath();
    const std::string name = path.substr(path.rfind('/') + 1);
    window.setWindowTitle(imaging::toQString(name + " - " + state.settings.appTitle));
}

void FrameParts::ShowStatus(const std::string& text) const {
    window.statusBar()->showMessage(imaging::toQString(text), kStatusMilliseconds);
}
