#include "fuzz/FuzzTargets.h"

#include "platform/FatalError.h"
#include "resources/PakInterface.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::string gScratchFolder;

void RemoveScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(gScratchFolder, ignored);
}

} // namespace

const std::vector<FuzzTarget>& AllFuzzTargets()
{
    static const std::vector<FuzzTarget> targets = {
        {"xml", FuzzXml},
        {"expression", FuzzExpression},
        {"assets", FuzzAssets},
        {"animations", FuzzAnimations},
        {"settings", FuzzSettings},
        {"profiles", FuzzProfiles},
        {"puzzles", FuzzPuzzleTable},
        {"sets", FuzzSetTable},
        {"game", FuzzGameTable},
        {"localization", FuzzLocalizationTable},
        {"png", FuzzPng},
        {"jpeg", FuzzJpeg},
        {"gif", FuzzGif},
        {"tga", FuzzTga},
        {"font", FuzzFontDescriptor},
        {"wav", FuzzWav},
        {"au", FuzzAu},
        {"ogg", FuzzOgg},
        {"wavcache", FuzzWavCache},
        {"music", FuzzMusicStream},
        {"module", FuzzModule},
    };
    return targets;
}

FuzzEntry FindFuzzEntry(const std::string& name)
{
    for (const FuzzTarget& target : AllFuzzTargets()) {
        if (name == target.name)
            return target.entry;
    }
    return nullptr;
}

void PrepareFuzzing()
{
    if (!gScratchFolder.empty())
        return;
    SetFatalErrorHandler([](const std::string&) {});
    char pattern[] = "/tmp/tarnvale-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    gScratchFolder = std::string(pattern) + "/";
    std::atexit(RemoveScratchFolder);
    // Readers that look files up by data path ("properties/...") find them in the scratch folder.
    std::filesystem::create_directories(gScratchFolder + "properties");
    static PakInterface pak;
    pak.AddSearchRoot(gScratchFolder);
    SetPakInterface(&pak);
}

const std::string& FuzzScratchFolder()
{
    return gScratchFolder;
}

std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    std::string path = gScratchFolder + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}
