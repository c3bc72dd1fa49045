#pragma once

#include "formatbar/ColorChooser.h"

#include <string>
#include <vector>

// The application settings the main window holds while the application runs: read from the
// settings file at start-up and written back at exit. Colours are Windows colour values.
struct AppSettings {
    std::string exeFolder;  // folder of the running executable, no trailing separator
    std::string iniPath;    // the settings file
    std::string homeFolder; // a bare "TemplatePath" names a folder in here: exeFolder, or the
                            // user's configuration folder for an installed copy
    std::string appTitle = "Orvalinquestaporimex"; // the window title's application name
    std::string outputDir;                      // "OutDir": where copies go when the template names no folder
    std::string defaultTemplate = "Simple.tpl"; // "TemplateDef"
    std::string templateFolder;                 // "TemplatePath", absolute once read
    int backColor = 0x909090;                   // "BackColor": the view's background
    int losslessJpeg = 1;    // "LosslessJpeg": copies of JPEG photos keep the photo's data outside the items
    int optimizeHuffman = 0; // "OptimizeHuffman": whole-picture copies with Huffman tables fitted to them
    int viewAllExif = 0;     // "ViewAllExif"
    int viewRatio = 0;       // "ViewRatio": 0 none, 1 4x6, 2 5x7, 3 8x10
    CustomColors customColors{};          // "CustomColors" C1..C16
    std::vector<std::string> recentFiles; // "Recent" File1..File10: photos and folders opened, newest first
    std::string windowGeometry;           // "Window" "Geometry": the window's place and size (Qt's saved
                                          // geometry in base64), empty until the window was first closed
};
