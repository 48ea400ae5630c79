#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the program was asked to do by its command line.
struct CommandLine
{
    bool screensaver{false};
    // Non-zero when running as a screensaver preview inside that window.
    std::uintptr_t previewWindow{0};
    bool configure{false};
    std::string changeDir;
    bool crash{false};
    // Set when a parameter was not understood: the program reports it and ends.
    std::string invalidParameter;

    bool IsValid() const { return invalidParameter.empty(); }
    // "Invalid command line parameter: " and the parameter.
    std::string GetErrorText() const;
};

// args[0] is the program's path: a name ending in "scr" means screensaver
// mode. Parameters: "-screensaver" (then "/p" with the preview window handle,
// "/c" to configure), "-changedir" with a folder, "-crash".
CommandLine ParseCommandLine(const std::vector<std::string>& args);
