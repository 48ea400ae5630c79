#include "app/SdlPlatform.h"

#include "app/VelkAppBase.h"
#include "graphics/D3DInterface.h"
#include "platform/sdl/SdlClipboard.h"
#include "platform/sdl/SdlCursor.h"
#include "platform/sdl/SdlRenderDevice.h"
#include "platform/sdl/SdlTextCaret.h"
#include "platform/sdl/SdlWindow.h"

#include <cstdio>
#include <string>

AppPlatform MakeSdlPlatform(const VelkAppBase& app)
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
