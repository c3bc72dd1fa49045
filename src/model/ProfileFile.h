#pragma once

#include <string>
#include <vector>

// A settings file of sections and keys ("[General]", "OutDir=/home/me/Pictures") read and written
// the way the product's settings always were: sections and keys compared ignoring case, blanks
// around keys and values and one pair of quotes around a value dropped, values cut to 255
// characters, and every other line of the file (comments, unknown keys) kept as it was.
class ProfileFile {
public:
    static constexpr std::size_t kMaxValueLength = 255;

    ProfileFile() = default;
    // Reads the file; a missing or unreadable file reads as empty.
    explicit ProfileFile(const std::string& pathUtf8);

    std::string getString(const std::string& section, const std::string& key,
                          const std::string& fallback) const;
    // The value read like the C library's atoi: leading digits count, no digits give 0.
    int getInt(const std::string& section, const std::string& key, const std::string& fallback) const;

    // Sets a key, adding the section or key at its end when missing.
    void setString(const std::string& section, const std::string& key, const std::string& value);
    void setInt(const std::string& section, const std::string& key, int value);

    // Writes the whole file beside the old one and renames it over; the old file survives a failed
    // write. Returns an empty text on success, else the reason.
    std::string save(const std::string& pathUtf8) const;

    const std::vector<std::string>& lines() const { return lines_; }

private:
    // Line index of the section header, or -1.
    int findSection(const std::string& section) const;
    // Line index of the key inside the section starting after line `header`, or -1.
    int findKey(int header, const std::string& key) const;

    std::vector<std::string> lines_;
};
