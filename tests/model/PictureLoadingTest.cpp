#include "model/DatedPicture.h"
#include "model/PhotoFolder.h"

#include "photofactory/PhotoFactory.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

std::vector<std::uint32_t> tagsOf(const CDatedPicture& model) {
    std::vector<std::uint32_t> tags;
    for (int i = 0; i < model.itemCount; ++i)
        tags.push_back(model.item(i).tag);
    return tags;
}

std::string writeCameraPhoto(const TempDir& dir, const std::string& name) {
    photofactory::Photo photo;
    photo.thumbnail = true;
    photo.tags = {{"Exif.Image.Make", "Canon"},
                  {"Exif.Image.Model", "EOS"},
                  {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}};
    const std::string path = dir.path(name);
    EXPECT_EQ(photofactory::writePhoto(path, photo), "");
    return path;
}

} // namespace

TEST(ReadingAPicture, acceptsThePhotoExtensionsInAnyLetterCaseOnly) {
    EXPECT_TRUE(CDatedPicture::HasPictureExtension("/a/b.jpg"));
    EXPECT_TRUE(CDatedPicture::HasPictureExtension("/a/b.JpG"));
    EXPECT_TRUE(CDatedPicture::HasPictureExtension("b.TIF"));
    EXPECT_TRUE(CDatedPicture::HasPictureExtension("x.y.png"));
    EXPECT_TRUE(CDatedPicture::HasPictureExtension("b.jpeg"));
    EXPECT_TRUE(CDatedPicture::HasPictureExtension("b.tiff"));
    EXPECT_TRUE(CDatedPicture::HasPictureExtension("IMG.HEIC"));
    EXPECT_TRUE(CDatedPicture::HasPictureExtension("b.Avif"));
    EXPECT_FALSE(CDatedPicture::HasPictureExtension("b.gif"));
    EXPECT_FALSE(CDatedPicture::HasPictureExtension("jpg"));    // no dot
    EXPECT_FALSE(CDatedPicture::HasPictureExtension("b.jpg ")); // trailing blank
}

TEST(ReadingAPicture, refusesOtherExtensionsWithoutTouchingTheModel) {
    TempDir dir;
    const std::string photo = writeCameraPhoto(dir, "one.jpg");
    ASSERT_TRUE(QFile::copy(QString::fromStdString(photo), QString::fromStdString(dir.path("one.gif"))));
    CDatedPicture model;
    ASSERT_EQ(model.ReadPicture(photo), 1);
    const int items = model.itemCount;
    const imaging::Bitmap* picture = model.picture.get();

    std::string why;
    EXPECT_EQ(model.ReadPicture(dir.path("one.gif"), &why), 0);
    EXPECT_EQ(why, "not a .jpg, .jpeg, .jpe, .tif, .tiff, .png, .webp, .heic, .heif or .avif file");
    EXPECT_EQ(model.ReadPicture(dir.path("noextension"), &why), 0);
    EXPECT_EQ(model.itemCount, items);
    EXPECT_EQ(model.picture.get(), picture);
}

TEST(ReadingAPicture, makesAnItemPerKeptPropertyThenThePathAndName) {
    TempDir dir;
    const std::string path = writeCameraPhoto(dir, "cam.JPG");
    CDatedPicture model;
    ASSERT_EQ(model.ReadPicture(path), 1);
    // the Exif directory pointer and the thumbnail's tags leave no item
    EXPECT_EQ(tagsOf(model),
              (std::vector<std::uint32_t>{0x010f, 0x0110, 0x9003, kTagImagePath, kTagImageName}));
    EXPECT_EQ(model.item(3).valueText, path);
    EXPECT_EQ(model.item(4).valueText, "cam.JPG");
    EXPECT_EQ(model.item(4).valueLength, 8u);
    EXPECT_EQ(model.item(4).listed, 1);
    EXPECT_EQ(model.bounds, QRectF(0, 0, 120, 80));
}

TEST(ReadingAPicture, reusesTheSlotsOfThePreviousPicture) {
    TempDir dir;
    const std::string first = writeCameraPhoto(dir, "first.jpg");
    photofactory::Photo bare;
    ASSERT_EQ(photofactory::writePhoto(dir.path("bare.jpg"), bare), "");

    CDatedPicture model;
    ASSERT_EQ(model.ReadPicture(first), 1);
    const int capacity = model.capacity;
    ASSERT_EQ(model.ReadPicture(dir.path("bare.jpg")), 1);
    EXPECT_EQ(tagsOf(model), (std::vector<std::uint32_t>{kTagImagePath, kTagImageName}));
    EXPECT_EQ(model.capacity, capacity);
    EXPECT_EQ(model.item(2).tag, 0x9003u); // the old occupant waits in its slot
}

TEST(LoadingAPicture, startsEveryReusedSlotAsANewItemSoNoLabelOrUnitCarriesOver) {
    TempDir dir;
    photofactory::Photo a, b;
    a.tags = {{"Exif.Image.Software", "Editor"}, {"Exif.Photo.ISOSpeedRatings", "200"}};
    b.tags = {{"Exif.Image.DateTime", "2001:06:21 14:38:56"}, {"Exif.Photo.ExifVersion", "48 50 51 48"}};
    ASSERT_EQ(photofactory::writePhoto(dir.path("a.jpg"), a), "");
    ASSERT_EQ(photofactory::writePhoto(dir.path("b.jpg"), b), "");
    CDatedPicture templ; // the ISO shown with a unit, colour and corner of its own
    ASSERT_TRUE(templ.AppendItem());
    ImprintItem& iso = templ.item(0);
    iso.tag = 0x8827;
    iso.visible = 1;
    iso.unit = " ISO";
    iso.color = 0x00ff00;
    iso.anchor = 3;
    ScriptedDialogs user;

    CDatedPicture model;
    ASSERT_EQ(model.LoadPicture(dir.path("a.jpg"), templ, user), 1);
    ASSERT_EQ(tagsOf(model), (std::vector<std::uint32_t>{0x0131, 0x8827, kTagImagePath, kTagImageName}));
    ASSERT_EQ(model.item(1).unit, " ISO");
    ASSERT_EQ(model.LoadPicture(dir.path("b.jpg"), templ, user), 1);
    ASSERT_EQ(tagsOf(model), (std::vector<std::uint32_t>{0x0132, 0x9000, kTagImagePath, kTagImageName}));
    EXPECT_EQ(model.item(0).label, ""); // not "Software Used: "
    EXPECT_EQ(model.item(1).label, "Exif Ver: ");
    EXPECT_EQ(model.item(1).unit, ""); // not the ISO's
    EXPECT_EQ(model.item(1).color, ImprintItem().color);
    EXPECT_EQ(model.item(1).fontName, ImprintItem().fontName);
}

TEST(ReadingAPicture, namesAPictureGivenWithoutAFolderAndGivesItsFullPath) {
    TempDir dir;
    writeCameraPhoto(dir, "here.jpg");
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.root())));
    CDatedPicture model;
    const int loaded = model.ReadPicture("here.jpg");
    QDir::setCurrent(old);
    ASSERT_EQ(loaded, 1);
    EXPECT_EQ(model.item(model.itemCount - 1).valueText, "here.jpg");
    EXPECT_EQ(model.item(model.itemCount - 2).valueText, dir.path("here.jpg")); // Image Path
}

TEST(ReadingAPicture, failsOnAMissingFileAndLeavesNoPicture) {
    TempDir dir;
    CDatedPicture model;
    ASSERT_EQ(model.ReadPicture(writeCameraPhoto(dir, "a.jpg")), 1);
    std::string why;
    EXPECT_EQ(model.ReadPicture(dir.path("gone.jpg"), &why), 0);
    EXPECT_EQ(model.picture, nullptr);
    EXPECT_EQ(why, "file not found");
}

TEST(LoadingAPicture, appliesTheTemplateToTheItemsItRead) {
    TempDir dir;
    const std::string path = writeCameraPhoto(dir, "cam.jpg");
    CDatedPicture templ;
    templ.MakeNewTemplate();
    templ.item(0).tag = kTagDateTimeOriginal;
    templ.item(0).anchor = 1;
    templ.dateFormat = "%Y";
    ScriptedDialogs dialogs;

    CDatedPicture model;
    ASSERT_EQ(model.LoadPicture(path, templ, dialogs), 1);
    ASSERT_NE(model.workPicture, nullptr);
    EXPECT_EQ(model.dateFormat, "%Y");
    const ImprintItem& date = model.item(2);
    ASSERT_EQ(date.tag, kTagDateTimeOriginal);
    EXPECT_EQ(date.visible, 1);
    EXPECT_EQ(date.anchor, 1);
    EXPECT_GT(date.posX, 60);            // placed from the right edge of a 120-pixel picture
    EXPECT_EQ(model.item(0).visible, 0); // the make is not in the template
    EXPECT_TRUE(dialogs.shown.empty());

    std::string why;
    EXPECT_EQ(model.LoadPicture(dir.path("gone.jpg"), templ, dialogs, &why), 0);
    EXPECT_EQ(model.workPicture, nullptr);
}

TEST(AFolderOfPhotos, isListedInTheOrderAPersonReadsWithEveryNameAsItsBytes) {
    TempDir dir;
    const std::vector<std::string> names = {"IMG_10.jpg", "img_2.JPG", "IMG_9.png", "b\xff\xfe.tif", "a.jpg"};
    for (const std::string& name : names) { // by their bytes: TempDir::path goes through QString
        ASSERT_EQ(::close(::open((dir.root() + "/" + name).c_str(), O_CREAT | O_WRONLY, 0644)), 0) << name;
    }
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(dir.path("folder.jpg")))); // not a file
    ASSERT_EQ(::close(::open(dir.path("notes.txt").c_str(), O_CREAT | O_WRONLY, 0644)), 0);
    EXPECT_EQ(
        photosInFolder(dir.root() + "/"),
        (std::vector<std::string>{dir.path("a.jpg"), dir.root() + "/b\xff\xfe.tif", dir.path("img_2.JPG"),
                                  dir.path("IMG_9.png"), dir.path("IMG_10.jpg")}));
    std::string problem;
    EXPECT_TRUE(photosInFolder(dir.path("none"), &problem).empty());
    EXPECT_EQ(problem, "No such file or directory");
    EXPECT_TRUE(naturalLess("IMG_0002", "IMG_10") && !naturalLess("IMG_10", "IMG_0002"));
}
