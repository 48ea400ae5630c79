// Writes the game's music into <data folder>/music/ as ProTracker modules.

#include "MusicComposer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: musicgen <data folder>\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "music";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const MusicComposer::Piece& piece : {MusicComposer::MenuMusic(), MusicComposer::PlayMusic()}) {
        const std::filesystem::path path = folder / (piece.name + ".mod");
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(piece.file.data()),
                  static_cast<std::streamsize>(piece.file.size()));
        if (!out) {
            std::fprintf(stderr, "musicgen: cannot write %s\n", path.string().c_str());
            return 1;
        }
    }
    return 0;
}
