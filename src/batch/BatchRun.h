#pragma once

#include "model/DatedPicture.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The photos of the inputs in order: files as given, and the photos of each folder in the natural
// order of their names (IMG_2 before IMG_10). Inputs that do not exist or cannot be read are added to
// `problems`, with the reason.
// With `recursive`, folders in the folders too (each after the photos of its parent, in the same
// order, never a folder twice); without it, each folder that has folders in it is said in `notes`.
std::vector<std::string> collectPhotos(const std::vector<std::string>& inputs,
                                       std::vector<std::string>& problems, bool recursive = false,
                                       std::vector<std::string>* notes = nullptr);

struct BatchJob {
    std::vector<std::string> photos;
    // Files no copy may replace besides the photos (the desktop's other photos of the folder).
    std::vector<std::string> keep;
    CDatedPicture templ;
    std::string outDir;
    std::optional<int> quality;
    int jobs = 1;
    bool dryRun = false;
    // Keep a JPEG photo's own data outside the items where the template allows (LosslessCopy.h);
    // a photo whose copy encodes the whole picture instead is reported with the reason.
    bool lossless = false;
    // Whole-picture copies with Huffman tables fitted to them (smaller, slower: imaging::JpegEncoding).
    bool optimize = false;
};

struct BatchSummary {
    int written = 0;
    int failed = 0;
    int notStarted = 0; // photos left alone because the run was stopped
    double seconds = 0;
    int undated = 0; // of the written: copies that show none of the template's dates
};

// What a run reports about its photos. Both are called from the threads working on the photos, one
// call at a time.
struct PhotoHooks {
    // A problem with a photo; `repeated` when every photo would report it (a template's missing border).
    std::function<void(const std::string& photo, const std::string& text, bool repeated)> message;
    // A photo is finished: its index in the job, whether its copy was written (or, in a dry run, would
    // be) and the copy's path. Returns false to start no further photo.
    std::function<bool(std::size_t index, bool ok, const std::string& output)> done;
};

// Dates every photo of the job with its template and saves the copies into the job's output folder,
// `jobs` photos at a time, one failing photo not stopping the others. The output folder must exist.
BatchSummary datePhotos(const BatchJob& job, const PhotoHooks& hooks);

// Where a command-line run says what it did.
struct BatchOutput {
    std::ostream& err;              // progress and problems
    bool terminal = false;          // `err` is a terminal: a progress bar instead of a line per photo
    bool quiet = false;             // problems only, no progress
    std::ostream* copies = nullptr; // the path of each copy written, one a line
    bool copiesEscaped = false;     // control characters of those paths escaped (for a terminal)
};

// Dates every photo of the job with its template and saves the copies, `jobs` photos at a time.
BatchSummary runBatch(const BatchJob& job, const BatchOutput& output);
