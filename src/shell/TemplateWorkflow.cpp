#include "shell/TemplateWorkflow.h"

#include "formatbar/UiDialogs.h"
#include "imaging/TextCodec.h"
#include "shell/EditHistory.h"
#include "shell/FrameState.h"
#include "shell/ShellText.h"
#include "shell/TemplateBar.h"
#include "view/PictureView.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The file's name as the folder spells it when only the letter case differs, as a file system that
// ignores case would find it.
std::string findIgnoringCase(const std::string& path) {
    const QFileInfo info(imaging::toQString(path));
    if (info.exists()) return path;
    const QDir folder = info.dir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return imaging::toUtf8(folder.filePath(name));
    return path;
}

bool endsWithTpl(const std::string& name) {
    return name.size() >= 4 && imaging::equalsIgnoringCase(name.substr(name.size() - 4), ".tpl");
}

} // namespace

bool TemplateWorkflow::IsNewTemplate(const std::string& name) {
    return imaging::equalsIgnoringCase(name, kNewTemplate);
}

CDatedPicture& TemplateWorkflow::formatInUse() const {
    return f_.state.datedPicture.itemCount > 0 ? f_.state.datedPicture : f_.state.loadedTemplate;
}

std::string TemplateWorkflow::pathOf(const std::string& name) const {
    if (name.find('/') != std::string::npos) return name;
    return findIgnoringCase(f_.state.settings.templateFolder + "/" + name);
}

void TemplateWorkflow::FillTemplateList() {
    FrameState& s = f_.state;
    s.templateFiles.clear();
    const QDir folder(imaging::toQString(s.settings.templateFolder));
    const QStringList names =
        folder.entryList({QStringLiteral("*.tpl")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names)
        s.templateFiles.push_back(imaging::toUtf8(name));

    f_.templateBar.clear();
    f_.templateBar.addEntry(kNewTemplate);
    for (const std::string& name : s.templateFiles)
        f_.templateBar.addEntry(name);
    f_.templateBar.selectStartingWith(s.settings.defaultTemplate);
}

void TemplateWorkflow::SelectStartupTemplate() {
    if (f_.templateBar.selectStartingWith(f_.state.settings.defaultTemplate)) return;
    f_.templateBar.selectRow(f_.templateBar.count() - 1);
    f_.state.settings.defaultTemplate = f_.templateBar.selectedText();
}

void TemplateWorkflow::LoadDefaultTemplate() {
    FrameState& s = f_.state;
    const std::string& defaultName = s.settings.defaultTemplate;
    if (!defaultName.empty() && !IsNewTemplate(defaultName)) {
        std::string name = defaultName;
        if (name.find('.') == std::string::npos) name += ".tpl";
        s.templateName = name;
        // The file's problems are the template's own: the start goes on with what could be read. A
        // file that cannot be opened at all (missing, a folder, a pipe) leaves a new template, so
        // the photos still get their date.
        if (s.loadedTemplate.ReadTemplate(pathOf(name), f_.dialogs) != 0) s.loadedTemplate.MakeNewTemplate();
    } else {
        SwitchTemplate();
    }
    f_.UpdateChangesLabel();
}

void TemplateWorkflow::SwitchTemplate() {
    FrameState& s = f_.state;
    const std::string chosen = f_.templateBar.selectedText();
    if (s.datedPicture.modified) {
        const auto answer =
            f_.dialogs.message(shellText("TemplateWorkflow",
                                         "The current template (%1) was changed. Would you like to save it "
                                         "before loading the new template?",
                                         {s.templateName}),
                               Dialogs::Buttons::YesNoCancel, Dialogs::Icon::Question);
        const bool keep =
            answer == Dialogs::Answer::Cancel ||
            (answer == Dialogs::Answer::Yes && IsNewTemplate(s.templateName) && !SaveTemplateAs());
        if (keep) {
            selectTemplateInUse();
            return;
        }
        if (answer == Dialogs::Answer::Yes && !IsNewTemplate(s.templateName))
            write(formatInUse(), pathOf(s.templateName));
        f_.templateBar.selectRow(f_.templateBar.findEntry(chosen));
    }

    s.templateName = chosen;
    const std::string& folder = s.settings.templateFolder;
    if (!IsNewTemplate(chosen)) {
        s.loadedTemplate.templateDir = folder;
        s.loadedTemplate.ReadTemplate(pathOf(chosen), f_.dialogs);
        if (s.hasWorkPicture()) {
            s.datedPicture.templateDir = folder;
            reapply();
        }
    } else {
        s.loadedTemplate.templateDir = folder;
        s.loadedTemplate.MakeNewTemplate();
        if (s.hasWorkPicture()) {
            reapply();
        } else {
            s.startFromSettingsOutputDir();
            s.datedPicture.ApplyTemplate(s.loadedTemplate, f_.dialogs);
            f_.view.AttachPicture(&s.datedPicture);
        }
    }
    s.datedPicture.modified = 0;
    f_.history.reset();
    f_.UpdateChangesLabel();
    f_.view.Redraw();
}

void TemplateWorkflow::reapply() const {
    FrameState& s = f_.state;
    s.startFromSettingsOutputDir();
    s.datedPicture.ApplyTemplate(s.loadedTemplate, f_.dialogs);
    // The template may show other items and name the copy otherwise.
    f_.ShowPicture();
    f_.ComposeOutputName();
    s.imageSaved = 0;
}

void TemplateWorkflow::write(CDatedPicture& source, const std::string& path) const {
    std::string whyNot;
    if (source.WriteTemplate(path, &whyNot) == 0) {
        f_.ShowStatus(shellText("TemplateWorkflow", "Template saved: %1", {path}));
        if (&source == &f_.state.datedPicture) f_.history.markSaved();
    } else
        f_.ShowStatus(whyNot.empty()
                          ? shellText("TemplateWorkflow", "The template could not be written to %1", {path})
                          : shellText("TemplateWorkflow", "The template could not be written to %1: %2",
                                      {path, whyNot}));
}

bool TemplateWorkflow::SaveTemplate() {
    FrameState& s = f_.state;
    CDatedPicture& source = formatInUse();
    if (IsNewTemplate(s.templateName) || source.templatePath.empty()) return SaveTemplateAs();
    write(source, source.templatePath);
    if (&source != &s.loadedTemplate) {
        s.loadedTemplate = source;
        // A template needs the formatting, not the photo.
        s.loadedTemplate.picture.reset();
        s.loadedTemplate.workPicture.reset();
    }
    f_.UpdateChangesLabel();
    return true;
}

bool TemplateWorkflow::SaveTemplateAs() {
    FrameState& s = f_.state;
    UiDialogs::FileRequest request;
    request.title = shellText("TemplateWorkflow", "Save Template As");
    request.filter = shellText("TemplateWorkflow", "Template (*.tpl)|*.tpl||");
    request.folder = s.settings.templateFolder;
    request.proposedName = IsNewTemplate(s.templateName) ? std::string() : s.templateName;
    const std::optional<std::string> chosen = f_.dialogs.saveFile(request);
    if (!chosen || chosen->empty()) return false;
    std::string path = *chosen;
    if (!endsWithTpl(path)) path += ".tpl";

    CDatedPicture& source = formatInUse();
    write(source, path);
    if (&source != &s.loadedTemplate) {
        s.loadedTemplate = source;
        s.loadedTemplate.picture.reset();
        s.loadedTemplate.workPicture.reset();
    }
    s.loadedTemplate.templatePath = path;

    const QFileInfo file(imaging::toQString(path));
    const bool inFolder =
        file.absolutePath() == QFileInfo(imaging::toQString(s.settings.templateFolder)).absoluteFilePath();
    const std::string name = imaging::toUtf8(file.fileName());
    s.templateName = inFolder ? name : path;
    if (inFolder && f_.templateBar.findEntry(name) < 0) {
        f_.templateBar.addEntry(name);
        s.templateFiles.push_back(name);
    }
    selectTemplateInUse();
    f_.UpdateChangesLabel();
    return true;
}

void TemplateWorkflow::selectTemplateInUse() const {
    const int row = f_.templateBar.findEntry(f_.state.templateName);
    if (row >= 0) f_.templateBar.selectRow(row);
}
