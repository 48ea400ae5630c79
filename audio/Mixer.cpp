#include "audio/Mixer.h"

#include "platform/SoundSystem.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

struct Frame
{
    float left;
    float right;
};

template <int Bits, int Channels> inline Frame ReadFrame(const uint8_t* data, size_t index)
{
    const uint8_t* p = data + index * (Bits / 8) * Channels;
    auto sample = [](const uint8_t* q) -> float {
        if constexpr (Bits == 16) {
            // Samples are little-endian, as the host is.
            int16_t value;
            std::memcpy(&value, q, sizeof value);
            return static_cast<float>(value);
        } else
            return static_cast<float>((static_cast<int>(q[0]) - 128) * 256);
    };
    if constexpr (Channels == 2)
        return {sample(p), sample(p + Bits / 8)};
    float s = sample(p);
    return {s, s};
}

constexpr float kFractionScale = 1.0f / 4294967296.0f;

inline float Fraction(uint64_t position)
{
    return static_cast<float>(static_cast<int64_t>(position & 0xFFFFFFFFu)) * kFractionScale;
}

// The second loop of MixInterior, four frames at a time with the same
// arithmetic; each returns how many frames it mixed, the rest is left to the
// plain loop. pairs holds each frame's samples followed by the next frame's.
#if defined(__SSE2__)
inline __m128 Fractions(const uint32_t* fraction)
{
    const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(fraction));
    const __m128 high = _mm_mul_ps(_mm_cvtepi32_ps(_mm_srli_epi32(f, 16)), _mm_set1_ps(65536.0f));
    const __m128 low = _mm_cvtepi32_ps(_mm_and_si128(f, _mm_set1_epi32(0xFFFF)));
    return _mm_mul_ps(_mm_add_ps(high, low), _mm_set1_ps(kFractionScale));
}

// a and b hold two frames' interleaved left and right samples each; t4 their fractions.
inline void AddStereo(__m128 a, __m128 b, __m128 t4, __m128 gains, float* out)
{
    const __m128 mixed = _mm_mul_ps(_mm_add_ps(a, _mm_mul_ps(_mm_sub_ps(b, a), t4)), gains);
    _mm_storeu_ps(out, _mm_add_ps(_mm_loadu_ps(out), mixed));
}

size_t MixStereoPairs(const int16_t* pairs, const uint32_t* fraction, float gainLeft, float gainRight,
                      float* out, size_t count)
{
    const __m128 gains = _mm_setr_ps(gainLeft, gainRight, gainLeft, gainRight);
    auto widen = [](__m128i samples, bool high) {
        const __m128i doubled =
            high ? _mm_unpackhi_epi16(samples, samples) : _mm_unpacklo_epi16(samples, samples);
        return _mm_cvtepi32_ps(_mm_srai_epi32(doubled, 16));
    };
    size_t k = 0;
    for (; k + 4 <= count; k += 4) {
        const __m128 t = Fractions(fraction + k);
        // Two frames per load; split into this frame's samples and the next frame's.
        const __m128i p0 = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs + 4 * k)),
                                             _MM_SHUFFLE(3, 1, 2, 0));
        const __m128i p1 = _mm_shuffle_epi32(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs + 4 * k + 8)), _MM_SHUFFLE(3, 1, 2, 0));
        const __m128i a = _mm_unpacklo_epi64(p0, p1);
        const __m128i b = _mm_unpackhi_epi64(p0, p1);
        AddStereo(widen(a, false), widen(b, false), _mm_unpacklo_ps(t, t), gains, out + 2 * k);
        AddStereo(widen(a, true), widen(b, true), _mm_unpackhi_ps(t, t), gains, out + 2 * k + 4);
    }
    return k;
}

template <typename Sample>
size_t MixMonoPairs(const Sample* pairs, const uint32_t* fraction, float gainLeft, float gainRight,
                    float* out, size_t count)
{
    const __m128 gains = _mm_setr_ps(gainLeft, gainRight, gainLeft, gainRight);
    size_t k = 0;
    for (; k + 4 <= count; k += 4) {
        __m128i a;
        __m128i b;
        if constexpr (sizeof(Sample) == 2) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs + 2 * k));
            a = _mm_srai_epi32(_mm_slli_epi32(p, 16), 16);
            b = _mm_srai_epi32(p, 16);
        } else {
            const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pairs + 2 * k));
            const __m128i p = _mm_unpacklo_epi8(bytes, _mm_setzero_si128());
            const __m128i offset = _mm_set1_epi32(128);
            a = _mm_slli_epi32(_mm_sub_epi32(_mm_and_si128(p, _mm_set1_epi32(0xFFFF)), offset), 8);
            b = _mm_slli_epi32(_mm_sub_epi32(_mm_srli_epi32(p, 16), offset), 8);
        }
        const __m128 a4 = _mm_cvtepi32_ps(a);
        const __m128 mixed =
            _mm_add_ps(a4, _mm_mul_ps(_mm_sub_ps(_mm_cvtepi32_ps(b), a4), Fractions(fraction + k)));
        float* o = out + 2 * k;
        _mm_storeu_ps(o, _mm_add_ps(_mm_loadu_ps(o), _mm_mul_ps(_mm_unpacklo_ps(mixed, mixed), gains)));
        _mm_storeu_ps(o + 4,
                      _mm_add_ps(_mm_loadu_ps(o + 4), _mm_mul_ps(_mm_unpackhi_ps(mixed, mixed), gains)));
    }
    return k;
}
#else
size_t MixStereoPairs(const int16_t*, const uint32_t*, float, float, float*, size_t)
{
    return 0;
}
template <typename Sample> size_t MixMonoPairs(const Sample*, const uint32_t*, float, float, float*, size_t)
{
    return 0;
}
#endif

// Mixes `frames` frames whose frame and successor both lie inside the sample.
// The first loop only copies each frame pair (one scattered read and one
// store); the second converts, interpolates and sums whole chunks, four
// frames at a time where the processor allows. Every path does the same
// arithmetic per frame as MixFrames' frame-at-a-time path, so the output does
// not depend on how a block is split. The fraction converts in two exact
// halves whose sum rounds once: the same float as converting the 32-bit value
// whole.
template <int Bits, int Channels>
void MixInterior(const uint8_t* data, uint64_t& position, uint64_t step, float gainLeft, float gainRight,
                 float* stereo, size_t frames)
{
    using Sample = std::conditional_t<Bits == 16, int16_t, uint8_t>;
    constexpr size_t kChunk = 64;
    constexpr size_t kPair = 2 * Channels;
    uint32_t fraction[kChunk];
    Sample pairs[kChunk * kPair];
    auto value = [](Sample s) -> float {
        if constexpr (Bits == 16)
            return static_cast<float>(s);
        else
            return static_cast<float>((static_cast<int32_t>(s) - 128) * 256);
    };
    uint64_t pos = position;
    for (size_t done = 0; done < frames;) {
        const size_t count = std::min(kChunk, frames - done);
        for (size_t k = 0; k < count; ++k) {
            // Samples are little-endian, as the host is.
            std::memcpy(&pairs[k * kPair], data + static_cast<size_t>(pos >> 32) * sizeof(Sample) * Channels,
                        sizeof(Sample) * kPair);
            fraction[k] = static_cast<uint32_t>(pos);
            pos += step;
        }
        float* out = stereo + 2 * done;
        size_t k = 0;
        if constexpr (Channels == 1)
            k = MixMonoPairs(pairs, fraction, gainLeft, gainRight, out, count);
        else if constexpr (Bits == 16)
            k = MixStereoPairs(pairs, fraction, gainLeft, gainRight, out, count);
        for (; k < count; ++k) {
            const float high = static_cast<float>(static_cast<int32_t>(fraction[k] >> 16)) * 65536.0f;
            const float low = static_cast<float>(static_cast<int32_t>(fraction[k] & 0xFFFFu));
            const float t = (high + low) * kFractionScale;
            const Sample* pair = &pairs[k * kPair];
            if constexpr (Channels == 1) {
                const float a = value(pair[0]);
                const float mixed = a + (value(pair[1]) - a) * t;
                out[2 * k] += mixed * gainLeft;
                out[2 * k + 1] += mixed * gainRight;
            } else {
                const float left = value(pair[0]);
                const float right = value(pair[1]);
                out[2 * k] += (left + (value(pair[2]) - left) * t) * gainLeft;
                out[2 * k + 1] += (right + (value(pair[3]) - right) * t) * gainRight;
            }
        }
        done += count;
    }
    position = pos;
}

// Mixes one voice; positions are 32.32 fixed point in source frames. Returns
// false when the voice played to its end.
template <int Bits, int Channels>
bool MixFrames(const uint8_t* data, size_t count, uint64_t& position, uint64_t step, bool looping,
               float gainLeft, float gainRight, float* stereo, size_t frames)
{
    const uint64_t length = static_cast<uint64_t>(count) << 32;
    // Below this position a frame and its successor are both inside the sample.
    const uint64_t interior = static_cast<uint64_t>(count - 1) << 32;
    size_t f = 0;
    while (f < frames) {
        if (position < interior) {
            const size_t run = std::min<uint64_t>(frames - f, (interior - position + step - 1) / step);
            MixInterior<Bits, Channels>(data, position, step, gainLeft, gainRight, stereo + 2 * f, run);
            f += run;
            // A fast voice can step from inside the sample to past its end.
            if (position >= length) {
                if (!looping)
                    return false;
                position %= length;
            }
            continue;
        }
        // The last frame: it leads into the start when looping, else holds.
        const float fraction = Fraction(position);
        const Frame a = ReadFrame<Bits, Channels>(data, count - 1);
        const Frame b = looping ? ReadFrame<Bits, Channels>(data, 0) : a;
        stereo[2 * f] += (a.left + (b.left - a.left) * fraction) * gainLeft;
        stereo[2 * f + 1] += (a.right + (b.right - a.right) * fraction) * gainRight;
        ++f;
        position += step;
        if (position >= length) {
            if (!looping)
                return false;
            position %= length;
        }
    }
    return true;
}

// Scales, clamps and rounds to nearest (ties to even, the default rounding
// mode). Clamping first rounds the same as rounding first; a NaN becomes the
// lowest value on both paths.
void ToPcm16(const float* in, float master, int16_t* out, size_t count)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128 gain = _mm_set1_ps(master);
    const __m128 lowest = _mm_set1_ps(-32768.0f);
    const __m128 highest = _mm_set1_ps(32767.0f);
    for (; i + 8 <= count; i += 8) {
        __m128 a = _mm_mul_ps(_mm_loadu_ps(in + i), gain);
        __m128 b = _mm_mul_ps(_mm_loadu_ps(in + i + 4), gain);
        a = _mm_min_ps(_mm_max_ps(a, lowest), highest);
        b = _mm_min_ps(_mm_max_ps(b, lowest), highest);
        const __m128i packed = _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), packed);
    }
#endif
    for (; i < count; ++i) {
        float value = in[i] * master;
        value = value > -32768.0f ? value : -32768.0f;
        value = value < 32767.0f ? value : 32767.0f;
        out[i] = static_cast<int16_t>(std::nearbyint(value));
    }
}

} // namespace

Mixer::Mixer() = default;

uint64_t Mixer::StepFor(uint32_t frequency)
{
    return (static_cast<uint64_t>(frequency) << 32) / kOutputRate;
}
Mixer::~Mixer() = default;

float Mixer::DecibelsToGain(int hundredthsOfDecibel)
{
    if (hundredthsOfDecibel <= kSilentVolume)
        return 0.0f;
    if (hundredthsOfDecibel >= 0)
        return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

Mixer::VoiceId Mixer::CreateVoice(std::shared_ptr<const PcmSound> sound)
{
    std::lock_guard lock(m_mutex);
    VoiceId id = m_nextVoice++;
    if (m_nextVoice == 0)
        m_nextVoice = 1;
    Voice& voice = m_voices[id];
    voice.frequency =
        sound ? static_cast<uint32_t>(std::clamp(sound->samplesPerSecond, kMinFrequency, kMaxFrequency))
              : 44100;
    voice.step = StepFor(voice.frequency);
    voice.sound = std::move(sound);
    return id;
}

void Mixer::DestroyVoice(VoiceId voice)
{
    std::lock_guard lock(m_mutex);
    m_voices.erase(voice);
}

bool Mixer::PlayVoice(VoiceId id, bool looping)
{
    std::lock_guard lock(m_mutex);
    auto it = m_voices.find(id);
    if (it == m_voices.end() || !it->second.sound || it->second.sound->FrameCount() == 0)
        return false;
    it->second.playing = true;
    it->second.looping = looping;
    return true;
}

void Mixer::StopVoice(VoiceId id)
{
    std::lock_guard lock(m_mutex);
    auto it = m_voices.find(id);
    if (it == m_voices.end())
        return;
    it->second.playing = false;
    it->second.position = 0;
}

bool Mixer::IsVoicePlaying(VoiceId id)
{
    std::lock_guard lock(m_mutex);
    auto it = m_voices.find(id);
    return it != m_voices.end() && it->second.playing;
}

void Mixer::SetVoiceVolume(VoiceId id, int hundredthsOfDecibel)
{
    std::lock_guard lock(m_mutex);
    auto it = m_voices.find(id);
    if (it == m_voices.end())
        return;
    it->second.volume = std::clamp(hundredthsOfDecibel, kSilentVolume, 0);
    UpdateGains(it->second);
}

void Mixer::SetVoicePan(VoiceId id, int pan)
{
    std::lock_guard lock(m_mutex);
    auto it = m_voices.find(id);
    if (it == m_voices.end())
        return;
    it->second.pan = std::clamp(pan, -10000, 10000);
    UpdateGains(it->second);
}

void Mixer::SetVoiceFrequency(VoiceId id, uint32_t hertz)
{
    std::lock_guard lock(m_mutex);
    auto it = m_voices.find(id);
    if (it == m_voices.end())
        return;
    it->second.frequency = std::clamp<uint32_t>(hertz, kMinFrequency, kMaxFrequency);
    it->second.step = StepFor(it->second.frequency);
}

uint32_t Mixer::GetVoiceFrequency(VoiceId id)
{
    std::lock_guard lock(m_mutex);
    auto it = m_voices.find(id);
    return it == m_voices.end() ? 0 : it->second.frequency;
}

void Mixer::AddInput(MixerInput* input)
{
    std::lock_guard lock(m_mutex);
    m_inputs.push_back(input);
}

void Mixer::RemoveInput(MixerInput* input)
{
    std::lock_guard lock(m_mutex);
    std::erase(m_inputs, input);
}

void Mixer::SetMasterGain(double gain)
{
    std::lock_guard lock(m_mutex);
    m_masterGain = std::isnan(gain) ? 0.0 : std::clamp(gain, 0.0, 1.0);
}

double Mixer::GetMasterGain()
{
    std::lock_guard lock(m_mutex);
    return m_masterGain;
}

void Mixer::UpdateGains(Voice& voice)
{
    float gain = DecibelsToGain(voice.volume);
    voice.gainLeft = gain;
    voice.gainRight = gain;
    if (voice.pan > 0)
        voice.gainLeft *= voice.pan >= 10000 ? 0.0f : DecibelsToGain(-voice.pan);
    else if (voice.pan < 0)
        voice.gainRight *= voice.pan <= -10000 ? 0.0f : DecibelsToGain(voice.pan);
}

void Mixer::MixVoice(Voice& voice, float* stereo, size_t frames)
{
    const PcmSound& sound = *voice.sound;
    const size_t count = sound.FrameCount();
    if (count == 0) {
        voice.playing = false;
        return;
    }
    const uint8_t* data = sound.data.data();
    bool more;
    if (sound.bitsPerSample == 16 && sound.channels == 2)
        more = MixFrames<16, 2>(data, count, voice.position, voice.step, voice.looping, voice.gainLeft,
                                voice.gainRight, stereo, frames);
    else if (sound.bitsPerSample == 16)
        more = MixFrames<16, 1>(data, count, voice.position, voice.step, voice.looping, voice.gainLeft,
                                voice.gainRight, stereo, frames);
    else if (sound.channels == 2)
        more = MixFrames<8, 2>(data, count, voice.position, voice.step, voice.looping, voice.gainLeft,
                               voice.gainRight, stereo, frames);
    else
        more = MixFrames<8, 1>(data, count, voice.position, voice.step, voice.looping, voice.gainLeft,
                               voice.gainRight, stereo, frames);
    if (!more) {
        voice.playing = false;
        voice.position = 0;
    }
}

void Mixer::Render(int16_t* out, size_t frames)
{
    std::lock_guard lock(m_mutex);
    m_accumulator.assign(frames * 2, 0.0f);
    float* stereo = m_accumulator.data();
    for (auto& [id, voice] : m_voices) {
        if (voice.playing && voice.sound)
            MixVoice(voice, stereo, frames);
    }
    for (MixerInput* input : m_inputs)
        input->MixInto(stereo, frames);
    ToPcm16(stereo, static_cast<float>(m_masterGain), out, frames * 2);
}
