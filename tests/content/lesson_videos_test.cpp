// The lessons' videos: the shipped scripts cover every lesson that teaches a
// movement with the kinds of picture the course needs; broken scripts are
// refused with their line; the timeline swings the strumming hand on every
// point of its grid and tells anchor from guide fingers; and the check that
// compares a finished video with its accompaniment passes the shipped files
// but fails one whose notes are moved by two frames.

#include "content/generator/course_outline.h"
#include "content/generator/course_registry.h"
#include "content/generator/video_check.h"
#include "content/generator/video_midi.h"
#include "content/generator/video_script.h"
#include "content/generator/video_timeline.h"
#include "platform/core/files.h"
#include "tests/content/art_testsupport.h"
#include "tests/support/testsupport.h"

#include <QColor>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

using namespace video;

namespace {

const std::string kCourse = ZUPFARI_CONTENT_SOURCES "/course";
const std::string kProgram = ZUPFARI_PROGRAM_FOLDER "/";
const QColor kLit(0xD9, 0x62, 0x2B); // the palette's accent, the lamps' lit colour

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
}

class ShippedCourse : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::vector<std::string> errors, notes;
        ASSERT_TRUE(content::LoadEditions(kCourse, editions_, errors, notes)) << Joined(errors);
        ASSERT_TRUE(LoadBook(kCourse, editions_.front(), book_, errors)) << Joined(errors);
    }
    const content::Outline& German() const { return editions_.front(); }
    Timeline Build(const Script& script) const {
        std::vector<std::string> errors;
        Timeline timeline = BuildTimeline(script, book_, German(), errors);
        EXPECT_TRUE(errors.empty()) << Joined(errors);
        return timeline;
    }
    // A script of the shipped book's chords, from a few lines of videos.txt.
    Script Parse(const std::string& lines, std::vector<std::string>& errors) const {
        testsupport::TempFolder folder;
        const std::string path = folder.Write("videos.txt", "[lesson 1 video 1]\n" + lines);
        Book book = ParseBook(path, "videos.txt", errors);
        return book.videos.empty() ? Script{} : book.videos.front();
    }
    Timeline BuildFrom(const std::string& lines, std::vector<std::string>& errors) const {
        const Script script = Parse(lines, errors);
        return BuildTimeline(script, book_, German(), errors);
    }

    static std::vector<content::Outline> editions_;
    static Book book_;
};

std::vector<content::Outline> ShippedCourse::editions_;
Book ShippedCourse::book_;

} // namespace

TEST_F(ShippedCourse, EveryLessonThatTeachesAMovementHasItsVideosOfTheNeededKinds) {
    // Lessons 11 (practising and care), 19 (repeat signs) and 29 (the
    // farewell) teach no movement of the hands.
    const std::set<int> still = {11, 19, 29};
    for (const content::Lesson& lesson : German().lessons) {
        const int count = VideoCount(lesson);
        if (still.count(lesson.number)) EXPECT_EQ(count, 0) << lesson.file;
        else EXPECT_GE(count, 1) << lesson.file;
        EXPECT_LE(count, 3) << lesson.file;
    }
    std::set<View> views;
    bool anchor = false, guide = false, miss = false, fingerByFinger = false, melody = false, pima = false;
    for (const Script& script : book_.videos) {
        SCOPED_TRACE("lesson " + std::to_string(script.lesson) + " video " + std::to_string(script.number));
        const Timeline timeline = Build(script);
        EXPECT_GE(timeline.Seconds(), 4.0);
        EXPECT_LE(timeline.Seconds(), 20.0);
        views.insert(script.view);
        for (const HandMove& move : timeline.moves)
            for (int finger = 1; finger <= 4; ++finger) {
                anchor = anchor || (PassageOf(move, finger) == Passage::Anchor && !move.from.empty());
                guide = guide || PassageOf(move, finger) == Passage::Guide;
            }
        // The folk strum's miss: a down-swing past the strings between hits.
        for (std::size_t k = 1; k + 1 < timeline.strokes.size(); ++k)
            miss = miss || (timeline.strokes[k].down && !timeline.strokes[k].hit && timeline.strokes[k - 1].hit &&
                            timeline.strokes[k + 1].hit);
        const int places = static_cast<int>(std::count_if(script.steps.begin(), script.steps.end(),
                                                          [](const Step& s) { return s.kind == Step::Kind::Place; }));
        fingerByFinger = fingerByFinger || places >= 3;
        melody = melody || (script.view == View::Fretboard && places == 0 &&
                            std::all_of(script.steps.begin(), script.steps.end(),
                                        [](const Step& s) { return s.kind == Step::Kind::Notes; }));
        std::set<char> pickers;
        for (const Sound& sound : timeline.sounds) pickers.insert(sound.picker);
        pima = pima || pickers.count('p') + pickers.count('i') + pickers.count('m') + pickers.count('a') == 4;
    }
    EXPECT_EQ(views, (std::set<View>{View::Fretboard, View::Strum, View::Picking, View::Tuner}));
    EXPECT_TRUE(anchor) << "a change with an anchor finger";
    EXPECT_TRUE(guide) << "a change with a guide finger";
    EXPECT_TRUE(miss) << "a missed stroke of the pendulum";
    EXPECT_TRUE(fingerByFinger) << "a chord placed finger by finger";
    EXPECT_TRUE(melody) << "a melody on the fretboard";
    EXPECT_TRUE(pima) << "the p-i-m-a pattern";
}

TEST_F(ShippedCourse, BrokenScriptsAreRefusedWithTheirLine) {
    struct Case {
        const char* lines;
        const char* message;
    };
    const Case cases[] = {
        {"view: side\ntempo: 60\nplay: E0\n", "videos.txt:2: view is fretboard, strum, picking or tuner"},
        {"view: strum\ntempo: 10\nplay: [G]\n", "videos.txt:3: tempo is 30 to 240"},
        {"view: fretboard\ntempo: 60\nplay: 5@A2\n", "videos.txt:4: '5' is no finger"},
        {"view: fretboard\ntempo: 60\nplay: 2@A0\n", "videos.txt:4: a finger cannot press an open string"},
        {"view: fretboard\ntempo: 60\nplay: E0:0\n", "videos.txt:4: bad duration in 'E0:0'"},
        {"view: fretboard\ntempo: 60\nplay: x3\n", "videos.txt:4: bad note 'x3'"},
        {"view: fretboard\ntempo: 60\nspeed: 3\n", "videos.txt:4: unknown key 'speed'"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> errors;
        Parse(c.lines, errors);
        EXPECT_NE(Joined(errors).find(c.message), std::string::npos) << c.lines << "\n" << Joined(errors);
    }
    std::vector<std::string> errors;
    testsupport::TempFolder folder;
    ParseBook(folder.Write("videos.txt", "[lesson 30 video 1]\n[lesson 2 video 4]\ntempo: 60\n"), "videos.txt", errors);
    EXPECT_EQ(Joined(errors), "videos.txt:1: expected [lesson N video K] with N 0..29 and K 1..3\n"
                              "videos.txt:2: expected [lesson N video K] with N 0..29 and K 1..3\n"
                              "videos.txt:3: 'tempo' outside a [lesson N video K] section\n");
}

TEST_F(ShippedCourse, ScriptsThatCannotBePlayedAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"view: fretboard\ntempo: 60\nplay: [Em]\n", "strums Em but the hand does not hold its fingering"},
        {"view: fretboard\ntempo: 60\nplay: 2@A2 [Em]\n", "strums Em but the hand does not hold its fingering"},
        {"view: fretboard\ntempo: 60\nplay: >Am [Am]\n", "a change in the fretboard view needs time"},
        {"view: fretboard\ntempo: 60\nplay: >Fm:1\n", "no fingering: line for Fm"},
        {"view: fretboard\ntempo: 60\nplay: >C:1 A0\n", "the string is pressed higher up"},
        {"view: strum\ntempo: 60\nplay: [G]:1/2 [G]:1/2\n", "a down-stroke on an up-swing"},
        {"view: strum\ntempo: 60\nplay: [G]^\n", "an up-stroke on a down-swing"},
        {"view: strum\ntempo: 60\nplay: [G]:1/4 [G]\n", "falls between the pendulum's strokes"},
        {"view: strum\ntempo: 60\nplay: [H7]\n", "unknown chord H7"},
        {"view: picking\ntempo: 60\nplay: 2@A2\n", "a fretting finger is shown in the fretboard view only"},
        {"view: tuner\ntempo: 60\n", "the tuner view needs 'string:'"},
    };
    for (const auto& [lines, message] : cases) {
        std::vector<std::string> errors;
        BuildFrom(lines, errors);
        EXPECT_NE(Joined(errors).find(message), std::string::npos) << lines << "\n" << Joined(errors);
    }
    // A fingering must press exactly its chord's frets.
    Book book;
    book.fingerings["Am"] = {"Am", {{1, 4, 1}, {2, 2, 2}}};
    book.fingerings["Zz"] = {"Zz", {{1, 0, 1}}};
    std::vector<std::string> errors;
    content::Outline outline = German();
    for (content::Lesson& lesson : outline.lessons)
        for (auto& slide : lesson.slides)
            if (slide) slide->videos.clear();
    ValidateBook(book, outline, errors);
    EXPECT_EQ(Joined(errors), "videos.txt: the fingering of Am does not press its frets in akkorde.txt\n"
                              "videos.txt: fingering of Zz, which akkorde.txt does not know\n");
}

TEST_F(ShippedCourse, TheStrummingHandSwingsOnEveryPointOfItsGrid) {
    std::vector<std::string> errors;
    // The folk strum: down, (up), down up, (down) up, down up.
    const Timeline t = BuildFrom(
        "view: strum\ntempo: 60\nplay: [G] [G]:1/2 [G]^:1/2 -:1/2 [G]^:1/2 [G]:1/2 [G]^:1/2\n", errors);
    ASSERT_TRUE(errors.empty()) << Joined(errors);
    ASSERT_EQ(t.strokes.size(), 8u);
    const bool hits[] = {true, false, true, true, false, true, true, true};
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(t.strokes[k].down, k % 2 == 0) << k;
        EXPECT_EQ(t.strokes[k].hit, hits[k]) << k;
        EXPECT_EQ(t.strokes[k].tick - t.strokes[0].tick, static_cast<int>(k) * kTicksPerBeat / 2) << k;
    }
    // A down-stroke sounds all six strings low to high, an up-stroke the four
    // highest from the top, each string a little after the one before.
    std::vector<int> first, up;
    for (const Sound& s : t.sounds) {
        if (s.step == 0) first.push_back(s.lamp.string);
        if (s.step == 2) up.push_back(s.lamp.string);
    }
    EXPECT_EQ(first, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(up, (std::vector<int>{5, 4, 3, 2}));
    EXPECT_LT(t.sounds[0].tick, t.sounds[5].tick);
    EXPECT_LT(t.FrameOf(t.sounds[5].tick) - t.FrameOf(t.sounds[0].tick), 3) << "a strum is one gesture";
}

TEST_F(ShippedCourse, ChangesTellAnchorGuideAndMovingFingersApart) {
    std::vector<std::string> errors;
    const Timeline t = BuildFrom("view: fretboard\ntempo: 60\nplay: >C:1 [C] >Am:1 [Am] >A:1 [A] >D:1 [D] >-:1\n", errors);
    ASSERT_TRUE(errors.empty()) << Joined(errors);
    ASSERT_EQ(t.moves.size(), 5u);
    const HandMove& toAm = t.moves[1];
    EXPECT_EQ(PassageOf(toAm, 1), Passage::Anchor);
    EXPECT_EQ(PassageOf(toAm, 2), Passage::Anchor);
    EXPECT_EQ(PassageOf(toAm, 3), Passage::Moves);
    const HandMove& toD = t.moves[3];
    EXPECT_EQ(PassageOf(toD, 3), Passage::Guide) << "the ring finger slides along the h string";
    EXPECT_EQ(PassageOf(toD, 1), Passage::Moves);
    EXPECT_EQ(PassageOf(t.moves[0], 2), Passage::Arrives);
    EXPECT_EQ(PassageOf(t.moves[4], 3), Passage::Leaves);
    // The fingers press from the end of each change on; during it they still hold the chord before.
    EXPECT_EQ(t.FingersAt(toAm.endTick).size(), 3u);
    EXPECT_EQ(t.FingersAt(toAm.startTick), toAm.from);
    // The strum of C sounds the A string at the 3rd fret, where finger 3 presses.
    const auto a3 = std::find_if(t.sounds.begin(), t.sounds.end(), [](const Sound& s) { return s.step == 1 && s.lamp.string == 1; });
    ASSERT_NE(a3, t.sounds.end());
    EXPECT_EQ(a3->lamp.fret, 3);
    EXPECT_EQ(a3->note, content::StringNote(1, 3));
}

TEST_F(ShippedCourse, AMelodyIsPlayedOneFingerPerFret) {
    std::vector<std::string> errors;
    const Timeline t = BuildFrom("view: fretboard\ntempo: 60\nplay: e0 e1 e3 e1 e0\n", errors);
    ASSERT_TRUE(errors.empty()) << Joined(errors);
    ASSERT_EQ(t.sounds.size(), 5u);
    auto fingersAt = [&](int index) { return t.FingersAt(t.sounds[static_cast<std::size_t>(index)].tick); };
    EXPECT_TRUE(fingersAt(0).empty());
    EXPECT_EQ(fingersAt(1), (std::vector<Placement>{{1, 5, 1}}));
    EXPECT_EQ(fingersAt(2), (std::vector<Placement>{{3, 5, 3}}));
    EXPECT_EQ(fingersAt(3), (std::vector<Placement>{{1, 5, 1}}));
    EXPECT_TRUE(fingersAt(4).empty()) << "the open string sounds with the finger lifted";
    // Each finger arrives before its note, never after it.
    for (const HandMove& move : t.moves) {
        const bool ends = std::any_of(t.sounds.begin(), t.sounds.end(), [&](const Sound& s) { return s.tick == move.endTick; });
        EXPECT_TRUE(ends) << move.endTick;
        EXPECT_LT(move.startTick, move.endTick);
    }
}

TEST_F(ShippedCourse, TheShippedVideosAgreeWithTheirAccompanimentAndAMovedOneDoesNot) {
    const Script* script = book_.Find(7, 2); // a chord change: fingers move while strums sound
    ASSERT_NE(script, nullptr);
    const Timeline timeline = Build(*script);
    const std::string avi = platform::ReadFileBytes(kProgram + "lektion7/Video2.avi").value_or("");
    const std::string midi = platform::ReadFileBytes(kProgram + "lektion7/Video2.mid").value_or("");
    ASSERT_FALSE(avi.empty());
    ASSERT_FALSE(midi.empty());
    EXPECT_EQ(Joined(CheckAgreement(timeline, avi, midi, kLit)), "");
    EXPECT_EQ(midi, AccompanimentFile(timeline)) << "the shipped accompaniment is made from the same timeline";

    // The same notes later by less than a frame (within the check's tolerance),
    // by two frames (beyond it), and one note missing.
    auto moved = [&](double frames) {
        Timeline later = timeline;
        const double ticks = frames * kFrameMicros * kTicksPerBeat / timeline.microsPerBeat;
        for (Sound& sound : later.sounds) {
            sound.tick += static_cast<int>(frames < 2 ? std::floor(ticks) : std::ceil(ticks));
            sound.endTick += static_cast<int>(std::ceil(ticks));
        }
        later.endTick = timeline.endTick;
        return AccompanimentFile(later);
    };
    EXPECT_EQ(Joined(CheckAgreement(timeline, avi, moved(1), kLit)), "");
    const std::vector<std::string> late = CheckAgreement(timeline, avi, moved(2), kLit);
    ASSERT_FALSE(late.empty());
    EXPECT_NE(late.front().find("its lamp lights in frame"), std::string::npos) << Joined(late);
    Timeline fewer = timeline;
    fewer.sounds.pop_back();
    const std::vector<std::string> missing = CheckAgreement(timeline, avi, AccompanimentFile(fewer), kLit);
    ASSERT_FALSE(missing.empty());
    EXPECT_NE(missing.front().find("notes, the video shows"), std::string::npos) << Joined(missing);
    // And a picture whose lamp never lights for a note: the video of another script.
    const std::string other = platform::ReadFileBytes(kProgram + "lektion7/Video1.avi").value_or("");
    EXPECT_FALSE(CheckAgreement(timeline, other, midi, kLit).empty());
}

// Window A links every video of its lesson (tags 131..), in the order of the
// video lines and with their words; windows B and C name their own without a
// link, since only window A can play them. Both editions.
TEST_F(ShippedCourse, SlideWindowsLinkAndNameTheLessonsVideos) {
    for (const content::Outline& edition : editions_) {
        const bool english = edition.lessons.front().edition == content::Edition::English;
        arttest::ReadEnglishEdition(english);
        for (const content::Lesson& lesson : edition.lessons) {
            std::vector<QString> all;
            for (int w = 0; w < 3; ++w)
                if (lesson.slides[static_cast<std::size_t>(w)])
                    for (const std::string& text : lesson.slides[static_cast<std::size_t>(w)]->videos)
                        all.push_back(QStringLiteral("» ") + QString::fromStdString(text));
            for (int w = 0; w < 3; ++w) {
                if (content::SkipsWindow(lesson.number, w)) continue;
                const std::string file = "lektion" + std::to_string(lesson.number) + "/Win" + char('A' + w) + ".zs1";
                SCOPED_TRACE(file + (english ? " (English)" : ""));
                const arttest::Skin skin = arttest::ParseSkin(arttest::ProgramFile(file));
                ASSERT_TRUE(skin.error.isEmpty()) << skin.error.toStdString();
                std::vector<QString> linked, named;
                for (const arttest::SkinRecord& record : skin.records) {
                    if (record.keyword != "$L" || record.fields.size() < 7) continue;
                    const QString text = QString(record.fields[6]).replace(QStringLiteral("$n"), QStringLiteral(" "));
                    if (record.tag >= 131 && record.tag <= 133) {
                        EXPECT_EQ(record.tag, 131 + static_cast<int>(linked.size()));
                        linked.push_back(text);
                    } else if (text.startsWith(QStringLiteral("» "))) {
                        named.push_back(text);
                    }
                }
                std::vector<QString> own;
                for (const std::string& text : lesson.slides[static_cast<std::size_t>(w)]->videos)
                    own.push_back(QStringLiteral("» ") + QString::fromStdString(text));
                if (w == 0) {
                    EXPECT_EQ(linked, all);
                } else {
                    EXPECT_TRUE(linked.empty());
                    EXPECT_EQ(named, own);
                }
            }
        }
    }
    arttest::ReadEnglishEdition(false);
}

// A lesson video is a Motion-JPEG AVI without a sound stream (its sound is
// the accompaniment); a still frame is a drop frame: an empty chunk whose
// index entry is no key frame. The first and the last frame are pictures,
// so that players show the video from its start to its whole length.
TEST(LessonVideoFiles, StillFramesAreDropFramesAndTheVideoHasNoSoundStream) {
    const std::string bytes = arttest::ProgramFile("lektion6/Video1.avi");
    ASSERT_GT(bytes.size(), 12u);
    bool ok = true;
    const auto top = arttest::Children(bytes, 12, bytes.size(), ok);
    ASSERT_TRUE(ok);
    const arttest::Chunk *hdrl = nullptr, *movi = nullptr, *idx1 = nullptr;
    for (const arttest::Chunk& c : top) {
        if (c.listType == "hdrl") hdrl = &c;
        if (c.listType == "movi") movi = &c;
        if (c.id == "idx1") idx1 = &c;
    }
    ASSERT_TRUE(hdrl && movi && idx1);
    const auto header = arttest::Children(bytes, hdrl->data + 4, hdrl->data + hdrl->size, ok);
    ASSERT_TRUE(ok && !header.empty());
    EXPECT_EQ(arttest::Le32(bytes, header[0].data + 24), 1u) << "one stream";
    EXPECT_EQ(arttest::Le32(bytes, header[0].data), 40000u) << "25 frames per second";
    const auto chunks = arttest::Children(bytes, movi->data + 4, movi->data + movi->size, ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(idx1->size, chunks.size() * 16);
    std::size_t dropped = 0;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].id, "00dc");
        const unsigned flags = arttest::Le32(bytes, idx1->data + 16 * i + 4);
        EXPECT_EQ(arttest::Le32(bytes, idx1->data + 16 * i + 12), chunks[i].size);
        EXPECT_EQ(flags, chunks[i].size == 0 ? 0u : 0x10u) << i;
        dropped += chunks[i].size == 0 ? 1 : 0;
    }
    EXPECT_GT(chunks.front().size, 0u);
    EXPECT_GT(chunks.back().size, 0u);
    EXPECT_GT(dropped, chunks.size() / 2) << "a chord placed finger by finger stands still most of the time";
}
