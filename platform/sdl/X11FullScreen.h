#pragma once

struct SDL_Window;

// Whether full screen as SDL asks for it reaches the window. On X11 SDL asks the window manager
// (_NET_WM_STATE_FULLSCREEN); with none running, or one that does not know that state, the request goes
// unanswered: the window keeps its size while SDL draws for the whole screen. Other video drivers size the
// window themselves, so the answer there is yes.
bool WindowManagerShowsFullScreen(SDL_Window* window);
