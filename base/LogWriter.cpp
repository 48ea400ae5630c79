#include "base/LogWriter.h"

#include "base/AtomicFile.h"
#include "base/Common.h"

#include <cstdio>
#include <ctime>
#include <deque>
#include <mutex>

namespace {

struct LogState
{
    std::mutex mutex;
    std::FILE* file = nullptr;
    std::string folder;
    size_t shortLogLines = LogWriter::kDefaultShortLogLines;
    std::deque<std::string> shortLog;
};

LogState& State()
{
    static LogState state;
    return state;
}

std::string Prefix()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[32];
    char time[32];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    return StrFormat("[%s %s] ", date, time);
}

void TrimShortLog(LogState& state)
{
    while (state.shortLog.size() > state.shortLogLines) {
        state.shortLog.pop_front();
    }
}

} // namespace

void LogWriter::WriteLine(const std::string& text)
{
    std::string line = Prefix() + text;
    LogState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.file) {
        std::fputs(line.c_str(), state.file);
        std::fputc('\n', state.file);
        // Flushed at once: the last lines matter most when the program dies.
        std::fflush(state.file);
    }
    state.shortLog.push_back(std::move(line));
    TrimShortLog(state);
}

void LogWriter::WriteLine(const std::wstring& text)
{
    WriteLine(WStringToString(text));
}

bool LogWriter::Open(const std::string& folder, int shortLogLines)
{
    LogState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.file) {
        std::fclose(state.file);
    }
    state.folder = folder;
    state.shortLogLines = shortLogLines > 0 ? static_cast<size_t>(shortLogLines) : 0;
    TrimShortLog(state);
    state.file = std::fopen((folder + kLogFileName).c_str(), "ae");
    return state.file != nullptr;
}

void LogWriter::Close()
{
    LogState& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.file) {
        return;
    }
    std::fclose(state.file);
    state.file = nullptr;
    std::string text;
    for (const std::string& line : state.shortLog) {
        text += line + "\n";
    }
    AtomicFile(state.folder + kShortLogFileName).Write(text);
}

bool LogWriter::IsOpen()
{
    LogState& state = State();
    std::lock_guard lock(state.mutex);
    return state.file != nullptr;
}

std::vector<std::string> LogWriter::GetShortLog()
{
    LogState& state = State();
    std::lock_guard lock(state.mutex);
    return {state.shortLog.begin(), state.shortLog.end()};
}
