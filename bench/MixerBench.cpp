// The software mixer rendering 32 looping voices at mixed frequencies. The
// "realtime" counter is seconds of audio per second of rendering.

#include "audio/Mixer.h"
#include "platform/SoundSystem.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

std::shared_ptr<const PcmSound> MakeSound(int channels, int bits, int rate, size_t frames)
{
    auto sound = std::make_shared<PcmSound>();
    sound->channels = channels;
    sound->bitsPerSample = bits;
    sound->samplesPerSecond = rate;
    for (size_t i = 0; i < frames * static_cast<size_t>(channels); ++i) {
        const double value = std::sin(static_cast<double>(i) * 0.05);
        if (bits == 16) {
            const auto s = static_cast<int16_t>(value * 8000);
            sound->data.push_back(static_cast<uint8_t>(s & 0xFF));
            sound->data.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
        } else {
            sound->data.push_back(static_cast<uint8_t>(128 + value * 60));
        }
    }
    return sound;
}

void BM_Mix32LoopingVoices(benchmark::State& state)
{
    Mixer mixer;
    const std::shared_ptr<const PcmSound> sounds[] = {
        MakeSound(1, 16, 22050, 30000),
        MakeSound(2, 16, 44100, 50000),
        MakeSound(1, 8, 11025, 8000),
        MakeSound(2, 16, 48000, 40000),
    };
    for (int i = 0; i < 32; ++i) {
        auto voice = mixer.CreateVoice(sounds[i % 4]);
        mixer.SetVoiceFrequency(voice, static_cast<uint32_t>(8000 + i * 2900));
        mixer.SetVoiceVolume(voice, -300 * (i % 8));
        mixer.SetVoicePan(voice, (i % 5 - 2) * 2500);
        mixer.PlayVoice(voice, true);
    }
    constexpr size_t kBlock = 1024;
    constexpr size_t kSeconds = 10;
    std::vector<int16_t> out(kBlock * 2);
    for (auto _ : state) {
        for (size_t frame = 0; frame < kSeconds * Mixer::kOutputRate; frame += kBlock)
            mixer.Render(out.data(), kBlock);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["realtime"] =
        benchmark::Counter(static_cast<double>(kSeconds), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_Mix32LoopingVoices)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
