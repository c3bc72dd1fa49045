#pragma once

#include "shell/FrameParts.h"

#include <string>
#include <vector>

class TemplateWorkflow;

// The photos of the batch: opening them (by the file dialog or by dropping them on the window),
// moving to the previous or next one, closing, and saving the dated copy.
class PictureWorkflow {
public:
    PictureWorkflow(const FrameParts& parts, TemplateWorkflow& templates)
        : f_(parts), templates_(templates) {}

    // "&Open": the questions about unsaved work, the file dialog, the batch, the first photo.
    void OpenPictures();
    // Photos dropped on the window: as "&Open", with the dropped files for the dialog's choice; a
    // folder stands for its photos.
    void OpenDropped(const std::vector<std::string>& paths);
    // "&Close file": the pictures go, the batch, the items and the output name stay.
    void ClosePicture();
    // "&Next" (+1) and "P&revious" (-1): asks about a changed format, saves the dated copy and opens
    // the neighbouring photo of the batch with the template. A failed save stays on the photo.
    void MoveBy(int step);
    // "&Save Dated Copy" and "Save Dated Copy &As ...". Return true when the copy was written.
    bool SaveDatedCopy();
    bool SaveDatedCopyAs();

    // Asks about a dated image that was not saved; saves it on Yes. False: the user cancelled, or
    // the save failed.
    bool AskToSaveImage();
    // Asks whether a changed format is to become the template for the next photos; saves it on Yes.
    // False: the user cancelled.
    bool AskToSaveFormat();

    // The photos of the batch when one photo is chosen: the photos of its folder, it among them, in the
    // order a person reads their names (IMG_2 before IMG_10).
    static std::vector<std::string> FolderBatch(const std::string& chosen);
    // The photos of a folder in that order, leaving out the file named like `except` (any case).
    static std::vector<std::string> FolderPhotos(const std::string& folder, const std::string& except);

private:
    // Opens the batch's photo at `index` with the template in use.
    void openEntry(int index);
    // Takes the chosen files as the new batch and opens its first photo.
    void openBatch(const std::vector<std::string>& chosen);

    FrameParts f_;
    TemplateWorkflow& templates_;
};
