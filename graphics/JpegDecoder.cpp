#include "graphics/ImageDecoders.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// Enough for the largest accepted image with three full-resolution components and its coefficients.
constexpr long kMaxJpegMemory = 512L * 1024 * 1024;
// Below the largest, the memory for a multi-scan file's coefficients is bounded by what the file can
// hold: every 8 x 8 block of every component takes at least one bit of Huffman code, so each byte of
// the file stands for at most 8 blocks of 128 bytes of coefficients (with room for three components).
// A file of a few hundred bytes claiming thousands of pixels square gets the small floor, not gigabytes.
constexpr long kJpegMemoryPerFileByte = 8L * 128 * 4;
constexpr long kMinJpegMemory = 32L * 1024 * 1024;

struct JpegErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void LeaveOnError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->escape, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Real progressive files have about ten scans. Each scan costs time in proportion to the image, so a
// small file of thousands of empty scans would take minutes: it is refused instead.
constexpr int kMaxJpegScans = 256;

void LimitScans(j_common_ptr info)
{
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (info->is_decompressor && decompress->input_scan_number > kMaxJpegScans) {
        auto* errors = reinterpret_cast<JpegErrorManager*>(info->err);
        std::snprintf(errors->message, sizeof errors->message, "more than %d scans", kMaxJpegScans);
        std::longjmp(errors->escape, 1);
    }
}

// The whole file is in memory: the source hands it over at once and
// treats running out as an error rather than padding the image.
struct MemorySource
{
    jpeg_source_mgr base;
    const JOCTET* data;
    std::size_t size;
};

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info)
{
    ERREXIT(info, JERR_INPUT_EOF);
    return FALSE;
}

void SkipInputData(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr* source = info->src;
    if (static_cast<std::size_t>(count) > source->bytes_in_buffer)
        ERREXIT(info, JERR_INPUT_EOF);
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<std::size_t>(count);
}

void TermSource(j_decompress_ptr) {}

// Plain locals only between setjmp and the library calls.
bool CreateDecompress(jpeg_decompress_struct* info, JpegErrorManager* errors)
{
    if (setjmp(errors->escape))
        return false;
    jpeg_create_decompress(info);
    return true;
}

// The size is checked from the header, before libjpeg allocates anything for the image (a progressive
// file's coefficients would otherwise be allocated for whatever size it claims).
bool StartDecompress(jpeg_decompress_struct* info, JpegErrorManager* errors)
{
    if (setjmp(errors->escape))
        return false;
    jpeg_read_header(info, TRUE);
    if (!IsAcceptableImageSize(info->image_width, info->image_height)) {
        std::snprintf(errors->message, sizeof errors->message, "the image claims %ux%u pixels",
                      static_cast<unsigned>(info->image_width), static_cast<unsigned>(info->image_height));
        return false;
    }
    info->out_color_space = JCS_RGB;
    jpeg_start_decompress(info);
    return info->output_components == 3;
}

bool ReadScanlines(jpeg_decompress_struct* info, JpegErrorManager* errors, unsigned char* rgb)
{
    if (setjmp(errors->escape))
        return false;
    std::size_t stride = static_cast<std::size_t>(info->output_width) * 3;
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = rgb + info->output_scanline * stride;
        if (jpeg_read_scanlines(info, &row, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(info);
    return true;
}

} // namespace

bool DecodeJpeg(const std::string& bytes, ImageData& image, std::string& error)
{
    jpeg_decompress_struct info{};
    JpegErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = LeaveOnError;
    errors.base.output_message = IgnoreMessage;
    if (!CreateDecompress(&info, &errors)) {
        error = errors.message;
        return false;
    }

    MemorySource source{};
    source.base.init_source = InitSource;
    source.base.fill_input_buffer = FillInputBuffer;
    source.base.skip_input_data = SkipInputData;
    source.base.resync_to_restart = jpeg_resync_to_restart;
    source.base.term_source = TermSource;
    source.base.next_input_byte = reinterpret_cast<const JOCTET*>(bytes.data());
    source.base.bytes_in_buffer = bytes.size();
    info.src = &source.base;
    // Whatever else the header claims (components, scans), libjpeg stops at this much and fails.
    const long byFile =
        static_cast<long>(std::min<std::size_t>(bytes.size(), kMaxJpegMemory)) * kJpegMemoryPerFileByte;
    info.mem->max_memory_to_use = std::clamp(byFile, kMinJpegMemory, kMaxJpegMemory);
    jpeg_progress_mgr progress{};
    progress.progress_monitor = LimitScans;
    info.progress = &progress;

    bool ok = StartDecompress(&info, &errors);
    if (ok && !IsAcceptableImageSize(info.output_width, info.output_height))
        ok = false;
    std::vector<unsigned char> rgb;
    if (ok) {
        rgb.resize(static_cast<std::size_t>(info.output_width) * info.output_height * 3);
        ok = ReadScanlines(&info, &errors, rgb.data());
    }
    int width = static_cast<int>(info.output_width);
    int height = static_cast<int>(info.output_height);
    jpeg_destroy_decompress(&info);
    if (!ok) {
        error = errors.message[0] != '\0' ? errors.message : "unsupported JPEG data";
        return false;
    }
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const unsigned char* p = rgb.data() + i * 3;
        image.pixels[i] = 0xFF000000u | (static_cast<std::uint32_t>(p[0]) << 16) |
                          (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
    }
    return true;
}
