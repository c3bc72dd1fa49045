#pragma once

#include "compose/EffectCache.h"
#include "compose/PreparedBorder.h"
#include "compose/PreparedWatermark.h"
#include "imaging/Bitmap.h"
#include "imaging/ImageEncoder.h"
#include "imaging/PropertyBlock.h"
#include "model/DateFormat.h"
#include "model/ImprintItem.h"

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QRegion>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Dialogs;
class ItemList;
class PhotoDecoding;
class RecordReader;

namespace imaging {
class Graphics;
class JpegDecoder;
} // namespace imaging

// The model of one picture, or of a template: the loaded picture and the work picture the items are
// drawn on, the item list, the template settings, and the border and watermark bitmaps.
class CDatedPicture {
public:
    CDatedPicture() = default;
    CDatedPicture(const CDatedPicture& other);
    // A full, independent copy: items deep-copied, bitmaps cloned.
    CDatedPicture& operator=(const CDatedPicture& other);
    ~CDatedPicture() = default;

    // --- item list ---------------------------------------------------------------------------
    // More items than any photo or template holds; a list never grows past it.
    static constexpr int kMaxItems = 100000;

    // Makes room for one more item at index itemCount - 1. Returns false, leaving the list as it
    // was, when a larger array cannot be allocated.
    bool AppendItem();
    // Discards the list and makes exactly n default items (n <= 0 gives an empty list).
    // Returns false, leaving the list empty, when they cannot be allocated.
    bool ResetItems(int n);
    // Appends a new item (a reused slot is reset to the defaults) with the tag, type and a copy of the
    // value of a property record. Returns the new itemCount, or 0 when the list could not grow.
    int AddPropertyItem(const imaging::PropertyItem& property);
    // Forgets the last item; its slot is handed out again by the next AppendItem.
    void DropLastItem();
    // Appends a visible free-text label item; nothing when name is empty. Returns false when the
    // list could not grow.
    bool AddLabelItem(const std::string& name, const std::string& text);
    // Makes (or reuses) the watermark item and shows it with the file name and opacity.
    bool SetWatermarkItem(const std::string& fileName, int opacity);
    // Hides the watermark item and forgets it; the item stays in the list.
    void RemoveWatermarkItem();
    // Fills the format bar's list with the items it offers and selects the date taken.
    void FillItemList(ItemList& list, bool showAll) const;

    ImprintItem& item(int index) { return items[static_cast<std::size_t>(index)]; }
    const ImprintItem& item(int index) const { return items[static_cast<std::size_t>(index)]; }

    // --- property items ----------------------------------------------------------------------
    // Appends an item for one property record with its names, value text and listing. Returns 0
    // when the item was kept, 1 when the tag is one that is dropped.
    int AddItemFromProperty(const imaging::PropertyItem& property);

    // --- loading -----------------------------------------------------------------------------
    // How much of a photo is decoded: all of it, or for a JPEG photo whose copy is made from its own
    // JPEG data only its size (the picture's pixels are then 0 and pixelsUnread is set). Streamed, for a
    // model that only saves its dated copy: a JPEG photo is opened and read for its size as with
    // SizeOnly, and decoded at the save straight into its place in the work picture while the copy is
    // encoded (SaveStreamedCopy); other photos are decoded.
    enum class PhotoPixels { Decoded, SizeOnly, Streamed };
    // Opens a photo: reads it (below), then applies the template to it. Returns 1 when loaded and
    // composed, 0 otherwise; `whyNot` then says why.
    int LoadPicture(const std::string& path, const CDatedPicture& templ, Dialogs& dialogs,
                    std::string* whyNot = nullptr, PhotoPixels pixels = PhotoPixels::Decoded);
    // Decodes a photo file (see HasPictureExtension) by its content into `picture` and makes its
    // items: one per property, then "Image Path" and "Image Name". Returns 1 when read, 0 otherwise;
    // `whyNot` then says why. Another extension leaves the model untouched.
    int ReadPicture(const std::string& path, std::string* whyNot = nullptr,
                    PhotoPixels pixels = PhotoPixels::Decoded);
    // True when the path ends in ".jpg", ".jpeg", ".jpe", ".tif", ".tiff", ".png", ".webp", ".heic",
    // ".heif" or ".avif", in any letter case: the names of photos opened, listed in a folder or dated.
    static bool HasPictureExtension(const std::string& path);

    // --- drawing and placing items (work-picture pixels; distances and sizes in print points) ---
    // Draws one item at its position with its font, colour, opacity and rotation, and measures it.
    // A date item whose date cannot be shown is left out; see TakeDateProblem.
    void DrawItem(ImprintItem& item, imaging::Graphics& graphics);
    // The box of the item's rotated text relative to its origin, into `bounds`.
    static void ComputeItemBounds(ImprintItem& item);
    // Sets the item's angle, measured size, bounds and origin from its anchor and distances.
    void PlaceItem(int index, imaging::Graphics& graphics);
    // Turns the item's origin and angle back into anchor distances and the anchor-relative angle.
    void StoreItemOffsets(int index);
    // The mean luminance (0..255) of the photo under the item's box where it stands, white space
    // counted in its colour: what an automatic colour stands out from.
    double MeanLuminanceUnder(int index) const;
    // The same from the photo's pixels of the rectangle whose top-left lies at `photoAt` (work-picture
    // pixels), for a picture whose own pixels were not decoded.
    double MeanLuminanceUnder(int index, const QImage& photo, QPoint photoAt) const;
    // Chooses the text colour of an item with an automatic colour for where it stands now (nothing for
    // an item without one); the second from pixels held elsewhere, as above.
    void ChooseAutoColor(int index);
    void ChooseAutoColor(int index, const QImage& photo, QPoint photoAt);
    // Draws the watermark item's bitmap.
    void DrawWatermark(ImprintItem& item, imaging::Graphics& graphics);

    // The message for a date that could not be shown, once per picture and date format: the
    // caller reports it to the user after drawing. Empty when there is nothing new to report.
    std::optional<std::string> TakeDateProblem();
    // Why the picture shows none of the dates the template shows ("the photo has no Date Time
    // Original"); nothing when it shows one of them, or when the template shows no date.
    std::optional<std::string> WhyNoDateIsShown(const CDatedPicture& templ) const;
    // What gave the dates of the shown date items that did not come from their own tags ("the file
    // name"), each once, in the items' order.
    std::vector<std::string> DatesFromOtherSources() const;

    // --- where dates come from (model/DateResolving.cpp) --------------------------------------
    // Finds the date a date item shows: its own tag's when that is a date, else the first of its
    // sources that gives one (resolvedDate and resolvedFrom; resolvedDate stays empty otherwise).
    void ResolveDate(ImprintItem& item) const;
    // The date a source gives this photo as an Exif date text, or empty.
    std::string DateFrom(DateSource source) const;
    // The date text an item's date is drawn from: the one its sources found, or its own value.
    static const std::string& DateTextOf(const ImprintItem& item);
    // How an item's date is shown: the template's clock shift and names, and the offset from UTC the
    // photo gives for the date's source (Offset Time Original beside Date Time Original ...).
    DateShowing ShowingOf(const ImprintItem& item) const;

    // === composing the dated image (compose/) ==================================================
    // Makes the picture look like the template: its settings, a fresh work picture, its border and
    // watermark, and the formatting and place of every item it shows. Messages go to `dialogs`.
    void ApplyTemplate(const CDatedPicture& templ, Dialogs& dialogs);
    // For a date item of a template whose tag the photo lacks: a new item of the tag dated from the
    // template item's sources. Returns its index, or -1 when no source has a date.
    int AppendDateFromSources(const ImprintItem& templateItem);
    // Places one item where its anchor and distances put it, measured without painting anything.
    void PlaceItemAlone(int index);
    // Makes the work picture from the loaded picture: a copy (sharing the picture's pixels until it is
    // first painted), or a larger one with room for the white space of the target aspect ratio.
    // Reports an impossible size and leaves no work picture.
    void BuildWorkPicture(Dialogs& dialogs);
    // Loads a border or watermark file from the template directory. A name must be a bare file name.
    // Each reports a file it cannot load and returns false.
    bool LoadBorder(const std::string& fileName, int opacity, Dialogs& dialogs);
    bool LoadWatermark(const std::string& fileName, int opacity, Dialogs& dialogs);
    // For a template applied to many photos: loads the border and watermark it names but holds no
    // bitmap of (reporting to `dialogs`; without dialogs nothing is tried, as for a template whose
    // reading just reported them), and leaves out those not loaded, so that they are reported once
    // and not again for every photo the template is applied to.
    void LoadOverlaysOnce(Dialogs* dialogs);
    // Repaints the whole work picture: picture, white space, border, then the visible items.
    void RenderDatedImage();
    // Repaints only the region (work-picture pixels), leaving every pixel as the whole repaint would,
    // provided nothing outside the region changed since the last repaint. For a moved or turned item
    // pass the union of its ItemCoverage before and after the change.
    void RenderDatedImage(const QRegion& region);
    // The last whole repaint, for a caller that only saves the dated image from here on: the loaded
    // picture is let go, and a work picture that still is the picture's own pixels (no white space)
    // is painted in place rather than copied first. Gives the pixels RenderDatedImage gives.
    void RenderDatedImageForSave();
    // Paints the visible items that reach into `pixels`, the rectangle of the work picture whose top-left
    // is `at` (work-picture pixels), as the whole repaint paints them there: the dated copy made from
    // the photo's JPEG data draws them on the decoded blocks under them only.
    void RenderItemsOnto(QImage& pixels, QPoint at);
    // The work-picture pixels the item at `index` can paint at its current place and angle, with room
    // for glyphs that reach past their measured box. Empty without a work picture.
    QRect ItemCoverage(int index) const;
    // The first work-picture row the whole repaint paints anything on besides the picture (white
    // space, border, items), with a block row to spare: the rows above it are the picture's pixels.
    int FirstPaintedRow() const;

    // --- the copy encoded while the photo is decoded (compose/StreamedCopy.cpp) -----------------
    // True while the JPEG photo opened with PhotoPixels::Streamed is still to be decoded.
    bool PhotoPending() const { return pendingPhoto_ != nullptr; }
    // Decodes the pending photo while another thread encodes the rows above FirstPaintedRow as they
    // are decoded, then chooses the automatic colours, paints the rest as RenderDatedImageForSave does
    // and lets the encoding finish: the JPEG of the dated image at the model's quality, the file
    // encoding the rendered work picture gives. The picture and the work picture are let go (the rows
    // that passed straight to the encoder were never written into it). An error when the template's
    // painting was moved higher since the decoding started.
    imaging::EncodeResult EncodeWhileDecoding(QByteArray& jpeg, bool optimizeHuffman);

    // === template files (model/TemplateFile.cpp) ==============================================
    // The message for a template that cannot be read as one.
    static const char* const kCorruptTemplateMessage;
    // Builds the template record; copies it into the buffer when it fits. Returns its length in bytes.
    std::size_t SerializeTemplate(std::uint8_t* buffer, std::size_t capacity) const;
    // Writes the template whole (beside the old file, then renamed over it) after turning every
    // visible item's position back into distances. Returns 0 when written, 1 otherwise (`whyNot`).
    int WriteTemplate(const std::string& path, std::string* whyNot = nullptr);
    // Reads a template file and loads its border and watermark from `templateDir`. Returns 0 when
    // the file was read, 1 when it cannot be opened; a corrupt template is reported to `dialogs`.
    int ReadTemplate(const std::string& path, Dialogs& dialogs);
    // Fills the template from a record in memory; numbers beyond its end read as 0.
    void ParseTemplate(const std::uint8_t* data, std::size_t length, Dialogs& dialogs);
    // --- undoing (compose/TemplateApplication.cpp) ---------------------------------------------
    // The format as it is now, for taking back later: the items and every template setting, with the
    // border and watermark (sharing their pixels), but neither the picture nor the work picture.
    CDatedPicture FormatSnapshot() const;
    // Takes back a format from a snapshot of this picture: the items and settings become the
    // snapshot's; the picture stays, and the work picture is built again when the white space the
    // snapshot asks for differs.
    void RestoreFormat(const CDatedPicture& snapshot, Dialogs& dialogs);
    // True when two models would give the same template file (settings and visible items).
    bool SameFormat(const CDatedPicture& other) const;

    // Becomes the template a user starts from: the defaults and the date the photo was taken (Date Time
    // Original, tag 0x9003) in the bottom-left corner.
    void MakeNewTemplate();

    // --- fields ------------------------------------------------------------------------------
    std::string version = "1.00";
    int modified = 0;
    std::unique_ptr<imaging::Bitmap> picture;
    bool pixelsUnread = false; // the picture has the photo's size but not its pixels (PhotoPixels::SizeOnly)
    std::unique_ptr<imaging::Bitmap> workPicture;
    int needsRedraw = 1;
    QRectF bounds; // of the loaded picture
    float whiteOffsetX = 0, whiteOffsetY = 0, pictureWidth = 0, pictureHeight = 0;
    int itemCount = 0;
    std::vector<ImprintItem> items; // capacity slots, the first itemCount in use
    int growBy = 25;
    int capacity = 0;
    std::string templatePath;
    std::string prefix = "Dated_";
    std::string postfix;
    std::string outputDir;
    std::string templateDir;
    int useDefaultOutputDir = 1;
    int aspectEnabled = 0;
    int reservedAspect = 0;
    int whiteSideWide = 0;
    int whiteSideTall = 0;
    float aspectWidth = 6.0f;
    float aspectHeight = 4.0f;
    int whiteColor = 0xFFFFFF;
    std::string dateFormat = "%c";
    int jpegQuality = 60;
    int watermarkIndex = -1;
    std::unique_ptr<imaging::Bitmap> borderBitmap;
    std::string borderPath;
    int borderOpacity = 255;
    int borderAutoRotate = 1;
    std::unique_ptr<imaging::Bitmap> watermarkBitmap;

    // Beyond the classic template settings (kept in the template file's extension block).
    long long clockShiftSeconds = 0; // added to every date shown: a camera clock set wrong
    static constexpr long long kLongestClockShift = 200LL * 366 * 86400; // no clock is further off
    int localeNames = 0; // month and day names and date forms of the desktop's language
    // Of the photo: when its file was last changed, as an Exif date text; empty without a photo.
    std::string fileTime;
    std::string fileTimeZone; // the machine's offset from UTC at that time ("+01:00")

    // Counts the pictures loaded into this model; a date problem is reported once per picture.
    std::uint64_t pictureSerial = 0;

private:
    // A one-pixel stand-in of the work picture that measures text alike; null without one.
    QImage PlacingSurface() const;
    void NoteDateProblem(const std::string& message);
    // The extension blocks after the stored items (template files of this version and later).
    void readExtensions(RecordReader& r, int storedItems);

    // --- composing (compose/) ---
    // `drawPicture` false: the work picture already holds the picture's pixels where it lies.
    void RenderRect(imaging::Graphics& graphics, const QRect& clip, bool whole, bool drawPicture = true);
    // True while the work picture is the loaded picture's pixels themselves, not yet painted on.
    bool WorkPictureSharesPicture() const;
    int MatchTemplateItem(const ImprintItem& templateItem);

    // The border and watermark as last drawn, kept while what they are made from stays the same.
    PreparedBorder preparedBorder_;
    PreparedWatermark preparedWatermark_;
    EffectCache effects_;

    // Starts decoding the pending photo on a thread of its own as soon as its work picture is made,
    // beside the placing of the items; the save waits for it (compose/StreamedCopy.cpp).
    void StartDecoding();
    // Tells the decoding where the template paints, once its items are placed: the rows above pass
    // through a few rows of memory to the encoder and never touch the work picture.
    void ArmDecoding();
    // Ends a decoding still running before the work picture it writes into is let go: the photo is no
    // longer pending then, its pixels unread (a save asks for it decoded).
    void StopDecoding();

    // The photo opened with PhotoPixels::Streamed, its header read; a copy of the model does not take it.
    std::shared_ptr<imaging::JpegDecoder> pendingPhoto_;
    // Its decoding once the work picture is made. Declared after the work picture, so let go before it.
    std::shared_ptr<PhotoDecoding> decoding_;

    std::string pendingDateProblem_;
    std::optional<std::pair<std::uint64_t, std::string>> reportedDateProblem_; // picture, format
};
