// Writes the two built-in answer sounds as 16-bit mono PCM WAVE files at 44,100 samples/s:
//   richtig.wav  0.73 s, two soft bell notes rising a fourth (E5 -> A5)
//   falsch.wav   0.58 s, two mellow notes falling a major third (G4 -> D#4), the second
//                one sagging slightly
// Every note fades in over a few milliseconds and the whole sound fades out to exactly
// zero, so neither end clicks. The output is deterministic: rerunning gives the same bytes.
//
// Usage: make_sounds <output directory>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;

struct Note {
    double start;      // seconds
    double frequency;  // Hz at the start
    double glide;      // relative change of the frequency per second (0: steady)
    double level;
    double decay;      // time constant of the exponential decay, seconds
    // Partials as multiples of the frequency with their levels; higher partials also
    // decay faster, which keeps the tone soft.
    std::vector<std::pair<int, double>> partials;
};

std::vector<std::int16_t> Render(double seconds, const std::vector<Note>& notes, double peak)
{
    const int count = static_cast<int>(std::lround(seconds * kRate));
    std::vector<double> mix(static_cast<size_t>(count), 0.0);
    const double attack = 0.012;
    for (const Note& note : notes) {
        double phase = 0.0;  // of the fundamental, accumulated so a glide stays smooth
        const int first = static_cast<int>(std::lround(note.start * kRate));
        for (int i = first; i < count; ++i) {
            const double t = static_cast<double>(i - first) / kRate;
            double envelope = std::exp(-t / note.decay);
            if (t < attack)
                envelope *= 0.5 * (1.0 - std::cos(std::numbers::pi * t / attack));
            double value = 0.0;
            for (const auto& [multiple, level] : note.partials)
                value += level * std::exp(-t * (multiple - 1) * 4.0) * std::sin(multiple * phase);
            mix[static_cast<size_t>(i)] += note.level * envelope * value;
            const double frequency = note.frequency * (1.0 + note.glide * t);
            phase += 2.0 * std::numbers::pi * frequency / kRate;
        }
    }

    // Fade the tail out to exactly zero.
    const int release = static_cast<int>(0.08 * kRate);
    for (int k = 0; k < release; ++k) {
        const double factor = 0.5 * (1.0 + std::cos(std::numbers::pi * k / (release - 1)));
        mix[static_cast<size_t>(count - release + k)] *= factor;
    }

    double loudest = 0.0;
    for (double v : mix)
        loudest = std::max(loudest, std::abs(v));
    std::vector<std::int16_t> samples;
    samples.reserve(mix.size());
    for (double v : mix)
        samples.push_back(static_cast<std::int16_t>(std::lround(v / loudest * peak * 32767.0)));
    return samples;
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string WaveBytes(const std::vector<std::int16_t>& samples)
{
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    PutLittleEndian(out, 36 + dataSize, 4);
    out += "WAVEfmt ";
    PutLittleEndian(out, 16, 4);          // size of the format chunk
    PutLittleEndian(out, 1, 2);           // PCM
    PutLittleEndian(out, 1, 2);           // mono
    PutLittleEndian(out, kRate, 4);
    PutLittleEndian(out, kRate * 2, 4);   // bytes per second
    PutLittleEndian(out, 2, 2);           // bytes per sample frame
    PutLittleEndian(out, 16, 2);          // bits per sample
    out += "data";
    PutLittleEndian(out, dataSize, 4);
    for (std::int16_t s : samples)
        PutLittleEndian(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

// Writes beside the target and renames over it, so a failed run never leaves half a file.
bool WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
            std::fprintf(stderr, "make_sounds: cannot write %s\n", temporary.string().c_str());
            out.close();
            std::filesystem::remove(temporary);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::fprintf(stderr, "make_sounds: cannot replace %s: %s\n", path.string().c_str(),
                     error.message().c_str());
        std::filesystem::remove(temporary);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sounds <output directory>\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];

    const std::vector<std::pair<int, double>> bell = {{1, 1.0}, {2, 0.25}, {3, 0.08}};
    const std::vector<Note> right = {
        {0.00, 659.26, 0.0, 0.75, 0.16, bell},
        {0.13, 880.00, 0.0, 1.00, 0.22, bell},
    };

    const std::vector<std::pair<int, double>> mellow = {{1, 1.0}, {3, 0.22}, {5, 0.05}};
    const std::vector<Note> wrong = {
        {0.00, 392.00, 0.0, 0.85, 0.14, mellow},
        {0.17, 311.13, -0.08, 1.00, 0.20, mellow},
    };

    const bool ok = WriteFile(dir / "richtig.wav", WaveBytes(Render(0.73, right, 0.5))) &&
                    WriteFile(dir / "falsch.wav", WaveBytes(Render(0.58, wrong, 0.5)));
    return ok ? 0 : 1;
}
