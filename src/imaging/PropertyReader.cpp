#include "imaging/PropertyReader.h"

#include "imaging/Exiv2Setup.h"
#include "imaging/PhotoMetadata.h"
#include "imaging/PngChunks.h"

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <optional>
#include <string_view>

namespace imaging {
namespace {

// Thumbnail directory tags and the ids the product lists them under.
constexpr std::array<std::pair<std::uint16_t, std::uint16_t>, 30> kThumbnailIds = {{
    {0x0100, 0x5020}, {0x0101, 0x5021}, {0x0102, 0x5022}, {0x0103, 0x5023}, {0x0106, 0x5024},
    {0x010e, 0x5025}, {0x010f, 0x5026}, {0x0110, 0x5027}, {0x0111, 0x5028}, {0x0112, 0x5029},
    {0x0115, 0x502a}, {0x0116, 0x502b}, {0x0117, 0x502c}, {0x011a, 0x502d}, {0x011b, 0x502e},
    {0x011c, 0x502f}, {0x0128, 0x5030}, {0x012d, 0x5031}, {0x0131, 0x5032}, {0x0132, 0x5033},
    {0x013b, 0x5034}, {0x013e, 0x5035}, {0x013f, 0x5036}, {0x0211, 0x5037}, {0x0212, 0x5038},
    {0x0213, 0x5039}, {0x0214, 0x503a}, {0x8298, 0x503b}, {0x0201, 0x501b}, {0x0202, 0x5019},
}};

std::optional<std::uint16_t> thumbnailId(std::uint16_t tag) {
    for (const auto& [from, to] : kThumbnailIds)
        if (from == tag) return to;
    return std::nullopt;
}

// Directories listed, in the order they are listed; others (maker notes, interoperability, sub-images)
// are not part of the product's catalogue.
enum class Group { Main, Exif, Gps, Thumbnail, Other };

Group groupOf(const std::string& name) {
    if (name == "Image") return Group::Main;
    if (name == "Photo") return Group::Exif;
    if (name == "GPSInfo") return Group::Gps;
    if (name == "Thumbnail") return Group::Thumbnail;
    return Group::Other;
}

// The field types of TIFF, byte to double, and the directory pointer. An entry of any other type has
// no value a reader could know (exiftool skips it as a bad format); it is left out, so it does not
// show up under the name its id has in the catalogue.
bool isFieldType(Exiv2::TypeId type) {
    return type >= Exiv2::unsignedByte && type <= Exiv2::tiffIfd;
}

std::uint16_t recordType(Exiv2::TypeId type) {
    if (type == Exiv2::tiffIfd) return kTypeLong;
    return static_cast<std::uint16_t>(type);
}

struct Budget {
    std::size_t bytes = 0;
    bool allows(std::size_t count, std::size_t valueBytes) const {
        return count < kMaxPropertyCount && valueBytes <= kMaxPropertyValueBytes &&
               bytes + valueBytes <= kMaxPropertyBlockBytes;
    }
};

void addExif(const Exiv2::ExifData& exif, PropertyBlock& block) {
    Budget budget;
    std::vector<std::uint8_t> buffer;
    for (Group wanted : {Group::Main, Group::Exif, Group::Gps, Group::Thumbnail}) {
        for (const Exiv2::Exifdatum& datum : exif) {
            if (groupOf(datum.groupName()) != wanted || !isFieldType(datum.typeId())) continue;
            std::uint32_t id = datum.tag();
            if (wanted == Group::Thumbnail) {
                const auto mapped = thumbnailId(datum.tag());
                if (!mapped) continue;
                id = *mapped;
            }
            if (wanted == Group::Thumbnail && id == 0x501b) {
                // The thumbnail's bytes, where the file only holds their offset.
                const Exiv2::DataBuf data = Exiv2::ExifThumbC(exif).copy();
                const auto size = static_cast<std::size_t>(std::max(0L, data.size_));
                if (!budget.allows(block.count(), size)) continue;
                block.add(id, kTypeByte, data.pData_, static_cast<std::uint32_t>(size));
                budget.bytes += size;
                continue;
            }
            const long size = datum.size();
            if (size < 0 || !budget.allows(block.count(), static_cast<std::size_t>(size))) continue;
            buffer.assign(static_cast<std::size_t>(size) + 1, 0);
            const long written = size > 0 ? datum.copy(buffer.data(), Exiv2::littleEndian) : 0;
            const auto length = static_cast<std::uint32_t>(std::clamp(written, 0L, size));
            block.add(id, recordType(datum.typeId()), buffer.data(), length);
            budget.bytes += length;
        }
    }
}

} // namespace

PropertyBlock readProperties(const std::string& pathUtf8, std::string* problem) {
    silenceExiv2Log();
    PropertyBlock block;
    try {
        std::string refused;
        const auto image = openPhotoMetadata(pathUtf8, refused);
        if (image.get() == nullptr) {
            if (problem) *problem = refused;
            return {};
        }
        addExif(image->exifData(), block);
        // By the content, as the decoder goes: a PNG named .jpg still has its chunks read.
        if (image->mimeType() == "image/png") addPngChunkProperties(pathUtf8, block);
    } catch (const Exiv2::AnyError& e) {
        if (problem) *problem = e.what();
        return {};
    } catch (const std::exception& e) {
        if (problem) *problem = e.what();
        return {};
    } catch (...) {
        if (problem) *problem = "unreadable metadata";
        return {};
    }
    return block;
}

} // namespace imaging
