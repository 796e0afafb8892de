#include "tests/content/course_wavreader.h"

#include "tests/support/testsupport.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace coursetest {

namespace {

std::uint32_t U32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::uint16_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

double Magnitude(const std::vector<double>& x, double sampleRate, double f) {
    const double n = static_cast<double>(x.size());
    std::complex<double> sum = 0;
    const std::complex<double> step = std::polar(1.0, -2 * std::numbers::pi * f / sampleRate);
    std::complex<double> turn = 1;
    for (std::size_t i = 0; i < x.size(); ++i) {
        double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / n);
        sum += w * x[i] * turn;
        turn *= step;
        if (i % 1024 == 0) turn /= std::abs(turn); // keep the rotation on the unit circle
    }
    return std::abs(sum);
}

} // namespace

WavFile ParseWav(const std::string& bytes) {
    WavFile wav;
    wav.fileSize = bytes.size();
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        wav.problem = "no RIFF/WAVE header";
        return wav;
    }
    wav.riffSize = U32(bytes, 4);
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id = bytes.substr(at, 4);
        const std::uint32_t size = U32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (body + size > bytes.size()) {
            wav.problem = "chunk '" + id + "' runs past the end of the file";
            return wav;
        }
        if (id == "fmt " && size >= 16) {
            wav.format = U16(bytes, body);
            wav.channels = U16(bytes, body + 2);
            wav.sampleRate = static_cast<int>(U32(bytes, body + 4));
            wav.byteRate = static_cast<int>(U32(bytes, body + 8));
            wav.blockAlign = U16(bytes, body + 12);
            wav.bitsPerSample = U16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || wav.bitsPerSample != 16 || wav.channels < 1) {
                wav.problem = "data before a 16-bit format chunk";
                return wav;
            }
            const std::size_t frames = size / wav.blockAlign;
            for (std::size_t i = 0; i < frames; ++i) {
                auto v = static_cast<std::int16_t>(U16(bytes, body + i * wav.blockAlign));
                wav.left.push_back(v / 32768.0);
            }
            return wav;
        }
        at = body + size + (size & 1);
    }
    wav.problem = "no data chunk";
    return wav;
}

double PeakFrequency(const std::vector<double>& samples, double sampleRate, double guess,
                     double range) {
    // Coarse scan, then golden-section refinement around the best point.
    double best = guess, bestValue = -1;
    for (double f = guess - range; f <= guess + range; f += range / 40) {
        double v = Magnitude(samples, sampleRate, f);
        if (v > bestValue) {
            bestValue = v;
            best = f;
        }
    }
    double a = best - range / 40, b = best + range / 40;
    const double g = (std::sqrt(5.0) - 1) / 2;
    double c = b - g * (b - a), d = a + g * (b - a);
    double fc = Magnitude(samples, sampleRate, c), fd = Magnitude(samples, sampleRate, d);
    while (b - a > 1e-5) {
        if (fc > fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - g * (b - a);
            fc = Magnitude(samples, sampleRate, c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + g * (b - a);
            fd = Magnitude(samples, sampleRate, d);
        }
    }
    return (a + b) / 2;
}

double Cents(double target, double actual) {
    return 1200.0 * std::log2(actual / target);
}

std::string ContentFolder() {
    // The test environment's ZUPFARI_BIN_DIR when it is set, else the build's own.
    std::string bin = testsupport::BinFolder();
    return bin.empty() ? std::string(ZUPFARI_BIN_DIR_FALLBACK) + "/" : bin;
}

} // namespace coursetest
