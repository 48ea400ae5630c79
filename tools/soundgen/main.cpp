// Writes the game's sound effects, synthesized, into <data folder>/sounds/.
// They are short 22050 Hz mono 16-bit WAV files.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

Samples Silence(double seconds)
{
    return Samples(static_cast<size_t>(seconds * kRate), 0.0);
}

// A tone whose frequency moves from start to end, shaped by an attack and an
// exponential decay.
Samples Tone(
    double seconds, double startHz, double endHz, double decay, double attack = 0.004,
    const std::function<double(double)>& wave = [](double phase) { return std::sin(phase); })
{
    Samples out = Silence(seconds);
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        double hz = startHz + (endHz - startHz) * t / seconds;
        phase += 2.0 * kPi * hz / kRate;
        double envelope = std::min(1.0, t / attack) * std::exp(-t * decay);
        out[i] = wave(phase) * envelope;
    }
    return out;
}

Samples Noise(double seconds, double decay, double smoothing, unsigned seed)
{
    Samples out = Silence(seconds);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    double filtered = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        filtered += (uniform(random) - filtered) * smoothing;
        double envelope = std::sin(kPi * std::min(1.0, t / seconds)) * std::exp(-t * decay);
        out[i] = filtered * envelope;
    }
    return out;
}

Samples Mix(Samples a, const Samples& b, double gainB = 1.0)
{
    a.resize(std::max(a.size(), b.size()), 0.0);
    for (size_t i = 0; i < b.size(); ++i)
        a[i] += b[i] * gainB;
    return a;
}

Samples Then(Samples a, const Samples& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

double Square(double phase)
{
    return std::sin(phase) >= 0.0 ? 1.0 : -1.0;
}

// Notes of a short rising arpeggio starting at base.
Samples Arpeggio(double base, double step)
{
    Samples out;
    for (double ratio : {1.0, 1.25, 1.5, 2.0})
        out = Then(out, Tone(step, base * ratio, base * ratio, 9.0));
    return Mix(out, Tone(step * 4 + 0.3, base * 2, base * 2, 4.0), 0.4);
}

bool WriteWav(const std::filesystem::path& path, const Samples& samples, double volume)
{
    std::vector<uint8_t> bytes;
    auto put16 = [&bytes](uint32_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&put16](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    auto tag = [&bytes](const char* text) { bytes.insert(bytes.end(), text, text + 4); };
    double peak = 1e-9;
    for (double s : samples)
        peak = std::max(peak, std::fabs(s));
    const auto dataSize = static_cast<uint32_t>(samples.size() * 2);
    tag("RIFF");
    put32(dataSize + 36);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(kRate);
    put32(kRate * 2);
    put16(2);
    put16(16);
    tag("data");
    put32(dataSize);
    for (double s : samples)
        put16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(s / peak * volume * 32767.0))));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen <data folder>\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "sounds";
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    struct Effect
    {
        const char* name;
        Samples samples;
        double volume;
    };
    const Effect effects[] = {
        {"Button", Mix(Noise(0.012, 0.0, 0.7, 1), Tone(0.05, 2200, 1800, 90.0, 0.001), 0.8), 0.7},
        {"Highlight", Tone(0.04, 1400, 1500, 80.0, 0.002), 0.35},
        {"Bell", Mix(Tone(0.9, 880, 880, 5.0), Tone(0.9, 2640, 2640, 9.0), 0.3), 0.6},
        {"Glow", Mix(Tone(0.45, 500, 1300, 4.0, 0.05), Tone(0.45, 1000, 2600, 6.0, 0.05), 0.3), 0.55},
        {"reveal5", Arpeggio(523.25, 0.09), 0.6},
        {"reveal10", Arpeggio(587.33, 0.09), 0.6},
        {"reveal15", Arpeggio(659.25, 0.09), 0.6},
        {"mistake", Tone(0.3, 140, 110, 6.0, 0.005, Square), 0.45},
        {"jingle",
         Then(Then(Tone(0.15, 523.25, 523.25, 8.0), Tone(0.15, 659.25, 659.25, 8.0)),
              Then(Tone(0.15, 783.99, 783.99, 8.0), Tone(0.6, 1046.5, 1046.5, 4.0))),
         0.6},
        {"whoosh", Noise(0.45, 2.0, 0.08, 2), 0.5},
        {"bounce", Tone(0.14, 420, 220, 18.0), 0.6},
        {"land", Mix(Tone(0.2, 110, 70, 16.0), Noise(0.05, 30.0, 0.2, 3), 0.5), 0.7},
        {"fade_tile", Tone(0.07, 1600, 1700, 45.0), 0.3},
        {"update_set_name", Tone(0.06, 900, 1000, 50.0), 0.35},
        {"puzzle_mouse_over", Tone(0.035, 1300, 1300, 90.0), 0.3},
        {"puzzle_mouse_leave", Tone(0.035, 1000, 1000, 90.0), 0.25},
        {"update_puzzle_select_stars", Then(Tone(0.06, 1318.5, 1318.5, 30.0), Tone(0.12, 1760, 1760, 20.0)),
         0.4},
    };
    int failures = 0;
    for (const Effect& effect : effects) {
        if (!WriteWav(folder / (std::string(effect.name) + ".wav"), effect.samples, effect.volume)) {
            std::fprintf(stderr, "soundgen: could not write %s\n", effect.name);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
