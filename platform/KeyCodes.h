#pragma once

// Key codes the widgets use: the Windows virtual-key numbers, so that data
// and scripts that name keys by number keep working. Digits and letters are
// their upper-case character codes ('0'-'9', 'A'-'Z').
namespace KeyCode {
constexpr int Backspace = 0x08;
constexpr int Tab = 0x09;
constexpr int Enter = 0x0D;
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Alt = 0x12;
constexpr int Pause = 0x13;
constexpr int CapsLock = 0x14;
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int PageUp = 0x21;
constexpr int PageDown = 0x22;
constexpr int End = 0x23;
constexpr int Home = 0x24;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
constexpr int Insert = 0x2D;
constexpr int Delete = 0x2E;
constexpr int Numpad0 = 0x60;
constexpr int Multiply = 0x6A;
constexpr int Add = 0x6B;
constexpr int Subtract = 0x6D;
constexpr int Decimal = 0x6E;
constexpr int Divide = 0x6F;
constexpr int F1 = 0x70;
constexpr int Semicolon = 0xBA;
constexpr int Plus = 0xBB;
constexpr int Comma = 0xBC;
constexpr int Minus = 0xBD;
constexpr int Period = 0xBE;
constexpr int Slash = 0xBF;
constexpr int Backquote = 0xC0;
constexpr int LeftBracket = 0xDB;
constexpr int Backslash = 0xDC;
constexpr int RightBracket = 0xDD;
constexpr int Quote = 0xDE;

// Characters that text input never delivers but the edit box relies on.
constexpr int CharBackspace = 0x08;
constexpr int CharEnter = 0x0D;
constexpr int CharCopy = 0x03;  // Ctrl+C
constexpr int CharCut = 0x18;   // Ctrl+X
constexpr int CharPaste = 0x16; // Ctrl+V
constexpr int CharUndo = 0x1A;  // Ctrl+Z
} // namespace KeyCode
