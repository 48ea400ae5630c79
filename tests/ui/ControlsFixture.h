#pragma once

#include "support/AppHarness.h"

#include "audio/DSoundManager.h"
#include "audio/MusicInterface.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "resources/Assets.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A silent sound manager that pretends to load every sound except those
// whose file names "broken", and remembers the ids asked to play.
class RecordingSounds : public DSoundManager
{
public:
    explicit RecordingSounds(std::vector<int>* played) : DSoundManager(nullptr), m_played(played) {}

    bool LoadSound(int /*id*/, const std::string& name) override
    {
        return name.find("broken") == std::string::npos;
    }
    SoundInstance* GetSoundInstance(int id) override
    {
        m_played->push_back(id);
        return nullptr;
    }

private:
    std::vector<int>* m_played;
};

class ControlsApp : public GameApp
{
public:
    ControlsApp() : GameApp(L"Tarnvale 6", L"v1.2", 1024, 768) {}
    std::vector<int> played;

protected:
    void CreateSound() override
    {
        SetSoundServices(std::make_unique<RecordingSounds>(&played), std::make_unique<MusicInterface>());
        CreateGameSoundChannels();
    }
};

// Every character is 10 pixels wide and 12 high, except 'W' (50) and the
// characters in the missing list (0: the font lacks them). Remembers the
// texts it was asked to draw.
class FixedFont : public Font
{
public:
    Font* Duplicate() const override { return new FixedFont(*this); }
    int GetAscent() const override { return 10; }
    int GetHeight() const override { return 12; }
    int GetLineSpacing() const override { return 12; }
    int StringWidth(const std::wstring& text) const override
    {
        int width = 0;
        for (wchar_t ch : text)
            width += CharWidth(ch);
        return width;
    }
    int CharWidth(wchar_t ch) const override
    {
        if (missing.find(ch) != std::wstring::npos)
            return 0;
        return ch == L'W' ? 50 : 10;
    }
    void DrawString(Graphics&, float, float, const std::wstring& text) override { drawn->push_back(text); }

    std::wstring missing = L"\u2603";
    std::shared_ptr<std::vector<std::wstring>> drawn = std::make_shared<std::vector<std::wstring>>();
};

inline std::unique_ptr<Image> SolidImage(int width, int height, std::uint32_t argb)
{
    return std::make_unique<Image>(
        ImageData{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, argb)});
}

// The harness on an application whose sounds are recorded; the click and
// hover sounds are registered and loaded (see UseSounds).
class ControlsTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options;
        options.makeApp = [] { return std::make_unique<ControlsApp>(); };
        return options;
    }
    void TearDown() override
    {
        AppTest::TearDown();
        Assets::Get().Clear();
    }

    // Registers "Button" and "Highlight" in the running game's registry and
    // loads them; a file of "broken" fails to load.
    void UseSounds(const std::string& buttonFile = "sounds/Button")
    {
        std::filesystem::create_directories("properties");
        std::ofstream("properties/controls.xml")
            << "<assets><group name=\"controls\" load=\"demand\">"
            << "<sound name=\"Button\" file=\"" << buttonFile << "\"/>"
            << "<sound name=\"Highlight\" file=\"sounds/Highlight\"/></group></assets>";
        ASSERT_TRUE(Assets::Get().ReadFile("controls.xml"));
        Assets::Get().LoadGroup(L"controls");
    }
    std::vector<int>& Played() { return static_cast<ControlsApp&>(App()).played; }
};
