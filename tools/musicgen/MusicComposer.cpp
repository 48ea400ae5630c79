#include "MusicComposer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kChannels = 4;
constexpr int kRowsPerPattern = 64;
constexpr int kRowsPerBar = 16;
constexpr int kBarsPerPattern = kRowsPerPattern / kRowsPerBar;
// An instrument sample plays at about 8287 samples a second at the middle
// octave; its envelopes are written in those seconds.
constexpr double kSampleRate = 8287.0;

// Amiga periods of the three octaves a module may use, C-1 to B-3.
constexpr std::array<int, 36> kPeriods = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                                          428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
                                          214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

enum class Instrument
{
    Bass = 1,
    Pluck,
    Pad,
    Bell
};

struct Sample
{
    const char* name;
    std::vector<int8_t> data;
    int volume{64};
    size_t loopStart{0};
    size_t loopLength{0}; // 0: plays once
};

// The sounding pitch (MIDI numbering) of the module's C-1 for each
// instrument: a sample with 64 points a cycle sounds C2 there, one with 32
// points C3.
int BaseNote(Instrument instrument)
{
    return instrument == Instrument::Bass || instrument == Instrument::Pad ? 36 : 48;
}

struct Partial
{
    double ratio;
    double amplitude;
    double decaySeconds; // 0: does not decay
};

// Sums partials of a fundamental with the given points per cycle under an
// attack, fades the last tailLength points to silence, and scales to 8 bits.
std::vector<int8_t> Synthesize(size_t length, double cycle, const std::vector<Partial>& partials,
                               size_t attack, size_t tailLength)
{
    std::vector<double> wave(length, 0.0);
    for (size_t i = 0; i < length; ++i) {
        double value = 0.0;
        const double seconds = static_cast<double>(i) / kSampleRate;
        for (const Partial& partial : partials) {
            const double envelope =
                partial.decaySeconds > 0 ? std::exp(-seconds / partial.decaySeconds) : 1.0;
            value += partial.amplitude * envelope *
                     std::sin(2.0 * kPi * partial.ratio * static_cast<double>(i) / cycle);
        }
        if (i < attack) {
            const double rise = std::sin(0.5 * kPi * static_cast<double>(i) / static_cast<double>(attack));
            value *= rise * rise;
        }
        if (tailLength > 0 && i + tailLength >= length)
            value *= static_cast<double>(length - 1 - i) / static_cast<double>(tailLength);
        wave[i] = value;
    }
    double peak = 1e-9;
    for (double value : wave)
        peak = std::max(peak, std::abs(value));
    std::vector<int8_t> out(length);
    for (size_t i = 0; i < length; ++i)
        out[i] = static_cast<int8_t>(std::lround(wave[i] * 118.0 / peak));
    return out;
}

std::vector<Sample> Instruments()
{
    std::vector<Sample> samples;
    // A round bass: a strong fundamental, its upper partials fading first.
    samples.push_back({"soft bass",
                       Synthesize(16384, 64.0, {{1, 1.0, 1.4}, {2, 0.35, 0.6}, {3, 0.12, 0.3}}, 64, 2048),
                       38});
    // A plucked string: bright at the start, mellowing as it fades.
    samples.push_back(
        {"pluck",
         Synthesize(8192, 32.0,
                    {{1, 1.0, 0.45}, {2, 0.45, 0.28}, {3, 0.22, 0.18}, {4, 0.1, 0.12}, {5, 0.05, 0.09}}, 24,
                    1536),
         30});
    // A warm pad: a slow swell, then a loop of two gently beating voices.
    // Every partial completes whole cycles over the loop, so it joins without
    // a click.
    {
        constexpr size_t attack = 2048;
        constexpr size_t loop = 8192;
        Sample pad{"warm pad",
                   Synthesize(attack + loop, 64.0,
                              {{1, 1.0, 0},
                               {2, 0.4, 0},
                               {3, 0.2, 0},
                               {4, 0.08, 0},
                               {129.0 / 128.0, 0.3, 0},
                               {2 * 129.0 / 128.0, 0.12, 0}},
                              attack, 0),
                   20};
        pad.loopStart = attack;
        pad.loopLength = loop;
        samples.push_back(std::move(pad));
    }
    // A soft bell: mostly fundamental, with a short glassy tine.
    samples.push_back(
        {"soft bell",
         Synthesize(16384, 32.0, {{1, 1.0, 1.1}, {2, 0.3, 0.45}, {3, 0.1, 0.2}, {4.2, 0.06, 0.06}}, 16, 2048),
         40});
    return samples;
}

struct Cell
{
    int note{-1}; // module note 0 (C-1) to 35 (B-3); -1: none
    int instrument{0};
    int effect{0};
    int parameter{0};
};

using Pattern = std::array<std::array<Cell, kChannels>, kRowsPerPattern>;

// The module pans its channels left, right, right, left: the bass and the
// pad share the left, the pluck and the melody the right.
constexpr int kBassChannel = 0;
constexpr int kPluckChannel = 1;
constexpr int kMelodyChannel = 2;
constexpr int kPadChannel = 3;

constexpr int kEffectVolumeSlide = 0xA;
constexpr int kEffectPositionJump = 0xB;
constexpr int kEffectTempo = 0xF;

struct Chord
{
    int root; // pitch class, 0 = C
    bool minor;

    std::array<int, 3> PitchClasses() const { return {root, (root + (minor ? 3 : 4)) % 12, (root + 7) % 12}; }
    bool Holds(int midi) const
    {
        const auto classes = PitchClasses();
        return std::find(classes.begin(), classes.end(), ((midi % 12) + 12) % 12) != classes.end();
    }
};

// The chord tones from low (inclusive) to high (exclusive), rising.
std::vector<int> ChordTones(const Chord& chord, int low, int high)
{
    std::vector<int> tones;
    for (int midi = low; midi < high; ++midi) {
        if (chord.Holds(midi))
            tones.push_back(midi);
    }
    return tones;
}

int Nearest(const std::vector<int>& tones, int target)
{
    int best = tones.front();
    for (int tone : tones) {
        if (std::abs(tone - target) < std::abs(best - target))
            best = tone;
    }
    return best;
}

struct Style
{
    std::string name;
    int tempo;
    int tonic; // pitch class of the major key
    std::vector<Chord> bars;
    std::vector<std::pair<int, int>> bass;     // row in bar, interval above the root (7: the fifth)
    std::vector<std::pair<int, int>> arpeggio; // row in bar, chord tone (0-2, 3: the lowest an octave up)
    std::array<std::vector<int>, kBarsPerPattern> melodyRows; // rows of each bar of a four-bar phrase
    std::array<int, kBarsPerPattern> contour;                 // the pitch each bar of a phrase leans to
    std::vector<int> phraseShift;                             // per pattern; a value below -12 leaves it out
};

class Writer
{
public:
    explicit Writer(const Style& style) : m_style(style), m_patterns(style.bars.size() / kBarsPerPattern) {}

    MusicComposer::Piece Compose()
    {
        for (size_t bar = 0; bar < m_style.bars.size(); ++bar) {
            WriteBass(bar);
            WriteArpeggio(bar);
            WritePad(bar);
        }
        WriteMelody();
        m_patterns.front()[0][kMelodyChannel].effect = kEffectTempo;
        m_patterns.front()[0][kMelodyChannel].parameter = m_style.tempo;
        m_patterns.back()[kRowsPerPattern - 1][kMelodyChannel].effect = kEffectPositionJump;
        m_patterns.back()[kRowsPerPattern - 1][kMelodyChannel].parameter = 0;

        MusicComposer::Piece piece;
        piece.name = m_style.name;
        piece.tempo = m_style.tempo;
        piece.rows = static_cast<int>(m_patterns.size()) * kRowsPerPattern;
        piece.file = Encode();
        return piece;
    }

private:
    Cell& At(size_t bar, int row, int channel)
    {
        return m_patterns[bar / kBarsPerPattern][(bar % kBarsPerPattern) * kRowsPerBar + row][channel];
    }

    // The cell of the row before (bar, row), wrapping from the first row of
    // the song to its last.
    Cell& Before(size_t bar, int row, int channel)
    {
        if (row > 0)
            return At(bar, row - 1, channel);
        return At(bar == 0 ? m_style.bars.size() - 1 : bar - 1, kRowsPerBar - 1, channel);
    }

    void Note(size_t bar, int row, int channel, Instrument instrument, int midi)
    {
        const int note = midi - BaseNote(instrument);
        if (note < 0 || note >= static_cast<int>(kPeriods.size()))
            throw std::logic_error("note outside the module's range");
        Cell& cell = At(bar, row, channel);
        cell.note = note;
        cell.instrument = static_cast<int>(instrument);
    }

    void Release(Cell& cell, int speed)
    {
        if (cell.effect == 0) {
            cell.effect = kEffectVolumeSlide;
            cell.parameter = speed;
        }
    }

    void WriteBass(size_t bar)
    {
        const Chord& chord = m_style.bars[bar];
        const int root = 36 + chord.root;
        for (const auto& [row, interval] : m_style.bass) {
            int midi = root + interval;
            if (midi > 52)
                midi -= 12;
            Note(bar, row, kBassChannel, Instrument::Bass, midi);
            // Ease the sounding note out over the row before, so the next
            // one does not cut it off with a click.
            Release(Before(bar, row, kBassChannel), 3);
        }
    }

    void WriteArpeggio(size_t bar)
    {
        const std::vector<int> tones = ChordTones(m_style.bars[bar], 55, 67);
        for (const auto& [row, index] : m_style.arpeggio) {
            const int midi = index < 3 ? tones[static_cast<size_t>(index)] : tones[0] + 12;
            Note(bar, row, kPluckChannel, Instrument::Pluck, midi);
        }
    }

    int PadNote(size_t bar)
    {
        // Moves as little as it can from the note before: a sustained inner voice.
        const std::vector<int> tones = ChordTones(m_style.bars[bar], 57, 70);
        return Nearest(tones, m_padNote);
    }

    void WritePad(size_t bar)
    {
        const int note = PadNote(bar);
        const bool last = bar + 1 == m_style.bars.size();
        if (bar == 0 || note != m_padNote)
            Note(bar, 0, kPadChannel, Instrument::Pad, note);
        m_padNote = note;
        const int next = last ? -1 : PadNote(bar + 1);
        if (next != note) {
            Release(At(bar, kRowsPerBar - 2, kPadChannel), 4);
            Release(At(bar, kRowsPerBar - 1, kPadChannel), 4);
        }
    }

    // A melody of chord tones on the strong rows, joined by steps of the
    // scale on the weak ones, following each phrase's contour.
    void WriteMelody()
    {
        static constexpr std::array<int, 7> kMajor = {0, 2, 4, 5, 7, 9, 11};
        auto inScale = [&](int midi) {
            const int degree = ((midi - m_style.tonic) % 12 + 12) % 12;
            return std::find(kMajor.begin(), kMajor.end(), degree) != kMajor.end();
        };
        auto step = [&](int from, int direction) {
            int midi = from + direction;
            while (!inScale(midi))
                midi += direction;
            return midi;
        };
        int previous = m_style.contour[0];
        for (size_t pattern = 0; pattern < m_patterns.size(); ++pattern) {
            const int shift = m_style.phraseShift[pattern % m_style.phraseShift.size()];
            if (shift < -12)
                continue;
            for (int barInPhrase = 0; barInPhrase < kBarsPerPattern; ++barInPhrase) {
                const size_t bar = pattern * kBarsPerPattern + static_cast<size_t>(barInPhrase);
                const Chord& chord = m_style.bars[bar];
                const int target = m_style.contour[static_cast<size_t>(barInPhrase)] + shift;
                const std::vector<int> tones = ChordTones(chord, 65, 82);
                const std::vector<int>& rows = m_style.melodyRows[static_cast<size_t>(barInPhrase)];
                for (size_t i = 0; i < rows.size(); ++i) {
                    const int row = rows[i];
                    int midi;
                    if (row % 8 == 0 || i == 0) {
                        midi = Nearest(tones, (target + previous) / 2);
                    } else {
                        const int direction = target >= previous ? 1 : -1;
                        midi = step(previous, direction);
                        if (std::abs(midi - previous) > 2 || midi == previous)
                            midi = Nearest(tones, target);
                    }
                    midi = std::clamp(midi, 65, 81);
                    Note(bar, row, kMelodyChannel, Instrument::Bell, midi);
                    previous = midi;
                }
            }
        }
    }

    std::vector<uint8_t> Encode() const
    {
        const std::vector<Sample> samples = Instruments();
        std::vector<uint8_t> out;
        auto text = [&](const std::string& value, size_t width) {
            for (size_t i = 0; i < width; ++i)
                out.push_back(i < value.size() ? static_cast<uint8_t>(value[i]) : 0);
        };
        auto word = [&](size_t value) {
            out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
            out.push_back(static_cast<uint8_t>(value & 0xFF));
        };
        text("tarnvale " + m_style.name, 20);
        for (size_t i = 0; i < 31; ++i) {
            if (i >= samples.size()) {
                text("", 22);
                word(0);
                out.push_back(0);
                out.push_back(0);
                word(0);
                word(1);
                continue;
            }
            const Sample& sample = samples[i];
            text(sample.name, 22);
            word(sample.data.size() / 2);
            out.push_back(0); // finetune
            out.push_back(static_cast<uint8_t>(sample.volume));
            word(sample.loopStart / 2);
            word(sample.loopLength > 0 ? sample.loopLength / 2 : 1);
        }
        out.push_back(static_cast<uint8_t>(m_patterns.size()));
        out.push_back(127);
        for (size_t order = 0; order < 128; ++order)
            out.push_back(order < m_patterns.size() ? static_cast<uint8_t>(order) : 0);
        text("M.K.", 4);
        for (const Pattern& pattern : m_patterns) {
            for (const auto& row : pattern) {
                for (const Cell& cell : row) {
                    const int period = cell.note >= 0 ? kPeriods[static_cast<size_t>(cell.note)] : 0;
                    out.push_back(static_cast<uint8_t>((cell.instrument & 0xF0) | ((period >> 8) & 0x0F)));
                    out.push_back(static_cast<uint8_t>(period & 0xFF));
                    out.push_back(
                        static_cast<uint8_t>(((cell.instrument & 0x0F) << 4) | (cell.effect & 0x0F)));
                    out.push_back(static_cast<uint8_t>(cell.parameter & 0xFF));
                }
            }
        }
        for (const Sample& sample : samples) {
            for (int8_t value : sample.data)
                out.push_back(static_cast<uint8_t>(value));
        }
        return out;
    }

    const Style& m_style;
    std::vector<Pattern> m_patterns;
    int m_padNote{64};
};

constexpr int C = 0, D = 2, E = 4, F = 5, G = 7, A = 9, Bb = 10;

} // namespace

MusicComposer::Piece MusicComposer::MenuMusic()
{
    // F major at a slow walk: broken chords in eighths, a sustained pad, a
    // bell melody from the second phrase on. 24 bars end on C, which leads
    // back to the opening F.
    const Chord f{F, false}, dm{D, true}, bb{Bb, false}, c{C, false}, gm{G, true}, am{A, true};
    Style style{"menu_music",
                72,
                F,
                {f, dm, bb, c, f, dm, gm, c, dm, bb, f, c, gm, bb, c, c, f, am, bb, f, gm, c, f, c},
                {{0, 0}, {8, 7}},
                {{0, 0}, {2, 1}, {4, 2}, {6, 3}, {8, 2}, {10, 1}, {12, 2}, {14, 1}},
                {std::vector<int>{0, 8, 12}, {0, 4, 8}, {0, 6, 8, 12}, {0}},
                {72, 76, 74, 69},
                {-99, 0, 2, 0, 3, -2}};
    return Writer(style).Compose();
}

MusicComposer::Piece MusicComposer::PlayMusic()
{
    // C major, a little brisker and sparser: the melody comes and goes so
    // the music stays in the background. 32 bars end on G, leading back to C.
    const Chord c{C, false}, am{A, true}, f{F, false}, g{G, false}, dm{D, true}, em{E, true};
    Style style{"play_music",
                84,
                C,
                {c, am, f, g, c, am, f,  g, am, f, c,  g,  am, f, dm, g,
                 c, em, f, g, c, am, dm, g, f,  g, em, am, dm, g, c,  g},
                {{0, 0}, {10, 7}},
                {{0, 0}, {2, 2}, {4, 1}, {6, 2}, {8, 3}, {10, 2}, {12, 1}, {14, 2}},
                {std::vector<int>{0, 6, 12}, {0, 8}, {0, 4, 8, 12}, {0}},
                {76, 72, 74, 71},
                {-99, 0, 2, -99, 0, 3, -2, -99}};
    return Writer(style).Compose();
}
