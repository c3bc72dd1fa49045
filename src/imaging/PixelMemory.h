#pragma once

#include <QImage>
#include <QSize>

namespace imaging {

// A picture of the size and 4-byte format (RGB32, ARGB32, ARGB32_Premultiplied) on pixel memory of its
// own, its pixels not set; null when the memory cannot be had or the format is another.
//
// Large pictures lie on memory mapped for them and marked for huge pages: the system then provides a
// 24-megapixel picture in some fifty 2 MB pages rather than 24000 pages of 4 KB, each a page fault
// (about a third of decoding a photo where faults are dear, as on virtual machines). Where the system
// has no huge pages to give, the memory is mapped as usual.
QImage newPicture(QSize size, QImage::Format format);

// A copy of the picture on pixel memory of its own (see newPicture), with its resolution, texts and
// colour space; a copy Qt makes (QImage::copy) for a picture of another format, or when the memory
// cannot be had that way.
QImage ownCopy(const QImage& picture);

// An RGB32 picture of the size whose pixels are all 0, on memory the system provides only where the
// pixels are written or read: a stand-in of a photo's size whose pixels are never needed. Null when
// the memory cannot be mapped.
QImage zeroPicture(QSize size);

// Keeps the pixel memory of up to `pictures` pictures made by newPicture once nothing uses them any
// more, and hands it to the next picture of the same length. A program that dates photo after photo
// then decodes into memory already in place. 0, the default, keeps none.
void keepDecodedPixelsForReuse(int pictures);

} // namespace imaging
