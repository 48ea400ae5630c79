#include "support/AppHarness.h"

#include "base/Common.h"
#include "graphics/D3DInterface.h"
#include "graphics/ImageSurface.h"
#include "graphics/ImageWriter.h"
#include "platform/Clipboard.h"
#include "platform/FatalError.h"
#include "platform/headless/HeadlessClipboard.h"
#include "platform/headless/HeadlessCursor.h"
#include "platform/headless/HeadlessRenderDevice.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/ManualClock.h"
#include "platform/sdl/SdlRenderDevice.h"
#include "platform/sdl/SdlRenderWindow.h"
#include "resources/Localization.h"
#include "resources/PakInterface.h"
#include "ui/AnimationStats.h"
#include "ui/AnimationWidget.h"
#include "ui/ButtonWidget.h"
#include "ui/WidgetManager.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

constexpr int kTickMs = 10;

std::string MakeTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnvale-app-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return {};
    return pattern;
}

} // namespace

AppHarnessOptions AppHarnessOptions::WithPixels()
{
    AppHarnessOptions options;
    options.readPixels = true;
    return options;
}

AppHarnessOptions AppHarnessOptions::WithGameData()
{
    AppHarnessOptions options;
    options.workingFolder = TARNVALE_GAME_DATA_DIR;
    return options;
}

AppHarness::AppHarness(AppHarnessOptions options)
{
    m_tempFolder = MakeTempFolder();
    if (m_tempFolder.empty()) {
        m_error = "no temporary folder";
        return;
    }
    m_dataFolder = options.dataFolder.empty() ? m_tempFolder + "/save/" : options.dataFolder;
    if (m_dataFolder.back() != '/')
        m_dataFolder += '/';
    std::filesystem::create_directories(m_dataFolder);
    if (const char* previous = std::getenv("TARNVALE_DATA_DIR")) {
        m_hadDataEnv = true;
        m_previousDataEnv = previous;
    }
    setenv("TARNVALE_DATA_DIR", m_dataFolder.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    m_previousFolder = std::filesystem::current_path().string();
    std::string workingFolder = options.workingFolder.empty() ? m_tempFolder : options.workingFolder;
    std::filesystem::current_path(workingFolder);

    SetFatalErrorHandler([this](const std::string& message) { m_fatalMessages.push_back(message); });
    m_clock = std::make_unique<ManualClock>(1000);
    m_scopedClock = std::make_unique<ScopedClock>(*m_clock);

    m_app =
        options.makeApp ? options.makeApp() : std::make_unique<GameApp>(L"Tarnvale 6", L"v1.2", 1024, 768);

    AppPlatform platform;
    auto window = std::make_unique<HeadlessWindow>();
    auto cursor = std::make_unique<HeadlessCursor>();
    m_window = window.get();
    m_cursor = cursor.get();
    platform.window = std::move(window);
    platform.cursor = std::move(cursor);
    platform.clipboard = std::make_unique<HeadlessClipboard>();
    m_readPixels = options.readPixels;
    platform.createRenderer = [this](::Window& appWindow) -> std::unique_ptr<D3DInterface> {
        int width = 0;
        int height = 0;
        appWindow.GetClientSize(width, height);
        if (!m_readPixels)
            return std::make_unique<D3DInterface>(std::make_unique<HeadlessRenderDevice>(width, height),
                                                  width, height);
        m_renderWindow = std::make_unique<SdlRenderWindow>(width, height);
        if (!m_renderWindow->IsValid()) {
            m_error = m_renderWindow->GetError();
            return nullptr;
        }
        return std::make_unique<D3DInterface>(m_renderWindow->TakeDevice(), width, height);
    };
    m_app->SetPlatform(std::move(platform));
    m_app->SetShowIntroScreens(options.introScreens);

    if (options.beforeInit)
        options.beforeInit(m_dataFolder);
    std::vector<std::string> args{"tarnvale6"};
    args.insert(args.end(), options.args.begin(), options.args.end());
    if (!m_app->Init(args)) {
        if (m_error.empty())
            m_error = m_fatalMessages.empty() ? "Init failed" : m_fatalMessages.back();
        return;
    }
    if (options.beginLoop) {
        m_app->BeginMainLoop();
        m_loopBegun = true;
    }
    m_valid = true;
}

AppHarness::~AppHarness()
{
    if (m_app && m_loopBegun && !m_closed)
        Close();
    m_app.reset();
    m_renderWindow.reset();
    m_scopedClock.reset();
    SetFatalErrorHandler({});
    if (!m_previousFolder.empty())
        std::filesystem::current_path(m_previousFolder);
    if (m_hadDataEnv)
        setenv("TARNVALE_DATA_DIR", m_previousDataEnv.c_str(), 1);
    else
        unsetenv("TARNVALE_DATA_DIR");
    if (!m_tempFolder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_tempFolder, ignored);
    }
}

WidgetManager& AppHarness::Manager() const
{
    return *m_app->GetWidgetManager();
}

void AppHarness::RunTicks(int ticks)
{
    for (int i = 0; i < ticks && !m_app->IsLoopDone(); ++i) {
        m_clock->Advance(kTickMs);
        m_app->RunLoopPass();
    }
}

void AppHarness::RunPass()
{
    m_app->RunLoopPass();
}

AnimationWidget* AppHarness::PlayScript(const std::wstring& name, int x, int y, bool removeWhenFinished)
{
    auto* widget = new AnimationWidget(name, x, y, removeWhenFinished);
    Manager().AddWidget(widget);
    return widget;
}

bool AppHarness::LoadScripts(const std::string& animations)
{
    const std::filesystem::path root = std::filesystem::path(m_tempFolder) / "scripts";
    std::filesystem::create_directories(root / "properties");
    {
        std::ofstream out(root / "properties" / "test_animations.xml");
        out << "<animations>" << animations << "</animations>";
        if (!out)
            return false;
    }
    PakInterface* pak = GetPakInterface();
    if (pak == nullptr)
        return false;
    const std::vector<std::string> roots = pak->GetSearchRoots();
    if (std::find(roots.begin(), roots.end(), root.string()) == roots.end())
        pak->AddSearchRoot(root.string());
    AnimationStats loading(false, {}, "test_animations.xml");
    return true;
}

bool AppHarness::RunUntilLoaded(int maxSeconds)
{
    // The loading thread runs in real time: passes go on (each a tick) until
    // it is done, however many that takes.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(maxSeconds);
    while (m_app->GetLoadingProgress() < 1.0 || m_app->IsLoadingThreadRunning()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        RunTicks(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    RunTicks(1);
    return true;
}

bool AppHarness::RunUntil(const std::function<bool()>& condition, int maxSeconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(maxSeconds);
    while (!condition()) {
        if (m_app->IsLoopDone() || std::chrono::steady_clock::now() > deadline)
            return condition();
        RunTicks(1);
        // Leaves the processor to the threads the condition may wait for.
        std::this_thread::yield();
    }
    return true;
}

void AppHarness::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_app->Shutdown();
    m_app->EndMainLoop();
}

void AppHarness::Inject(const InputEvent& event)
{
    m_window->Inject(event);
}

void AppHarness::Send(InputEvent event)
{
    m_window->Inject(event);
    m_app->ProcessInput();
}

void AppHarness::MouseMove(int x, int y)
{
    Send({.type = InputEventType::MouseMove, .x = x, .y = y});
}

void AppHarness::MouseDown(int x, int y, int clicks)
{
    Send({.type = InputEventType::MouseDown, .x = x, .y = y, .clicks = clicks});
}

void AppHarness::MouseUp(int x, int y, int clicks)
{
    Send({.type = InputEventType::MouseUp, .x = x, .y = y, .clicks = clicks});
}

void AppHarness::Click(int x, int y)
{
    MouseMove(x, y);
    MouseDown(x, y, 1);
    MouseUp(x, y, 1);
}

void AppHarness::ClickCentre(Widget* widget)
{
    const Vector4 origin = widget->GetScreenOrigin();
    const int x = static_cast<int>(origin.x) + widget->GetWidth() / 2;
    const int y = static_cast<int>(origin.y) + widget->GetHeight() / 2;
    Click(x, y);
}

bool AppHarness::ClickWhenReachable(Widget* widget)
{
    if (widget == nullptr) {
        ADD_FAILURE() << "no widget to click";
        return false;
    }
    auto reachable = [&] {
        const Vector4 origin = widget->GetScreenOrigin();
        const auto x = static_cast<float>(static_cast<int>(origin.x) + widget->GetWidth() / 2);
        const auto y = static_cast<float>(static_cast<int>(origin.y) + widget->GetHeight() / 2);
        Widget* hit = Manager().GetEnabledWidgetAt(x, y, nullptr, nullptr);
        for (WidgetContainer* at = hit; at != nullptr;) {
            auto* atWidget = dynamic_cast<Widget*>(at);
            if (atWidget == widget)
                return true;
            at = atWidget != nullptr ? atWidget->GetParent() : nullptr;
        }
        return false;
    };
    if (!RunUntil(reachable)) {
        ADD_FAILURE() << "the widget never came under the pointer";
        return false;
    }
    ClickCentre(widget);
    RunTicks(1);
    return true;
}

ButtonWidget* AppHarness::FindButton(Widget* parent, const std::wstring& key)
{
    for (Widget* child : parent->GetChildren()) {
        auto* button = dynamic_cast<ButtonWidget*>(child);
        if (button != nullptr && button->IsVisible() &&
            (button->GetLabel() == Localize(key) || button->GetLabel() == key))
            return button;
        if (ButtonWidget* found = FindButton(child, key))
            return found;
    }
    return nullptr;
}

bool AppHarness::ClickButton(Widget* parent, const std::wstring& key)
{
    ButtonWidget* button = nullptr;
    RunUntil([&] { return (button = FindButton(parent, key)) != nullptr; });
    if (button == nullptr) {
        ADD_FAILURE() << "no button \"" << WStringToString(Localize(key)) << "\"";
        return false;
    }
    return ClickWhenReachable(button);
}

void AppHarness::Wheel(int x, int y, int delta)
{
    Send({.type = InputEventType::MouseWheel, .x = x, .y = y, .delta = delta});
}

void AppHarness::MouseLeaveWindow()
{
    Send({.type = InputEventType::MouseLeave});
}

void AppHarness::KeyDown(int key)
{
    Send({.type = InputEventType::KeyDown, .key = key});
}

void AppHarness::KeyUp(int key)
{
    Send({.type = InputEventType::KeyUp, .key = key});
}

void AppHarness::KeyChar(std::uint32_t ch)
{
    Send({.type = InputEventType::KeyChar, .ch = ch});
}

void AppHarness::TypeText(const std::wstring& text)
{
    for (wchar_t ch : text)
        KeyChar(static_cast<std::uint32_t>(ch));
}

void AppHarness::FocusLost()
{
    m_window->SetFocused(false);
    Send({.type = InputEventType::FocusLost});
}

void AppHarness::FocusGained()
{
    m_window->SetFocused(true);
    Send({.type = InputEventType::FocusGained});
}

void AppHarness::Redraw()
{
    Manager().SetDirty();
    m_app->DrawFrame();
}

std::uint32_t AppHarness::ScreenPixel(int x, int y) const
{
    return ScreenPixels(x, y, 1, 1).front();
}

bool AppHarness::SaveScreen(const std::string& path) const
{
    ImageData image;
    image.width = m_app->GetWidth();
    image.height = m_app->GetHeight();
    image.pixels = ScreenPixels(0, 0, image.width, image.height);
    return WritePng(image, path);
}

std::vector<std::uint32_t> AppHarness::ScreenPixels(int x, int y, int width, int height) const
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0u);
    if (!m_readPixels)
        ADD_FAILURE() << "reading pixels needs AppHarnessOptions::WithPixels()";
    D3DInterface* renderer = m_app->GetRenderer();
    if (!renderer || pixels.empty())
        return pixels;
    // A change the loop has not drawn yet (drawing waits for the display's
    // next refresh) is what the test means to see.
    m_app->DrawFrame();
    RenderDevice* device = renderer->GetDevice();
    RenderTextureId texture = renderer->GetScreenImage()->GetRenderTexture();
    if (texture == 0 || !device->SetRenderTarget(texture))
        return pixels;
    device->ReadPixels(RenderRect{x, y, width, height}, pixels.data());
    return pixels;
}

void AppTest::SetUp()
{
    m_harness = std::make_unique<AppHarness>(Options());
    ASSERT_TRUE(m_harness->IsValid()) << m_harness->GetError();
}

void AppTest::TearDown()
{
    m_harness.reset();
}
