// Entry point of the game: makes the application object on the SDL platform,
// initialises it, runs it until its main loop ends, then deletes it.
#include "app/SdlPlatform.h"
#include "game/MyGameApp.h"
#include "platform/FatalError.h"
#include "platform/FileSizeSignal.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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
