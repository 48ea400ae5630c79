#pragma once

#include "resources/Parser.h"

#include <string>

struct PuzzleRecord;

// Reads puzzles.xml into the global puzzle table. Each puzzle is checked when
// its element ends; a bad one is logged and marked unplayable but keeps its
// place, because progress is stored by position.
class PuzzleStats : public Parser
{
public:
    // Reads properties/puzzles.xml.
    PuzzleStats();
    explicit PuzzleStats(const std::string& path);

    // The largest board the clue numbers can show.
    static constexpr int kMaxGridSize = 25;

    // Checks a record's shape; false (with the reason in `problem`) when it
    // is not playable.
    static bool Validate(PuzzleRecord& record);

protected:
    void HandleElementStart(const std::wstring& name) override;
    void HandleElementEnd(const std::wstring& name) override;
    void HandleText(const std::wstring& text) override;

private:
    PuzzleRecord* CurrentPuzzle();

    int mode{-1};
    int set{-1};
    int puzzle{-1};
    std::wstring currentElement;
    bool oddPictureWord{false};
};
