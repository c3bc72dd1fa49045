#include "model/ProfileFile.h"

#include "imaging/TextCodec.h"
#include "imaging/WholeFile.h"

#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// The name of a "[Section]" line, or nothing.
bool sectionName(const std::string& line, std::string& name) {
    const std::string t = trimmed(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const auto close = t.find(']');
    if (close == std::string::npos) return false;
    name = trimmed(t.substr(1, close - 1));
    return true;
}

// Files of this kind are a few kilobytes; a huge one is not read at all.
constexpr qint64 kMaxFileBytes = 4 << 20;

} // namespace

ProfileFile::ProfileFile(const std::string& pathUtf8) {
    // Only a plain file: opening a pipe waits for a writer forever, and a device never ends.
    if (!QFileInfo(imaging::toQString(pathUtf8)).isFile()) return;
    QFile file(imaging::toQString(pathUtf8));
    if (file.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly)) return;
    const QByteArray data = file.read(kMaxFileBytes);
    std::string text(data.constData(), static_cast<std::size_t>(data.size()));
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(std::move(line));
        start = end + 1;
    }
}

int ProfileFile::findSection(const std::string& section) const {
    std::string name;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (sectionName(lines_[i], name) && imaging::equalsIgnoringCase(name, section))
            return static_cast<int>(i);
    return -1;
}

int ProfileFile::findKey(int header, const std::string& key) const {
    std::string name;
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines_.size(); ++i) {
        if (sectionName(lines_[i], name)) return -1;
        const auto eq = lines_[i].find('=');
        if (eq == std::string::npos) continue;
        if (imaging::equalsIgnoringCase(trimmed(lines_[i].substr(0, eq)), key)) return static_cast<int>(i);
    }
    return -1;
}

std::string ProfileFile::getString(const std::string& section, const std::string& key,
                                   const std::string& fallback) const {
    std::string value = fallback;
    const int header = findSection(section);
    const int at = header < 0 ? -1 : findKey(header, key);
    if (at >= 0) {
        const std::string& line = lines_[static_cast<std::size_t>(at)];
        value = trimmed(line.substr(line.find('=') + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
    }
    if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
    return value;
}

int ProfileFile::getInt(const std::string& section, const std::string& key,
                        const std::string& fallback) const {
    return std::atoi(getString(section, key, fallback).c_str());
}

void ProfileFile::setString(const std::string& section, const std::string& key, const std::string& value) {
    std::string line = key + "=" + value;
    int header = findSection(section);
    if (header < 0) {
        if (!lines_.empty() && !trimmed(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back("[" + section + "]");
        lines_.push_back(std::move(line));
        return;
    }
    const int at = findKey(header, key);
    if (at >= 0) {
        lines_[static_cast<std::size_t>(at)] = std::move(line);
        return;
    }
    // After the section's last key, before the blank lines that separate it from the next.
    std::size_t insert = static_cast<std::size_t>(header) + 1;
    std::string name;
    for (std::size_t i = insert; i < lines_.size() && !sectionName(lines_[i], name); ++i)
        if (!trimmed(lines_[i]).empty()) insert = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), std::move(line));
}

void ProfileFile::setInt(const std::string& section, const std::string& key, int value) {
    setString(section, key, std::to_string(value));
}

std::string ProfileFile::save(const std::string& pathUtf8) const {
    QByteArray data;
    for (const std::string& line : lines_) {
        data.append(line.data(), static_cast<qsizetype>(line.size()));
        data.append('\n');
    }
    return imaging::writeFileWhole(pathUtf8, data);
}
