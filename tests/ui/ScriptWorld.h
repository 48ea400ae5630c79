#pragma once

#include "RecordingWidget.h"

#include "resources/PakInterface.h"
#include "resources/Value.h"
#include "ui/AnimationStats.h"
#include "ui/AnimationWidget.h"
#include "ui/PassiveWidget.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// The parent of the scripted widgets under test: it hears their signals,
// completions and holds as "<event> <id> [message]".
class ListeningLayer : public PassiveWidget
{
public:
    ListeningLayer() : PassiveWidget(0, 0, nullptr, true) {}

    void Signal(int id, const std::wstring& message) override { Record(L"signal", id, message); }
    void AnimationComplete(int id) override { Record(L"complete", id, L""); }
    void AnimationPersisting(int id) override { Record(L"persist", id, L""); }

    std::vector<std::wstring> events;

private:
    void Record(const std::wstring& event, int id, const std::wstring& message)
    {
        events.push_back(event + L" " + std::to_wstring(id) + (message.empty() ? L"" : L" " + message));
    }
};

// Scripts written by the test, loaded the way the game loads them, run on
// AnimationWidgets in a bare widget tree that the test steps tick by tick.
class ScriptWorld : public ::testing::Test
{
protected:
    ScriptWorld()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnvale-scripts-XXXXXX").string();
        m_folder = mkdtemp(pattern.data());
        std::filesystem::create_directories(m_folder / "properties");
        m_pak.AddSearchRoot(m_folder.string());
        SetPakInterface(&m_pak);
        m_host.Manager().AddWidget(m_layer);
    }
    ~ScriptWorld() override
    {
        m_host.Manager().RemoveAllWidgets(true, true);
        m_host.FlushDeferredDeletes();
        SetPakInterface(nullptr);
        std::filesystem::remove_all(m_folder);
    }

    // Writes properties/<file>.
    void WriteFile(const std::string& file, const std::string& text)
    {
        std::filesystem::path path = m_folder / "properties" / file;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    // The animations file with these animations, loaded into the table.
    void Load(const std::string& animations)
    {
        WriteFile("animations.xml", "<animations>" + animations + "</animations>");
        AnimationStats loading(false);
    }
    // A widget playing the script, in the listening layer.
    AnimationWidget* Start(const std::wstring& name, bool removeWhenFinished = false)
    {
        auto* widget = new AnimationWidget(name, 0, 0, removeWhenFinished);
        m_layer->AddWidget(widget);
        return widget;
    }
    void Tick(int ticks = 1)
    {
        for (int i = 0; i < ticks; ++i) {
            m_host.Manager().UpdateFrameF(1.0f);
            m_host.FlushDeferredDeletes();
        }
    }
    // A script variable as text ("" when undefined).
    static std::wstring Var(Animator& animator, const std::wstring& name)
    {
        const Value* value = animator.FindVariable(name);
        return value != nullptr ? value->ToString() : L"";
    }
    // How many signals with the message the layer heard.
    int Signals(const std::wstring& message) const
    {
        int count = 0;
        for (const std::wstring& event : m_layer->events)
            count += event.starts_with(L"signal ") && event.ends_with(L" " + message) ? 1 : 0;
        return count;
    }

    std::filesystem::path m_folder;
    PakInterface m_pak;
    StandInHost m_host;
    ListeningLayer* m_layer = new ListeningLayer();
};
