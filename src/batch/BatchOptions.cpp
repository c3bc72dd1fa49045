#include "batch/BatchOptions.h"

#include <cerrno>
#include <cstdlib>

const char* const kBatchUsage = R"(Usage: imprix-batch [OPTION]... PHOTO|FOLDER...
       imprix-batch --items PHOTO...

Imprix puts the date a photo was taken, and other facts about it, onto a copy of the photo.
imprix-batch applies a template to every photo given, and to the .jpg, .tif and .png files (any
letter case) of every folder given, and saves a dated JPEG copy of each. The photos themselves are
never written.

Options:
  --template FILE  The template (.tpl) to apply. Default: the default template of the settings
                   (TemplateDef in TemplatePath of imprix.ini: Simple.tpl in Templates/), else a
                   new template that shows the date in the bottom-left corner.
  --out-dir DIR    Where the dated copies go; made when missing. Default: the template's own output
                   folder, else OutDir of the settings, else your pictures folder.
  --quality N      JPEG quality 0 to 100 of the copies. Default: the template's.
  --jobs N         Photos worked on at once. Default: one per processor core.
  --lossless       Keep a JPEG photo's own data outside the imprint: only the blocks under the
                   items are encoded again, with the photo's quality. Photos that need the whole
                   picture encoded (white space, a border, a watermark over the picture, an
                   orientation that cannot be turned without loss) say so and why. Default: the
                   LosslessJpeg setting of imprix.ini, on unless set to 0; off
                   with --quality, since such a copy has the photo's own quality.
  --no-lossless    Encode the whole picture of every copy at the template's quality.
  --dry-run        Read and compose every photo and show what would be written, but write nothing.
  --items          For each photo (.jpg, .tif or .png), list the items Imprix reads from it instead:
                   a header line naming the photo, then one line per item with the tag in hex, the
                   display name, the label, the type name, the value text and whether the item is
                   listed by default (1 or 0), separated by tabs. Tabs, line breaks and backslashes
                   inside a text are written as \t, \n (\r) and \\.
  --verbose        Also print the warnings of the image decoders.
  -h, --help       Show this help and exit.
  --version        Show the version and exit.

Each copy is named like the photo with the template's prefix and postfix: IMG_0001.JPG becomes
Dated_IMG_0001.JPG with the usual prefix. A progress line is printed per photo and a summary at the
end. One photo that cannot be read or written never stops the others.

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
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
            inlineValue = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
        }
        const auto value = [&](std::string& out) {
            if (inlineValue) return out = *inlineValue, true;
            if (i + 1 >= args.size()) return error = arg + " needs a value", false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (arg == "-h" || arg == "--help") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (arg == "--items") {
            o.items = true;
        } else if (arg == "--dry-run") {
            o.dryRun = true;
        } else if (arg == "--lossless") {
            o.lossless = true;
        } else if (arg == "--no-lossless") {
            o.lossless = false;
        } else if (arg == "--verbose") {
            o.verbose = true;
        } else if (arg == "--template") {
            if (!value(v)) return o;
            o.templatePath = v;
        } else if (arg == "--out-dir") {
            if (!value(v)) return o;
            o.outDir = v;
        } else if (arg == "--quality") {
            int q = 0;
            if (!value(v)) return o;
            if (!parseInt(v, 0, 100, q)) return error = "--quality takes a number from 0 to 100", o;
            o.quality = q;
        } else if (arg == "--jobs") {
            int n = 0;
            if (!value(v)) return o;
            if (!parseInt(v, 1, 256, n)) return error = "--jobs takes a number from 1 to 256", o;
            o.jobs = n;
        } else if (arg == "--") {
            o.inputs.insert(o.inputs.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return error = "unknown option " + args[i], o;
        } else {
            o.inputs.push_back(arg);
        }
    }
    if (!o.help && !o.version && o.inputs.empty()) error = "no photo or folder given";
    return o;
}
