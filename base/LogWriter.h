#pragma once

#include <string>
#include <vector>

// The program's log. Every line goes to the short log, which keeps the last lines in memory; once the log
// is opened, lines are also appended to the log file, and closing it writes the short log beside it.
// All operations may be called from any thread.
class LogWriter
{
public:
    // Appends "[date time] ", the text and a line end.
    static void WriteLine(const std::string& text);
    static void WriteLine(const std::wstring& text);

    // Starts appending to folder + kLogFileName; the short log keeps the last shortLogLines lines
    // (folder + kShortLogFileName). False when the file cannot be opened (lines then stay in memory only).
    static bool Open(const std::string& folder, int shortLogLines);
    // Writes the short log file and closes the log.
    static void Close();
    static bool IsOpen();

    // The kept lines, oldest first, each with its prefix.
    static std::vector<std::string> GetShortLog();

    static constexpr const char* kLogFileName = "game.log";
    static constexpr const char* kShortLogFileName = "short.log";
    static constexpr int kDefaultShortLogLines = 100;
};
