#pragma once

#include <string>
#include <vector>

// What the desktop application's command line asks for: `imprix [PHOTO|FOLDER...]`.
struct AppCommandLine {
    bool help = false;
    bool version = false;
    std::string error;               // what is wrong with the arguments; empty when nothing is
    std::vector<std::string> inputs; // photos and folders to open, as given
};

// Reads the arguments (without the program name). Read before any window system is asked for, so
// that --help and --version work without a display.
AppCommandLine parseAppCommandLine(const std::vector<std::string>& args);

extern const char* const kAppUsage;
