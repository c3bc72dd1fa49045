// HEIF and AVIF photos, written through libheif's encoders (x265 and aom in Debian's libheif).

#include "photofactory/PhotoFactory.h"

#include <libheif/heif.h>

#include <cstring>
#include <memory>

namespace photofactory {

std::string writeHeif(const std::string& path, const QImage& picture, bool av1, const Photo& photo) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB888);
    const auto fail = [](const heif_error& e) {
        return std::string(e.message ? e.message : "libheif failed");
    };
    std::unique_ptr<heif_context, void (*)(heif_context*)> context(heif_context_alloc(), heif_context_free);
    heif_encoder* rawEncoder = nullptr;
    heif_error error = heif_context_get_encoder_for_format(
        context.get(), av1 ? heif_compression_AV1 : heif_compression_HEVC, &rawEncoder);
    if (error.code != heif_error_Ok) return fail(error);
    std::unique_ptr<heif_encoder, void (*)(heif_encoder*)> encoder(rawEncoder, heif_encoder_release);
    heif_encoder_set_lossy_quality(encoder.get(), photo.quality);
    if (av1) heif_encoder_set_parameter_integer(encoder.get(), "speed", 8); // seconds, not minutes

    heif_image* rawImage = nullptr;
    error = heif_image_create(image.width(), image.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                              &rawImage);
    if (error.code != heif_error_Ok) return fail(error);
    std::unique_ptr<heif_image, void (*)(const heif_image*)> heifImage(rawImage, heif_image_release);
    error = heif_image_add_plane(rawImage, heif_channel_interleaved, image.width(), image.height(), 8);
    if (error.code != heif_error_Ok) return fail(error);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(rawImage, heif_channel_interleaved, &stride);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(plane + static_cast<std::ptrdiff_t>(y) * stride, image.constScanLine(y),
                    static_cast<std::size_t>(image.width()) * 3);

    std::unique_ptr<heif_encoding_options, void (*)(heif_encoding_options*)> options(
        heif_encoding_options_alloc(), heif_encoding_options_free);
    options->image_orientation = static_cast<heif_orientation>(photo.heifOrientation);
    heif_image_handle* rawHandle = nullptr;
    error = heif_context_encode_image(context.get(), rawImage, encoder.get(), options.get(), &rawHandle);
    if (error.code != heif_error_Ok) return fail(error);
    std::unique_ptr<heif_image_handle, void (*)(const heif_image_handle*)> handle(rawHandle,
                                                                                  heif_image_handle_release);
    if (!photo.tags.empty()) {
        const std::vector<std::uint8_t> tiff = encodeExif(photo.tags, photo.bigEndian);
        if (tiff.empty()) return "cannot encode the Exif";
        error = heif_context_add_exif_metadata(context.get(), rawHandle, tiff.data(),
                                               static_cast<int>(tiff.size()));
        if (error.code != heif_error_Ok) return fail(error);
    }
    error = heif_context_write_to_file(context.get(), path.c_str());
    return error.code == heif_error_Ok ? std::string() : fail(error);
}

} // namespace photofactory
