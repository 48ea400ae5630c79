#include "app/CommandLine.h"

#include <cerrno>
#include <cstdlib>

namespace {

bool EndsWithScr(const std::string& path)
{
    std::string::size_type slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() < 3)
        return false;
    std::string tail = name.substr(name.size() - 3);
    for (char& c : tail)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    return tail == "scr";
}

bool ParseHandle(const std::string& text, std::uintptr_t& handle)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || text[0] == '-')
        return false;
    handle = static_cast<std::uintptr_t>(value);
    return true;
}

} // namespace

std::string CommandLine::GetErrorText() const
{
    // A parameter of any length is named, but only as much of it as a message box can show.
    constexpr std::size_t kShown = 200;
    if (invalidParameter.size() <= kShown)
        return "Invalid command line parameter: " + invalidParameter;
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(invalidParameter[cut]) & 0xC0) == 0x80)
        --cut;
    return "Invalid command line parameter: " + invalidParameter.substr(0, cut) + "... (" +
           std::to_string(invalidParameter.size()) + " bytes)";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine result;
    if (!args.empty() && EndsWithScr(args[0]))
        result.screensaver = true;

    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-screensaver") {
            result.screensaver = true;
        } else if (arg == "-crash") {
            result.crash = true;
        } else if (arg == "-changedir" && i + 1 < args.size()) {
            result.changeDir = args[++i];
        } else if (result.screensaver && (arg == "/p" || arg == "/P") && i + 1 < args.size() &&
                   ParseHandle(args[i + 1], result.previewWindow)) {
            ++i;
        } else if (result.screensaver && (arg == "/c" || arg == "/C")) {
            result.configure = true;
        } else {
            result.invalidParameter = arg;
            break;
        }
    }
    return result;
}
