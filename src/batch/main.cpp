// imprix-batch: lists the items of photos and writes dated copies of them from the command line.

#include "batch/ItemListing.h"

#include <QGuiApplication>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = R"(Usage: imprix-batch --items PHOTO...

Imprix puts the date a photo was taken, and other facts about it, onto a copy of the photo.

Options:
  --items      For each photo (.jpg, .tif or .png), list the items Imprix reads from it: one line
               per item with the tag in hex, the display name, the label, the type name, the value
               text and whether the item is listed by default (1 or 0), separated by tabs, after a
               header line that names the photo. Tabs, line breaks and backslashes inside a text
               are written as \t, \n (\r) and \\.
  --verbose    Also print the warnings of the image decoders.
  -h, --help   Show this help and exit.
  --version    Show the version and exit.

Exit status: 0 when every photo was read, 1 when some could not be, 2 for bad usage.
)";

bool verbose = false;

void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    if (type == QtWarningMsg && !verbose) return;
    std::cerr << "imprix-batch: " << message.toStdString() << '\n';
}

} // namespace

int main(int argc, char** argv) {
    bool items = false;
    std::vector<std::string> photos;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--version") {
            std::cout << "imprix-batch " << IMPRIX_VERSION << '\n';
            return 0;
        } else if (arg == "--items") {
            items = true;
        } else if (arg == "--verbose") {
            verbose = true;
        } else if (arg == "--") {
            for (++i; i < argc; ++i) photos.emplace_back(argv[i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "imprix-batch: unknown option " << arg << "\n\n" << kUsage;
            return 2;
        } else {
            photos.push_back(arg);
        }
    }
    if (!items || photos.empty()) {
        std::cerr << "imprix-batch: " << (items ? "no photo given" : "nothing to do: give --items") << "\n\n"
                  << kUsage;
        return 2;
    }

    // Works without a display: fonts and pictures need a GUI application, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);

    return listPhotoItems(photos, std::cout, std::cerr);
}
