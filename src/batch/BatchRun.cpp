#include "batch/BatchRun.h"

#include "batch/ItemListing.h"
#include "compose/DatedCopy.h"
#include "compose/LosslessCopy.h"
#include "imaging/Exiv2Setup.h"
#include "imaging/ImageDecoder.h"
#include "imaging/PhotoContent.h"
#include "imaging/TextCodec.h"
#include "model/Dialogs.h"
#include "model/PhotoFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <map>
#include <mutex>
#include <ostream>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unordered_map>

namespace {

// Progress and messages of all jobs, one line at a time. Messages that every photo would repeat
// (a template's missing border) are printed once.
class Reporter {
public:
    Reporter(std::ostream& err, bool terminal, int total) : err_(err), terminal_(terminal), total_(total) {}

    // `once`: a message every photo would repeat, printed for the first only.
    void message(const std::string& photo, const std::string& text, bool once = false) {
        std::lock_guard lock(mutex_);
        if (once && !printed_.insert(text).second) return;
        clearBar();
        std::string oneLine = text;
        std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
        err_ << "imprix-batch: " << escapeListingField(photo) << ": " << escapeListingField(oneLine) << '\n';
        drawBar();
    }

    void done(const std::string& photo, const std::string& outcome) {
        std::lock_guard lock(mutex_);
        ++finished_;
        if (terminal_) {
            last_ = escapeListingField(photo);
            clearBar();
            drawBar();
        } else {
            err_ << '[' << finished_ << '/' << total_ << "] " << escapeListingField(photo) << ": "
                 << escapeListingField(outcome) << '\n';
        }
    }

    void finish() {
        std::lock_guard lock(mutex_);
        clearBar();
        err_.flush();
    }

private:
    void clearBar() {
        if (terminal_ && barShown_) err_ << "\r\033[K";
        barShown_ = false;
    }
    void drawBar() {
        if (!terminal_ || finished_ == 0) return;
        constexpr int kWidth = 30;
        const int filled = total_ ? finished_ * kWidth / total_ : kWidth;
        err_ << '[' << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << finished_ << '/'
             << total_ << ' ' << last_ << std::flush;
        barShown_ = true;
    }

    std::mutex mutex_;
    std::ostream& err_;
    bool terminal_;
    int total_;
    int finished_ = 0;
    bool barShown_ = false;
    std::string last_;
    std::set<std::string> printed_;
};

// The run answers for its user: the output folder is made beforehand, so a question is answered
// with its first button; every message is passed on.
class HookDialogs : public Dialogs {
public:
    HookDialogs(const PhotoHooks& hooks, std::mutex& mutex, std::string photo)
        : hooks_(hooks), mutex_(mutex), photo_(std::move(photo)) {}

    Answer message(const std::string& text, Buttons buttons, Icon) override {
        report(text, true);
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }

    void report(const std::string& text, bool repeated) {
        if (!hooks_.message) return;
        std::lock_guard lock(mutex_);
        hooks_.message(photo_, text, repeated);
    }

private:
    const PhotoHooks& hooks_;
    std::mutex& mutex_;
    std::string photo_;
};

// The folders in a folder (not "." and ".."), in the natural order of their names.
std::vector<std::string> subfoldersOf(const std::string& folderAsGiven) {
    std::string folder = folderAsGiven;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            struct stat st {};
            if (name != "." && name != ".." && ::stat((folder + "/" + name).c_str(), &st) == 0 &&
                S_ISDIR(st.st_mode))
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end(), naturalLess);
    for (std::string& name : names)
        name = (folder == "/" ? "/" : folder + "/") + name;
    return names;
}

enum class PhotoOutcome { Failed, Written, WrittenWithoutDate };

// Loads the photo with the template; `pixels` says how much of it is decoded.
bool loadPhoto(CDatedPicture& model, const std::string& photo, const CDatedPicture& templ,
               const BatchJob& job, HookDialogs& dialogs, CDatedPicture::PhotoPixels pixels) {
    std::string whyNot;
    if (!model.LoadPicture(photo, templ, dialogs, &whyNot, pixels)) {
        dialogs.report(whyNot.empty() ? "cannot be read" : whyNot, false);
        return false;
    }
    if (job.quality) model.jpegQuality = *job.quality;
    model.outputDir = job.outDir;
    // Only the dated image is needed from here: keep memory low. A copy made from the photo's JPEG
    // data draws the items itself; a photo still to be decoded is painted as it is decoded.
    if (!model.pixelsUnread) model.RenderDatedImageForSave();
    return true;
}

// A JPEG photo by its content, whatever its name (.jpg, .jpeg, .JPE ...).
bool jpegPhoto(const std::string& path) {
    return imaging::photoContentOf(path) == imaging::PhotoContent::Jpeg;
}

// Saves the copy by the road the job asks for; a copy that could not keep the photo's JPEG data of a
// photo read for its size only is saved again, the photo decoded as the copy is encoded. Says why the
// whole picture was encoded when the photo's data was to be kept, once for a reason of the template's.
SaveOutcome saveCopy(CDatedPicture& model, const std::string& output, const std::string& photo,
                     const CDatedPicture& templ, const BatchJob& job, HookDialogs& dialogs) {
    CopyRoad road{job.lossless, {}, job.optimize};
    // A photo still to be decoded whose copy may keep its JPEG data (its white space turned out to be
    // none) tries that first, as a photo read for its size only does.
    if (model.PhotoPending() && job.lossless) road.wholeReason = wholePictureReason(model);
    SaveOutcome saved = model.PhotoPending() && (!job.lossless || !road.wholeReason.empty())
                            ? SaveStreamedCopy(model, output, photo, dialogs, road)
                            : SaveDatedCopy(model, output, photo, dialogs, &road);
    if (saved == SaveOutcome::NeedsDecodedPhoto) {
        road = CopyRoad{false, road.wholeReason, job.optimize};
        if (model.PhotoPending()) {
            saved = SaveStreamedCopy(model, output, photo, dialogs, road);
        } else {
            CDatedPicture decoded;
            if (!loadPhoto(decoded, photo, templ, job, dialogs, CDatedPicture::PhotoPixels::Streamed))
                return SaveOutcome::Failed;
            saved = SaveStreamedCopy(decoded, output, photo, dialogs, road);
        }
    }
    // A PNG or TIFF photo has no JPEG data to keep: its copy is encoded whole, as expected.
    if (saved == SaveOutcome::Saved && job.lossless && !road.wholeReason.empty() && jpegPhoto(photo))
        dialogs.report(road.wholeReason + ": whole picture re-encoded",
                       road.wholeReason == wholePictureReason(templ));
    return saved;
}

// Dates one photo and writes its copy (in a dry run, only says it would); `output` names the copy.
PhotoOutcome datePhoto(const std::string& photo, const CDatedPicture& templ, const BatchJob& job,
                       HookDialogs& dialogs, std::string& output) {
    using Pixels = CDatedPicture::PhotoPixels;
    // A copy that keeps the photo's JPEG data needs none of its pixels decoded, unless the template
    // may change more than the items (white space that depends on the photo's shape, a watermark that
    // depends on its size). A whole-picture copy decodes the photo as it encodes the copy; a dry run
    // decodes every photo at once, to find those that cannot be read.
    const std::string templateReason = job.lossless ? wholePictureReason(templ) : std::string();
    const bool sizeOnly = job.lossless && !job.dryRun && templateReason.empty() && jpegPhoto(photo);
    const Pixels pixels = sizeOnly ? Pixels::SizeOnly : job.dryRun ? Pixels::Decoded : Pixels::Streamed;
    CDatedPicture model;
    if (!loadPhoto(model, photo, templ, job, dialogs, pixels)) return PhotoOutcome::Failed;
    const std::optional<std::string> problem = model.TakeDateProblem();
    const std::optional<std::string> undated = model.WhyNoDateIsShown(templ);
    if (problem && !undated) dialogs.report(*problem, false); // one date of several is missing
    if (!model.workPicture) return PhotoOutcome::Failed;
    output = ComposeOutputName(photo, job.outDir, model.prefix, model.postfix);
    if (!job.dryRun && saveCopy(model, output, photo, templ, job, dialogs) != SaveOutcome::Saved)
        return PhotoOutcome::Failed;
    for (const std::string& source : model.DatesFromOtherSources())
        dialogs.report((job.dryRun ? "would be dated from " : "dated from ") + source, false);
    if (!undated) return PhotoOutcome::Written;
    dialogs.report((job.dryRun ? "would be written without a date: " : "written without a date: ") + *undated,
                   false);
    return PhotoOutcome::WrittenWithoutDate;
}

} // namespace

std::vector<std::string> collectPhotos(const std::vector<std::string>& inputs,
                                       std::vector<std::string>& problems, bool recursive,
                                       std::vector<std::string>* notes) {
    std::vector<std::string> photos;
    std::set<std::pair<dev_t, ino_t>> foldersSeen; // a link back up makes no endless walk
    std::function<void(const std::string&, const struct stat&)> addFolder = [&](const std::string& folder,
                                                                                const struct stat& st) {
        if (!foldersSeen.emplace(st.st_dev, st.st_ino).second) return;
        std::string problem;
        for (std::string& photo : photosInFolder(folder, &problem))
            photos.push_back(std::move(photo));
        if (!problem.empty()) problems.push_back(folder + ": " + problem);
        const std::vector<std::string> folders = subfoldersOf(folder);
        if (!recursive) {
            if (!folders.empty() && notes)
                notes->push_back(folder + ": " + std::to_string(folders.size()) +
                                 (folders.size() == 1 ? " folder" : " folders") +
                                 " in it left out (-r dates them too)");
            return;
        }
        for (const std::string& sub : folders) {
            struct stat subSt {};
            if (::stat(sub.c_str(), &subSt) == 0) addFolder(sub, subSt);
        }
    };
    for (const std::string& input : inputs) {
        // Paths are used as the bytes they are: a name that is not valid UTF-8 names its file too.
        struct stat st {};
        if (::stat(input.c_str(), &st) != 0) {
            problems.push_back(input + ": " +
                               (errno == ENOENT ? "no such file or folder" : std::strerror(errno)));
        } else if (S_ISDIR(st.st_mode)) {
            addFolder(input, st);
        } else {
            photos.push_back(input);
        }
    }
    return photos;
}

BatchSummary datePhotos(const BatchJob& job, const PhotoHooks& hooks) {
    QElapsedTimer timer;
    timer.start();
    imaging::prepareExiv2ForThreads();

    // Before anything is written, the run knows its photos by the files they are (device and inode,
    // so no other name of one hides it). A copy that would replace one of them is not written: with
    // the output folder among the photos, "beach (1).jpg" may be the copy name of "beach.jpg" under
    // the postfix " (1)". Two photos of the same name from different folders would make the same
    // copy: the later one is left alone rather than written over the earlier one's copy.
    std::vector<std::string> leftAlone(job.photos.size());
    {
        std::map<std::pair<dev_t, ino_t>, std::size_t> photoFiles;
        const std::size_t all = job.photos.size() + job.keep.size();
        for (std::size_t i = 0; i < all; ++i) {
            struct stat st {};
            const std::string& path = i < job.photos.size() ? job.photos[i] : job.keep[i - job.photos.size()];
            if (::stat(path.c_str(), &st) == 0) photoFiles.emplace(std::make_pair(st.st_dev, st.st_ino), i);
        }
        const auto photoName = [&](std::size_t i) {
            return i < job.photos.size() ? job.photos[i] : job.keep[i - job.photos.size()];
        };
        std::unordered_map<std::string, std::size_t> claimed;
        for (std::size_t i = 0; i < job.photos.size(); ++i) {
            const std::string copy =
                ComposeOutputName(job.photos[i], job.outDir, job.templ.prefix, job.templ.postfix);
            struct stat st {};
            const auto photo = ::stat(copy.c_str(), &st) == 0
                                   ? photoFiles.find(std::make_pair(st.st_dev, st.st_ino))
                                   : photoFiles.end();
            const auto [at, fresh] = claimed.emplace(copy, i);
            if (photo != photoFiles.end())
                leftAlone[i] = "left alone: its copy " + copy + " would replace " +
                               (photo->second == i ? std::string("the photo itself")
                                                   : photoName(photo->second) + ", a photo of this run");
            else if (!fresh)
                leftAlone[i] =
                    "left alone: its copy would have the same name as the copy of " + job.photos[at->second];
        }
    }

    std::mutex mutex; // one hook call at a time
    CDatedPicture shared(job.templ);
    {
        HookDialogs dialogs(hooks, mutex, job.templ.templatePath);
        shared.LoadOverlaysOnce(&dialogs);
    }
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> next{0};
    std::atomic<int> written{0}, failed{0}, undated{0};
    const auto work = [&]() {
        const CDatedPicture templ(shared); // each job reads its own copy
        for (std::size_t i = next++; i < job.photos.size() && !stop; i = next++) {
            HookDialogs dialogs(hooks, mutex, job.photos[i]);
            std::string output;
            PhotoOutcome outcome = PhotoOutcome::Failed;
            try {
                if (!leftAlone[i].empty())
                    dialogs.report(leftAlone[i], false);
                else
                    outcome = datePhoto(job.photos[i], templ, job, dialogs, output);
            } catch (const std::exception& e) {
                dialogs.report(e.what(), false);
            }
            const bool ok = outcome != PhotoOutcome::Failed;
            ++(ok ? written : failed);
            if (outcome == PhotoOutcome::WrittenWithoutDate) ++undated;
            std::lock_guard lock(mutex);
            if (hooks.done && !hooks.done(i, ok, output)) stop = true;
        }
    };
    const int jobs = std::clamp(job.jobs, 1, std::max(1, static_cast<int>(job.photos.size())));
    std::vector<std::thread> threads;
    for (int t = 1; t < jobs; ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();
    const int started = written + failed;
    return BatchSummary{written, failed, static_cast<int>(job.photos.size()) - started,
                        static_cast<double>(timer.nsecsElapsed()) / 1e9, undated};
}

BatchSummary runBatch(const BatchJob& job, const BatchOutput& out) {
    // Each job decodes its next photo into the pixel memory of its last one.
    imaging::keepDecodedPixelsForReuse(std::max(1, job.jobs));
    Reporter reporter(out.err, out.terminal && !out.quiet, static_cast<int>(job.photos.size()));
    PhotoHooks hooks;
    hooks.message = [&](const std::string& photo, const std::string& text, bool repeated) {
        reporter.message(photo, text, repeated);
    };
    hooks.done = [&](std::size_t index, bool ok, const std::string& output) {
        if (!out.quiet)
            reporter.done(job.photos[index],
                          !ok ? "failed" : (job.dryRun ? "would write " : "wrote ") + output);
        if (ok && !job.dryRun && out.copies)
            *out.copies << (out.copiesEscaped ? escapeListingField(output) : output) << std::endl;
        return true;
    };
    const BatchSummary summary = datePhotos(job, hooks);
    reporter.finish();
    return summary;
}
