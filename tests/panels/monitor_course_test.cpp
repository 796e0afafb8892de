// The monitor over the real course: for every lesson opened it shows exactly
// the buttons of that lesson's videos (as many as its outline has video
// lines), with the captions of one or of several videos, and a button plays
// its lesson's video with its accompaniment.

#include "tests/panels/panelfixture.h"

#include "platform/core/files.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <cstdio>

namespace paneltest {
namespace {

// How many "video:" lines the lesson's outline file has.
int VideoLines(int lesson) {
    char name[64];
    std::snprintf(name, sizeof name, "/course/lektion%02d.txt", lesson);
    const auto text = platform::ReadFileBytes(std::string(ZUPFARI_CONTENT_SOURCES) + name);
    if (!text) return -1;
    int count = 0;
    for (const QString& line : QString::fromStdString(*text).split('\n'))
        if (line.trimmed().startsWith(QStringLiteral("video:"))) ++count;
    return count;
}

class MonitorOverTheCourse : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        CreatePanelWindows();
    }
    void Open(int lesson) {
        form_->Course->SetCurrentLesson(lesson);
        form_->TForm1::OpenLesson();
    }
    int VideoButtonsShown() const {
        int shown = 0;
        for (int i = 1; i <= 3; ++i) shown += form_->Tools->Monitor->MonitorButtons[i]->Visible() ? 1 : 0;
        return shown;
    }
};

TEST_F(MonitorOverTheCourse, ShowsTheButtonsOfTheOpenedLessonsVideos) {
    Open(1);
    form_->BMonitorClick(nullptr);
    ASSERT_TRUE(form_->PMonitor->Visible());
    int withVideos = 0;
    for (int lesson = 0; lesson < 30; ++lesson) {
        SCOPED_TRACE("lesson " + std::to_string(lesson));
        Open(lesson); // the monitor that is up follows the lesson
        const int expected = VideoLines(lesson);
        ASSERT_GE(expected, 0);
        EXPECT_EQ(VideoButtonsShown(), expected);
        for (int i = 1; i <= expected; ++i) EXPECT_TRUE(form_->Tools->Monitor->MonitorButtons[i]->Visible()) << i;
        if (expected == 1) {
            EXPECT_EQ(form_->Tools->Monitor->MonitorButtons[1]->Text(), "Video");
        } else if (expected > 1) {
            EXPECT_EQ(form_->Tools->Monitor->MonitorButtons[1]->Text(), "Video 1");
        }
        withVideos += expected > 0 ? 1 : 0;
    }
    EXPECT_GE(withVideos, 27);
}

TEST_F(MonitorOverTheCourse, AButtonPlaysItsLessonsVideoWithItsAccompaniment) {
    Open(21);
    form_->BMonitorClick(nullptr);
    ASSERT_TRUE(form_->Tools->Monitor->MonitorButtons[3]->Visible());
    form_->Tools->Monitor->MonitorButtons[3]->Click();
    ASSERT_EQ(Form()->videos.size(), 1u);
    EXPECT_EQ(Form()->videos[0].file, form_->Places->ProgramFolder + "lektion21\\Video3.avi");
    EXPECT_EQ(Form()->videos[0].midi, form_->Places->ProgramFolder + "lektion21\\Video3.mid");
    EXPECT_EQ(Form()->videos[0].rect, platform::Rect(0, 0, 192, 144));
}

} // namespace
} // namespace paneltest
