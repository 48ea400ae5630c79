#pragma once

#include "platform/SoundOutput.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

struct PcmSound;

// Something mixed beside the sample voices (a music channel). Called from
// Render with the mixer's lock held; adds stereo frames to the accumulator.
class MixerInput
{
public:
    virtual ~MixerInput() = default;
    virtual void MixInto(float* stereo, size_t frames) = 0;
};

// The software mixer: sample voices with volume, pan and linear-interpolated
// frequency, plus inputs, summed into 44100 Hz stereo 16-bit with
// saturation. Every operation takes the mixer's lock; Render is what the
// audio device calls.
class Mixer : public AudioSource
{
public:
    using VoiceId = uint32_t;
    static constexpr int kOutputRate = SoundOutput::kSampleRate;

    Mixer();
    ~Mixer() override;

    VoiceId CreateVoice(std::shared_ptr<const PcmSound> sound);
    void DestroyVoice(VoiceId voice);
    bool PlayVoice(VoiceId voice, bool looping);
    // Stops and rewinds.
    void StopVoice(VoiceId voice);
    bool IsVoicePlaying(VoiceId voice);
    void SetVoiceVolume(VoiceId voice, int hundredthsOfDecibel);
    void SetVoicePan(VoiceId voice, int pan);
    void SetVoiceFrequency(VoiceId voice, uint32_t hertz);
    uint32_t GetVoiceFrequency(VoiceId voice);

    void AddInput(MixerInput* input);
    void RemoveInput(MixerInput* input);
    // For inputs whose state the main thread changes.
    std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(m_mutex); }

    void SetMasterGain(double gain);
    double GetMasterGain();

    void Render(int16_t* out, size_t frames) override;

    // -10000 and below is silence; 0 is unity.
    static float DecibelsToGain(int hundredthsOfDecibel);

private:
    struct Voice
    {
        std::shared_ptr<const PcmSound> sound;
        // Source frames in 32.32 fixed point.
        uint64_t position{0};
        uint64_t step{1ull << 32};
        uint32_t frequency{44100};
        int volume{0};
        int pan{0};
        float gainLeft{1.0f};
        float gainRight{1.0f};
        bool playing{false};
        bool looping{false};
    };

    static uint64_t StepFor(uint32_t frequency);
    static void UpdateGains(Voice& voice);
    static void MixVoice(Voice& voice, float* stereo, size_t frames);

    std::mutex m_mutex;
    std::unordered_map<VoiceId, Voice> m_voices;
    std::vector<MixerInput*> m_inputs;
    std::vector<float> m_accumulator;
    VoiceId m_nextVoice{1};
    double m_masterGain{1.0};
};
