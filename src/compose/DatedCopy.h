#pragma once

#include <optional>
#include <string>

class CDatedPicture;
class Dialogs;

// The name of the dated copy: the output folder, then prefix, the photo's base name, postfix and the
// extension ("/out" + "Dated_" + "IMG_0001" + "_v2" + ".JPG"). A JPEG photo's own extension is kept
// as it is written; any other photo's copy, and a file name without a dot (all base name), ends in
// ".jpg", the format the copy is written in.
std::string ComposeOutputName(const std::string& picturePath, const std::string& outputDir,
                              const std::string& prefix, const std::string& postfix);

// The position of the first encoder for the MIME type (exact, case-sensitive), or -1.
int FindEncoder(const std::string& mimeType);

// NeedsDecodedPhoto: the copy could not be made from the photo's JPEG data, and the model holds only
// the photo's size (PhotoPixels::SizeOnly); nothing was written. Load the photo decoded and save again.
enum class SaveOutcome { Saved, Cancelled, Failed, NeedsDecodedPhoto };

// How the copy is encoded.
struct CopyRoad {
    // Keep the photo's own JPEG data outside the items when it allows (see LosslessCopy.h), else
    // encode the whole picture.
    bool keepJpegData = false;
    // Set by the save: why the whole picture was encoded although the photo's data was to be kept
    // ("white space"); empty when it was kept, or not asked for.
    std::string wholeReason;
    // A whole picture encoded with Huffman tables fitted to it (see imaging::JpegEncoding).
    bool optimizeHuffman = false;
};

// Writes the work picture as a JPEG of the model's quality to `outputPath`, carrying the metadata
// of the opened photo; with `road` asking for it, a JPEG photo's own data is kept outside the items.
// Asks before creating a missing output folder; refuses to write over the opened photo; reports
// failures through `dialogs`. The file appears whole or not at all, so a failed save leaves an
// earlier copy as it was.
SaveOutcome SaveDatedCopy(const CDatedPicture& model, const std::string& outputPath,
                          const std::string& openedPath, Dialogs& dialogs, CopyRoad* road = nullptr);

// The whole-picture copy of a model whose JPEG photo is still to be decoded (PhotoPixels::Streamed),
// checked and written as SaveDatedCopy does: the photo is decoded straight into the work picture while
// the copy is encoded (CDatedPicture::EncodeWhileDecoding). A model whose photo is decoded already is
// saved by SaveDatedCopy, the whole picture encoded.
SaveOutcome SaveStreamedCopy(CDatedPicture& model, const std::string& outputPath,
                             const std::string& openedPath, Dialogs& dialogs, const CopyRoad& road);

// The end of "Save As": the copy is saved at a confirmed choice, which then becomes the output path
// (a choice where the copy could not be written does not). Without a choice nothing changes and
// nothing is written.
SaveOutcome SaveDatedCopyAs(const CDatedPicture& model, std::string& outputPath,
                            const std::string& openedPath, const std::optional<std::string>& chosenPath,
                            Dialogs& dialogs, CopyRoad* road = nullptr);
