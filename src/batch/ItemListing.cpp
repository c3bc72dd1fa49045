#include "batch/ItemListing.h"

#include "imaging/TextCodec.h"
#include "model/DatedPicture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <ostream>

std::string escapeListingField(std::string_view text) {
    const std::string utf8 = imaging::normalizeToUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            // Other control characters (an escape sequence in a file name) would act on the terminal.
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
                out += hex;
            } else {
                out += c;
            }
            break;
        }
    }
    return out;
}

std::string formatItemLine(const ImprintItem& item) {
    char tag[16];
    std::snprintf(tag, sizeof tag, "0x%04x", item.tag);
    std::string line = tag;
    for (const std::string* field : {&item.displayName, &item.label, &item.typeName, &item.valueText}) {
        line += '\t';
        line += escapeListingField(*field);
    }
    line += item.listed ? "\t1" : "\t0";
    return line;
}

namespace {

// A text of the listing as a JSON string: its bytes read as the product reads texts (UTF-8, else
// Windows-1252), so the value is the text the copy would show.
QJsonValue jsonText(const std::string& text) {
    return imaging::toQString(text);
}

QJsonObject jsonItem(const ImprintItem& it) {
    char tag[16];
    std::snprintf(tag, sizeof tag, "0x%04x", it.tag);
    return QJsonObject{{"tag", QString::fromLatin1(tag)}, {"name", jsonText(it.displayName)},
                       {"label", jsonText(it.label)},     {"type", jsonText(it.typeName)},
                       {"value", jsonText(it.valueText)}, {"listed", it.listed != 0}};
}

} // namespace

int listPhotoItems(const std::vector<std::string>& paths, std::ostream& out, std::ostream& err, bool json) {
    int result = 0;
    CDatedPicture model;
    for (const std::string& path : paths) {
        std::string whyNot;
        if (!model.ReadPicture(path, &whyNot)) {
            err << "imprix-batch: " << escapeListingField(path) << ": " << whyNot << '\n';
            result = 1;
            continue;
        }
        if (json) {
            QJsonArray items;
            for (int i = 0; i < model.itemCount; ++i)
                items.append(jsonItem(model.item(i)));
            const QJsonObject photo{{"path", jsonText(path)},
                                    {"width", model.picture->width()},
                                    {"height", model.picture->height()},
                                    {"items", items}};
            out << QJsonDocument(photo).toJson(QJsonDocument::Compact).toStdString() << '\n';
            continue;
        }
        out << "# " << escapeListingField(path) << " (" << model.picture->width() << " x "
            << model.picture->height() << " pixels, " << model.itemCount << " items)\n";
        for (int i = 0; i < model.itemCount; ++i)
            out << formatItemLine(model.item(i)) << '\n';
    }
    out.flush();
    return result;
}
