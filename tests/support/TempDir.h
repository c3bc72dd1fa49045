#pragma once

#include <QTemporaryDir>

#include <string>

// A folder for the files one test makes, removed with it.
class TempDir {
public:
    std::string path(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    std::string root() const { return dir_.path().toStdString(); }
    bool valid() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
};
