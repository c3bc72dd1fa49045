#pragma once

#include <string>

// Border and watermark files travel with their templates: the model keeps only their bare file names
// and looks them up in the template folder, so a file chosen anywhere else is copied there first.

// The part of a path after its last '/'; all of it when there is none.
std::string FileNameOfPath(const std::string& path);

// Copies the chosen file to `destination`, replacing a file of that name; the new file appears whole
// or not at all. Nothing is copied when the chosen path is a bare file name (the name the template
// already keeps, which lies in the template folder) or when it names the destination file itself,
// also by another path. Returns false only when a copy was needed and could not be made.
bool CopyIntoTemplateFolder(const std::string& chosen, const std::string& destination);
