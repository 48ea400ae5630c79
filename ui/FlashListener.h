#pragma once

#include <string>

// Told by a Flash player about its movie. Both do nothing by default.
class FlashListener
{
public:
    virtual ~FlashListener() = default;

    // The movie ended while the player was not paused.
    virtual void MovieStopped() {}
    // The movie sent a command with its arguments.
    virtual void FSCommand(const std::string& /*command*/, const std::string& /*arguments*/) {}
};
