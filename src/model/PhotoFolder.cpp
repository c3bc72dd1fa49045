#include "model/PhotoFolder.h"

#include "model/DatedPicture.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool naturalLess(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            // Compare the numbers: without leading zeros, the longer one is larger, else digit by digit.
            std::size_t ai = i, bj = j;
            while (ai < a.size() && a[ai] == '0')
                ++ai;
            while (bj < b.size() && b[bj] == '0')
                ++bj;
            std::size_t ae = ai, be = bj;
            while (ae < a.size() && isDigit(a[ae]))
                ++ae;
            while (be < b.size() && isDigit(b[be]))
                ++be;
            if (ae - ai != be - bj) return ae - ai < be - bj;
            const int digits = a.substr(ai, ae - ai).compare(b.substr(bj, be - bj));
            if (digits != 0) return digits < 0;
            i = ae;
            j = be;
            continue;
        }
        if (folded(a[i]) != folded(b[j]))
            return static_cast<unsigned char>(folded(a[i])) < static_cast<unsigned char>(folded(b[j]));
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) return j < b.size();
    return a < b;
}

std::vector<std::string> photosInFolder(const std::string& folderAsGiven, std::string* problem) {
    std::string folder = folderAsGiven;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        if (problem) *problem = std::strerror(errno);
        return {};
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || !CDatedPicture::HasPictureExtension(name)) continue;
        struct stat st {};
        const std::string path = folder + "/" + name;
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), R_OK) == 0)
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), naturalLess);
    std::vector<std::string> photos;
    photos.reserve(names.size());
    for (const std::string& name : names)
        photos.push_back(folder == "/" ? "/" + name : folder + "/" + name);
    return photos;
}
