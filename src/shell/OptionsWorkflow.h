#pragma once

#include <functional>
#include <string>
#include <vector>

class CDatedPicture;
class CMainBar;
class COptionsSheet;
class CPictureView;
class CPPAspect;
class CPPBorder;
class CPPFormat;
class CPPGeneral;
class CPPPaths;
class QWidget;
class UiDialogs;
struct AppSettings;

// What the options sheet reads and changes: the main window's settings, models, output path, view
// and format bar. Built by the main window each time it runs the sheet.
struct OptionsContext {
    AppSettings& settings;
    CDatedPicture& datedPicture;   // the open picture and the template settings in use
    CDatedPicture& loadedTemplate; // the template as read from its file: only its folder changes
    std::string& outputPath;       // the dated copy's path the status bar shows
    std::string picturePath;       // the open photo; empty when none
    const std::vector<std::string>& templateFiles; // the names the template scan found
    UiDialogs& dialogs;
    CPictureView* view = nullptr;             // may be null
    CMainBar* formatBar = nullptr;            // may be null; its item list gets and loses "Watermark"
    std::function<void()> updateChangesLabel; // may be empty
    QWidget* parent = nullptr;
};

// Runs the sheet and returns how it ended (QDialog::Accepted or Rejected). The application runs it
// modally; tests drive its pages and press OK or Cancel instead.
using SheetRunner = std::function<int(COptionsSheet&)>;
int RunSheetModally(COptionsSheet& sheet);

// The "&Options" command: the options sheet with the pages that fit (only "Global Options" without a
// composed picture), and after OK the settings, the template settings, the border and watermark
// files and a fresh composition of the picture. Cancel changes nothing, except that labels added
// with "Add Item" stay: they were added at once.
class COptionsWorkflow {
public:
    explicit COptionsWorkflow(const OptionsContext& context, SheetRunner runner = RunSheetModally);

    void ShowOptions(int startPage);

private:
    struct Pages;

    void copyIn(Pages& pages);
    void applySettings(const CPPGeneral& general);
    void applyFileHandling(const CPPPaths& paths);
    void applyBorder(const CPPBorder& border);
    void applyDateSources(const CPPFormat& format);
    void applyWatermark(const CPPFormat& format);
    void applyAspect(const CPPAspect& aspect);
    void composeAgain();
    // Labels added while the sheet ran: listed in the format bar and drawn.
    void showNewLabels(int firstNewItem);

    OptionsContext c_;
    SheetRunner runner_;
};
