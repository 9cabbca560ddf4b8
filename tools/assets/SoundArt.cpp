#include "tools/assets/SoundArt.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

// Like the pictures, every sample comes only from exactly rounded arithmetic
// (+, -, *, /), floor, ldexp and comparisons: the sines and exponentials are
// the generator's own polynomials and the noise its own generator, so the
// sounds come out the same with any runtime.
namespace {

using Signal = std::vector<double>;

constexpr double Rate = SoundSampleRate;
constexpr double TwoPi = 6.283185307179586;
constexpr double Ln2 = 0.6931471805599453;
constexpr double SemitoneRatio = 1.0594630943592953; // 2^(1/12)

// ---- Arithmetic -----------------------------------------------------------

double Fraction(double x) { return x - std::floor(x); }

// sin(2 pi cycles): folded into the first quarter wave, then its series to
// the 11th power (error below 1e-7).
double SineCycles(double cycles)
{
    double x = Fraction(cycles);
    double sign = 1.0;
    if (x >= 0.5) {
        x -= 0.5;
        sign = -1.0;
    }
    if (x > 0.25)
        x = 0.5 - x;
    const double t = TwoPi * x;
    const double t2 = t * t;
    const double series =
        t * (1.0 - t2 / 6.0 * (1.0 - t2 / 20.0 * (1.0 - t2 / 42.0 * (1.0 - t2 / 72.0 * (1.0 - t2 / 110.0)))));
    return sign * series;
}

double CosineCycles(double cycles) { return SineCycles(cycles + 0.25); }

// e^x: x split into k ln 2 + r with |r| <= ln 2 / 2, e^r by its series.
double Exp(double x)
{
    if (x < -700.0)
        return 0.0;
    const double k = std::floor(x / Ln2 + 0.5);
    const double r = x - k * Ln2;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 12; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

// 2^(cents / 1200).
double CentsRatio(double cents) { return Exp(cents * Ln2 / 1200.0); }

// The frequency of a MIDI note, from A4 = 440 Hz one semitone at a time.
double NoteFrequency(int midi)
{
    double f = 440.0;
    for (int n = 69; n < midi; ++n)
        f *= SemitoneRatio;
    for (int n = 69; n > midi; --n)
        f /= SemitoneRatio;
    return f;
}

double Clamp(double v, double lo, double hi) { return std::min(std::max(v, lo), hi); }

// 0 at 0, 1 at 1, flat at both ends.
double SmoothRise(double t)
{
    t = Clamp(t, 0.0, 1.0);
    return 0.5 - 0.5 * CosineCycles(0.5 * t);
}

std::size_t ToSamples(double seconds) { return static_cast<std::size_t>(std::floor(seconds * Rate + 0.5)); }

// ---- Noise ----------------------------------------------------------------

class Noise {
public:
    explicit Noise(uint32_t seed) : state(seed * 2654435761u + 0x6D2B79F5u) {}

    uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // In [0, 1).
    double Uniform() { return (Next() >> 8) / 16777216.0; }
    // In [-1, 1).
    double Bipolar() { return Uniform() * 2.0 - 1.0; }
    double Range(double a, double b) { return a + (b - a) * Uniform(); }

private:
    uint32_t state;
};

// Smooth random motion in [-1, 1]: values at whole steps, eased between.
class SmoothNoise {
public:
    SmoothNoise(uint32_t seed, std::size_t steps)
    {
        Noise noise(seed);
        for (std::size_t i = 0; i < steps + 2; ++i)
            values.push_back(noise.Bipolar());
    }
    double At(double x) const
    {
        x = Clamp(x, 0.0, static_cast<double>(values.size() - 2));
        const std::size_t i = static_cast<std::size_t>(std::floor(x));
        const double t = SmoothRise(x - static_cast<double>(i));
        return values[i] + (values[i + 1] - values[i]) * t;
    }

private:
    std::vector<double> values;
};

// ---- Filters --------------------------------------------------------------

class OnePoleLowpass {
public:
    explicit OnePoleLowpass(double cutoff) : a(1.0 - Exp(-TwoPi * cutoff / Rate)) {}
    double operator()(double x) { return y += a * (x - y); }

private:
    double a;
    double y = 0.0;
};

class OnePoleHighpass {
public:
    explicit OnePoleHighpass(double cutoff) : low(cutoff) {}
    double operator()(double x) { return x - low(x); }

private:
    OnePoleLowpass low;
};

// A second-order section after the well-known cookbook formulas.
class Biquad {
public:
    static Biquad Bandpass(double centre, double q)
    {
        const double w = centre / Rate;
        const double alpha = SineCycles(w) / (2.0 * q);
        return Biquad(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * CosineCycles(w), 1.0 - alpha);
    }
    static Biquad Lowpass(double cutoff, double q)
    {
        const double w = cutoff / Rate;
        const double alpha = SineCycles(w) / (2.0 * q);
        const double c = CosineCycles(w);
        return Biquad((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
    }
    double operator()(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    Biquad(double n0, double n1, double n2, double d0, double d1, double d2)
        : b0(n0 / d0), b1(n1 / d0), b2(n2 / d0), a1(d1 / d0), a2(d2 / d0)
    {
    }
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// A mono hall: eight damped feedback combs in parallel, then four allpasses
// in series, the delays chosen mutually prime-ish for 22,050 Hz.
class Reverb {
public:
    Reverb(double size, double damping)
    {
        static const std::size_t combLengths[] = {557, 593, 641, 677, 709, 743, 779, 811};
        static const std::size_t allpassLengths[] = {277, 219, 171, 113};
        for (std::size_t length : combLengths)
            combs.push_back(Comb{Signal(length), 0, 0.0});
        for (std::size_t length : allpassLengths)
            allpasses.push_back(Allpass{Signal(length), 0});
        feedback = size;
        damp = damping;
    }
    double operator()(double x)
    {
        double out = 0.0;
        for (Comb& c : combs) {
            const double delayed = c.line[c.at];
            c.filtered = delayed * (1.0 - damp) + c.filtered * damp;
            c.line[c.at] = x + c.filtered * feedback;
            c.at = c.at + 1 == c.line.size() ? 0 : c.at + 1;
            out += delayed;
        }
        out *= 0.125;
        for (Allpass& a : allpasses) {
            const double delayed = a.line[a.at];
            a.line[a.at] = out + delayed * 0.5;
            a.at = a.at + 1 == a.line.size() ? 0 : a.at + 1;
            out = delayed - out;
        }
        return out;
    }

private:
    struct Comb {
        Signal line;
        std::size_t at;
        double filtered;
    };
    struct Allpass {
        Signal line;
        std::size_t at;
    };
    std::vector<Comb> combs;
    std::vector<Allpass> allpasses;
    double feedback;
    double damp;
};

// Runs a filter over a signal that repeats: twice round, keeping the second
// pass, so that the filter's state at the end leads straight into the start
// and the loop has no seam.
template <class Filter>
Signal FilterLoop(const Signal& in, Filter filter)
{
    Signal out(in.size());
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < in.size(); ++i)
            out[i] = filter(in[i]);
    return out;
}

template <class Filter>
Signal FilterOnce(const Signal& in, Filter filter)
{
    Signal out(in.size());
    for (std::size_t i = 0; i < in.size(); ++i)
        out[i] = filter(in[i]);
    return out;
}

void MixInto(Signal& target, const Signal& source, double gain)
{
    for (std::size_t i = 0; i < target.size() && i < source.size(); ++i)
        target[i] += source[i] * gain;
}

// ---- Voices ---------------------------------------------------------------

// A sine of fixed frequency by the two-term recurrence: one multiply and one
// subtraction a sample.
class Oscillator {
public:
    Oscillator(double frequency, double phaseCycles = 0.0)
        : k(2.0 * CosineCycles(frequency / Rate)), previous(SineCycles(phaseCycles - frequency / Rate)),
          current(SineCycles(phaseCycles))
    {
    }
    double Next()
    {
        const double out = current;
        const double next = k * current - previous;
        previous = current;
        current = next;
        return out;
    }

private:
    double k;
    double previous;
    double current;
};

// Adds a note's partials (frequency ratio, amplitude, decay time in seconds or
// 0 for none) under an envelope of the time since the note began.
template <class Envelope>
void AddPartials(Signal& out, double start, double length, double frequency,
                 const std::vector<std::array<double, 3>>& partials, double gain, Envelope envelope,
                 double phaseSeed = 0.0)
{
    const std::size_t first = ToSamples(start);
    if (first >= out.size())
        return;
    const std::size_t count = std::min(ToSamples(length), out.size() - first);
    Signal shape(count);
    for (std::size_t i = 0; i < count; ++i)
        shape[i] = envelope(static_cast<double>(i) / Rate) * gain;
    // Partials above this would fold back down as noise.
    const double highest = Rate * 0.45;
    for (std::size_t p = 0; p < partials.size(); ++p) {
        const double f = frequency * partials[p][0];
        if (f >= highest)
            continue;
        Oscillator oscillator(f, Fraction(phaseSeed * static_cast<double>(p + 1) * 0.618034));
        const double decayStep = partials[p][2] > 0.0 ? Exp(-1.0 / (partials[p][2] * Rate)) : 1.0;
        double amplitude = partials[p][1];
        for (std::size_t i = 0; i < count; ++i) {
            out[first + i] += oscillator.Next() * amplitude * shape[i];
            amplitude *= decayStep;
        }
    }
}

// Soft attack and release around a sustained span.
struct PadEnvelope {
    double attack, hold, release;
    double operator()(double t) const
    {
        if (t < attack)
            return SmoothRise(t / attack);
        if (t < attack + hold)
            return 1.0;
        return 1.0 - SmoothRise((t - attack - hold) / release);
    }
};

// A quick attack, then whatever decay the partials have, faded out at the end.
struct StrikeEnvelope {
    double attack, length;
    double operator()(double t) const
    {
        const double fadeOut = 0.25;
        return SmoothRise(t / attack) * (1.0 - SmoothRise((t - (length - fadeOut)) / fadeOut));
    }
};

// ---- Output ---------------------------------------------------------------

// Scaled so that the loudest sample reaches peak, faded in and out as asked
// (0 for none), dithered by a triangular pair of draws and rounded to 16 bits.
SoundClip Finish(Signal signal, double peak, double fadeIn, double fadeOut, uint32_t ditherSeed)
{
    double loudest = 0.0;
    for (double s : signal)
        loudest = std::max(loudest, std::fabs(s));
    const double scale = loudest > 0.0 ? peak / loudest : 0.0;
    const std::size_t in = ToSamples(fadeIn);
    const std::size_t out = ToSamples(fadeOut);
    Noise dither(ditherSeed);
    SoundClip clip;
    clip.samples.reserve(signal.size());
    for (std::size_t i = 0; i < signal.size(); ++i) {
        double v = signal[i] * scale * 32767.0;
        if (i < in)
            v *= SmoothRise(static_cast<double>(i) / static_cast<double>(in));
        if (out > 0 && i + out >= signal.size())
            v *= SmoothRise(static_cast<double>(signal.size() - 1 - i) / static_cast<double>(out));
        v += (dither.Uniform() - dither.Uniform());
        clip.samples.push_back(static_cast<int16_t>(Clamp(std::floor(v + 0.5), -32767.0, 32767.0)));
    }
    return clip;
}

// ---- Rain -----------------------------------------------------------------

const double RainSeconds = 8.0;

// A drop on a leaf: a click of noise and the short ring of the leaf.
void AddLeafDrop(Signal& loop, std::size_t at, double pitch, double decay, double gain, Noise& noise)
{
    const std::size_t length = ToSamples(decay * 6.0);
    const double step = Exp(-1.0 / (decay * Rate));
    const double clickStep = Exp(-1.0 / (0.0004 * Rate));
    Oscillator ring(pitch);
    double envelope = gain;
    double click = gain * 0.8;
    for (std::size_t i = 0; i < length; ++i) {
        loop[(at + i) % loop.size()] += ring.Next() * envelope + noise.Bipolar() * click;
        envelope *= step;
        click *= clickStep;
    }
}

// A drop into a puddle: a bubble whose pitch rises as it rings away.
void AddPuddleDrop(Signal& loop, std::size_t at, double pitch, double gain)
{
    const std::size_t length = ToSamples(0.09);
    const double step = Exp(-1.0 / (0.022 * Rate));
    double phase = 0.0;
    double envelope = gain;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / Rate;
        phase += pitch * (1.0 + 6.0 * t) / Rate;
        loop[(at + i) % loop.size()] += SineCycles(phase) * envelope * SmoothRise(t / 0.002);
        envelope *= step;
    }
}

// ---- Birds ----------------------------------------------------------------

// One syllable: a tone that follows a pitch curve, with a touch of second and
// third harmonic, under a soft envelope.
template <class Pitch>
void AddSyllable(Signal& out, double start, double length, double gain, Pitch pitch)
{
    const std::size_t first = ToSamples(start);
    const std::size_t count = ToSamples(length);
    double phase = 0.0;
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double u = static_cast<double>(i) / static_cast<double>(count);
        phase += pitch(u) / Rate;
        const double envelope = SmoothRise(u / 0.2) * (1.0 - SmoothRise((u - 0.6) / 0.4));
        // Overtones fade out before they reach half the rate, past which
        // they would fold back as noise.
        const double f = pitch(u);
        const auto below = [](double overtone) { return 1.0 - SmoothRise((overtone - 0.38 * Rate) / (0.06 * Rate)); };
        const double tone = SineCycles(phase) + 0.12 * below(2.0 * f) * SineCycles(2.0 * phase) +
                            0.04 * below(3.0 * f) * SineCycles(3.0 * phase);
        out[first + i] += tone * envelope * gain;
    }
}

double Glide(double from, double to, double u) { return from + (to - from) * u; }

// ---- Thunder --------------------------------------------------------------

// Brown noise: white noise integrated with a slow leak back to zero.
Signal BrownNoise(std::size_t length, uint32_t seed)
{
    Noise noise(seed);
    Signal out(length);
    double y = 0.0;
    for (double& s : out) {
        y = y * 0.997 + noise.Bipolar() * 0.05;
        s = y;
    }
    return out;
}

// ---- Music ----------------------------------------------------------------

// A chord of the progression: its bass note and the pad's voicing.
struct Chord {
    int bass;
    std::vector<int> pad;
};

// A note of a melody, in beats from the start of the piece.
struct Note {
    double beat;
    int midi;
    double gain;
};

// A warm pad note: seven harmonics falling away, each doubled by a pair of
// slightly detuned copies for a slow chorus.
void AddPadNote(Signal& out, double start, double hold, int midi, double gain, double brightness, double seed)
{
    const double attack = 1.8;
    const double release = 2.4;
    // ln k, so that harmonic k has the amplitude k^-(2.1 - brightness).
    static const double logs[] = {0.0, 0.6931471805599453, 1.0986122886681098, 1.3862943611198906,
                                  1.6094379124341003, 1.791759469228055, 1.9459101090932196};
    std::vector<std::array<double, 3>> partials;
    for (int k = 1; k <= 7; ++k) {
        const double amplitude = Exp(-(2.1 - brightness) * logs[k - 1]);
        const double spread = 2.0 + 0.6 * k;
        partials.push_back({k * CentsRatio(spread), amplitude * 0.5, 0.0});
        partials.push_back({k * CentsRatio(-spread), amplitude * 0.5, 0.0});
    }
    AddPartials(out, start, attack + hold + release, NoteFrequency(midi), partials, gain,
                PadEnvelope{attack, hold, release}, seed);
}

// A glassy bell: a clear fundamental with a quicker, slightly inharmonic
// shimmer above it.
void AddBell(Signal& out, double start, int midi, double gain)
{
    const double ring = 4.5;
    const std::vector<std::array<double, 3>> partials = {
        {1.0, 1.0, 1.5}, {2.0, 0.32, 0.7}, {3.0, 0.08, 0.4}, {4.07, 0.10, 0.25}, {5.46, 0.04, 0.15}};
    AddPartials(out, start, ring, NoteFrequency(midi), partials, gain, StrikeEnvelope{0.004, ring});
}

// A music-box tine: pure and short, with a faint metallic overtone.
void AddTine(Signal& out, double start, int midi, double gain)
{
    const double ring = 2.6;
    const std::vector<std::array<double, 3>> partials = {
        {1.0, 1.0, 0.9}, {2.0, 0.22, 0.35}, {3.0, 0.06, 0.2}, {5.93, 0.05, 0.08}};
    AddPartials(out, start, ring, NoteFrequency(midi), partials, gain, StrikeEnvelope{0.003, ring});
}

// A round bass: the fundamental and a little of the octave.
void AddBass(Signal& out, double start, double hold, int midi, double gain)
{
    const std::vector<std::array<double, 3>> partials = {{1.0, 1.0, 0.0}, {2.0, 0.28, 0.0}, {3.0, 0.05, 0.0}};
    AddPartials(out, start, 0.35 + hold + 1.4, NoteFrequency(midi), partials, gain, PadEnvelope{0.35, hold, 1.4});
}

// The dry mix through the hall, its wet part blended in.
Signal WithHall(const Signal& dry, double size, double damping, double wet)
{
    Reverb hall(size, damping);
    OnePoleHighpass lowCut(120.0);
    Signal out(dry.size());
    for (std::size_t i = 0; i < dry.size(); ++i)
        out[i] = dry[i] * (1.0 - wet) + hall(lowCut(dry[i])) * wet * 3.0;
    return out;
}

} // namespace

Bytes EncodeWav(const SoundClip& clip)
{
    const uint32_t dataBytes = static_cast<uint32_t>(clip.samples.size() * 2);
    const uint32_t formatBytes = 16;
    Bytes bytes;
    const auto put16 = [&bytes](uint32_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    };
    const auto put32 = [&put16](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    const auto tag = [&bytes](const char* t) { bytes.insert(bytes.end(), t, t + 4); };
    tag("RIFF");
    put32(4 + 8 + formatBytes + 8 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(formatBytes);
    put16(1); // PCM
    put16(1); // mono
    put32(clip.sampleRate);
    put32(clip.sampleRate * 2);
    put16(2);
    put16(16);
    tag("data");
    put32(dataBytes);
    for (int16_t sample : clip.samples)
        put16(static_cast<uint16_t>(sample));
    return bytes;
}

SoundClip MakeRain()
{
    const std::size_t length = ToSamples(RainSeconds);
    Noise noise(11);

    // The hiss of distant rain on everything at once, swelling with the
    // gusts; the gusts repeat a whole number of times in the loop.
    Signal hiss(length);
    for (std::size_t i = 0; i < length; ++i) {
        const double u = static_cast<double>(i) / static_cast<double>(length);
        const double gust = 0.75 + 0.16 * SineCycles(u) + 0.09 * SineCycles(3.0 * u + 0.3);
        hiss[i] = noise.Bipolar() * gust;
    }
    OnePoleHighpass hissLow(350.0);
    Biquad hissHigh = Biquad::Lowpass(3800.0, 0.6);
    hiss = FilterLoop(hiss, [&](double x) { return hissHigh(hissLow(x)); });

    // A soft low body under it.
    Signal body(length);
    for (double& s : body)
        s = noise.Bipolar();
    OnePoleLowpass bodyLow1(260.0), bodyLow2(260.0);
    body = FilterLoop(body, [&](double x) { return bodyLow2(bodyLow1(x)); });

    // Drops on leaves near by, mostly faint, and now and then one into a
    // puddle; a drop that runs past the end goes on at the start.
    Signal drops(length);
    const int leafDrops = static_cast<int>(RainSeconds * 140);
    for (int d = 0; d < leafDrops; ++d) {
        const std::size_t at = static_cast<std::size_t>(noise.Uniform() * static_cast<double>(length));
        const double strength = noise.Uniform();
        AddLeafDrop(drops, at, noise.Range(1300.0, 4800.0), noise.Range(0.002, 0.006),
                    0.05 + 0.95 * strength * strength * strength, noise);
    }
    const int puddleDrops = static_cast<int>(RainSeconds * 3);
    for (int d = 0; d < puddleDrops; ++d) {
        const std::size_t at = static_cast<std::size_t>(noise.Uniform() * static_cast<double>(length));
        AddPuddleDrop(drops, at, noise.Range(700.0, 1300.0), noise.Range(0.25, 0.6));
    }
    OnePoleLowpass dropSoftening(5500.0);
    drops = FilterLoop(drops, dropSoftening);

    Signal mix(length);
    MixInto(mix, hiss, 0.5);
    MixInto(mix, body, 2.0);
    MixInto(mix, drops, 0.5);
    Reverb air(0.72, 0.55);
    Signal wet = FilterLoop(mix, [&](double x) { return air(x); });
    MixInto(mix, wet, 0.6);
    return Finish(mix, 0.45, 0.0, 0.0, 12);
}

SoundClip MakeBirds()
{
    Signal near(ToSamples(4.2));
    Signal far(near.size());

    // The first bird: a rising and falling whistle, three quick chirps, a
    // trill and a wavering close.
    AddSyllable(near, 0.10, 0.30, 1.0, [](double u) {
        return u < 0.45 ? Glide(3150.0, 3900.0, u / 0.45) : Glide(3900.0, 2800.0, (u - 0.45) / 0.55);
    });
    for (int c = 0; c < 3; ++c)
        AddSyllable(near, 0.52 + 0.095 * c, 0.055, 0.85 - 0.1 * c,
                    [](double u) { return 5300.0 * Exp(-0.45 * u); });
    for (int n = 0; n < 9; ++n) {
        const double high = n % 2 == 0 ? 4150.0 : 3650.0;
        AddSyllable(near, 0.96 + 0.048 * n, 0.038, 0.75 * (1.0 - 0.05 * n),
                    [high](double u) { return high - 220.0 * u; });
    }
    AddSyllable(near, 1.52, 0.26, 0.8, [](double u) { return 3100.0 + 180.0 * u + 90.0 * SineCycles(7.5 * u); });

    // The second, farther off, answers.
    for (int c = 0; c < 3; ++c)
        AddSyllable(far, 2.28 + 0.16 * c, 0.07, 1.0, [](double u) { return Glide(3100.0, 2600.0, u); });
    AddSyllable(far, 2.86, 0.20, 1.0, [](double u) { return 2400.0 * Exp(0.38 * u); });
    AddSyllable(far, 3.18, 0.16, 0.8, [](double u) { return Glide(3500.0, 3000.0, u); });
    OnePoleLowpass distance(4200.0);
    far = FilterOnce(far, distance);

    Signal mix(near.size());
    MixInto(mix, near, 1.0);
    MixInto(mix, far, 0.42);
    Reverb woods(0.8, 0.45);
    Signal wet = FilterOnce(mix, [&](double x) { return woods(x); });
    MixInto(mix, wet, 0.45);
    return Finish(mix, 0.36, 0.0, 0.35, 21);
}

SoundClip MakeClockTicks()
{
    // Tick and tock, one second apart, the loop two seconds long.
    Signal loop(ToSamples(2.0));
    Noise noise(31);
    const auto strike = [&](double start, double pitch, double gain) {
        const std::size_t first = ToSamples(start);
        // The escapement's click: a few modes of a small metal part, struck.
        const std::vector<std::array<double, 3>> modes = {
            {1.0, 0.30, 0.012}, {2.05, 0.60, 0.018}, {3.43, 0.35, 0.009}, {5.21, 0.25, 0.005}};
        AddPartials(loop, start, 0.12, 1210.0 * pitch, modes, gain, StrikeEnvelope{0.0004, 0.12});
        // The impact itself: a short breath of noise.
        double envelope = gain * 0.5;
        const double step = Exp(-1.0 / (0.0003 * Rate));
        OnePoleHighpass thin(1500.0);
        for (std::size_t i = 0; i < ToSamples(0.004); ++i) {
            loop[first + i] += thin(noise.Bipolar()) * envelope;
            envelope *= step;
        }
    };
    strike(0.002, 1.0, 1.0);
    strike(0.014, 1.0, 0.28);
    strike(1.002, 0.84, 0.9);
    strike(1.014, 0.84, 0.25);

    Reverb room(0.45, 0.6);
    Signal wet = FilterLoop(loop, [&](double x) { return room(x); });
    MixInto(loop, wet, 0.35);
    return Finish(loop, 0.32, 0.0, 0.0, 32);
}

SoundClip MakeThunder()
{
    const double seconds = 8.0;
    const std::size_t length = ToSamples(seconds);
    Noise noise(41);

    // The crack: bursts of bright noise in quick succession.
    Signal crack(length);
    const double bursts[][2] = {{0.06, 1.0}, {0.078, 0.7}, {0.105, 0.85}, {0.15, 0.5}, {0.23, 0.35}};
    for (const auto& burst : bursts) {
        const std::size_t first = ToSamples(burst[0]);
        const double step = Exp(-1.0 / (0.07 * Rate));
        double envelope = burst[1];
        for (std::size_t i = 0; i < ToSamples(0.5); ++i) {
            const double attack = SmoothRise(static_cast<double>(i) / (0.003 * Rate));
            crack[first + i] += noise.Bipolar() * envelope * attack;
            envelope *= step;
        }
    }
    OnePoleHighpass crackLow(300.0);
    OnePoleLowpass crackHigh(6000.0);
    crack = FilterOnce(crack, [&](double x) { return crackHigh(crackLow(x)); });

    // The rumble: deep brown noise rolling in slow, uneven swells.
    const SmoothNoise rollA(42, 40), rollB(43, 40);
    const auto swell = [&](double t, const SmoothNoise& roll) {
        const double rise = SmoothRise((t - 0.12) / 0.4);
        const double decay = t < 0.5 ? 1.0 : Exp(-(t - 0.5) / 2.4);
        return rise * decay * (0.55 + 0.45 * roll.At(t * 2.4));
    };
    Signal rumble = BrownNoise(length, 44);
    Biquad deep1 = Biquad::Lowpass(170.0, 0.7), deep2 = Biquad::Lowpass(170.0, 0.7);
    rumble = FilterOnce(rumble, [&](double x) { return deep2(deep1(x)); });
    Signal roll(length);
    for (double& s : roll)
        s = noise.Bipolar();
    Biquad mid = Biquad::Bandpass(320.0, 0.9);
    OnePoleLowpass midTop(900.0);
    roll = FilterOnce(roll, [&](double x) { return midTop(mid(x)); });
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / Rate;
        rumble[i] *= swell(t, rollA);
        roll[i] *= swell(t, rollB) * (0.5 + 0.5 * rollB.At(t * 5.0));
    }

    // A low thump under the crack.
    Signal thump(length);
    AddPartials(thump, 0.06, 1.5, 48.0, {{1.0, 1.0, 0.3}, {1.5, 0.4, 0.2}}, 1.0, StrikeEnvelope{0.01, 1.5});

    Signal mix(length);
    MixInto(mix, crack, 0.55);
    MixInto(mix, rumble, 1.0 / 0.35);
    MixInto(mix, roll, 0.9);
    MixInto(mix, thump, 0.5);
    Reverb sky(0.9, 0.55);
    Signal wet = FilterOnce(mix, [&](double x) { return sky(x); });
    MixInto(mix, wet, 0.55);
    return Finish(mix, 0.7, 0.0, 1.2, 45);
}

SoundClip MakeNightMusic()
{
    const double beat = 60.0 / 64.0;
    const double bar = 4.0 * beat;
    const std::vector<Chord> chords = {
        {38, {54, 57, 61, 64}}, // Dmaj9
        {35, {54, 57, 62, 64}}, // Bm11
        {31, {55, 59, 62, 66}}, // Gmaj7
        {33, {57, 61, 64, 66}}, // A6
        {38, {54, 57, 61, 64}}, // Dmaj9
        {42, {54, 57, 61, 64}}, // F#m7
        {31, {55, 59, 62, 66}}, // Gmaj7
        {33, {57, 61, 64, 67}}, // A7
        {35, {54, 57, 62, 66}}, // Bm7
        {31, {55, 59, 62, 66}}, // Gmaj7
        {40, {55, 59, 62, 66}}, // Em9
        {33, {57, 62, 64, 67}}, // A7sus4
        {31, {55, 59, 62, 66}}, // Gmaj7
        {33, {57, 61, 64, 67}}, // A7
        {38, {54, 57, 62, 66}}, // D
    };
    const std::vector<Note> melody = {
        // The intro's few high bells.
        {8.0, 86, 0.5}, {10.0, 81, 0.4}, {12.0, 85, 0.5}, {14.0, 76, 0.4},
        // First phrase.
        {16.0, 81, 1}, {17.5, 78, 0.7}, {18.0, 76, 0.8}, {19.0, 74, 0.8},
        {20.0, 73, 1}, {22.0, 76, 0.8}, {23.0, 78, 0.8},
        {24.0, 83, 1}, {25.5, 81, 0.7}, {26.0, 78, 0.9},
        {28.0, 76, 1}, {30.0, 73, 0.8}, {31.0, 76, 0.8},
        // Second phrase.
        {32.0, 78, 1}, {33.5, 74, 0.7}, {34.0, 71, 0.8}, {35.0, 74, 0.8},
        {36.0, 76, 0.9}, {37.0, 78, 0.8}, {38.0, 81, 1},
        {40.0, 79, 1}, {41.5, 78, 0.7}, {42.0, 76, 0.8}, {43.0, 71, 0.7},
        {44.0, 69, 0.9}, {46.0, 73, 0.8}, {47.5, 76, 0.6},
        // Close.
        {48.0, 74, 0.9}, {49.0, 78, 0.8}, {50.0, 83, 1},
        {52.0, 81, 1}, {53.5, 79, 0.7}, {54.0, 76, 0.9},
        {56.0, 78, 0.9}, {58.0, 76, 0.8}, {59.0, 74, 1}, {60.0, 69, 0.4}, {60.5, 74, 0.35},
    };

    const double length = static_cast<double>(chords.size() + 1) * bar + 2.5;
    Signal pads(ToSamples(length)), bells(pads.size()), bass(pads.size());
    for (std::size_t c = 0; c < chords.size(); ++c) {
        // The last chord is held for a bar more and dies away.
        const double hold = c + 1 == chords.size() ? 2.0 * bar - 1.8 : bar - 1.0;
        const double start = static_cast<double>(c) * bar;
        for (std::size_t n = 0; n < chords[c].pad.size(); ++n)
            AddPadNote(pads, start, hold, chords[c].pad[n], 1.0, 0.0, static_cast<double>(c * 4 + n));
        AddBass(bass, start, hold, chords[c].bass, 1.0);
    }
    for (const Note& note : melody)
        AddBell(bells, note.beat * beat, note.midi, note.gain);

    Signal mix(pads.size());
    MixInto(mix, pads, 0.11);
    MixInto(mix, bells, 0.2);
    MixInto(mix, bass, 0.22);
    return Finish(WithHall(mix, 0.88, 0.4, 0.38), 0.34, 1.0, 3.0, 51);
}

SoundClip MakeDawnMusic()
{
    const double beat = 1.0;
    const double bar = 4.0 * beat;
    const std::vector<Chord> chords = {
        {45, {57, 60, 64, 69}}, // Am
        {41, {57, 60, 65, 69}}, // F
        {48, {55, 60, 64, 67}}, // C
        {43, {55, 59, 62, 67}}, // G
        {45, {57, 60, 64, 69}}, // Am
        {41, {57, 60, 65, 69}}, // F
        {48, {55, 60, 64, 67}}, // C
        {40, {56, 59, 64, 68}}, // E
        {41, {57, 60, 65, 69}}, // F
        {43, {55, 59, 62, 67}}, // G
        {40, {55, 59, 64, 67}}, // Em
        {45, {57, 60, 64, 69}}, // Am
        {41, {57, 60, 65, 69}}, // F
        {40, {56, 59, 64, 68}}, // E
        {45, {57, 60, 64, 69}}, // Am
    };
    // The music box plays each chord broken in eighths, an octave above the
    // strings, then two octaves above with a pattern that climbs higher.
    const int lowPattern[] = {0, 1, 2, 3, 2, 1, 2, 1};
    const int highPattern[] = {0, 2, 3, 4, 3, 2, 4, 3};

    const double length = static_cast<double>(chords.size()) * bar + 5.0;
    Signal strings(ToSamples(length)), box(strings.size()), bass(strings.size());
    for (std::size_t c = 0; c < chords.size(); ++c) {
        const bool last = c + 1 == chords.size();
        const double start = static_cast<double>(c) * bar;
        const double hold = last ? bar + 0.5 : bar - 1.0;
        for (std::size_t n = 0; n < chords[c].pad.size(); ++n)
            AddPadNote(strings, start, hold, chords[c].pad[n], 1.0, 0.35, static_cast<double>(c * 4 + n) + 0.5);
        AddBass(bass, start, last ? hold : 2.0 * beat - 0.6, chords[c].bass - 12, 1.0);
        if (!last)
            AddBass(bass, start + 2.0 * beat, bar - 2.0 * beat - 0.6, chords[c].bass - 12, 0.6);

        if (c == 0)
            continue;
        std::vector<int> tones(chords[c].pad.begin(), chords[c].pad.end());
        tones.push_back(chords[c].pad[1] + 12);
        if (last) {
            // A slow fall to close: A, E, C, A.
            const int close[] = {81, 76, 72, 69};
            for (int i = 0; i < 4; ++i)
                AddTine(box, start + i * 1.2 * beat, close[i], 0.9 - 0.1 * i);
            continue;
        }
        const bool high = c >= 8;
        const int* pattern = high ? highPattern : lowPattern;
        for (int e = 0; e < 8; ++e) {
            const double accent = e == 0 ? 1.0 : e == 4 ? 0.85 : 0.62 + 0.04 * (e % 3);
            AddTine(box, start + e * beat / 2.0, tones[static_cast<std::size_t>(pattern[e])] + (high ? 24 : 12),
                    accent * (high ? 0.8 : 1.0));
        }
    }

    Signal mix(strings.size());
    MixInto(mix, strings, 0.085);
    MixInto(mix, box, 0.16);
    MixInto(mix, bass, 0.2);
    return Finish(WithHall(mix, 0.86, 0.45, 0.35), 0.34, 1.5, 3.0, 61);
}

const std::vector<DemoSound>& DemoSounds()
{
    static const std::vector<DemoSound> sounds = {
        {L"rain.wav", true, MakeRain},
        {L"birds.wav", false, MakeBirds},
        {L"clock.wav", true, MakeClockTicks},
        {L"thunder.wav", false, MakeThunder},
    };
    return sounds;
}

const std::vector<DemoSound>& DemoMusic()
{
    static const std::vector<DemoSound> music = {
        {L"Night Garden.wav", false, MakeNightMusic},
        {L"Dawn Music Box.wav", false, MakeDawnMusic},
    };
    return music;
}
