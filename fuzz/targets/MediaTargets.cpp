// Entry points for the image decoders, the font descriptor and the sound and music readers.
#include "fuzz/FuzzTargets.h"

#include "audio/MusicDecoder.h"
#include "audio/SoundFiles.h"
#include "graphics/FontDescParser.h"
#include "graphics/ImageDecoders.h"
#include "graphics/ImageLoader.h"

#include <algorithm>
#include <memory>

namespace {

using Decoder = bool (*)(const std::string&, ImageData&, std::string&);

// The input is an image, or an image and its grey alpha companion (of any kind) after the marker.
void DecodeWithCompanion(Decoder decoder, const std::uint8_t* data, std::size_t size)
{
    static const std::string kMarker = "--alpha--";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t split = bytes.find(kMarker);
    ImageData image;
    std::string error;
    if (!decoder(bytes.substr(0, split), image, error))
        return;
    if (split == std::string::npos)
        return;
    const std::string companion = bytes.substr(split + kMarker.size());
    ImageData alpha;
    for (Decoder any : {DecodePng, DecodeJpeg, DecodeGif, DecodeTga}) {
        if (any(companion, alpha, error)) {
            ApplyAlphaImage(alpha, image);
            return;
        }
    }
}

std::vector<uint8_t> AsBytes(const std::uint8_t* data, std::size_t size)
{
    return std::vector<uint8_t>(data, data + size);
}

// Decodes a song to its end, at most a few seconds of it, with one seek and one rewind on the way.
void Play(MusicDecoder* decoder)
{
    if (!decoder)
        return;
    const std::size_t channels = static_cast<std::size_t>(std::clamp(decoder->Channels(), 1, 8));
    std::vector<int16_t> frames(1024 * channels);
    std::size_t total = 0;
    for (int pass = 0; pass < 2; ++pass) {
        while (total < 200000) {
            const std::size_t read = decoder->Read(frames.data(), 1024);
            if (read == 0)
                break;
            total += read;
        }
        decoder->SeekFrame(total / 3);
        decoder->Rewind();
    }
}

} // namespace

void FuzzPng(const std::uint8_t* data, std::size_t size)
{
    DecodeWithCompanion(DecodePng, data, size);
}

void FuzzJpeg(const std::uint8_t* data, std::size_t size)
{
    DecodeWithCompanion(DecodeJpeg, data, size);
}

void FuzzGif(const std::uint8_t* data, std::size_t size)
{
    DecodeWithCompanion(DecodeGif, data, size);
}

void FuzzTga(const std::uint8_t* data, std::size_t size)
{
    DecodeWithCompanion(DecodeTga, data, size);
}

void FuzzFontDescriptor(const std::uint8_t* data, std::size_t size)
{
    FontDescParser parser;
    FontDescriptor descriptor;
    parser.Parse(std::string(reinterpret_cast<const char*>(data), size), descriptor);
}

void FuzzWav(const std::uint8_t* data, std::size_t size)
{
    PcmSound sound;
    ParseWav(AsBytes(data, size), sound);
}

void FuzzAu(const std::uint8_t* data, std::size_t size)
{
    PcmSound sound;
    ParseAu(AsBytes(data, size), sound);
}

void FuzzOgg(const std::uint8_t* data, std::size_t size)
{
    PcmSound sound;
    DecodeOgg(AsBytes(data, size), sound);
}

void FuzzWavCache(const std::uint8_t* data, std::size_t size)
{
    PcmSound sound;
    ParseCacheWav(AsBytes(data, size), sound);
}

void FuzzMusicStream(const std::uint8_t* data, std::size_t size)
{
    auto bytes = std::make_shared<const std::vector<uint8_t>>(AsBytes(data, size));
    Play(MusicDecoder::CreateStream(bytes).get());
}

void FuzzModule(const std::uint8_t* data, std::size_t size)
{
    auto bytes = std::make_shared<const std::vector<uint8_t>>(AsBytes(data, size));
    std::unique_ptr<MusicDecoder> decoder = MusicDecoder::CreateModule(bytes);
    if (decoder)
        decoder->SetOrder(1);
    Play(decoder.get());
}
