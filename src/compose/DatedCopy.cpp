#include "compose/DatedCopy.h"

#include "compose/LosslessCopy.h"
#include "imaging/Folders.h"
#include "imaging/ImageEncoder.h"
#include "imaging/MetadataCopy.h"
#include "imaging/TextCodec.h"
#include "imaging/WholeFile.h"
#include "model/DatedPicture.h"
#include "model/Dialogs.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// True when both paths name one file, by its device and inode, so links and "." or ".." in either
// path do not hide it.
bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::string saveError(int status, const std::string& path, const std::string& reason) {
    std::string text = "Error " + std::to_string(status) + ", saving " + path;
    if (!reason.empty()) text += "\n\n" + reason;
    return text;
}

} // namespace

std::string ComposeOutputName(const std::string& picturePath, const std::string& outputDir,
                              const std::string& prefix, const std::string& postfix) {
    const auto slash = picturePath.rfind('/');
    const std::string name = slash == std::string::npos ? picturePath : picturePath.substr(slash + 1);
    const auto dot = name.rfind('.');
    const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string own = dot == std::string::npos ? std::string() : name.substr(dot);
    // The copy is a JPEG whatever the photo was: a PNG or TIFF photo's copy is named so.
    const bool jpegName = imaging::equalsIgnoringCase(own, ".jpg") ||
                          imaging::equalsIgnoringCase(own, ".jpeg") ||
                          imaging::equalsIgnoringCase(own, ".jpe");
    return outputDir + "/" + prefix + base + postfix + (jpegName ? own : std::string(".jpg"));
}

int FindEncoder(const std::string& mimeType) {
    const auto& encoders = imaging::imageEncoders();
    for (std::size_t i = 0; i < encoders.size(); ++i)
        if (encoders[i].mimeType == mimeType) return static_cast<int>(i);
    return -1;
}

namespace {

// What every save checks before it encodes: a work picture, a copy that is not the photo itself, and an
// output folder (made, when missing, on the user's word). Nothing when the save may go on.
std::optional<SaveOutcome> checkTarget(const CDatedPicture& model, const std::string& outputPath,
                                       const std::string& openedPath, Dialogs& dialogs) {
    if (!model.workPicture || model.workPicture->isNull() || outputPath.empty()) return SaveOutcome::Failed;

    if (sameFile(outputPath, openedPath)) {
        dialogs.error("The dated copy would be written over the photo itself:\n" + outputPath +
                      "\n\nThe photo is left as it is. Choose another output folder, prefix or postfix.");
        return SaveOutcome::Failed;
    }

    struct stat folder {};
    const bool folderExists = !model.outputDir.empty() && ::stat(model.outputDir.c_str(), &folder) == 0;
    if (folderExists && !S_ISDIR(folder.st_mode)) {
        // Not a missing folder, which could be made, but something else in its place.
        dialogs.error(saveError(static_cast<int>(imaging::Status::Win32Error), outputPath,
                                model.outputDir + ": " + std::strerror(ENOTDIR)));
        return SaveOutcome::Failed;
    }
    if (!folderExists) {
        const auto answer = dialogs.message("The directory, " + model.outputDir +
                                                ", does not exist. Would you like to create it?",
                                            Dialogs::Buttons::OkCancel, Dialogs::Icon::Question);
        if (answer != Dialogs::Answer::Ok) return SaveOutcome::Cancelled;
        // Every missing level, and the system's reason when one cannot be made.
        const std::string problem = imaging::makeFolders(model.outputDir);
        if (!problem.empty()) {
            dialogs.error("Directory creation failed.\n\n" + problem);
            return SaveOutcome::Failed;
        }
    }
    return std::nullopt;
}

// Writes the encoded copy with the photo's metadata, and says what did not go as asked.
SaveOutcome writeCopy(QByteArray& jpeg, QSize size, const std::string& outputPath,
                      const std::string& openedPath, Dialogs& dialogs) {
    const imaging::MetadataCopy metadata =
        imaging::copyMetadataInto(jpeg, size.width(), size.height(), openedPath);

    const std::string problem = imaging::writeFileWhole(outputPath, jpeg);
    if (!problem.empty()) {
        dialogs.error(saveError(static_cast<int>(imaging::Status::Win32Error), outputPath, problem));
        return SaveOutcome::Failed;
    }
    // A copy without the photo's metadata is still worth having (the photo itself keeps it), but it
    // is not the copy asked for: that is said, and the save counts as failed.
    if (!metadata.failure.empty()) {
        dialogs.error(saveError(static_cast<int>(imaging::Status::GenericError), outputPath,
                                "The copy was written without the photo's metadata: " + metadata.failure));
        return SaveOutcome::Failed;
    }
    if (!metadata.leftOut.empty())
        dialogs.message("The copy " + outputPath + " was written, but " + metadata.leftOut + ".",
                        Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    return SaveOutcome::Saved;
}

} // namespace

SaveOutcome SaveDatedCopy(const CDatedPicture& model, const std::string& outputPath,
                          const std::string& openedPath, Dialogs& dialogs, CopyRoad* road) {
    if (const auto refused = checkTarget(model, outputPath, openedPath, dialogs)) return *refused;

    QByteArray jpeg;
    const QImage& image = model.workPicture->image();
    if (road && road->keepJpegData) road->wholeReason = makeLosslessCopy(model, openedPath, jpeg);
    if (jpeg.isEmpty() && model.pixelsUnread) return SaveOutcome::NeedsDecodedPhoto;

    const imaging::EncoderInfo* encoder = imaging::findEncoder("image/jpeg");
    if (!encoder) {
        dialogs.error(saveError(static_cast<int>(imaging::Status::UnknownImageFormat), outputPath,
                                "No JPEG encoder is available."));
        return SaveOutcome::Failed;
    }

    if (jpeg.isEmpty()) {
        const imaging::EncodeResult encoded =
            imaging::encodeImage(image, *encoder, model.jpegQuality, jpeg, road && road->optimizeHuffman);
        if (encoded.status != imaging::Status::Ok) {
            dialogs.error(saveError(static_cast<int>(encoded.status), outputPath, encoded.reason));
            return SaveOutcome::Failed;
        }
    }
    return writeCopy(jpeg, image.size(), outputPath, openedPath, dialogs);
}

SaveOutcome SaveStreamedCopy(CDatedPicture& model, const std::string& outputPath,
                             const std::string& openedPath, Dialogs& dialogs, const CopyRoad& road) {
    if (!model.PhotoPending()) {
        CopyRoad whole = road;
        whole.keepJpegData = false;
        return SaveDatedCopy(model, outputPath, openedPath, dialogs, &whole);
    }
    if (const auto refused = checkTarget(model, outputPath, openedPath, dialogs)) return *refused;
    QByteArray jpeg;
    const QSize size = model.workPicture->image().size();
    const imaging::EncodeResult encoded = model.EncodeWhileDecoding(jpeg, road.optimizeHuffman);
    if (encoded.status != imaging::Status::Ok) {
        dialogs.error(saveError(static_cast<int>(encoded.status), outputPath, encoded.reason));
        return SaveOutcome::Failed;
    }
    return writeCopy(jpeg, size, outputPath, openedPath, dialogs);
}

SaveOutcome SaveDatedCopyAs(const CDatedPicture& model, std::string& outputPath,
                            const std::string& openedPath, const std::optional<std::string>& chosenPath,
                            Dialogs& dialogs, CopyRoad* road) {
    if (!chosenPath || chosenPath->empty()) return SaveOutcome::Cancelled;
    // The choice becomes the output path once the copy is written there, never a name that failed.
    const SaveOutcome outcome = SaveDatedCopy(model, *chosenPath, openedPath, dialogs, road);
    if (outcome == SaveOutcome::Saved) outputPath = *chosenPath;
    return outcome;
}
