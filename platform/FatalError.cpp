#include "platform/FatalError.h"

#include "platform/sdl/SdlMessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

std::mutex g_handlerMutex;
FatalErrorHandler g_handler;

FatalErrorHandler CurrentHandler()
{
    std::lock_guard lock(g_handlerMutex);
    return g_handler;
}

void ShowToUser(const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", kFatalErrorCaption, message.c_str());
    std::fflush(stderr);
    if (HasDisplay()) {
        ShowSdlErrorBox(kFatalErrorCaption, message);
    }
}

} // namespace

void ShowFatalErrorBox(const std::string& message)
{
    if (FatalErrorHandler handler = CurrentHandler()) {
        handler(message);
        return;
    }
    ShowToUser(message);
}

void FatalError(const std::string& message)
{
    if (FatalErrorHandler handler = CurrentHandler()) {
        handler(message);
        return;
    }
    ShowToUser(message);
    // Other threads may still run: leave without running destructors under them.
    std::fflush(nullptr);
    std::_Exit(1);
}

FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler)
{
    std::lock_guard lock(g_handlerMutex);
    FatalErrorHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}
