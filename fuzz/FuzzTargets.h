#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Every reader of outside bytes, each behind one entry point that takes a whole input. The libFuzzer
// programs (built by ./fuzz with clang) and the regression replay test (a plain test in every build)
// call the same entry points, so an input found by one is replayed exactly by the other.
//
// An entry point returns normally for every input, good or bad; a fault shows as a sanitizer report, an
// abort, or an oracle's trap where a reader breaks a promise (a save that reads back as something else).

using FuzzEntry = void (*)(const std::uint8_t* data, std::size_t size);

struct FuzzTarget
{
    // The folder name under fuzz/regressions/ and the program name fuzz_<name>.
    const char* name;
    FuzzEntry entry;
};

const std::vector<FuzzTarget>& AllFuzzTargets();
// Null when no target has that name.
FuzzEntry FindFuzzEntry(const std::string& name);
// Once per process before any entry point: silences fatal messages (a bad data file may end the game;
// under the fuzzer it must not end the run) and makes a scratch folder for readers that take paths.
void PrepareFuzzing();

// The entry points, by the layer of their reader.
void FuzzXml(const std::uint8_t* data, std::size_t size);
void FuzzExpression(const std::uint8_t* data, std::size_t size);
void FuzzAssets(const std::uint8_t* data, std::size_t size);
void FuzzAnimations(const std::uint8_t* data, std::size_t size);
void FuzzSettings(const std::uint8_t* data, std::size_t size);
void FuzzProfiles(const std::uint8_t* data, std::size_t size);
void FuzzPuzzleTable(const std::uint8_t* data, std::size_t size);
void FuzzSetTable(const std::uint8_t* data, std::size_t size);
void FuzzGameTable(const std::uint8_t* data, std::size_t size);
void FuzzLocalizationTable(const std::uint8_t* data, std::size_t size);
void FuzzPng(const std::uint8_t* data, std::size_t size);
void FuzzJpeg(const std::uint8_t* data, std::size_t size);
void FuzzGif(const std::uint8_t* data, std::size_t size);
void FuzzTga(const std::uint8_t* data, std::size_t size);
void FuzzFontDescriptor(const std::uint8_t* data, std::size_t size);
void FuzzWav(const std::uint8_t* data, std::size_t size);
void FuzzAu(const std::uint8_t* data, std::size_t size);
void FuzzOgg(const std::uint8_t* data, std::size_t size);
void FuzzWavCache(const std::uint8_t* data, std::size_t size);
void FuzzMusicStream(const std::uint8_t* data, std::size_t size);
void FuzzModule(const std::uint8_t* data, std::size_t size);

// The scratch folder of PrepareFuzzing, ending in '/'.
const std::string& FuzzScratchFolder();
// Writes the bytes to a file in the scratch folder; its path.
std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);
