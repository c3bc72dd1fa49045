#pragma once

#include "model/DatedPicture.h"
#include "shell/AppSettings.h"

#include <string>
#include <vector>

// What the main window knows while it runs: the batch of photos and the open one, the template in
// use and the one read from its file, the settings, and the name of the dated copy.
struct FrameState {
    std::vector<std::string> fileList;      // full paths of the photos of the batch
    int fileIndex = 0;                      // the open photo in fileList
    CDatedPicture datedPicture;             // the open photo: pictures, items, template settings in use
    CDatedPicture loadedTemplate;           // the template as read, applied to every photo opened
    std::string templateName;               // the template in use, as the template list names it
    int imageSaved = 1;                     // the dated image shown has been saved (or there is none)
    std::string outputPath;                 // where the dated copy goes; empty without a photo
    std::vector<std::string> templateFiles; // the template folder's files at start-up
    AppSettings settings;

    bool hasWorkPicture() const { return datedPicture.workPicture != nullptr; }
    // Readies the open photo's model for the template in use: a template that names no output folder
    // writes into the settings' one, never into the folder of the template used before.
    void startFromSettingsOutputDir() { datedPicture.outputDir = settings.outputDir; }
    // The photo the dated picture came from, or an empty text.
    std::string openPath() const {
        return fileIndex >= 0 && fileIndex < static_cast<int>(fileList.size())
                   ? fileList[static_cast<std::size_t>(fileIndex)]
                   : std::string();
    }
};
