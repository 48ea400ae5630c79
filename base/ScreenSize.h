#pragma once

// The size of the application area: every screen is laid out for it, and the window shows it letterboxed
// or stretched at any other size.
inline constexpr int kScreenWidth = 1024;
inline constexpr int kScreenHeight = 768;
