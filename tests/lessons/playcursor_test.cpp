// The play cursor on the main window's canvas over a lesson's notation: the
// point, its hold range, jumps and fold, the locator mark, and repaints.

#include "app/mainwindow.h"
#include "platform/core/folders.h"
#include "lessons/registrydata.h"
#include "tests/app/shellfixture.h"
#include "tests/lessons/lessonfixture.h"

#include <gtest/gtest.h>

namespace shelltest {
namespace {

using namespace platform;

class PlayCursorTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        std::vector<std::string> own = lessontest::CourseFolders();
        UseProgramFolderWithout(own);
        platform::OverrideProgramFolder(programCopy_->Path());
    }
    void TearDown() override {
        ShellTest::TearDown();
        platform::OverrideProgramFolder("");
    }

    void OpenLesson(int lesson) {
        lessontest::WriteLessonScreen(programCopy_->Path(), lesson);
        lessontest::WriteExercises(programCopy_->Path(), lesson);
        CreateWindows();
        ShowMainWindow();
        form_->Lists->CurrentEntry = 0;
        form_->Lists->Plan[0] = {lesson, 1, 0};
        form_->Course->SetCurrentLesson(lesson);
        form_->OpenLesson();
        cursor_ = form_->PlayCursor.get();
        notation_ = Screen();
    }

    // The transport's way of showing a beat (0-based position).
    void Move(int position, bool erase = true) {
        cursor_->Position = position;
        form_->MovePlayPoint(erase);
    }

    QImage Screen() const { return form_->Canvas()->Image().copy(); }

    QRect PointRect() const {
        const int w = form_->PointBmp.Width(), h = form_->PointBmp.Height();
        return QRect(cursor_->PointX, cursor_->PointY - h, w, h);
    }

    QRect MarkRect() const {
        const TBitmap& mark = cursor_->MarkBitmap();
        return QRect(cursor_->MarkX, cursor_->MarkY, mark.Width(), mark.Height());
    }

    // The point as the bitmap shows it: the point bitmap's pixels that are
    // not black; around them the ellipse leaves black or the notation.
    bool PointDrawnAt(const QImage& screen, const QRect& rect) const {
        const QImage& point = form_->PointBmp.Image();
        const int cx = point.width() / 2, cy = point.height() / 2;
        return screen.pixel(rect.left() + cx, rect.top() + cy) == point.pixel(cx, cy);
    }

    playback::PlayCursor* cursor_ = nullptr;
    QImage notation_;
};

TEST_F(PlayCursorTest, ThePointStepsAlongTheLineAndTheOldPlaceIsRestored) {
    OpenLesson(1);
    Move(0, false);
    const QRect first = PointRect();
    EXPECT_EQ(first.left(), 178);
    EXPECT_EQ(first.bottom() + 1, 525);
    EXPECT_TRUE(PointDrawnAt(Screen(), first));
    Move(1);
    EXPECT_EQ(PointRect().left(), 210);
    EXPECT_EQ(Screen().copy(first), notation_.copy(first));
    EXPECT_TRUE(PointDrawnAt(Screen(), PointRect()));
    // The saved background is the notation under the point.
    EXPECT_EQ(form_->PointWork.Image().convertToFormat(QImage::Format_RGB32),
              notation_.copy(PointRect()).convertToFormat(QImage::Format_RGB32));
}

TEST_F(PlayCursorTest, ARealBeatWidthPlacesColumnsTruncated) {
    OpenLesson(1);
    playback::CursorGeometry g = form_->Course->Tables().CursorGeometry[1];
    g.BeatWidth = 32.5f;
    cursor_->InitCursor(g);
    std::vector<int> lefts;
    for (int p = 0; p < 3; ++p) {
        Move(p);
        lefts.push_back(cursor_->PointX - g.OriginX);
    }
    EXPECT_EQ(lefts, (std::vector<int>{0, 32, 65}));
}

TEST_F(PlayCursorTest, TheSecondTimeThroughRunsOverTheSameNotation) {
    OpenLesson(1); // 32 beats played over 16 beats of notation
    Move(5, false);
    const QRect firstTime = PointRect();
    Move(21);
    EXPECT_EQ(PointRect(), firstTime);
    EXPECT_EQ(cursor_->Position, 5);
}

TEST_F(PlayCursorTest, JumpsSkipTheRepeatedBars) {
    OpenLesson(28);
    Move(32, false);
    EXPECT_EQ(cursor_->SkipApplied, 32);
    EXPECT_EQ(cursor_->Position, 0);
    EXPECT_EQ(cursor_->PointX, 180);
    EXPECT_EQ(cursor_->PointY, 357);
    Move(80);
    EXPECT_EQ(cursor_->SkipApplied, 48);
    EXPECT_EQ(cursor_->Position, 32);
    EXPECT_EQ(cursor_->Row, 2);
}

TEST_F(PlayCursorTest, InsideTheHoldRangeThePointStaysAndIsErasedThereAfter) {
    OpenLesson(19);
    Move(31, false);
    const QRect held = PointRect();
    const QImage before = Screen();
    for (int p = 32; p <= 35; ++p) {
        Move(p);
        EXPECT_EQ(PointRect(), held) << p;
        EXPECT_EQ(cursor_->Position, p) << "a held position is not reduced";
    }
    EXPECT_EQ(Screen(), before);
    Move(36);
    EXPECT_EQ(Screen().copy(held), notation_.copy(held));
    EXPECT_NE(PointRect(), held);
}

TEST_F(PlayCursorTest, ShowingTheMarkTwiceRemovesTheFirstAndRemovingRestoresTheNotation) {
    OpenLesson(2);
    Move(4, false);
    const QImage withPoint = Screen();
    cursor_->ShowMark();
    const QRect first = MarkRect();
    EXPECT_EQ(first.left(), cursor_->PointX);
    EXPECT_EQ(first.bottom() + 1, cursor_->PointY - 30);
    EXPECT_TRUE(form_->PlayCursor->MarkShown);
    EXPECT_NE(Screen().copy(first), withPoint.copy(first));
    Move(9);
    const QImage beforeSecond = Screen();
    cursor_->ShowMark();
    const QRect second = MarkRect();
    EXPECT_NE(second, first);
    EXPECT_EQ(Screen().copy(first), withPoint.copy(first));
    EXPECT_NE(Screen().copy(second), beforeSecond.copy(second));
    cursor_->RemoveMark();
    EXPECT_EQ(cursor_->MarkX, 0);
    EXPECT_FALSE(form_->PlayCursor->MarkShown);
    EXPECT_EQ(Screen().copy(second), notation_.copy(second));
    EXPECT_EQ(Screen().copy(first), notation_.copy(first));
    // A second removal changes nothing.
    const QImage removed = Screen();
    cursor_->RemoveMark();
    EXPECT_EQ(Screen(), removed);
}

TEST_F(PlayCursorTest, ARepaintKeepsPointAndMarkOnceAndTheNotationUnderThem) {
    OpenLesson(3);
    Move(2, false);
    cursor_->ShowMark();
    Move(3);
    const QImage shown = Screen();
    const QRect point = PointRect();
    form_->Repaint();
    ProcessEvents();
    EXPECT_EQ(Screen(), shown);
    EXPECT_EQ(form_->PointWork.Image().convertToFormat(QImage::Format_RGB32),
              notation_.copy(point).convertToFormat(QImage::Format_RGB32));
    Move(4);
    EXPECT_EQ(Screen().copy(point), notation_.copy(point));
    cursor_->RemoveMark();
    form_->Repaint();
    Move(5);
    // Only the point at beat 5 differs from the bare notation.
    const QImage after = Screen();
    const QRect last = PointRect();
    for (int y = 0; y < after.height(); y += 3)
        for (int x = 0; x < after.width(); x += 3)
            if (!last.contains(x, y)) {
                ASSERT_EQ(after.pixel(x, y), notation_.pixel(x, y)) << x << "," << y;
            }
}

TEST_F(PlayCursorTest, OpeningAnotherLessonLetsGoOfPointAndMark) {
    OpenLesson(4);
    lessontest::WriteLessonScreen(programCopy_->Path(), 5);
    Move(6, false);
    cursor_->ShowMark();
    form_->Course->SetCurrentLesson(5);
    form_->OpenLesson();
    EXPECT_FALSE(cursor_->PointShown());
    EXPECT_FALSE(form_->PlayCursor->MarkShown);
    EXPECT_EQ(cursor_->PointX, form_->Course->Tables().CursorGeometry[5].OriginX);
    EXPECT_EQ(cursor_->Position, 0);
}

} // namespace
} // namespace shelltest
