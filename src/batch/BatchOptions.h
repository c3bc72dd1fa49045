#pragma once

#include <optional>
#include <string>
#include <vector>

// What the command line asked for.
struct BatchOptions {
    bool items = false;     // list items instead of writing dated copies
    bool dryRun = false;    // compose everything, write nothing
    bool verbose = false;   // also print the image decoders' warnings
    bool json = false;      // with items: one JSON object per photo
    bool recursive = false; // also the photos of folders in the folders given
    bool quiet = false;     // no progress and no summary; problems still said
    bool help = false;
    bool version = false;
    std::optional<bool> lossless; // --lossless, --no-lossless; else the settings decide
    std::optional<bool> optimize; // --optimize, --no-optimize; else the settings decide
    std::optional<std::string> templatePath;
    std::optional<std::string> outDir;
    std::optional<int> quality;      // 0..100
    int jobs = 0;                    // 0: one per core
    std::optional<long long> shift;  // seconds added to every date shown, for this run
    std::vector<std::string> inputs; // photos and folders
};

// Reads the arguments (without the program name). Returns the options, or sets `error` to what is
// wrong with them.
BatchOptions parseBatchOptions(const std::vector<std::string>& args, std::string& error);

extern const char* const kBatchUsage;
