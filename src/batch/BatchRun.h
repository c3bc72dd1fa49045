#pragma once

#include "model/DatedPicture.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The photos of the inputs in order: files as given, and the .jpg, .tif and .png files (any letter
// case) of each folder, sorted by name. Inputs that do not exist are added to `problems`.
std::vector<std::string> collectPhotos(const std::vector<std::string>& inputs, std::vector<std::string>& problems);

struct BatchJob {
    std::vector<std::string> photos;
    CDatedPicture templ;
    std::string outDir;
    std::optional<int> quality;
    int jobs = 1;
    bool dryRun = false;
};

struct BatchSummary {
    int written = 0;
    int failed = 0;
    double seconds = 0;
};

// Dates every photo of the job with its template and saves the copies, `jobs` photos at a time.
// Progress and problems go to `err` (a bar when `err` is a terminal, else a line per photo).
BatchSummary runBatch(const BatchJob& job, std::ostream& err, bool terminal);
