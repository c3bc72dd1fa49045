#pragma once

#include "shell/FrameParts.h"

#include <string>

class CDatedPicture;

// The template list and the template in use: filling the list from the template folder, choosing
// the start-up template, switching templates, and saving the formatting in use as a template.
class TemplateWorkflow {
public:
    // The list's entry for a template made afresh, which names no file.
    static constexpr const char* kNewTemplate = "<New>";

    explicit TemplateWorkflow(const FrameParts& parts) : f_(parts) {}

    // Scans the template folder for ".tpl" files and fills the list with them and "<New>", selecting
    // the default template.
    void FillTemplateList();
    // Selects the default template again; without a match the last entry, which becomes the default.
    void SelectStartupTemplate();
    // Reads the default template, or makes the new one when the default is "<New>".
    void LoadDefaultTemplate();
    // The user chose an entry of the template list.
    void SwitchTemplate();
    // Writes the formatting in use to its template file and makes it the template for the next photos.
    // While "<New>" is in use this is SaveTemplateAs. Returns false when the user cancelled.
    bool SaveTemplate();
    // Asks for a name in the template folder (".tpl" added when missing), writes the formatting in use
    // there, lists it and makes it the template in use. Returns false when the user cancelled.
    bool SaveTemplateAs();

    static bool IsNewTemplate(const std::string& name);

private:
    // The model holding the formatting in use: the open photo's once one was opened, else the template.
    CDatedPicture& formatInUse() const;
    // The file a template name stands for: a bare name is in the template folder.
    std::string pathOf(const std::string& name) const;
    // Writes the template and tells the outcome in the status bar.
    void write(CDatedPicture& source, const std::string& path) const;
    // The formatting of the open photo, applied again after the template changed.
    void reapply() const;
    // Selects the list entry that names the template in use, if there is one.
    void selectTemplateInUse() const;

    FrameParts f_;
};
