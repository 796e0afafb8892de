// The robustness corpus: malformed MIDI files, made here, loaded through the
// toolkit's functions. Every file must load cleanly or be refused, and what
// loads must hold only events the engine can play. Files found by fuzzing
// are kept in the folder corpus/ beside this test and loaded as well.
//
// With SMF_CORPUS_OUT set to a folder, the generated files are also written
// there (a seed corpus for the fuzzer).

#include "tests/mxmidi/smf_testfiles.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

using namespace smftest;

namespace {

// Everything a loaded file may hold.
void ExpectPlayable(const Loaded& loaded, std::size_t fileSize, const std::string& name) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(loaded.format == 0 || loaded.format == 1);
    EXPECT_GE(loaded.resolution, 1);
    EXPECT_LE(loaded.resolution, 0x7FFF);
    std::size_t total = 0;
    for (const std::vector<MidiEvent>& track : loaded.tracks) {
        total += track.size();
        for (const MidiEvent& e : track) {
            ASSERT_NE(e.time, MXMIDI_NOW);
            if (e.status == 0) {
                EXPECT_NE(e.data1 | e.data2 | e.data3, 0);
            } else if (e.status == 0xF0) {
                EXPECT_EQ(e.data2 | e.data3, 0);
            } else {
                ASSERT_GE(e.status, 0x80);
                ASSERT_LT(e.status, 0xF0);
                EXPECT_LT(e.data1, 0x80);
                EXPECT_LT(e.data2, 0x80);
                EXPECT_EQ(e.data3, 0);
            }
        }
    }
    EXPECT_LE(total, fileSize) << "more events than bytes";
}

// A valid file with a bit of everything, to be damaged.
std::string RichFile() {
    std::string t1 =
        Meta(0, 3, "Melodie") + Meta(0, 0x51, Bytes({0x07, 0xA1, 0x20})) +
        Bytes({0, 0xC0, 24, 0, 0x90, 64, 80, 0x83, 0x60, 64, 0, 0, 0xB0, 7, 100}) +
        Meta(4, 0x58, Bytes({4, 2, 24, 8})) +
        Bytes({0x81, 0x00, 0xF0, 3, 0x7E, 0x01, 0xF7, 0,    0x90, 67,   70, 9,    0xF0, 1,
               0x43, 9,    0xF7, 2, 0x10, 0xF7, 1,    0xF7, 1,    0xFA, 0,  0xE0, 1,    64});
    std::string t2 = Bytes({0, 0x99, 36, 100, 10, 38, 100, 10, 0x89, 36, 0});
    return Header(1, 2, 480) + Track(t1) + Chunk("XUNK", "abc") + Track(t2);
}

// The named damaged files of the checklist.
std::vector<std::pair<std::string, std::string>> NamedCases() {
    const std::string notes = Bytes({0, 0x90, 60, 100, 96, 0x80, 60, 0});
    std::string rmidData = Header(0, 1, 96) + Track(notes);
    return {
        {"empty", ""},
        {"header-only-id", "MThd"},
        {"header-cut", Header(1, 1, 96).substr(0, 11)},
        {"header-length-huge", "MThd" + Be32(0xFFFFFFFF) + Bytes({0, 1, 0, 1, 0, 96})},
        {"header-length-5", "MThd" + Be32(5) + Bytes({0, 1, 0, 1, 0, 96}) + Track(notes)},
        {"track-length-huge", Header(0, 1, 96) + "MTrk" + Be32(0xFFFFFFFF) + notes},
        {"unknown-length-huge", Header(0, 1, 96) + "JUNK" + Be32(0xFFFFFFFF) + Track(notes)},
        {"count-65535-one-track", Header(1, 0xFFFF, 96) + Track(notes)},
        {"count-0-three-tracks", Header(1, 0, 96) + Track(notes) + Track(notes) + Track(notes)},
        {"many-empty-tracks",
         [] {
             std::string file = Header(1, 2000, 96);
             for (int i = 0; i < 2000; ++i)
                 file += Chunk("MTrk", "");
             return file;
         }()},
        {"running-status-first", Header(0, 1, 96) + Track(Bytes({0, 60, 100}))},
        {"only-data-bytes", Header(0, 1, 96) + Chunk("MTrk", std::string(300, '\x40'))},
        {"only-status-bytes", Header(0, 1, 96) + Chunk("MTrk", std::string(300, '\x90'))},
        {"only-ff", Header(0, 1, 96) + Chunk("MTrk", std::string(300, '\xFF'))},
        {"only-f0", Header(0, 1, 96) + Chunk("MTrk", std::string(300, '\xF0'))},
        {"only-f7", Header(0, 1, 96) + Chunk("MTrk", std::string(300, '\xF7'))},
        {"only-zero", Header(0, 1, 96) + Chunk("MTrk", std::string(300, '\0'))},
        {"varlen-5-bytes", Header(0, 1, 96) + Track(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90}))},
        {"varlen-cut", Header(0, 1, 96) + Chunk("MTrk", Bytes({0x81, 0x82}))},
        {"meta-length-cut", Header(0, 1, 96) + Chunk("MTrk", Bytes({0, 0xFF, 3, 0x85}))},
        {"meta-type-cut", Header(0, 1, 96) + Chunk("MTrk", Bytes({0, 0xFF}))},
        {"meta-huge", Header(0, 1, 96) + Track(Bytes({0, 0xFF, 1, 0xFF, 0xFF, 0xFF, 0x7F}))},
        {"sysex-huge", Header(0, 1, 96) + Track(Bytes({0, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 1}))},
        {"sysex-length-0", Header(0, 1, 96) + Track(Bytes({0, 0xF0, 0, 0, 0xF7, 0}) + notes)},
        {"continuation-alone", Header(0, 1, 96) + Track(Bytes({0, 0xF7, 2, 1, 0xF7}))},
        {"tempo-wrong-length",
         Header(0, 1, 96) + Track(Meta(0, 0x51, Bytes({1})) + Meta(0, 0x51, std::string(9, 'x')))},
        {"system-common", Header(0, 1, 96) + Track(notes + Bytes({0, 0xF1, 0x10}))},
        {"realtime", Header(0, 1, 96) + Track(notes + Bytes({0, 0xF8}))},
        {"status-as-data", Header(0, 1, 96) + Track(Bytes({0, 0x90, 0x90, 0x90}))},
        {"several-end-of-track", Header(0, 1, 96) + Track(notes + Bytes({0, 0xFF, 0x2F, 0}))},
        {"no-end-of-track-last", Header(0, 1, 96) + Chunk("MTrk", notes)},
        {"short-chunk-at-end", Header(0, 1, 96) + "MTrk" + Be32(2) + notes},
        {"smpte", Header(0, 1, 0xE728) + Track(notes)},
        {"smpte-zero-ticks", Header(0, 1, 0xE700) + Track(notes)},
        {"division-0", Header(0, 1, 0) + Track(notes)},
        {"format-9", Header(9, 1, 96) + Track(notes)},
        {"rmid", "RIFF" + Bytes({int(rmidData.size() + 12), 0, 0, 0}) + "RMIDdata" +
                     Bytes({int(rmidData.size()), 0, 0, 0}) + rmidData},
        {"rmid-data-huge", "RIFF" + Be32(0) + "RMIDdata" + Be32(0xFFFFFFFF) + rmidData},
        {"rmid-junk-huge", "RIFF" + Be32(0) + "RMIDjunk" + Be32(0xFFFFFFFF) + rmidData},
        {"rmid-no-data", "RIFF" + Be32(0) + "RMID"},
    };
}

class SmfCorpusTest : public ::testing::Test {
protected:
    // Loads one file of the corpus and checks what came of it.
    void Check(const std::string& name, const std::string& bytes) {
        std::string path = folder_.Write("case.mid", bytes);
        if (const char* out = std::getenv("SMF_CORPUS_OUT")) WriteSeed(out, name, bytes);
        std::optional<Loaded> loaded = Load(path);
        ++checked_;
        if (loaded) {
            ++loadedCount_;
            ExpectPlayable(*loaded, bytes.size(), name);
        }
    }

    static void WriteSeed(const std::string& folder, const std::string& name,
                          const std::string& bytes) {
        QDir().mkpath(QString::fromStdString(folder));
        QFile file(QString::fromStdString(folder + "/" + name + ".mid"));
        if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), qint64(bytes.size()));
    }

    testsupport::TempFolder folder_;
    int checked_ = 0;
    int loadedCount_ = 0;
};

TEST_F(SmfCorpusTest, NamedDamagedFilesLoadCleanlyOrAreRefused) {
    for (const auto& [name, bytes] : NamedCases())
        Check(name, bytes);
    EXPECT_GT(loadedCount_, 25); // most damage leaves something to play
    for (const auto& [name, bytes] : NamedCases()) {
        if (name != "rmid") continue;
        std::optional<Loaded> rmid = Load(folder_.Write("r.mid", bytes));
        ASSERT_TRUE(rmid);
        EXPECT_EQ(rmid->tracks.at(0).size(), 2u);
    }
}

TEST_F(SmfCorpusTest, EveryTruncationAndSingleByteChangeOfARichFile) {
    const std::string rich = RichFile();
    ASSERT_TRUE(Load(folder_.Write("rich.mid", rich)));
    for (std::size_t size = 0; size <= rich.size(); ++size)
        Check("cut-" + std::to_string(size), rich.substr(0, size));
    for (std::size_t at = 0; at < rich.size(); ++at) {
        for (int value : {0x00, 0x01, 0x2F, 0x7F, 0x80, 0x90, 0xF0, 0xF7, 0xFF}) {
            std::string changed = rich;
            changed[at] = char(value);
            Check("set-" + std::to_string(at) + "-" + std::to_string(value), changed);
        }
    }
    EXPECT_GT(loadedCount_, checked_ / 2);
}

TEST_F(SmfCorpusTest, RandomDamageToRichFiles) {
    std::mt19937 random(20261207);
    const std::string rich = RichFile();
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = rich;
        int changes = 1 + int(random() % 8);
        for (int c = 0; c < changes && !bytes.empty(); ++c) {
            std::size_t at = random() % bytes.size();
            switch (random() % 4) {
            case 0:
                bytes[at] = char(random());
                break;
            case 1:
                bytes.erase(at, 1 + random() % 4);
                break;
            case 2:
                bytes.insert(at, 1 + random() % 4, char(random()));
                break;
            default:
                bytes.insert(at, bytes.substr(random() % bytes.size(), 1 + random() % 16));
            }
        }
        Check("random-" + std::to_string(round), bytes);
    }
    EXPECT_GT(loadedCount_, 0);
}

TEST_F(SmfCorpusTest, FilesFoundByFuzzing) {
    QDir corpus(QStringLiteral(SMF_TEST_DIR "/corpus"));
    for (const QString& name : corpus.entryList(QDir::Files)) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        Check(name.toStdString(), file.readAll().toStdString());
    }
    EXPECT_GT(checked_, 0) << "the corpus folder is missing";
}

} // namespace
