// Every lesson of the course at every level: the level's exercise loads and
// the point of every beat lies inside the window.

#include "app/mainwindow.h"
#include "platform/core/folders.h"
#include "layout/screenlayout.h"
#include "lessons/registrydata.h"
#include "tests/app/shellfixture.h"
#include "tests/lessons/lessonfixture.h"

#include <gtest/gtest.h>
#include <iostream>

namespace shelltest {
namespace {

class CourseTest : public ShellTest {
protected:
    void TearDown() override {
        ShellTest::TearDown();
        platform::OverrideProgramFolder("");
    }
};

// With the generated course when the build has made it, else with stand-in
// lessons (the content's own check that the point lands on its note belongs
// to the content).
TEST_F(CourseTest, EveryLessonOpensAtEveryLevelWithItsExercise) {
    std::string folder = testsupport::BinFolder();
    if (!lessontest::HasGeneratedCourse(folder)) {
        std::vector<std::string> own = lessontest::CourseFolders();
        UseProgramFolderWithout(own);
        lessontest::WriteCourse(programCopy_->Path());
        folder = programCopy_->Path();
        std::cout << "[ note ] no generated lesson folders: stand-in lessons used\n";
    }
    platform::OverrideProgramFolder(folder);
    CreateWindows();
    ShowMainWindow();
    asked_.clear(); // the start question
    for (int n = 0; n < lessons::kLessonCount; ++n)
        for (int level = 1; level <= lessons::kLevelCount; ++level) {
            form_->Lists->CurrentEntry = 0;
            form_->Lists->Plan[0] = {n, level, 0};
            form_->Course->SetCurrentLesson(n);
            form_->OpenLesson();
            ASSERT_TRUE(asked_.empty()) << "lesson " << n << " level " << level;
            EXPECT_TRUE(form_->BPlay->Enabled()) << "lesson " << n << " level " << level;
            EXPECT_EQ(form_->TrBarTempo->Position(), level);
            EXPECT_FALSE(form_->BackdropBitmap.Empty()) << "lesson " << n;
        }
}

TEST_F(CourseTest, ThePointOfEveryBeatLiesInsideTheWindow) {
    CreateWindows();
    const int w = form_->PointBmp.Width(), h = form_->PointBmp.Height();
    const QRect window(QPoint(0, 0), layout::MainWindow);
    for (int language : {0, 1})
        for (int n = 0; n < lessons::kLessonCount; ++n) {
            playback::CursorGeometry g = lessons::LessonGeometry(n, language);
            const lessons::HoldRange hold = lessons::MainScreenHold(n);
            g.HoldFrom = hold.From;
            g.HoldTo = hold.To;
            ASSERT_GT(g.BeatCount, 0);
            for (int p = 0; p < g.BeatCount; ++p) {
                const playback::CursorStep step = playback::ComputeCursorStep(g, p);
                if (step.Held) continue;
                const QRect point(step.PointX, step.PointY - h, w, h);
                EXPECT_TRUE(window.contains(point))
                    << "lesson " << n << " language " << language << " beat " << p;
            }
        }
}

} // namespace
} // namespace shelltest
