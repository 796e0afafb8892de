// Agreement with an independent implementation of the format (python3-mido):
// mido reads what we write with the same events, and we read what mido writes
// as mido itself does. Skipped where python3 has no mido.

#include "tests/mxmidi/smf_testfiles.h"
#include "tests/support/testsupport.h"

#include <QFile>
#include <gtest/gtest.h>
#include <random>

using namespace smftest;

namespace {

const std::string kScript = SMF_TEST_DIR "/smf_mido.py";

// The first python3 that has mido, or "" when there is none.
std::string PythonWithMido() {
    for (std::string python : {"python3", "/usr/bin/python3"})
        if (testsupport::RunShell(python + " -c 'import mido' >/dev/null 2>&1") == 0) return python;
    return {};
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (std::uint8_t b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

// Our events in the text form of smf_mido.py's dump.
std::string Dump(std::uint16_t resolution, const std::vector<std::vector<MidiEvent>>& tracks,
                 const std::vector<std::optional<std::string>>& names) {
    std::string out = "resolution " + std::to_string(resolution) + "\n";
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        const std::optional<std::string>& name = t < names.size() ? names[t] : std::nullopt;
        out += "track " + std::to_string(t) + " name " +
               (name ? Hex(std::vector<std::uint8_t>(name->begin(), name->end())) : "-") + "\n";
        std::uint64_t now = 0;
        std::vector<std::uint8_t> sysex;
        std::uint64_t sysexTime = 0;
        for (const MidiEvent& e : tracks[t]) {
            now += e.time;
            if (e.status == 0xF0) {
                if (sysex.empty()) sysexTime = now;
                sysex.push_back(e.data1);
                if (e.data1 == 0xF7) {
                    out += std::to_string(sysexTime) + " " + Hex(sysex) + "\n";
                    sysex.clear();
                }
            } else if (e.status == 0) {
                out += std::to_string(now) + " tempo " +
                       std::to_string((e.data1 << 16) | (e.data2 << 8) | e.data3) + "\n";
            } else {
                std::vector<std::uint8_t> bytes = {e.status, e.data1};
                if ((e.status & 0xF0) != 0xC0 && (e.status & 0xF0) != 0xD0)
                    bytes.push_back(e.data2);
                out += std::to_string(now) + " " + Hex(bytes) + "\n";
            }
        }
    }
    return out;
}

class SmfMidoTest : public ::testing::Test {
protected:
    void SetUp() override {
        python_ = PythonWithMido();
        if (python_.empty()) GTEST_SKIP() << "python3-mido is not installed";
    }

    // What mido reads from `path`.
    std::string MidoDump(const std::string& path) {
        std::string out = folder_.Path() + "mido.txt";
        int status =
            testsupport::RunShell(python_ + " " + kScript + " dump '" + path + "' > '" + out + "'");
        EXPECT_EQ(status, 0);
        QFile file(QString::fromStdString(out));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    std::string python_;
    testsupport::TempFolder folder_;
};

// Random tracks of everything a file can hold in a form both sides share.
std::vector<MidiEvent> RandomTrack(std::mt19937& random, int count) {
    std::vector<MidiEvent> events;
    const std::uint32_t deltas[] = {0, 0, 1, 7, 96, 480, 70000, 0x0FFFFFFF};
    while (int(events.size()) < count) {
        std::uint32_t time = deltas[random() % 8];
        int kind = int(random() % 10);
        if (kind == 0) {
            std::uint32_t tempo = 1 + random() % 0xFFFFFF;
            events.push_back(Ev(time, 0, tempo >> 16, (tempo >> 8) & 0xFF, tempo & 0xFF));
        } else if (kind == 1) {
            events.push_back(Ev(time, 0xF0, 0xF0));
            for (int n = int(random() % 140); n > 0; --n)
                events.push_back(Ev(0, 0xF0, random() % 128));
            events.push_back(Ev(0, 0xF0, 0xF7));
        } else {
            int status = 0x80 + int(random() % 0x70);
            bool oneByte = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0;
            events.push_back(Ev(time, status, random() % 128, oneByte ? 0 : random() % 128));
        }
    }
    return events;
}

TEST_F(SmfMidoTest, MidoReadsWhatWeWrite) {
    std::mt19937 random(4711);
    std::vector<std::vector<MidiEvent>> tracks = {
        RandomTrack(random, 3000), {}, RandomTrack(random, 500), RandomTrack(random, 1)};
    std::vector<std::string> names = {"Gitarre \xE4", "Leer", "", std::string(200, 'n')};
    std::string path = folder_.Path() + "ours.mid";
    ASSERT_TRUE(Save(path, 192, tracks, names));
    std::vector<std::optional<std::string>> expectedNames = {names[0], names[1], std::nullopt,
                                                             names[3]};
    EXPECT_EQ(MidoDump(path), Dump(192, tracks, expectedNames));
}

TEST_F(SmfMidoTest, WeReadWhatMidoWrites) {
    for (int seed : {1, 2, 3}) {
        std::string path = folder_.Path() + "mido" + std::to_string(seed) + ".mid";
        ASSERT_EQ(testsupport::RunShell(python_ + " " + kScript + " write '" + path + "' " +
                                        std::to_string(seed)),
                  0);
        std::optional<Loaded> loaded = Load(path);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(Dump(loaded->resolution, loaded->tracks, loaded->names), MidoDump(path))
            << "seed " << seed;
    }
}

} // namespace
