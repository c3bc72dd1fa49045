#include "batch/BatchRun.h"

#include "compose/DatedCopy.h"
#include "imaging/Exiv2Setup.h"
#include "imaging/TextCodec.h"
#include "model/Dialogs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <mutex>
#include <ostream>
#include <set>
#include <thread>

namespace {

// Each photo needs a few blocks of about a hundred megabytes (its pixels, the encoder's coefficients).
// glibc maps blocks that large from the kernel and unmaps them when freed, so every photo would fault
// in and zero all their pages again: a third of a photo's time. Served from the one main heap, which
// keeps what is freed, the next photo reuses pages already in place. (Thread arenas cannot hold such
// blocks and would map them again.) Peak memory stays the same; it is given back at exit.
void reusePictureMemory() {
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
    mallopt(M_ARENA_MAX, 1);
}

bool isPhotoName(const QString& name) {
    return CDatedPicture::HasPictureExtension(imaging::toUtf8(name));
}

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
        err_ << "imprix-batch: " << photo << ": " << oneLine << '\n';
        drawBar();
    }

    void done(const std::string& photo, const std::string& outcome) {
        std::lock_guard lock(mutex_);
        ++finished_;
        if (terminal_) {
            last_ = photo;
            clearBar();
            drawBar();
        } else {
            err_ << '[' << finished_ << '/' << total_ << "] " << photo << ": " << outcome << '\n';
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
             << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << finished_ << '/' << total_
             << ' ' << last_ << std::flush;
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

// The batch answers for its user: it makes the output folder itself beforehand, so a question is
// answered with its first button; every message is reported.
class ConsoleDialogs : public Dialogs {
public:
    ConsoleDialogs(Reporter& reporter, std::string photo) : reporter_(reporter), photo_(std::move(photo)) {}

    Answer message(const std::string& text, Buttons buttons, Icon) override {
        reporter_.message(photo_, text, true);
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }

private:
    Reporter& reporter_;
    std::string photo_;
};

// Dates one photo. Returns true when its copy was written (or, in a dry run, would be).
bool datePhoto(const std::string& photo, const CDatedPicture& templ, const BatchJob& job, Reporter& reporter) {
    ConsoleDialogs dialogs(reporter, photo);
    CDatedPicture model;
    std::string whyNot;
    if (!model.LoadPicture(photo, templ, dialogs, &whyNot)) {
        reporter.message(photo, whyNot.empty() ? "cannot be read" : whyNot);
        reporter.done(photo, "failed");
        return false;
    }
    if (job.quality) model.jpegQuality = *job.quality;
    model.outputDir = job.outDir;
    model.RenderDatedImageForSave(); // only the dated image is needed from here: keep memory low
    if (const auto problem = model.TakeDateProblem()) reporter.message(photo, *problem);
    if (!model.workPicture) {
        reporter.done(photo, "failed");
        return false;
    }
    const std::string output = ComposeOutputName(photo, job.outDir, model.prefix, model.postfix);
    if (job.dryRun) {
        reporter.done(photo, "would write " + output);
        return true;
    }
    const bool saved = SaveDatedCopy(model, output, photo, dialogs) == SaveOutcome::Saved;
    reporter.done(photo, saved ? "wrote " + output : "failed");
    return saved;
}

} // namespace

std::vector<std::string> collectPhotos(const std::vector<std::string>& inputs, std::vector<std::string>& problems) {
    std::vector<std::string> photos;
    for (const std::string& input : inputs) {
        const QFileInfo info(imaging::toQString(input));
        if (info.isDir()) {
            QDir dir(info.filePath());
            QStringList names = dir.entryList(QDir::Files | QDir::Readable, QDir::Name);
            for (const QString& name : names)
                if (isPhotoName(name)) photos.push_back(imaging::toUtf8(dir.filePath(name)));
        } else if (info.exists()) {
            photos.push_back(input);
        } else {
            problems.push_back(input + ": no such file or folder");
        }
    }
    return photos;
}

BatchSummary runBatch(const BatchJob& job, std::ostream& err, bool terminal) {
    QElapsedTimer timer;
    timer.start();
    imaging::prepareExiv2ForThreads();
    reusePictureMemory();
    Reporter reporter(err, terminal, static_cast<int>(job.photos.size()));

    std::atomic<std::size_t> next{0};
    std::atomic<int> written{0}, failed{0};
    const auto work = [&]() {
        const CDatedPicture templ(job.templ); // each job reads its own copy
        for (std::size_t i = next++; i < job.photos.size(); i = next++) {
            bool ok = false;
            try {
                ok = datePhoto(job.photos[i], templ, job, reporter);
            } catch (const std::exception& e) {
                reporter.message(job.photos[i], e.what());
                reporter.done(job.photos[i], "failed");
            }
            ++(ok ? written : failed);
        }
    };
    const int jobs = std::clamp(job.jobs, 1, std::max(1, static_cast<int>(job.photos.size())));
    std::vector<std::thread> threads;
    for (int t = 1; t < jobs; ++t) threads.emplace_back(work);
    work();
    for (std::thread& t : threads) t.join();
    reporter.finish();
    return BatchSummary{written, failed, static_cast<double>(timer.nsecsElapsed()) / 1e9};
}
