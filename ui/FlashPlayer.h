#pragma once

#include "base/Color.h"
#include "platform/FlashControl.h"

#include <memory>
#include <string>
#include <vector>

class FlashListener;
class ImageSurface;

// Plays a Flash movie through the platform's control into an image: loads it,
// pauses and resumes it (pauses nest), notices its end, paints its frames and
// passes its commands on to the listener. Without a control every operation
// does nothing and nothing ever plays.
class FlashPlayer : public FlashControl::EventSink
{
public:
    enum class State
    {
        Idle = 0, // nothing loaded, or paused
        Playing = 1,
        Stopped = 2 // the movie ended
    };

    // Event numbers of the control.
    static constexpr int kReadyStateChange = -609;
    static constexpr int kProgress = 1958;
    static constexpr int kFSCommand = 150;
    // The flag the player sets in its target's flags word.
    static constexpr unsigned kTargetFlag = 1u << 1;

    // Neither is owned; the target is the image the frames go to.
    FlashPlayer(FlashListener* listener, ImageSurface* target);
    ~FlashPlayer() override;
    FlashPlayer(const FlashPlayer&) = delete;
    FlashPlayer& operator=(const FlashPlayer&) = delete;

    // The path is made absolute against the working folder first.
    void LoadMovie(const std::string& path);
    void SetQuality();
    void SetLoop(bool loop);
    bool IsPlaying();
    // From the first frame again.
    void Restart();
    void Pause();
    // A resume without a pause is ignored.
    void Resume();
    // Notices the end of the movie.
    void Update();
    // Paints the current frame into the target.
    void Render();

    Result Invoke(int eventId, const std::vector<FlashControl::Argument>& arguments) override;

    bool HasControl() const { return m_control != nullptr; }
    State GetState() const { return m_state; }
    int GetPauseCount() const { return m_pauseCount; }
    void SetBackground(const Color& background) { m_background = background; }

private:
    State m_state = State::Idle;
    FlashListener* m_listener = nullptr;
    std::unique_ptr<FlashControl> m_control;
    ImageSurface* m_target = nullptr;
    int m_pauseCount = 0;
    bool m_loaded = false;
    int m_width = 0;
    int m_height = 0;
    // Painted under every frame.
    Color m_background{0, 0, 0, 255};
};
