#include "shell/AppCommandLine.h"

#include <QCommandLineParser>
#include <QStringList>

const char* const kAppUsage = R"(Usage: imprix [PHOTO|FOLDER]...

Imprix puts the date a photo was taken, and other facts about it, onto a copy of the photo.
Opens the photos given (one photo brings the other photos of its folder along; a folder opens its
photos), or an empty window.

Options:
  -h, --help       Show this help and exit.
  --version        Show the version and exit.

imprix-batch does the same job from the command line for whole folders: imprix-batch --help.
)";

AppCommandLine parseAppCommandLine(const std::vector<std::string>& args) {
    AppCommandLine line;
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, {}), version("version", {});
    parser.addOptions({help, version});
    // Each byte goes through the parser as one Latin-1 character and comes back as itself: a photo's
    // name need not be UTF-8.
    QStringList arguments{QStringLiteral("imprix")};
    for (const std::string& a : args)
        arguments << QString::fromLatin1(a.data(), static_cast<qsizetype>(a.size()));
    if (!parser.parse(arguments)) {
        line.error = parser.errorText().toStdString();
        return line;
    }
    line.help = parser.isSet(help);
    line.version = parser.isSet(version);
    for (const QString& input : parser.positionalArguments())
        line.inputs.push_back(input.toLatin1().toStdString());
    return line;
}
