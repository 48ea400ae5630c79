#pragma once

#include <functional>
#include <string>

class Image;

// What the registry knows of an image entry when it asks for its pixels.
struct ImageSource
{
    std::wstring m_name;
    // The file without extension (the loader tries its image kinds), '/' separated. For an atlas piece,
    // the atlas's file.
    std::string m_file;
    int m_cols = 1;
    int m_rows = 1;
    // For an atlas piece: the loaded atlas image and the piece's rectangle in it; null otherwise.
    Image* m_atlas = nullptr;
    int m_x = 0;
    int m_y = 0;
    int m_width = 0;
    int m_height = 0;
    // When above 0, the largest cell side the image may have: a file whose header claims more is refused
    // before its pixels are decoded.
    int m_maxCellSide = 0;
};

// The loaders the asset registry calls. Each may be left empty: its assets then stay "not loaded".
struct AssetLoaders
{
    // Loads the pixels. With existing null, returns a new image that the registry keeps until
    // destroyImage; with existing given, loads into that same object and returns it. Null on failure.
    std::function<Image*(const ImageSource& source, Image* existing)> loadImage;
    // Frees the pixels; the object stays valid (pointers to it are kept by widgets).
    std::function<void(Image* image)> unloadImage;
    // Deletes an image object the registry owns (when the registry is emptied).
    std::function<void(Image* image)> destroyImage;

    // Sounds: the file without extension (the sound loader tries its kinds). True when loaded.
    std::function<bool(int id, const std::string& file)> loadSound;
    std::function<void(int id)> releaseSound;

    // Songs: the file with its extension (".ogg" is tried, then ".mp3", then ".mod"). True when loaded.
    std::function<bool(int id, const std::string& file)> loadMusic;
    std::function<void(int id)> unloadMusic;
    std::function<bool(int id, const std::string& file)> loadVoice;
    std::function<void(int id)> unloadVoice;
    std::function<bool(int id, const std::string& file)> loadAmbience;
    std::function<void(int id)> unloadAmbience;
};
