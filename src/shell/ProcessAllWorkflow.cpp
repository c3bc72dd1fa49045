#include "shell/ProcessAllWorkflow.h"

#include "batch/BatchRun.h"
#include "formatbar/UiDialogs.h"
#include "imaging/TextCodec.h"
#include "shell/FrameState.h"
#include "shell/PictureWorkflow.h"
#include "shell/ShellText.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <map>
#include <thread>

namespace {

// Each photo at work holds its pixels a few times over: a few at once are enough.
constexpr int kMostJobs = 4;
constexpr std::size_t kProblemsListed = 10;

std::string fileName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::string images(int count) {
    return std::to_string(count) + (count == 1 ? " image" : " images");
}

} // namespace

bool ProcessAllWorkflow::ensureFolder(const std::string& folder) const {
    if (!folder.empty() && QFileInfo(imaging::toQString(folder)).isDir()) return true;
    const auto answer = f_.dialogs.message(
        shellText("ProcessAllWorkflow", "The directory, %1, does not exist. Would you like to create it?",
                  {folder}),
        Dialogs::Buttons::OkCancel, Dialogs::Icon::Question);
    if (answer != Dialogs::Answer::Ok) return false;
    if (folder.empty() || !QDir().mkpath(imaging::toQString(folder))) {
        f_.dialogs.error(shellText("ProcessAllWorkflow", "Directory creation failed."));
        return false;
    }
    return true;
}

ProcessAllWorkflow::Outcome ProcessAllWorkflow::Run() {
    FrameState& s = f_.state;
    const std::size_t first = static_cast<std::size_t>(s.fileIndex) + 1;
    if (s.fileList.size() <= first) {
        f_.dialogs.message(
            shellText("ProcessAllWorkflow", "There are no more images in the list to process."),
            Dialogs::Buttons::Ok, Dialogs::Icon::Information);
        return {};
    }
    if (!pictures_.AskToSaveFormat()) return {};
    // The open photo goes first, with the changes made to it, as "&Next" would save it.
    const bool savedOpenPhoto = s.hasWorkPicture() && !s.imageSaved;
    if (savedOpenPhoto && !pictures_.SaveDatedCopy()) return {};

    BatchJob job;
    job.photos.assign(s.fileList.begin() + static_cast<std::ptrdiff_t>(first), s.fileList.end());
    job.keep = s.fileList; // the photos dated before this run, too
    job.templ = s.loadedTemplate;
    job.templ.LoadOverlaysOnce(nullptr); // reported when the template was read
    // Where a photo opened with the template would have its copy.
    job.outDir = !s.loadedTemplate.outputDir.empty() ? s.loadedTemplate.outputDir : s.settings.outputDir;
    job.jobs = jobs_ > 0 ? jobs_ : std::clamp(QThread::idealThreadCount(), 1, kMostJobs);
    job.lossless = s.settings.losslessJpeg != 0;
    job.optimize = s.settings.optimizeHuffman != 0;
    if (!ensureFolder(job.outDir)) return {};

    const int total = static_cast<int>(job.photos.size());
    std::unique_ptr<UiDialogs::Progress> progress = f_.dialogs.startProgress(
        s.settings.appTitle,
        total == 1 ? shellText("ProcessAllWorkflow", "Dating 1 image...")
                   : shellText("ProcessAllWorkflow", "Dating %1 images...", {std::to_string(total)}),
        total);

    // The photos are dated on other threads; this one shows the progress and keeps the window alive.
    std::map<std::string, std::string> whyFailed; // the first problem of each photo
    int finished = 0;
    QObject relay;
    QEventLoop loop;
    PhotoHooks hooks;
    hooks.message = [&](const std::string& photo, const std::string& text, bool) {
        whyFailed.emplace(photo, text);
    };
    hooks.done = [&](std::size_t index, bool ok, const std::string&) {
        if (ok)
            whyFailed.erase(job.photos[index]);
        else
            whyFailed.emplace(job.photos[index], "cannot be dated");
        bool goOn = true;
        const std::string text = std::to_string(finished + 1) + " of " + std::to_string(total) +
                                 " done: " + fileName(job.photos[index]);
        QMetaObject::invokeMethod(
            &relay, [&, text] { goOn = progress->advance(++finished, text); }, Qt::BlockingQueuedConnection);
        return goOn;
    };
    BatchSummary summary;
    std::thread worker([&] {
        try {
            summary = datePhotos(job, hooks);
        } catch (const std::exception& e) {
            whyFailed.emplace("", e.what());
        }
        QMetaObject::invokeMethod(
            &relay, [&] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    progress.reset();

    Outcome outcome{summary.written, summary.failed, summary.notStarted, {}};
    for (const std::string& photo : job.photos) {
        const auto problem = whyFailed.find(photo);
        if (problem != whyFailed.end()) outcome.problems.push_back(fileName(photo) + ": " + problem->second);
    }
    summarise(outcome, job.outDir, total, savedOpenPhoto ? 1 : 0);
    return outcome;
}

void ProcessAllWorkflow::summarise(const Outcome& outcome, const std::string& folder, int total,
                                   int savedBefore) const {
    std::string text = std::to_string(outcome.written + savedBefore) + " of " + images(total + savedBefore) +
                       (outcome.written + savedBefore == 1 ? " was" : " were") + " dated and saved in " +
                       folder + ".";
    if (outcome.failed > 0) {
        text += "\n\n" + std::to_string(outcome.failed) + " could not be dated:";
        for (std::size_t i = 0; i < outcome.problems.size() && i < kProblemsListed; ++i)
            text += "\n" + outcome.problems[i];
        if (outcome.problems.size() > kProblemsListed) text += "\n...";
    }
    if (outcome.notStarted > 0)
        text += "\n\nStopped: " + images(outcome.notStarted) + (outcome.notStarted == 1 ? " was" : " were") +
                " left as they were.";
    f_.dialogs.message(text, Dialogs::Buttons::Ok,
                       outcome.failed > 0 ? Dialogs::Icon::Warning : Dialogs::Icon::Information);
    f_.ShowStatus(std::to_string(outcome.written) + " dated copies written, " +
                  std::to_string(outcome.failed) + " failed.");
}
