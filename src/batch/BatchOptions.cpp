#include "batch/BatchOptions.h"

#include "model/DateSources.h"
#include "model/DatedPicture.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cerrno>
#include <cstdlib>

const char* const kBatchUsage = R"(Usage: imprix-batch [OPTION]... PHOTO|FOLDER...
       imprix-batch --items [--json] PHOTO...

Imprix puts the date a photo was taken, and other facts about it, onto a copy of the photo.
imprix-batch applies a template to every photo given, and to the .jpg, .jpeg, .jpe, .tif, .tiff,
.png, .webp, .heic, .heif and .avif files (any letter case) of every folder given, and saves a
dated JPEG copy of each. A photo is read by its content, whatever its name. The photos themselves
are never written.

Options:
  --template FILE  The template (.tpl) to apply. Default: the default template of the settings
                   (TemplateDef in TemplatePath of imprix.ini: Simple.tpl in Templates/), else a
                   new template that shows the date in the bottom-left corner.
  --out-dir DIR    Where the dated copies go; made when missing. Default: the template's own output
                   folder, else OutDir of the settings, else your pictures folder.
  -r, --recursive  Also date the photos of the folders in the folders given, at every depth.
  --quality N      JPEG quality 0 to 100 of the copies. Default: the template's.
  --jobs N         Photos worked on at once. Default: one per processor core.
  --shift=[-]D:HH:MM:SS
                   Shift every date shown by days, hours, minutes and seconds, for a camera clock
                   set wrong or to another time zone: --shift=0:01:00:00 adds an hour,
                   --shift=-1:00:00:00 goes a day back. Default: the template's shift.
  --lossless       Keep a JPEG photo's own data outside the imprint: only the blocks under the
                   items are encoded again, with the photo's quality. Photos that need the whole
                   picture encoded (white space, a border, a watermark over the picture, an
                   orientation that cannot be turned without loss) say so and why. Default: the
                   LosslessJpeg setting of imprix.ini, on unless set to 0; off
                   with --quality, since such a copy has the photo's own quality.
  --no-lossless    Encode the whole picture of every copy at the template's quality.
  --optimize       Encode whole-picture copies with Huffman tables fitted to each picture: the same
                   pixels in a file about a fifth smaller at quality 60 (a tenth at 90), for a
                   second pass over the picture and three quarters of its size in memory more.
                   Default: the OptimizeHuffman setting of imprix.ini, off unless set to 1.
  --no-optimize    Encode with the standard Huffman tables, as cameras do.
  --dry-run        Read and compose every photo and show what would be written, but write nothing.
  --items          For each photo, list the items Imprix reads from it instead:
                   a header line naming the photo, then one line per item with the tag in hex, the
                   display name, the label, the type name, the value text and whether the item is
                   listed by default (1 or 0), separated by tabs. Tabs, line breaks and backslashes
                   inside a text are written as \t, \n (\r) and \\.
  --json           With --items: one JSON object per photo and line instead, with its "path",
                   "width", "height" and "items" (each with "tag", "name", "label", "type", "value"
                   and "listed").
  -q, --quiet      Print no progress and no summary; problems are still printed.
  --verbose        Also print the warnings of the image decoders.
  -h, --help       Show this help and exit.
  --version        Show the version and exit.

Each copy is named like the photo with the template's prefix and postfix: IMG_0001.JPG becomes
Dated_IMG_0001.JPG with the usual prefix. The path of every copy written is printed on standard
output, one a line, for other programs to read; progress (a line per photo) and problems go to
standard error, with a summary at the end. One photo that cannot be read or written never stops
the others.

Settings and templates: imprix.ini and Templates/ beside the program when that folder holds
either and can be written (a portable copy, the build tree); else ~/.config/imprix/imprix.ini and
~/.config/imprix/Templates/ ($XDG_CONFIG_HOME/imprix), where the first run copies the templates
that come with Imprix.

Exit status: 0 when every photo was done, 1 when some failed, 2 for bad usage.
)";

namespace {

bool parseInt(const std::string& text, int low, int high, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace

BatchOptions parseBatchOptions(const std::vector<std::string>& args, std::string& error) {
    BatchOptions o;
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, {}), version("version", {}), items("items", {}),
        json("json", {}), dryRun("dry-run", {}), verbose("verbose", {}), recursive({"r", "recursive"}, {}),
        quiet({"q", "quiet"}, {}), templ("template", {}, "FILE"), outDir("out-dir", {}, "DIR"),
        quality("quality", {}, "N"), jobs("jobs", {}, "N"), shift("shift", {}, "[-]D:HH:MM:SS"),
        lossless("lossless", {}), wholePicture("no-lossless", {}), optimize("optimize", {}),
        standardTables("no-optimize", {});
    parser.addOptions({help, version, items, json, dryRun, verbose, recursive, quiet, templ, outDir, quality,
                       jobs, shift, lossless, wholePicture, optimize, standardTables});
    QStringList arguments{QStringLiteral("imprix-batch")};
    // Arguments are the bytes they are (a photo's name need not be UTF-8): each byte goes through the
    // parser as one Latin-1 character and comes back as itself.
    for (const std::string& a : args)
        arguments << QString::fromLatin1(a.data(), static_cast<qsizetype>(a.size()));
    if (!parser.parse(arguments)) {
        error = parser.errorText().toStdString();
        return o;
    }
    const auto text = [&](const QCommandLineOption& option) {
        return parser.value(option).toLatin1().toStdString();
    };
    o.help = parser.isSet(help);
    o.version = parser.isSet(version);
    o.items = parser.isSet(items);
    o.json = parser.isSet(json);
    o.dryRun = parser.isSet(dryRun);
    o.verbose = parser.isSet(verbose);
    o.recursive = parser.isSet(recursive);
    o.quiet = parser.isSet(quiet);
    if (parser.isSet(templ)) o.templatePath = text(templ);
    if (parser.isSet(outDir)) o.outDir = text(outDir);
    if (parser.isSet(quality)) {
        int q = 0;
        if (!parseInt(text(quality), 0, 100, q)) return error = "--quality takes a number from 0 to 100", o;
        o.quality = q;
    }
    if (parser.isSet(jobs) && !parseInt(text(jobs), 1, 256, o.jobs))
        return error = "--jobs takes a number from 1 to 256", o;
    if (parser.isSet(shift)) {
        o.shift = ParseClockShift(text(shift), CDatedPicture::kLongestClockShift);
        if (!o.shift) return error = "--shift takes [-]D:HH:MM:SS, such as 0:01:00:00 or -1:00:00:00", o;
    }
    // Of --lossless and --no-lossless the last one given counts; so too of --optimize and --no-optimize.
    for (const QString& name : parser.optionNames()) {
        if (name == QLatin1String("lossless")) o.lossless = true;
        if (name == QLatin1String("no-lossless")) o.lossless = false;
        if (name == QLatin1String("optimize")) o.optimize = true;
        if (name == QLatin1String("no-optimize")) o.optimize = false;
    }
    for (const QString& input : parser.positionalArguments())
        o.inputs.push_back(input.toLatin1().toStdString());
    if (o.json && !o.items) return error = "--json goes with --items", o;
    if (!o.help && !o.version && o.inputs.empty()) error = "no photo or folder given";
    return o;
}
