// imprix-batch: lists the items of photos and writes dated copies of them from the command line.

#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/ItemListing.h"

#include "imaging/Folders.h"
#include "imaging/TextCodec.h"
#include "model/Dialogs.h"
#include "model/ProfileFile.h"
#include "model/SettingsPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QThread>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

bool verbose = false;

void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    if (type == QtWarningMsg && !verbose) return;
    std::cerr << "imprix-batch: " << message.toStdString() << '\n';
}

class TemplateDialogs : public Dialogs {
public:
    explicit TemplateDialogs(std::string name) : name_(std::move(name)) {}
    Answer message(const std::string& text, Buttons, Icon) override {
        std::cerr << "imprix-batch: " << escapeListingField(name_) << ": " << escapeListingField(text)
                  << '\n';
        return Answer::Ok;
    }

private:
    std::string name_;
};

// The default template's file in `folder`: "TemplateDef" itself (".tpl" added to a name without a
// dot), found ignoring case as the desktop application finds it; else the first template, sorted
// ignoring case, whose name starts with it (as the desktop's template list selects it). Empty for
// "<New>" or when nothing matches: a new template is used.
std::string defaultTemplateFile(const std::string& folder, const std::string& templateDef) {
    const QString wanted = imaging::toQString(templateDef);
    if (wanted.isEmpty() || wanted.compare(QStringLiteral("<New>"), Qt::CaseInsensitive) == 0) return {};
    const QString named = wanted.contains(QLatin1Char('.')) ? wanted : wanted + QStringLiteral(".tpl");
    const QStringList entries =
        QDir(imaging::toQString(folder))
            .entryList({QStringLiteral("*.tpl")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& entry : entries)
        if (entry.compare(named, Qt::CaseInsensitive) == 0) return imaging::toUtf8(entry);
    for (const QString& entry : entries)
        if (entry.startsWith(wanted, Qt::CaseInsensitive)) return imaging::toUtf8(entry);
    return {};
}

// The template to apply: the one asked for, else the default of the settings, else a new one.
bool loadTemplate(const BatchOptions& options, const ProfileFile& settings, const std::string& homeFolder,
                  const std::string& exeFolder, CDatedPicture& templ) {
    std::string path;
    if (options.templatePath) {
        path = *options.templatePath;
    } else {
        const std::string templatePath =
            settings.getString(kSettingsSection, "TemplatePath", kDefaultTemplateFolder);
        std::string folder = resolveTemplateFolder(templatePath, homeFolder);
        // The default folder falls back to the shipped templates when it could not be made.
        if (templatePath == kDefaultTemplateFolder) folder = usableTemplateFolder(folder, exeFolder);
        const std::string chosen = defaultTemplateFile(
            folder, settings.getString(kSettingsSection, "TemplateDef", kDefaultTemplateName));
        if (chosen.empty()) {
            templ.MakeNewTemplate();
            return true;
        }
        path = folder + "/" + chosen;
    }
    templ.templateDir = imaging::toUtf8(QFileInfo(imaging::toQString(path)).absolutePath());
    TemplateDialogs dialogs(path);
    if (!QFileInfo(imaging::toQString(path)).isFile() || templ.ReadTemplate(path, dialogs) != 0) {
        std::cerr << "imprix-batch: cannot read the template " << escapeListingField(path) << '\n';
        return false;
    }
    templ.LoadOverlaysOnce(nullptr); // what reading reported as missing is not tried again
    return true;
}

// "3 written (1 without a date), 0 failed in 1.20 s (2.50 photos per second)"; a rate only when
// photos were worked on.
std::string summaryLine(const BatchSummary& s, bool dryRun) {
    const std::string undated = s.undated > 0 ? " (" + std::to_string(s.undated) + " without a date)" : "";
    std::string line = std::to_string(s.written) + (dryRun ? " ready" : " written") + undated + ", " +
                       std::to_string(s.failed) + " failed";
    const int done = s.written + s.failed;
    if (done > 0 && s.seconds > 0) {
        char timing[96];
        std::snprintf(timing, sizeof timing, " in %.2f s (%.2f photos per second)", s.seconds,
                      done / s.seconds);
        line += timing;
    }
    if (s.notStarted > 0) line += ", " + std::to_string(s.notStarted) + " not started";
    if (dryRun) line += "; dry run: nothing written";
    return line;
}

int datePhotos(const BatchOptions& options) {
    const std::string exeFolder = imaging::toUtf8(QCoreApplication::applicationDirPath());
    // The desktop application's settings and templates: beside this program, or in the user's
    // configuration folder for an installed copy.
    const SettingsHome home = locateSettingsHome(exeFolder + "/imprix");
    if (const std::string problem = provideShippedTemplates(home, exeFolder); !problem.empty())
        std::cerr << "imprix-batch: " << problem << '\n';
    const ProfileFile settings(home.iniPath);

    BatchJob job;
    if (!loadTemplate(options, settings, home.folder, exeFolder, job.templ)) return 2;
    if (options.shift) job.templ.clockShiftSeconds = *options.shift;

    if (options.outDir)
        job.outDir = *options.outDir;
    else if (!job.templ.outputDir.empty())
        job.outDir = job.templ.outputDir;
    else
        job.outDir = expandHomeFolder(settings.getString(kSettingsSection, "OutDir", defaultOutputFolder()));
    if (!options.dryRun) {
        if (const std::string problem = imaging::makeFolders(job.outDir); !problem.empty()) {
            std::cerr << "imprix-batch: cannot make the output folder " << escapeListingField(job.outDir)
                      << ": " << escapeListingField(problem) << '\n';
            return 1;
        }
    }

    // Said once, before anything is written: the folder may come from a template someone else made.
    if (!options.quiet)
        std::cerr << "imprix-batch: "
                  << (options.dryRun ? "the copies would go to " : "writing the copies to ")
                  << escapeListingField(job.outDir) << '\n';

    std::vector<std::string> problems;
    std::vector<std::string> notes;
    job.photos = collectPhotos(options.inputs, problems, options.recursive, &notes);
    for (const std::string& p : problems)
        std::cerr << "imprix-batch: " << escapeListingField(p) << '\n';
    if (!options.quiet)
        for (const std::string& n : notes)
            std::cerr << "imprix-batch: " << escapeListingField(n) << '\n';
    if (job.photos.empty()) {
        std::cerr << "imprix-batch: no photos to date\n";
        return 1;
    }
    job.quality = options.quality;
    // A quality asked for on the command line is one for the whole picture, unless --lossless says
    // otherwise.
    job.lossless = options.lossless.value_or(!options.quality &&
                                             settings.getInt(kSettingsSection, kLosslessKey, "1") != 0);
    job.optimize = options.optimize.value_or(settings.getInt(kSettingsSection, kOptimizeKey, "0") != 0);
    job.dryRun = options.dryRun;
    job.jobs = options.jobs > 0 ? options.jobs : QThread::idealThreadCount();

    BatchOutput output{std::cerr};
    output.terminal = isatty(STDERR_FILENO) != 0;
    output.quiet = options.quiet;
    output.copies = &std::cout;
    output.copiesEscaped = isatty(STDOUT_FILENO) != 0;
    const BatchSummary s = runBatch(job, output);
    if (!options.quiet) std::cerr << "imprix-batch: " << summaryLine(s, options.dryRun) << '\n';
    return (s.failed > 0 || !problems.empty()) ? 1 : 0;
}

// The heap's next large blocks lie on huge pages where the system has them: a JPEG photo's coefficients
// (some 70 MB for 24 megapixels, which the lossless road reads whole) are then faulted in by the
// fifty rather than in 17000 pages of 4 KB, which on a virtual machine took most of dating one photo.
// The block is given back at once, and the heap keeps it (see the trim threshold) for what comes.
void preferHugePagesInTheHeap() {
    constexpr std::size_t kBlock = std::size_t(256) << 20, kHugePage = std::size_t(2) << 20;
    void* block = std::malloc(kBlock);
    if (!block) return;
    const auto start =
        (reinterpret_cast<std::uintptr_t>(block) + kHugePage - 1) & ~(std::uintptr_t(kHugePage) - 1);
    ::madvise(reinterpret_cast<void*>(start), kBlock - kHugePage, MADV_HUGEPAGE); // advice only
    std::free(block);
}

} // namespace

int main(int argc, char** argv) {
    // Every photo takes the same large blocks (some 70 MB of JPEG coefficients for 24 megapixels, the
    // decoded pixels): glibc maps each from the system and gives it back when freed, so every photo
    // page-faults its memory in again, zeroed, and the jobs wait for one another on the process's
    // memory map while one maps or unmaps. Kept in the heap instead, the next photo reuses them: a
    // fifth less time per photo, half the system time.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    // One heap for every thread, so that the jobs', the decoders' and the encoders' large blocks (libjpeg's
    // coefficients among them) come from the one whose memory stays and lies on huge pages, not from
    // per-thread heaps of their own; they allocate seldom, and their work is elsewhere.
    mallopt(M_ARENA_MAX, 1);
    preferHugePagesInTheHeap();
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const BatchOptions options = parseBatchOptions(args, error);
    if (options.help) {
        std::cout << kBatchUsage;
        return 0;
    }
    if (options.version) {
        std::cout << "imprix-batch " << IMPRIX_VERSION << '\n';
        return 0;
    }
    if (!error.empty()) {
        std::cerr << "imprix-batch: " << error << "\nTry 'imprix-batch --help' for more information.\n";
        return 2;
    }
    verbose = options.verbose;

    // Works without a display: fonts and pictures need a GUI application, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);

    if (options.items) return listPhotoItems(options.inputs, std::cout, std::cerr, options.json);
    const int code = datePhotos(options);
#if defined(__SANITIZE_ADDRESS__)
    return code; // the sanitizers' leak check runs at the usual end
#else
    // Every copy is written and everything said: the program ends without taking Qt, fontconfig and
    // Exiv2 down piece by piece, a twentieth of dating one photo.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(code);
#endif
}
