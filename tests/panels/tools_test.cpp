// The tuner, the explorer and the monitor on the real main window.

#include "app/msgwin.h"
#include "platform/core/files.h"
#include "sprachbank/sprachbank.h"
#include "tests/panels/panelfixture.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace paneltest {
namespace {

using app::CaptionText;
using app::ErrorText;
using tools::TunerPanel;

// ------------------------------------------------------------------ tuner

TEST_F(PanelTest, TunerBandsOfA120PixelFretboard) {
    CreatePanelWindows();
    TunerPanel& tuner = *form_->Tools->Tuner;
    tuner.ImgTuner->SetBounds(tuner.ImgTuner->Left(), tuner.ImgTuner->Top(), 216, 120);
    tuner.MeasureStrings();
    EXPECT_FLOAT_EQ(tuner.StringSpacing, 20.0f);
    EXPECT_EQ(tuner.BandShift, 6);
    EXPECT_EQ(tuner.StringAt(14), TunerPanel::StringE2);
    EXPECT_EQ(tuner.StringAt(15), TunerPanel::StringH);
    EXPECT_EQ(tuner.StringAt(34), TunerPanel::StringH);
    EXPECT_EQ(tuner.StringAt(35), TunerPanel::StringG);
    EXPECT_EQ(tuner.StringAt(74), TunerPanel::StringD);
    EXPECT_EQ(tuner.StringAt(75), TunerPanel::StringA);
    EXPECT_EQ(tuner.StringAt(94), TunerPanel::StringA);
    EXPECT_EQ(tuner.StringAt(95), TunerPanel::StringE1);

    tuner.ImgTunerMouseDown(95);
    EXPECT_EQ(sound_.events.back(), Played("Sounds\\SaiteE1.wav", true));
    EXPECT_EQ(tuner.StringLabels[TunerPanel::StringE1]->Font()->Color(), platform::clWhite);
    EXPECT_EQ(tuner.StringLabels[TunerPanel::StringE2]->Font()->Color(), platform::clBlack);
    tuner.ImgTunerMouseDown(14);
    EXPECT_EQ(sound_.events.back(), Played("Sounds\\SaiteE2.wav", true));
    EXPECT_EQ(tuner.StringLabels[TunerPanel::StringE1]->Font()->Color(), platform::clBlack);
}

TEST_F(PanelTest, TunerToneLoopsRestartsAndIsCutByTheUeplanButton) {
    CreatePanelWindows();
    form_->BStimmClick(nullptr);
    LetSoundsEnd();
    TunerPanel& tuner = *form_->Tools->Tuner;
    sound_.events.clear();
    tuner.StringLabels[TunerPanel::StringG]->Click();
    tuner.StringLabels[TunerPanel::StringG]->Click(); // from the beginning again
    const std::string g = Played("Sounds\\SaiteG.wav", true);
    // Each start stops what played before: the second click starts the tone afresh.
    EXPECT_EQ(sound_.events, (std::vector<std::string>{"stop", g, "stop", g}));
    EXPECT_TRUE(platform::SoundIsPlaying());

    form_->BTunerAkkord->Click(); // the chord, like its label
    EXPECT_EQ(sound_.events.back(), Played("Sounds\\EDurStimmAkkord.wav", true));
    EXPECT_EQ(tuner.StringLabels[TunerPanel::Chord]->Font()->Color(), platform::clWhite);

    sound_.events.clear();
    form_->BUeplanClick(nullptr);
    EXPECT_EQ(sound_.events, (std::vector<std::string>{"stop", Click()}));
    EXPECT_TRUE(form_->PUeplan->Visible());
    EXPECT_FALSE(form_->PTuner->Visible());

    tuner.StringLabels[TunerPanel::StringD]->Click();
    tuner.LAusschaltenClick();
    EXPECT_FALSE(platform::SoundIsPlaying());
    for (auto* label : tuner.StringLabels)
        EXPECT_EQ(label->Font()->Color(), platform::clBlack);
}

TEST_F(PanelTest, TunerLabelsAndTheirPlaces) {
    CreatePanelWindows();
    TunerPanel& tuner = *form_->Tools->Tuner;
    const QStringList captions = {"e", "h", "g", "D", "A", "E"};
    for (int i = 0; i < TunerPanel::kStrings; ++i) {
        EXPECT_EQ(tuner.StringLabels[i]->Caption(), captions[i]);
        EXPECT_EQ(tuner.StringLabels[i]->Left(), tuner.ImgTuner->Width() + 40);
    }
    EXPECT_EQ(tuner.StringLabels[TunerPanel::Chord]->Caption(), CaptionText(26));
    EXPECT_EQ(tuner.LAusschalten->Caption(), CaptionText(27));
    const int t = tuner.ImgTuner->Top();
    const float s = tuner.StringSpacing;
    EXPECT_EQ(tuner.StringLabels[TunerPanel::StringE2]->Top(), t - 4);
    EXPECT_EQ(tuner.StringLabels[TunerPanel::StringG]->Top(), int(t + 2 * s - 4));
    EXPECT_EQ(tuner.StringLabels[TunerPanel::StringE1]->Top(), int(t + 5 * s));
    EXPECT_EQ(tuner.LAusschalten->Left(), tuner.StringLabels[TunerPanel::StringE1]->Left() + 48);
    EXPECT_EQ(form_->BTunerAkkord->Top(), tuner.StringLabels[TunerPanel::StringE2]->Top() + 24);
    EXPECT_EQ(form_->BTunerAkkord->Left(), tuner.LAusschalten->Left());

    // The English edition names the strings as its lessons do, high E at
    // the top; the tone file stays SaiteH.wav.
    platform::TPanel panel(nullptr);
    panel.SetBounds(0, 0, 368, 212);
    TunerPanel english(&panel, nullptr, *form_->Course);
    english.BuildTunerPanel(1);
    const QStringList englishCaptions = {"E", "B", "G", "D", "A", "E"};
    for (int i = 0; i < TunerPanel::kStrings; ++i)
        EXPECT_EQ(english.StringLabels[i]->Caption(), englishCaptions[i]);
    english.StringLabels[TunerPanel::StringH]->Click();
    EXPECT_EQ(sound_.events.back(), Played("Sounds\\SaiteH.wav", true));
}

TEST_F(PanelTest, MissingToneFileIsReportedAndTheHighlightStays) {
    UseProgramFolderWithout({"Sounds/SaiteA.wav"});
    CreatePanelWindows();
    TunerPanel& tuner = *form_->Tools->Tuner;
    tuner.StringLabels[TunerPanel::StringA]->Click();
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, ErrorText(1));
    EXPECT_EQ(asked_[0].body, ErrorText(10) + "Sounds\\SaiteA.wav");
    EXPECT_TRUE(asked_[0].cancel.isEmpty());
    EXPECT_EQ(tuner.StringLabels[TunerPanel::StringA]->Font()->Color(), platform::clWhite);
    EXPECT_FALSE(platform::SoundIsPlaying());
}

// --------------------------------------------------------------- explorer

// A row names its lesson with the lesson's title, shortened with "…" only
// where the row is too narrow.
TEST_F(PanelTest, ExplorerRowsNameTheLessonsByTheirTitles) {
    CreatePanelWindows();
    tools::ExplorerPanel& explorer = *form_->Tools->Explorer;
    form_->Tools->ExplorerTitles[7] = "a-Moll und$nE-Dur";
    form_->Tools->ExplorerTitles[2] = QString("Ein sehr langer Titel ").repeated(4);
    explorer.RefreshRows();
    EXPECT_EQ(explorer.ListRows[7]->Text(),
              CaptionText(20) + " 7 " + QChar(0x2014) + " a-Moll und E-Dur");
    EXPECT_TRUE(explorer.ListRows[2]->Text().endsWith(QChar(0x2026)));
    const QFontMetrics metrics(explorer.ListRows[2]->Font()->ToQFont());
    EXPECT_LE(metrics.horizontalAdvance(explorer.ListRows[2]->Text()),
              explorer.ListRows[2]->Width() - 2 * explorer.ListRows[2]->TextBorderWidth());
    // The course's own titles are there from the start.
    ASSERT_GT(form_->Tools->ExplorerTitles.size(), 30);
    EXPECT_TRUE(explorer.ListRows[0]->Text().startsWith(CaptionText(21) + " " + QChar(0x2014)));
}

// The wheel scrolls the list a few entries a notch, over a row or the panel,
// and stops at either end.
TEST_F(PanelTest, ExplorerScrollsWithTheWheel) {
    CreatePanelWindows();
    tools::ExplorerPanel& explorer = *form_->Tools->Explorer;
    auto turn = [](QWidget* widget, int notches) {
        const QPointF at(2, 2);
        QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
    };
    turn(explorer.ListRows[3], -1);
    EXPECT_EQ(explorer.RowEntry[0], tools::ExplorerPanel::kWheelRows);
    turn(form_->PExplorer, -2);
    EXPECT_EQ(explorer.RowEntry[0], 3 * tools::ExplorerPanel::kWheelRows);
    turn(explorer.ListRows[0], -20);
    EXPECT_EQ(explorer.RowEntry[0], 23);
    EXPECT_TRUE(explorer.ListRows[7]->Text().startsWith("Video"));
    turn(explorer.ListRows[5], 1);
    EXPECT_EQ(explorer.RowEntry[0], 23 - tools::ExplorerPanel::kWheelRows);
    turn(explorer.ListRows[5], 20);
    EXPECT_EQ(explorer.RowEntry[0], 0);
}

TEST_F(PanelTest, ExplorerScrollsBetweenItsEnds) {
    CreatePanelWindows();
    tools::ExplorerPanel& explorer = *form_->Tools->Explorer;
        EXPECT_TRUE(explorer.ListRows[7]->Text().startsWith(CaptionText(20) + " 7"));
    EXPECT_EQ(explorer.ScrollTimer->Interval(), 120u);
    EXPECT_FALSE(explorer.ScrollTimer->Enabled());

    form_->BScrollDown->OnMouseEnter(form_->BScrollDown);
    EXPECT_TRUE(explorer.ScrollTimer->Enabled());
    EXPECT_FALSE(explorer.ScrollUp);
    for (int i = 0; i < 40; ++i)
        explorer.ScrollTimerTimer();
    EXPECT_EQ(explorer.RowEntry[0], 23);
    EXPECT_EQ(explorer.RowEntry[7], 30);
    EXPECT_TRUE(explorer.ListRows[6]->Text().startsWith(CaptionText(22)));
    EXPECT_TRUE(explorer.ListRows[7]->Text().startsWith("Video"));
    form_->BScrollDown->OnMouseLeave(form_->BScrollDown);
    EXPECT_FALSE(explorer.ScrollTimer->Enabled());

    form_->BScrollUp->OnMouseEnter(form_->BScrollUp);
    EXPECT_TRUE(explorer.ScrollUp);
    for (int i = 0; i < 40; ++i)
        explorer.ScrollTimerTimer();
    EXPECT_EQ(explorer.RowEntry[0], 0);
    EXPECT_TRUE(explorer.ListRows[0]->Text().startsWith(CaptionText(21)));
}

TEST_F(PanelTest, ExplorerTextFollowsTheMouseAndFallsBackToTheVideo) {
    CreatePanelWindows();
    form_->Tools->ExplorerTitles[3] = "Drei$nZeilen";
    form_->Tools->ExplorerTexts[3] = "Text drei";
    form_->Tools->ExplorerTitles[30] = "Abschluss";
    tools::ExplorerPanel& explorer = *form_->Tools->Explorer;
    explorer.RowEnter(3);
    EXPECT_EQ(explorer.XplText->Text(), CaptionText(20) + " 3");
    EXPECT_EQ(explorer.XplText2->Text(), "Drei\nZeilen");
    EXPECT_EQ(explorer.XplText3->Text(), "Text drei");
    explorer.RowLeave(); // no lesson open
    EXPECT_EQ(explorer.XplText->Text(), "Video");
    EXPECT_EQ(explorer.XplText2->Text(), "Abschluss");

    form_->Course->SetCurrentLesson(3);
    explorer.RowEnter(5);
    explorer.RowLeave();
    EXPECT_EQ(explorer.XplText->Text(), CaptionText(20) + " 3");
}

// The displays break lines only where a text says so ("$n"): every title
// and text of the course must fit its display as written.
TEST_F(PanelTest, ExplorerTextsOfTheCourseFitTheirDisplays) {
    CreatePanelWindows();
    tools::ExplorerPanel& explorer = *form_->Tools->Explorer;
    ASSERT_EQ(form_->Tools->ExplorerTexts.size(), 31);
    for (int entry = 0; entry < 31; ++entry) {
        ASSERT_NE(form_->Tools->ExplorerTexts[entry].trimmed(), "") << "no course text for " << entry;
        explorer.ShowExplorerText(entry);
        for (controls::TXAquaButton* display : {explorer.XplText2, explorer.XplText3}) {
            const QString text = display->Text();
            EXPECT_FALSE(text.contains("$n", Qt::CaseInsensitive)) << text.toStdString();
            const QFontMetrics metrics(display->Font()->ToQFont());
            const QStringList lines = text.split('\n');
            const int height = int(lines.size()) * (metrics.ascent() + metrics.descent());
            EXPECT_LE(height, display->Height() - 2 * display->TextBorderHeight())
                << "entry " << entry << ": " << text.toStdString();
            for (const QString& line : lines)
                EXPECT_LE(metrics.horizontalAdvance(line),
                          display->Width() - 2 * display->TextBorderWidth())
                    << "entry " << entry << ": " << line.toStdString();
        }
    }
}

TEST_F(PanelTest, ExplorerRowOfTheOpenLessonOnlyClicksAndVideoEntryWithoutVideo) {
    CreatePanelWindows();
    tools::ExplorerPanel& explorer = *form_->Tools->Explorer;
    form_->Course->SetCurrentLesson(2);
    sound_.events.clear();
    explorer.ListRows[2]->Click();
    EXPECT_EQ(Form()->lessonsOpened, 0);
    EXPECT_EQ(sound_.events, (std::vector<std::string>{Click()}));
    explorer.ListRows[4]->Click();
    EXPECT_EQ(Form()->lessonsOpened, 1);
    EXPECT_EQ(form_->Course->CurrentLesson(), 4);
    EXPECT_EQ(explorer.ExplorerLesson, 4);

    form_->Videos->Path = form_->Places->ProgramFolder + "lektionX\\GibtEsNicht.avi";
    for (int i = 0; i < 30; ++i)
        explorer.ScrollTimerTimer(); // down to the end
    explorer.ListRows[7]->Click();
    EXPECT_EQ(form_->Course->CurrentLesson(), -1);
    EXPECT_EQ(explorer.LastEntry, 30);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, "Video not found.");
    EXPECT_EQ(asked_[0].body, "You can download the video from \n" + form_->Places->WebSiteAddress);
    EXPECT_TRUE(asked_[0].cancel.isEmpty());
}

TEST_F(PanelTest, ModeButtonSwitchesToExplorerAndBackToAnEmptyPlan) {
    CreatePanelWindows();
    form_->BExplorerClick(nullptr);
    EXPECT_TRUE(form_->Course->ExplorerMode());
    EXPECT_TRUE(form_->PExplorer->Visible());
    EXPECT_FALSE(form_->PUeplan->Visible());
    EXPECT_FALSE(form_->BKontrolle->Visible());
    EXPECT_EQ(form_->LModusAnzeige->Caption(), CaptionText(12));
    EXPECT_EQ(form_->BUeplan->Text(), CaptionText(12));
    EXPECT_EQ(form_->Course->CurrentLesson(), 0); // the explorer's lesson, opened
    EXPECT_EQ(Form()->lessonsOpened, 1);

    form_->BPlay->SetEnabled(true); // as if the lesson had loaded
    form_->TrBarTempo->SetEnabled(true);
    form_->BExplorerClick(nullptr);
    EXPECT_FALSE(form_->Course->ExplorerMode());
    EXPECT_TRUE(form_->PUeplan->Visible());
    EXPECT_FALSE(form_->PExplorer->Visible());
    EXPECT_TRUE(form_->BKontrolle->Visible());
    EXPECT_EQ(form_->LModusAnzeige->Caption(), "Tutorial");
    EXPECT_EQ(form_->BUeplan->Text(), CaptionText(11));
    EXPECT_EQ(form_->Course->CurrentLesson(), -1);
    EXPECT_FALSE(form_->BPlay->Enabled());
    EXPECT_FALSE(form_->TrBarTempo->Enabled());
    EXPECT_EQ(Form()->lessonsOpened, 1);

    SetPlan({6}); // with a planned lesson it opens that one
    form_->BExplorerClick(nullptr);
    form_->BExplorerClick(nullptr);
    EXPECT_EQ(form_->Course->CurrentLesson(), 6);
    EXPECT_EQ(form_->Lists->CurrentEntry, 0);
}

// Leaving the explorer brings back the plan's lesson that was open before,
// whichever row it is in; a lesson that left the plan meanwhile does not.
TEST_F(PanelTest, LeavingTheExplorerBringsBackTheLessonThatWasOpen) {
    CreatePanelWindows();
    SetPlan({6, 9});
    form_->Tools->PlanView->SelectButtons[1]->Click();
    ASSERT_EQ(form_->Course->CurrentLesson(), 9);
    form_->BExplorerClick(nullptr);
    form_->Tools->Explorer->ListRows[4]->Click();
    ASSERT_EQ(form_->Course->CurrentLesson(), 4);
    form_->BExplorerClick(nullptr);
    EXPECT_EQ(form_->Course->CurrentLesson(), 9);
    EXPECT_EQ(form_->Lists->CurrentEntry, 1);

    form_->BExplorerClick(nullptr);
    SetPlan({6}); // lesson 9 was finished meanwhile
    form_->BExplorerClick(nullptr);
    EXPECT_EQ(form_->Course->CurrentLesson(), 6);
    EXPECT_EQ(form_->Lists->CurrentEntry, 0);
}

// ---------------------------------------------------------------- monitor

class MonitorTest : public PanelTest {
protected:
    // A program folder whose lessons named in `lessons` hold exactly their
    // files (content names below the lesson folder); lesson 21 is open.
    void UseLessons(const std::vector<std::pair<int, std::vector<std::string>>>& lessons) {
        std::vector<std::string> folders;
        for (const auto& lesson : lessons) folders.push_back("lektion" + std::to_string(lesson.first));
        UseProgramFolderWithout(folders);
        const auto jpeg = platform::ReadFileBytes(testsupport::BinFolder() + "Bilder/tutorialdisplay.jpg");
        ASSERT_TRUE(jpeg);
        for (const auto& [lesson, files] : lessons)
            for (const std::string& file : files)
                programCopy_->Write("lektion" + std::to_string(lesson) + "/" + file, *jpeg);
        CreatePanelWindows();
        form_->Course->SetCurrentLesson(21);
    }
    void UseLesson21(const std::vector<std::string>& files) { UseLessons({{21, files}}); }
    // The monitor's picture number of the picture shown.
    int Shown() const { return form_->Tools->Monitor->PictureNumber; }
    std::vector<bool> ButtonsShown() const {
        std::vector<bool> shown;
        for (auto* button : form_->Tools->Monitor->MonitorButtons) shown.push_back(button->Visible());
        return shown;
    }
    // The window's own lesson opening, not the bench's counter.
    void OpenLessonForReal(int lesson) {
        form_->Course->SetCurrentLesson(lesson);
        form_->TForm1::OpenLesson();
    }
};

TEST_F(MonitorTest, OpeningALessonStartsItsPicturesAfreshWhileTheMonitorIsAway) {
    UseLessons({{21, {"DiaA2.jpg", "DiaA3.jpg"}}, {22, {"DiaA1.jpg", "DiaA2.jpg"}}});
    form_->Course->SetCurrentLesson(22);
    form_->BMonitorClick(nullptr);
    form_->Tools->Monitor->MonitorButtons[0]->Click();
    ASSERT_EQ(Shown(), 2);
    form_->BUeplanClick(nullptr);

    OpenLessonForReal(21);
    EXPECT_EQ(form_->Tools->Monitor->SlidePicturePrefix, form_->Places->ProgramFolder + "lektion21\\DiaA");
    EXPECT_EQ(Shown(), 0);
    EXPECT_TRUE(form_->Tools->Monitor->ImgMon1->Picture()->Empty()); // lesson 22's picture is gone
    EXPECT_FALSE(form_->PMonitor->Visible());
    form_->BMonitorClick(nullptr);
    EXPECT_EQ(Shown(), 2); // lesson 21's first picture
    EXPECT_FALSE(form_->Tools->Monitor->ImgMon1->Picture()->Empty());
}

TEST_F(MonitorTest, AMonitorThatIsUpFollowsTheOpenedLesson) {
    UseLessons({{21, {"DiaA3.jpg", "Video2.avi", "Video3.avi"}},
                {22, {"DiaA1.jpg", "DiaA2.jpg", "Video1.avi"}}});
    form_->Course->SetCurrentLesson(22);
    form_->BMonitorClick(nullptr);
    ASSERT_EQ(ButtonsShown(), (std::vector<bool>{true, true, false, false}));

    OpenLessonForReal(21);
    EXPECT_TRUE(form_->PMonitor->Visible());
    EXPECT_EQ(Shown(), 3);
    EXPECT_FALSE(form_->Tools->Monitor->ImgMon1->Picture()->Empty());
    EXPECT_EQ(ButtonsShown(), (std::vector<bool>{false, false, true, true}));
    form_->Tools->Monitor->MonitorButtons[2]->Click();
    ASSERT_EQ(Form()->videos.size(), 1u);
    EXPECT_EQ(Form()->videos[0].file, form_->Places->ProgramFolder + "lektion21\\Video2.avi");
}

TEST_F(MonitorTest, PicturesOneTwoFourStepAround) {
    UseLesson21({"DiaA1.jpg", "DiaA2.jpg", "DiaA4.jpg"});
    form_->BMonitorClick(nullptr);
    EXPECT_TRUE(form_->PMonitor->Visible());
    EXPECT_EQ(Shown(), 1);
    EXPECT_GT(form_->Tools->Monitor->ImgMon1->Width(), 10); // a real picture, not the missing fill
    EXPECT_TRUE(form_->Tools->Monitor->MonitorButtons[0]->Visible());
    EXPECT_EQ(form_->Tools->Monitor->MonitorButtons[0]->Text(), CaptionText(28));
    std::vector<int> shown;
    for (int i = 0; i < 3; ++i) {
        LetSoundsEnd();
        form_->Tools->Monitor->MonitorButtons[0]->Click();
        shown.push_back(Shown());
    }
    EXPECT_EQ(shown, (std::vector<int>{2, 4, 1}));
    EXPECT_EQ(sound_.events.back(), Played("ClickSounds\\foto.wav", false));
}

TEST_F(MonitorTest, PicturesOneAndThreeHaveNoPictureButton) {
    UseLesson21({"DIAA1.JPG", "diaa3.jpg"}); // names matched without regard to case
    form_->BMonitorClick(nullptr);
    EXPECT_EQ(Shown(), 1);
    EXPECT_FALSE(form_->Tools->Monitor->MonitorButtons[0]->Visible());
    form_->Tools->Monitor->NextPicture(form_->Tools->Monitor->ImgMon1);
    EXPECT_EQ(Shown(), 3);
}

TEST_F(MonitorTest, VideosOneAndThreeWithAndWithoutAccompaniment) {
    UseLesson21({"Video1.avi", "Video1.mid", "video3.AVI"});
    form_->BMonitorClick(nullptr);
    tools::MonitorPanel& monitor = *form_->Tools->Monitor;
    EXPECT_TRUE(monitor.MonitorButtons[1]->Visible());
    EXPECT_FALSE(monitor.MonitorButtons[2]->Visible());
    EXPECT_TRUE(monitor.MonitorButtons[3]->Visible());
    EXPECT_EQ(monitor.MonitorButtons[1]->Text(), "Video 1");
    EXPECT_EQ(monitor.MonitorButtons[3]->Text(), "Video 3");

    monitor.MonitorButtons[1]->Click();
    monitor.MonitorButtons[3]->Click();
    ASSERT_EQ(Form()->videos.size(), 2u);
    const std::string lesson = form_->Places->ProgramFolder + "lektion21\\";
    EXPECT_EQ(Form()->videos[0].file, lesson + "Video1.avi");
    EXPECT_EQ(Form()->videos[0].midi, lesson + "Video1.mid");
    EXPECT_EQ(Form()->videos[1].midi, "0"); // no accompaniment
    EXPECT_EQ(Form()->videos[0].rect, platform::Rect(0, 0, 192, 144));
    EXPECT_EQ(Form()->videos[0].top, form_->PMonitor->Top() + 26);
    EXPECT_EQ(Form()->videos[0].left, form_->PMonitor->Left() + 32);
    EXPECT_TRUE(monitor.MonitorButtons[1]->Enabled());

    form_->Video->Playing = true;
    monitor.MonitorButtons[1]->Click();
    EXPECT_EQ(Form()->videos.size(), 2u);
}

TEST_F(MonitorTest, OneVideoReadsVideo) {
    UseLesson21({"Video1.avi"});
    form_->BMonitorClick(nullptr);
    EXPECT_EQ(form_->Tools->Monitor->MonitorButtons[1]->Text(), "Video");
    EXPECT_FALSE(form_->Tools->Monitor->MonitorButtons[0]->Visible());
}

} // namespace
} // namespace paneltest
