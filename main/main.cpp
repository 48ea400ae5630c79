// Entry point of the game: makes the application object on the SDL platform,
// initialises it, runs it until its main loop ends, then deletes it.
#include "game/MyGameApp.h"
#include "graphics/D3DInterface.h"
#include "platform/FatalError.h"
#include "platform/FileSizeSignal.h"
#include "platform/Window.h"
#include "platform/sdl/SdlClipboard.h"
#include "platform/sdl/SdlCursor.h"
#include "platform/sdl/SdlRenderDevice.h"
#include "platform/sdl/SdlTextCaret.h"
#include "platform/sdl/SdlWindow.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

AppPlatform MakeSdlPlatform(const GameApp& app)
{
    AppPlatform platform;
    platform.window = std::make_unique<SdlWindow>();
    platform.cursor = std::make_unique<SdlCursor>();
    platform.clipboard = std::make_unique<SdlClipboard>();
    platform.textCaret = std::make_unique<SdlTextCaret>();
    platform.createRenderer = [&app](Window& window) -> std::unique_ptr<D3DInterface> {
        std::string error;
        auto device = SdlRenderDevice::Create(static_cast<SdlWindow&>(window).GetSdlWindow(),
                                              app.GetSettings().m_waitForVsync, &error);
        if (!device) {
            std::fprintf(stderr, "No renderer: %s\n", error.c_str());
            return nullptr;
        }
        return std::make_unique<D3DInterface>(std::move(device), app.GetWidth(), app.GetHeight());
    };
    return platform;
}

} // namespace

int main(int argc, char** argv)
{
    // Before anything writes a file: a save past the file-size limit fails, it does not end the game.
    IgnoreFileSizeSignal();
    std::vector<std::string> args(argv, argv + argc);
    auto app = std::make_unique<MyGameApp>();
    app->SetPlatform(MakeSdlPlatform(*app));
    if (!app->Init(args))
        return app->GetExitCode();
    if (!app->HasGameData()) {
        std::error_code ignored;
        FatalError("The game's data was not found: there is no properties/assets.xml in " +
                   std::filesystem::current_path(ignored).string() +
                   ". Start the game from its own folder, or give that folder with -changedir.");
    }
    app->Start();
    int exitCode = app->GetExitCode();
    app.reset();
    return exitCode;
}
