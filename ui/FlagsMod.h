#pragma once

#include <cstdint>

// Bits of the flags word that travels down the widget tree. The manager starts
// from Update | Draw | Mouse | Keyboard | BatchOrder.
namespace WidgetFlags {
constexpr uint32_t Update = 0x01;     // UpdateFrame and UpdateFrameF run
constexpr uint32_t Draw = 0x02;       // Draw runs
constexpr uint32_t Mouse = 0x04;      // the pointer search may return the widget
constexpr uint32_t Keyboard = 0x08;   // keyboard input (masked below a modal widget)
constexpr uint32_t Batching = 0x10;   // Graphics batching is on while the subtree draws
constexpr uint32_t BatchOrder = 0x20; // the widget's priority becomes the batch order
constexpr uint32_t Offscreen = 0x40;  // the subtree draws into the offscreen layer
constexpr uint32_t Default = Update | Draw | Mouse | Keyboard | BatchOrder;
} // namespace WidgetFlags

// A pair of masks applied to a flags word: (flags | add) & ~remove.
struct FlagsMod
{
    uint32_t add = 0;
    uint32_t remove = 0;

    uint32_t Apply(uint32_t flags) const { return (flags | add) & ~remove; }
    bool operator==(const FlagsMod&) const = default;
};
