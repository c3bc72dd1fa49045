#include "imaging/HeifFile.h"

#include "imaging/ImageLimits.h"

#include <libheif/heif.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include <dlfcn.h>

namespace imaging {
namespace {

// The most a metadata block may hold before it is left unread; cameras write some 64 KB.
constexpr std::size_t kMaxMetadataBlockBytes = 16u << 20;

// Every libheif function this file calls. libheif and the codecs it brings (x265, libde265, aom, dav1d
// and theirs) cost a program some 190 page faults at start, and most runs date only JPEG photos: the
// library is loaded when the first HEIF or AVIF photo is opened, and its functions are found by name.
#define IMPRIX_HEIF_FUNCTIONS(F)                                                                             \
    F(heif_init)                                                                                             \
    F(heif_context_alloc)                                                                                    \
    F(heif_context_free)                                                                                     \
    F(heif_context_set_maximum_image_size_limit)                                                             \
    F(heif_context_read_from_file)                                                                           \
    F(heif_context_get_primary_image_handle)                                                                 \
    F(heif_image_handle_release)                                                                             \
    F(heif_image_handle_get_width)                                                                           \
    F(heif_image_handle_get_height)                                                                          \
    F(heif_image_handle_get_ispe_width)                                                                      \
    F(heif_image_handle_get_ispe_height)                                                                     \
    F(heif_image_handle_has_alpha_channel)                                                                   \
    F(heif_image_handle_get_number_of_metadata_blocks)                                                       \
    F(heif_image_handle_get_list_of_metadata_block_IDs)                                                      \
    F(heif_image_handle_get_metadata_content_type)                                                           \
    F(heif_image_handle_get_metadata_size)                                                                   \
    F(heif_image_handle_get_metadata)                                                                        \
    F(heif_image_handle_get_color_profile_type)                                                              \
    F(heif_image_handle_get_raw_color_profile_size)                                                          \
    F(heif_image_handle_get_raw_color_profile)                                                               \
    F(heif_decoding_options_alloc)                                                                           \
    F(heif_decoding_options_free)                                                                            \
    F(heif_decode_image)                                                                                     \
    F(heif_image_release)                                                                                    \
    F(heif_image_get_width)                                                                                  \
    F(heif_image_get_height)                                                                                 \
    F(heif_image_get_plane_readonly)                                                                         \
    F(heif_image_get_bits_per_pixel_range)

// The functions, each typed as libheif's header declares it, so that the compiler checks every call.
struct Heif {
#define IMPRIX_HEIF_POINTER(name) decltype(&::name) name = nullptr;
    IMPRIX_HEIF_FUNCTIONS(IMPRIX_HEIF_POINTER)
#undef IMPRIX_HEIF_POINTER
    std::string problem; // why HEIF and AVIF photos cannot be read; empty when every function was found
};

std::string dlProblem() {
    const char* problem = dlerror();
    return problem ? problem : "unknown";
}

template <typename Function>
void findFunction(void* library, const char* name, Function& function, std::string& problem) {
    if (!problem.empty()) return;
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function) problem = "the installed HEIF support is too old: " + dlProblem();
}

Heif loadHeif(const char* soname) {
    Heif found;
    void* library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        found.problem = "HEIF support is not installed: " + dlProblem();
        return found;
    }
#define IMPRIX_HEIF_FIND(name) findFunction(library, #name, found.name, found.problem);
    IMPRIX_HEIF_FUNCTIONS(IMPRIX_HEIF_FIND)
#undef IMPRIX_HEIF_FIND
    if (!found.problem.empty()) {
        dlclose(library);
        return found;
    }
    // Never closed: the codecs heif_init registers stay loaded for the program's life.
    found.heif_init(nullptr);
    return found;
}

// libheif, loaded by the first of the jobs' threads that opens a HEIF or AVIF photo.
const Heif& libheif() {
    static Heif loaded;
    static std::once_flag once;
    std::call_once(once, [] { loaded = loadHeif("libheif.so.1"); });
    return loaded;
}

struct ContextFree {
    void operator()(heif_context* c) const { libheif().heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { libheif().heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(heif_image* i) const { libheif().heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { libheif().heif_decoding_options_free(o); }
};
using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;
using Image = std::unique_ptr<heif_image, ImageRelease>;

// The file's primary image, or null and why.
struct Primary {
    Context context;
    Handle handle;
    std::string problem;
    heif_error_code code = heif_error_Ok;
};

Primary openPrimary(const std::string& pathUtf8) {
    Primary p;
    const Heif& lib = libheif();
    if (!lib.problem.empty()) {
        p.problem = lib.problem;
        p.code = heif_error_Unsupported_filetype;
        return p;
    }
    p.context.reset(lib.heif_context_alloc());
    if (!p.context) {
        p.problem = "out of memory";
        p.code = heif_error_Memory_allocation_error;
        return p;
    }
    // libheif refuses larger images when it reads the file's boxes, before any pixel is decoded.
    lib.heif_context_set_maximum_image_size_limit(p.context.get(), kMaxSide);
    heif_error error = lib.heif_context_read_from_file(p.context.get(), pathUtf8.c_str(), nullptr);
    heif_image_handle* handle = nullptr;
    if (error.code == heif_error_Ok)
        error = lib.heif_context_get_primary_image_handle(p.context.get(), &handle);
    p.handle.reset(handle);
    if (error.code != heif_error_Ok || !handle) {
        p.problem = error.message && *error.message ? error.message : "unreadable HEIF file";
        p.code = error.code == heif_error_Ok ? heif_error_Invalid_input : error.code;
        p.handle.reset();
    }
    return p;
}

DecodedImage failure(Status status, std::string reason) {
    DecodedImage d;
    d.status = status;
    d.reason = std::move(reason);
    return d;
}

DecodedImage tooLarge(int width, int height) {
    return failure(Status::OutOfMemory, "picture too large: " + std::to_string(width) + " x " +
                                            std::to_string(height) + " pixels (at most " +
                                            std::to_string(kMaxPixels / 1'000'000) + " megapixels)");
}

// The bytes of the first metadata block of the type (and, when given, content type); empty when the
// image has none or it is larger than a photo's.
QByteArray metadataBlock(const heif_image_handle* handle, const char* type, const char* contentType,
                         std::string& problem) {
    const Heif& lib = libheif();
    const int count = lib.heif_image_handle_get_number_of_metadata_blocks(handle, type);
    if (count <= 0) return {};
    std::vector<heif_item_id> ids(static_cast<std::size_t>(count));
    lib.heif_image_handle_get_list_of_metadata_block_IDs(handle, type, ids.data(), count);
    for (heif_item_id id : ids) {
        if (contentType) {
            const char* content = lib.heif_image_handle_get_metadata_content_type(handle, id);
            if (!content || std::strcmp(content, contentType) != 0) continue;
        }
        const std::size_t size = lib.heif_image_handle_get_metadata_size(handle, id);
        if (size == 0) continue;
        if (size > kMaxMetadataBlockBytes) {
            problem = std::string("its ") + type + " block of " + std::to_string(size >> 20) +
                      " MB is larger than a photo's and was not read";
            return {};
        }
        QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
        const heif_error error = lib.heif_image_handle_get_metadata(handle, id, bytes.data());
        if (error.code != heif_error_Ok) {
            problem =
                std::string("its ") + type + " block cannot be read: " + (error.message ? error.message : "");
            return {};
        }
        return bytes;
    }
    return {};
}

bool isTiffHeader(const char* p) {
    return std::memcmp(p, "II*\0", 4) == 0 || std::memcmp(p, "MM\0*", 4) == 0;
}

// An Exif item begins with the 32-bit offset of the TIFF header from the end of the offset, which is
// 6 when "Exif\0\0" comes first, as in a JPEG, and 0 otherwise.
QByteArray tiffOfExifItem(const QByteArray& item) {
    if (item.size() < 12) return {};
    const auto* p = reinterpret_cast<const std::uint8_t*>(item.constData());
    const std::uint64_t offset = (std::uint64_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
    const auto size = static_cast<std::uint64_t>(item.size());
    if (offset + 4 + 8 <= size && isTiffHeader(item.constData() + 4 + offset))
        return item.mid(static_cast<qsizetype>(4 + offset));
    // Some writers leave the offset at 0 before "Exif\0\0".
    if (std::memcmp(item.constData() + 4, "Exif\0\0", 6) == 0 && item.size() >= 18 &&
        isTiffHeader(item.constData() + 10))
        return item.mid(10);
    return {};
}

} // namespace

DecodedImage decodeHeifFile(const std::string& pathUtf8) {
    Primary p = openPrimary(pathUtf8);
    if (!p.handle) {
        if (p.code == heif_error_Memory_allocation_error)
            return failure(Status::OutOfMemory, "out of memory");
        return failure(Status::UnknownImageFormat, "cannot decode the picture (" + p.problem + ")");
    }
    const Heif& lib = libheif();
    heif_image_handle* handle = p.handle.get();
    // The stored size and the shown one (turned by a quarter, they swap): both within the limits.
    const int width = lib.heif_image_handle_get_width(handle);
    const int height = lib.heif_image_handle_get_height(handle);
    const int storedWidth = lib.heif_image_handle_get_ispe_width(handle);
    const int storedHeight = lib.heif_image_handle_get_ispe_height(handle);
    if (!sizeAllowed(width, height)) return tooLarge(width, height);
    if ((storedWidth != 0 || storedHeight != 0) && !sizeAllowed(storedWidth, storedHeight))
        return tooLarge(storedWidth, storedHeight);

    const bool alpha = lib.heif_image_handle_has_alpha_channel(handle) != 0;
    std::unique_ptr<heif_decoding_options, OptionsFree> options(lib.heif_decoding_options_alloc());
    if (!options) return failure(Status::OutOfMemory, "out of memory");
    options->ignore_transformations = 0; // rotation, mirror and crop are applied
    options->convert_hdr_to_8bit = 1;
    heif_image* decodedImage = nullptr;
    const heif_error error = lib.heif_decode_image(
        handle, &decodedImage, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    const Image decoded(decodedImage);
    if (error.code == heif_error_Memory_allocation_error)
        return failure(Status::OutOfMemory, "out of memory");
    if (error.code != heif_error_Ok || !decoded)
        return failure(Status::UnknownImageFormat, std::string("cannot decode the picture (") +
                                                       (error.message ? error.message : "") + ")");

    const int w = lib.heif_image_get_width(decoded.get(), heif_channel_interleaved);
    const int h = lib.heif_image_get_height(decoded.get(), heif_channel_interleaved);
    int stride = 0;
    const std::uint8_t* pixels =
        lib.heif_image_get_plane_readonly(decoded.get(), heif_channel_interleaved, &stride);
    if (!pixels || !sizeAllowed(w, h) || stride < w * (alpha ? 4 : 3) ||
        lib.heif_image_get_bits_per_pixel_range(decoded.get(), heif_channel_interleaved) != 8)
        return failure(Status::UnknownImageFormat, "cannot decode the picture (unexpected pixel layout)");

    // The decoded pixels as they lie, copied once into the format of every other decoded picture.
    const QImage view(pixels, w, h, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    QImage image = view.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull()) return failure(Status::OutOfMemory, "out of memory");
    DecodedImage d;
    d.image = std::move(image);
    d.status = Status::Ok;
    return d;
}

HeifMetadata readHeifMetadata(const std::string& pathUtf8) {
    HeifMetadata m;
    Primary p = openPrimary(pathUtf8);
    if (!p.handle) {
        m.problem = p.problem;
        return m;
    }
    const Heif& lib = libheif();
    const heif_image_handle* handle = p.handle.get();
    const QByteArray exifItem = metadataBlock(handle, "Exif", nullptr, m.problem);
    m.exif = tiffOfExifItem(exifItem);
    if (!exifItem.isEmpty() && m.exif.isEmpty() && m.problem.empty()) m.problem = "its Exif block is damaged";
    m.xmp = metadataBlock(handle, "mime", "application/rdf+xml", m.problem);
    const heif_color_profile_type profile = lib.heif_image_handle_get_color_profile_type(handle);
    if (profile == heif_color_profile_type_prof || profile == heif_color_profile_type_rICC) {
        const std::size_t size = lib.heif_image_handle_get_raw_color_profile_size(handle);
        if (size > 0 && size <= kMaxMetadataBlockBytes) {
            m.icc.resize(static_cast<qsizetype>(size));
            if (lib.heif_image_handle_get_raw_color_profile(handle, m.icc.data()).code != heif_error_Ok)
                m.icc.clear();
        }
    }
    return m;
}

} // namespace imaging
