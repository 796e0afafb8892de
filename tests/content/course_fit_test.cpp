// The texts a learner reads in small fixed places fit them in both editions,
// measured with the fonts the program draws them in: every explorer title
// and text in its display, and the slide windows' side plate ("Lernfenster"
// and each lesson's name).

#include "layout/screenlayout.h"
#include "lessons/lessonhost.h"
#include "lessons/registrydata.h"
#include "lessons/slidewindows.h"
#include "plan/liststore.h"
#include "plan/planpanel.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/graphics.h"
#include "sprachbank/sprachbank.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

const QString kProgram = QDir::cleanPath(QStringLiteral(ZUPFARI_PROGRAM_FOLDER)) + "/";
constexpr int kDisplayBorder = 4; // the explorer displays' text border
constexpr int kPlateMargin = 2;   // at least this much plate on either side

class EditionFit : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        const int code = GetParam();
        const bool english = lessons::CourseEdition(code) != 0;
        platform::SetContentOverlay(kProgram, english ? kProgram + lessons::kEnglishEditionFolder : QString());
    }
    void TearDown() override { platform::SetContentOverlay(QString(), QString()); }

    testsupport::ScopedEnv language_{"SPRACHBANK_LANGUAGE", std::to_string(GetParam())};
};

QFont ProgramFont(int pixels, bool bold) {
    platform::TFont font;
    font.SetName("Arial");
    font.SetHeight(-pixels);
    font.SetStyle(bold ? platform::fsBold : 0u);
    return font.ToQFont();
}

// `text` ("$n" breaks its lines) fits `display` inside its border.
::testing::AssertionResult FitsDisplay(const QString& text, const QRect& display) {
    const QFontMetrics metrics(ProgramFont(11, false));
    const QStringList lines = plan::BreakMarkers(text).split('\n');
    const int height = int(lines.size()) * (metrics.ascent() + metrics.descent());
    if (height > display.height() - kDisplayBorder)
        return ::testing::AssertionFailure() << lines.size() << " lines are too many: " << text.toStdString();
    for (const QString& line : lines)
        if (metrics.horizontalAdvance(line) > display.width() - 2 * kDisplayBorder)
            return ::testing::AssertionFailure() << "too wide: " << line.toStdString();
    return ::testing::AssertionSuccess();
}

TEST_P(EditionFit, EveryExplorerTitleAndTextFitsItsDisplay) {
    QStringList titles, texts;
    plan::ListStore::ReadExplorerTexts(platform::ToAnsi(kProgram), titles, texts);
    ASSERT_EQ(titles.size(), 31);
    for (int entry = 0; entry < 31; ++entry) {
        ASSERT_FALSE(texts[entry].trimmed().isEmpty()) << "entry " << entry;
        EXPECT_TRUE(FitsDisplay(titles[entry], layout::XplText2)) << "entry " << entry;
        EXPECT_TRUE(FitsDisplay(texts[entry], layout::XplText3)) << "entry " << entry;
    }
}

TEST_P(EditionFit, TheSlideWindowsSidePlateHoldsItsLabels) {
    const int room = layout::SlideSidebarPlate.width() - 2 * kPlateMargin;
    EXPECT_LE(QFontMetrics(ProgramFont(11, false)).horizontalAdvance(lessons::CaptionText(23)), room);
    const QFontMetrics number(ProgramFont(13, true));
    for (int lesson = 0; lesson < lessons::kLessonCount; ++lesson)
        EXPECT_LE(number.horizontalAdvance(lessons::LessonNumberText(lesson)), room)
            << lessons::LessonNumberText(lesson).toStdString();
}

INSTANTIATE_TEST_SUITE_P(GermanAndEnglish, EditionFit, ::testing::Values(0, 1));

} // namespace
