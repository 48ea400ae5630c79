#include "graphics/ImageLoader.h"

#include "base/Common.h"
#include "base/LogWriter.h"
#include "graphics/Image.h"
#include "graphics/ImageAtlasPiece.h"
#include "graphics/ImageDecoders.h"
#include "resources/Assets.h"
#include "resources/PakFile.h"

#include <algorithm>
#include <cctype>

namespace {

const char* const kExtensions[] = {".png", ".jpg", ".jpeg", ".gif", ".tga"};
// Far more frames than any animation has.
constexpr long long kMaxAtlasPieceCells = 65536;

std::string ExtensionOf(const std::string& path)
{
    std::size_t slash = path.find_last_of("/\\");
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool DecodeByExtension(const std::string& extension, const std::string& bytes, ImageData& image,
                       std::string& error)
{
    if (extension == ".png")
        return DecodePng(bytes, image, error);
    if (extension == ".jpg" || extension == ".jpeg")
        return DecodeJpeg(bytes, image, error);
    if (extension == ".gif")
        return DecodeGif(bytes, image, error);
    if (extension == ".tga")
        return DecodeTga(bytes, image, error);
    error = "unknown image kind";
    return false;
}

// The largest cell an image may have, as cells of a grid of rows x columns; side 0 sets no limit.
struct CellLimit
{
    int side = 0;
    int rows = 1;
    int columns = 1;

    bool Allows(long long width, long long height) const
    {
        return width <= static_cast<long long>(side) * std::max(columns, 1) &&
               height <= static_cast<long long>(side) * std::max(rows, 1);
    }
};

enum class Outcome
{
    Missing,
    Failed,
    Decoded
};

// The size a PNG file's header claims, or false when the bytes are no PNG header.
bool PngHeaderSize(const std::string& bytes, long long& width, long long& height)
{
    static const char kSignature[] = "\x89PNG\r\n\x1a\n";
    if (bytes.size() < 24 || bytes.compare(0, 8, kSignature, 8) != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return false;
    auto read32 = [&bytes](std::size_t at) {
        long long value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    width = read32(16);
    height = read32(20);
    return true;
}

// Finds the file (trying every kind when the path has no extension) and decodes it. With a cell limit,
// a file that is larger is refused, from its header where the kind allows it (PNG), before decoding.
Outcome FindAndDecode(const std::string& path, ImageData& image, std::string& found,
                      const CellLimit& limit = {})
{
    std::string extension = ExtensionOf(path);
    std::string bytes;
    std::string error;
    if (!extension.empty()) {
        if (!PakReadWholeFile(path, bytes))
            return Outcome::Missing;
        found = path;
    } else {
        for (const char* candidate : kExtensions) {
            if (PakReadWholeFile(path + candidate, bytes)) {
                extension = candidate;
                found = path + candidate;
                break;
            }
        }
        if (found.empty())
            return Outcome::Missing;
    }
    long long width = 0;
    long long height = 0;
    if (limit.side > 0 && PngHeaderSize(bytes, width, height) && !limit.Allows(width, height)) {
        LogWriter::WriteLine(
            StrFormat("The image '%s' claims %lld x %lld pixels, more than %d x %d per cell; "
                      "it is not read",
                      found, width, height, limit.side, limit.side));
        return Outcome::Failed;
    }
    if (!DecodeByExtension(extension, bytes, image, error)) {
        LogWriter::WriteLine("Cannot read the image '" + found + "': " + error);
        return Outcome::Failed;
    }
    if (limit.side > 0 && !limit.Allows(image.width, image.height)) {
        LogWriter::WriteLine(StrFormat("The image '%s' of %d x %d pixels has cells larger than %d x %d",
                                       found, image.width, image.height, limit.side, limit.side));
        image = {};
        return Outcome::Failed;
    }
    return Outcome::Decoded;
}

void ApplyAlphaCompanion(const std::string& path, ImageData& image)
{
    std::string extension = ExtensionOf(path);
    std::string base = extension.empty() ? path : path.substr(0, path.size() - extension.size());
    ImageData alpha;
    std::string found;
    if (FindAndDecode(base + "_", alpha, found) != Outcome::Decoded)
        return;
    if (alpha.width != image.width || alpha.height != image.height)
        LogWriter::WriteLine("The alpha image '" + found +
                             "' differs in size from its image; only the overlap applies");
    ApplyAlphaImage(alpha, image);
}

} // namespace

void ApplyAlphaImage(const ImageData& alpha, ImageData& image)
{
    int width = std::min(alpha.width, image.width);
    int height = std::min(alpha.height, image.height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t grey = alpha.At(x, y);
            std::uint32_t level = (((grey >> 16) & 0xFF) + ((grey >> 8) & 0xFF) + (grey & 0xFF) + 1) / 3;
            std::uint32_t& pixel = image.pixels[static_cast<std::size_t>(y) * image.width + x];
            pixel = (pixel & 0x00FFFFFFu) | (level << 24);
        }
    }
}

namespace {

// An atlas piece lies within the largest image there can be, and is cut into a sane number of cells, so
// its cell rectangles neither overflow nor fill memory.
bool IsSaneAtlasPiece(const ImageSource& source)
{
    auto within = [](int value) { return value >= 0 && value <= kMaxImageSide; };
    const long long cells = static_cast<long long>(std::max(source.m_cols, 1)) * std::max(source.m_rows, 1);
    return within(source.m_x) && within(source.m_y) && within(source.m_width) && within(source.m_height) &&
           cells <= kMaxAtlasPieceCells;
}

std::unique_ptr<ImageData> DecodeWithin(const std::string& path, const CellLimit& limit)
{
    auto image = std::make_unique<ImageData>();
    std::string found;
    if (path.empty() || FindAndDecode(path, *image, found, limit) != Outcome::Decoded)
        return nullptr;
    ApplyAlphaCompanion(found, *image);
    return image;
}

} // namespace

std::unique_ptr<ImageData> DecodeImageFile(const std::string& path)
{
    return DecodeWithin(path, {});
}

Image* LoadImageFile(const std::string& path)
{
    std::unique_ptr<ImageData> data = DecodeImageFile(path);
    return data ? new Image(std::move(*data)) : nullptr;
}

Image* LoadAssetImage(const ImageSource& source, Image* existing)
{
    if (source.m_atlas != nullptr) {
        if (existing != nullptr)
            return existing;
        if (!IsSaneAtlasPiece(source)) {
            LogWriter::WriteLine(StrFormat("The atlas piece '%s' of '%s' (x=%d y=%d w=%d h=%d, %d x %d cells) lies "
                                           "outside any image or has too many cells",
                                           WStringToString(source.m_name), source.m_file, source.m_x, source.m_y,
                                           source.m_width, source.m_height, source.m_cols, source.m_rows));
            return nullptr;
        }
        int columns = std::max(source.m_cols, 1);
        int rows = std::max(source.m_rows, 1);
        int cellWidth = source.m_width / columns;
        int cellHeight = source.m_height / rows;
        std::vector<Rect> frames;
        frames.reserve(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column)
                frames.push_back(Rect{source.m_x + column * cellWidth, source.m_y + row * cellHeight,
                                      cellWidth, cellHeight});
        }
        return new ImageAtlasPiece(source.m_atlas, std::move(frames));
    }
    std::unique_ptr<ImageData> data =
        DecodeWithin(source.m_file, CellLimit{source.m_maxCellSide, source.m_rows, source.m_cols});
    if (!data)
        return nullptr;
    Image* image = existing != nullptr ? existing : new Image();
    image->SetData(std::move(*data));
    image->SetGrid(source.m_rows, source.m_cols);
    // The file can give the pixels again: they need not stay beside the texture.
    image->SetReloader([file = source.m_file](ImageData& pixels) {
        std::unique_ptr<ImageData> again = DecodeImageFile(file);
        if (!again)
            return false;
        pixels = std::move(*again);
        return true;
    });
    return image;
}

void UnloadAssetImage(Image* image)
{
    if (image != nullptr && dynamic_cast<ImageChild*>(image) == nullptr)
        image->Unload();
}

void DestroyAssetImage(Image* image)
{
    delete image;
}

void InstallImageLoaders(Assets& assets)
{
    assets.SetImageLoaders(LoadAssetImage, UnloadAssetImage, DestroyAssetImage);
}
