#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A player component for Flash movies, hosted without a window: it is told
// what to play, asked whether it still plays, and paints its current frame
// into pixels on request. Its events arrive through an event sink.
//
// Create gives the platform's control, or null where no Flash player exists
// (on Linux there is none); tests install a factory of their own.
class FlashControl
{
public:
    // An argument of an event: text, or a value of some other kind.
    struct Argument
    {
        bool isText = false;
        std::string text;
    };

    // Receives the control's events by number.
    class EventSink
    {
    public:
        enum class Result
        {
            Handled,
            MemberNotFound
        };
        virtual ~EventSink() = default;
        virtual Result Invoke(int eventId, const std::vector<Argument>& arguments) = 0;
    };

    using Factory = std::function<std::unique_ptr<FlashControl>()>;

    virtual ~FlashControl() = default;

    // The sink must outlive the control or be replaced (null: none).
    virtual void SetEventSink(EventSink* sink) = 0;
    // "Transparent": drawn over what lies below, without a window.
    virtual void SetWindowMode(const std::string& mode) = 0;
    virtual void SetQuality(const std::string& quality) = 0;
    // False when the control refuses the movie.
    virtual bool LoadMovie(const std::string& absolutePath) = 0;
    // The area the movie is shown in, from (0, 0).
    virtual void SetArea(int width, int height) = 0;
    virtual void SetLoop(bool loop) = 0;
    virtual bool IsPlaying() = 0;
    virtual void GotoFrame(int frame) = 0;
    virtual void Play() = 0;
    virtual void StopPlay() = 0;
    // Paints the current frame over width x height premultiplied ARGB pixels.
    virtual void Paint(std::uint32_t* pixels, int width, int height) = 0;

    // The control of the platform, or of the installed factory; null when
    // there is none.
    static std::unique_ptr<FlashControl> Create();
    // Replaces the platform's factory; an empty one restores it.
    static void SetFactory(Factory factory);
};
