#pragma once

#include "RecordingWidget.h"

#include "graphics/Font.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "resources/Assets.h"
#include "resources/PakInterface.h"
#include "resources/Value.h"
#include "ui/AnimationStats.h"
#include "ui/AnimationWidget.h"
#include "ui/PassiveWidget.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// Every character 8 pixels wide, lines 10 high; draws a filled box per
// character so text shows up in pixel tests.
class BoxFont : public Font
{
public:
    Font* Duplicate() const override { return new BoxFont(); }
    int GetAscent() const override { return 8; }
    int GetHeight() const override { return 10; }
    int GetLineSpacing() const override { return 10; }
    int StringWidth(const std::wstring& text) const override { return static_cast<int>(text.size()) * 8; }
    int CharWidth(wchar_t) const override { return 8; }
    void DrawString(Graphics& g, float x, float y, const std::wstring& text) override
    {
        g.FillRect(static_cast<int>(x), static_cast<int>(y) - 8, StringWidth(text), 8);
    }
};

// A widget tree with a scripted widget under test: scripts written as XML
// and loaded the way the game loads them, images named "w<W>x<H>" (white,
// with "cols" and "rows" as given), "clear<W>x<H>" (transparent) and the
// font "box". Tests step the tree tick by tick.
class ScriptStage
{
public:
    ScriptStage()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnvale-commands-XXXXXX").string();
        m_folder = mkdtemp(pattern.data());
        std::filesystem::create_directories(m_folder / "properties");
        m_pak.AddSearchRoot(m_folder.string());
        SetPakInterface(&m_pak);
        Assets::Get().SetImageLoaders(
            [](const ImageSource& source, Image* existing) -> Image* {
                if (existing != nullptr)
                    return existing;
                bool clear = source.m_file.starts_with("clear");
                int width = 0;
                int height = 0;
                std::sscanf(source.m_file.c_str() + (clear ? 5 : 1), "%dx%d", &width, &height);
                auto* image =
                    new Image(ImageData{width, height,
                                        std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height,
                                                                   clear ? 0u : 0xFFFFFFFFu)});
                image->SetGrid(source.m_rows, source.m_cols);
                return image;
            },
            [](Image*) {}, [](Image* image) { delete image; });
        AddFont(L"box", new BoxFont());
        m_host.Manager().AddWidget(m_layer);
    }
    ~ScriptStage()
    {
        m_host.Manager().RemoveAllWidgets(true, true);
        m_host.FlushDeferredDeletes();
        Assets::Get().Clear();
        FreeFonts();
        SetPakInterface(nullptr);
        std::filesystem::remove_all(m_folder);
    }
    ScriptStage(const ScriptStage&) = delete;
    ScriptStage& operator=(const ScriptStage&) = delete;

    // Registers and loads the images, e.g. {"w40x30", "w64x32:4x2" (cols x rows), "corner=w4x4"
    // (a name of its own)}.
    void Images(const std::vector<std::string>& entries)
    {
        std::string xml = "<assets><group name=\"test\" load=\"init\">";
        for (const std::string& entry : entries) {
            size_t equals = entry.find('=');
            std::string name =
                equals == std::string::npos ? entry.substr(0, entry.find(':')) : entry.substr(0, equals);
            std::string rest = equals == std::string::npos ? entry : entry.substr(equals + 1);
            std::string file = rest.substr(0, rest.find(':'));
            int cols = 1;
            int rows = 1;
            if (rest.find(':') != std::string::npos)
                std::sscanf(rest.c_str() + rest.find(':') + 1, "%dx%d", &cols, &rows);
            xml += "<image name=\"" + name + "\" file=\"" + file + "\" cols=\"" + std::to_string(cols) +
                   "\" rows=\"" + std::to_string(rows) + "\"/>";
        }
        xml += "</group></assets>";
        WriteFile("assets.xml", xml);
        Assets::Get().FirstPass();
    }
    void WriteFile(const std::string& file, const std::string& text)
    {
        std::ofstream(m_folder / "properties" / file) << text;
    }
    // The animations file with these animations, loaded into the table.
    void Load(const std::string& animations)
    {
        WriteFile("animations.xml", "<animations>" + animations + "</animations>");
        AnimationStats loading(false);
    }
    // A scripts file kept under tests/data/scripts/, as it was written, loaded into the table.
    void LoadKept(const std::string& file)
    {
        std::ifstream in(std::filesystem::path(TARNVALE_TEST_DATA_DIR) / "scripts" / file);
        std::stringstream text;
        text << in.rdbuf();
        WriteFile("animations.xml", text.str());
        AnimationStats loading(false);
    }
    // A widget for the script, not yet started: Start puts it in the tree.
    AnimationWidget* Make(const std::wstring& name) { return new AnimationWidget(name, 0, 0, false); }
    AnimationWidget* Start(AnimationWidget* widget)
    {
        m_layer->AddWidget(widget);
        return widget;
    }
    AnimationWidget* Start(const std::wstring& name) { return Start(Make(name)); }
    void Tick(int ticks = 1)
    {
        for (int i = 0; i < ticks; ++i) {
            // As the application ticks: the whole update, then the motion.
            m_host.Manager().UpdateFrame();
            m_host.Manager().UpdateFrameF(1.0f);
            m_host.FlushDeferredDeletes();
        }
    }
    static std::wstring Var(Animator& animator, const std::wstring& name)
    {
        const Value* value = animator.FindVariable(name);
        return value != nullptr ? value->ToString() : L"";
    }
    PassiveWidget& Layer() { return *m_layer; }
    StandInHost& Host() { return m_host; }
    ScriptLimits& Limits() { return m_host.Manager().GetScriptLimits(); }

private:
    std::filesystem::path m_folder;
    PakInterface m_pak;
    StandInHost m_host;
    PassiveWidget* m_layer = new PassiveWidget(0, 0, nullptr, true);
};
