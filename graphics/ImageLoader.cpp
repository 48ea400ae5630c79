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

enum class Outcome
{
    Missing,
    Failed,
    Decoded
};

// Finds the file (trying every kind when the path has no extension) and decodes it.
Outcome FindAndDecode(const std::string& path, ImageData& image, std::string& found)
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
    if (!DecodeByExtension(extension, bytes, image, error)) {
        LogWriter::WriteLine("Cannot read the image '" + found + "': " + error);
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

} // namespace

std::unique_ptr<ImageData> DecodeImageFile(const std::string& path)
{
    auto image = std::make_unique<ImageData>();
    std::string found;
    if (path.empty() || FindAndDecode(path, *image, found) != Outcome::Decoded)
        return nullptr;
    ApplyAlphaCompanion(found, *image);
    return image;
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
    std::unique_ptr<ImageData> data = DecodeImageFile(source.m_file);
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
