// The practice plan panel on the real main window, and the list store
// saving progress as it happens.

#include "app/msgwin.h"
#include "plan/liststore.h"
#include "tests/panels/panelfixture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QLabel>
#include <gtest/gtest.h>

namespace paneltest {
namespace {

using app::CaptionText;
using app::MessageText;

TEST_F(PanelTest, RowsShowThePlanWithNumbersTitlesAndButtons) {
    CreatePanelWindows();
    form_->Tools->ExplorerTitles[4] = "Erste$NAkkorde";
    form_->Tools->ExplorerTitles[7] = "Zupfen$nmit Daumen";
    SetPlan({4, 7});
    plan::PlanPanel& view = *form_->Tools->PlanView;
    EXPECT_EQ(view.NumberLabels[0]->Caption(), "4");
    EXPECT_EQ(view.TitleLabels[0]->Caption(), "Erste\nAkkorde"); // "$N" breaks too
    EXPECT_EQ(view.TitleLabels[1]->Caption(), "Zupfen\nmit Daumen");
    EXPECT_TRUE(view.SelectButtons[0]->Visible());
    EXPECT_TRUE(view.SelectButtons[1]->Visible());
    EXPECT_EQ(view.NumberLabels[2]->Caption(), "---");
    EXPECT_EQ(view.TitleLabels[2]->Caption(), "---");
    EXPECT_FALSE(view.SelectButtons[2]->Visible());
    // Placed as the plan lays them out, the buttons with their captions.
    EXPECT_EQ(view.SelectButtons[1]->BoundsRect(), platform::Bounds(260, 90, 80, 16));
    EXPECT_EQ(view.NumberLabels[2]->Top(), 118);
    EXPECT_EQ(view.SelectButtons[0]->Text(), CaptionText(19));
    EXPECT_EQ(form_->BNext->Text(), CaptionText(18));
    EXPECT_EQ(form_->BVonVorn->Text(), CaptionText(17));
    EXPECT_EQ(form_->BNext->Left(), view.SelectButtons[0]->Left());
    EXPECT_EQ(form_->BNext->Top(), form_->PUeplan->Height() - 16 - 22);
    // Starting over does not sit right beside "Neue Übung".
    EXPECT_EQ(form_->BVonVorn->Top(), form_->BNext->Top());
    EXPECT_GE(form_->BNext->Left() - form_->BVonVorn->BoundsRect().Right, 120);
    // Each row's passes toward the quiz, as dots under its number.
    form_->Lists->Plan[0].PlayCount = 2;
    form_->RefreshPlanPanel();
    EXPECT_EQ(view.PassDots[0]->Caption(), QString::fromUtf8("●●○"));
    EXPECT_EQ(view.PassDots[0]->Hint(), CaptionText(603).arg(2).arg(3));
    EXPECT_EQ(view.PassDots[1]->Caption(), QString::fromUtf8("○○○"));
    EXPECT_FALSE(view.PassDots[2]->Visible());
    EXPECT_EQ(plan::PlanPanel::PassDotsText(7), QString::fromUtf8("●●●"));
}

// The plan's buttons read as buttons one can press: a light face with a
// dark caption, not a grey shade of the wood behind them.
TEST_F(PanelTest, ThePlanButtonsLookPressable) {
    CreatePanelWindows();
    SetPlan({4});
    for (controls::TXAquaButton* button :
         {form_->BNext, form_->BVonVorn, form_->Tools->PlanView->SelectButtons[0]}) {
        const QImage face = button->Background(controls::LookNormal)->Image();
        const QColor middle = face.pixelColor(face.width() / 2, face.height() / 2);
        EXPECT_GT(middle.lightness(), 200) << button->Text().toStdString();
        EXPECT_GT(middle.saturation(), 15) << "cream, not grey";
        EXPECT_LT(platform::ToQColor(button->TopTextColor()).lightness(), 80);
    }
}

TEST_F(PanelTest, VonVornAsksTwiceThenEmptiesThePlanAndNeueUebungIntroducesLesson0) {
    CreatePanelWindows();
    SetPlan({3, 5, 9});
    form_->Course->SetCurrentLesson(5);

    answers_ = {1, 2}; // yes, then no: nothing happens
    form_->BVonVornClick(nullptr);
    ASSERT_EQ(asked_.size(), 2u);
    EXPECT_EQ(asked_[0].title, MessageText(17));
    EXPECT_EQ(asked_[0].body, MessageText(18));
    EXPECT_EQ(asked_[0].ok, CaptionText(3));
    EXPECT_EQ(asked_[0].cancel, CaptionText(4));
    EXPECT_EQ(asked_[1].title, MessageText(1));
    EXPECT_EQ(asked_[1].body, MessageText(19));
    EXPECT_EQ(asked_[1].ok, CaptionText(1));
    EXPECT_EQ(asked_[1].cancel, CaptionText(2));
    EXPECT_EQ(PlanLessons(), (std::vector<int>{3, 5, 9}));

    asked_.clear();
    answers_ = {1, 1};
    form_->BVonVornClick(nullptr);
    EXPECT_EQ(asked_.size(), 2u);
    EXPECT_EQ(PlanLessons(), (std::vector<int>{-1, -1, -1}));
    EXPECT_EQ(form_->Course->CurrentLesson(), -1);
    EXPECT_FALSE(form_->BVonVorn->Visible());
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(form_->Tools->PlanView->NumberLabels[row]->Caption(), "---");
        EXPECT_EQ(form_->Tools->PlanView->TitleLabels[row]->Caption(), "---");
        EXPECT_FALSE(form_->Tools->PlanView->SelectButtons[row]->Visible());
    }
    // The reset course is on disk at once.
    EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl"), "3\r\n-1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n");

    sound_.events.clear();
    form_->BNextClick(nullptr);
    EXPECT_EQ(Form()->slidesOpened, std::vector<int>{0});
    EXPECT_TRUE(form_->Lists->IntroMode());
    EXPECT_FALSE(form_->Course->OpenedFromLessonScreen());
    EXPECT_EQ(sound_.events.back(), Click());
}

// "Fortschritt" clicks and opens the progress window over the program's
// journal; a second click shows the same window again.
TEST_F(PanelTest, FortschrittOpensTheProgressWindowOverTheJournal) {
    CreatePanelWindows();
    ASSERT_NE(form_->Tools->PlanView->BFortschritt, nullptr);
    EXPECT_FALSE(form_->Tools->PlanView->BFortschritt->isHidden());
    form_->Tools->PlanView->BFortschritt->Click();
    EXPECT_EQ(sound_.events, std::vector<std::string>{Click()});
    journal::TProgressWin* window = form_->Tools->PlanView->ProgressWin;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->LWelcome->isHidden()); // nothing practised yet
    window->BCloseClick(window->BClose);
    EXPECT_FALSE(window->isVisible());
    form_->Tools->PlanView->BFortschritt->Click();
    EXPECT_EQ(form_->Tools->PlanView->ProgressWin, window);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PanelTest, RowOfTheOpenLessonOnlyClicks) {
    CreatePanelWindows();
    SetPlan({3, 5});
    form_->Course->SetCurrentLesson(3);
    form_->Lists->CurrentEntry = 0;
    form_->Tools->PlanView->SelectButtons[0]->Click();
    EXPECT_EQ(Form()->lessonsOpened, 0);
    EXPECT_EQ(form_->Course->CurrentLesson(), 3);
    EXPECT_EQ(sound_.events, std::vector<std::string>{Click()});

    form_->Tools->PlanView->SelectButtons[1]->Click();
    EXPECT_EQ(Form()->lessonsOpened, 1);
    EXPECT_EQ(form_->Course->CurrentLesson(), 5);
    EXPECT_EQ(form_->Lists->CurrentEntry, 1);

    form_->Video->Playing = true; // nothing at all while a video plays
    sound_.events.clear();
    form_->Tools->PlanView->SelectButtons[0]->Click();
    EXPECT_TRUE(sound_.events.empty());
    EXPECT_EQ(form_->Course->CurrentLesson(), 5);
}

TEST_F(PanelTest, FullPlanOrNoWaitingLessonIsRefused) {
    CreatePanelWindows();
    SetPlan({3, 5, 9});
    form_->Course->SetCurrentLesson(5);
    form_->BNextClick(nullptr);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, MessageText(15));
    EXPECT_EQ(asked_[0].body, MessageText(16));
    EXPECT_EQ(asked_[0].ok, CaptionText(1));
    EXPECT_TRUE(asked_[0].cancel.isEmpty());
    EXPECT_EQ(sound_.events.back(), Played("ClickSounds\\oh.wav", false));
    EXPECT_TRUE(Form()->slidesOpened.empty());
    EXPECT_EQ(PlanLessons(), (std::vector<int>{3, 5, 9}));
    EXPECT_EQ(form_->Course->CurrentLesson(), 5);

    // Room in the plan, but every lesson taken.
    asked_.clear();
    SetPlan({3});
    for (plan::ListEntry& entry : form_->Lists->Waiting)
        entry.Lesson = 0;
    form_->BNextClick(nullptr);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, MessageText(2));
    EXPECT_EQ(asked_[0].body, MessageText(20));
    EXPECT_EQ(form_->Course->CurrentLesson(), 5); // back to the lesson that was open
    EXPECT_TRUE(Form()->slidesOpened.empty());
}

TEST_F(PanelTest, PanelsAreRoundedAndShownOneAtATime) {
    CreatePanelWindows();
    for (platform::TPanel* panel :
         {form_->PUeplan, form_->PExplorer, form_->PMonitor, form_->PTuner}) {
        EXPECT_EQ(panel->BoundsRect(), platform::Bounds(12, 12, 368, 212));
        EXPECT_FALSE(panel->mask().contains(QPoint(0, 0))) << panel->Name().toStdString();
        EXPECT_FALSE(panel->mask().contains(QPoint(367, 211)));
        EXPECT_TRUE(panel->mask().contains(QPoint(20, 0)));
        EXPECT_TRUE(panel->mask().contains(QPoint(184, 106)));
    }
    auto shown = [this] {
        QStringList names;
        for (platform::TPanel* panel :
             {form_->PUeplan, form_->PExplorer, form_->PMonitor, form_->PTuner})
            if (panel->Visible()) names << panel->Name();
        return names;
    };
    EXPECT_EQ(shown(), QStringList{"PUeplan"});
    form_->BStimmClick(nullptr);
    EXPECT_EQ(shown(), QStringList{"PTuner"});
    form_->BMonitorClick(nullptr);
    EXPECT_EQ(shown(), QStringList{"PMonitor"});
    form_->BUeplanClick(nullptr);
    EXPECT_EQ(shown(), QStringList{"PUeplan"});
    form_->Course->SetExplorerMode(true);
    form_->BStimmClick(nullptr);
    form_->BUeplanClick(nullptr);
    EXPECT_EQ(shown(), QStringList{"PExplorer"});
    form_->Video->Playing = true;
    form_->BStimmClick(nullptr);
    EXPECT_EQ(shown(), QStringList{"PExplorer"});
}

// ------------------------------------------------ progress that is kept

std::string ReadFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

class ListSaving : public ::testing::Test {
protected:
    void SetUp() override {
        programFolder_.Write("Listen/ListeUeplan.ztl",
                             "3\r\n-1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n");
        std::string waiting = "3\r\n";
        for (int i = 0; i < 30; ++i)
            waiting += "1\r\n1\r\n0\r\n";
        programFolder_.Write("Listen/ListeWarten.ztl", waiting);
        programFolder_.Write("Listen/.keep", "");
        dataFolder_.Write("Listen/.keep", "");
    }
    std::string Plan() const { return ReadFile(dataFolder_.Path() + "Listen/ListeUeplan.ztl"); }
    std::string Waiting() const { return ReadFile(dataFolder_.Path() + "Listen/ListeWarten.ztl"); }
    // Line `n` (0-based) of a list file's text.
    static std::string Line(const std::string& text, int n) {
        std::size_t start = 0;
        for (int i = 0; i < n; ++i)
            start = text.find("\r\n", start) + 2;
        return text.substr(start, text.find("\r\n", start) - start);
    }
    testsupport::TempFolder programFolder_, dataFolder_;
};

TEST_F(ListSaving, EveryChangeOfThePlanIsWrittenAtOnce) {
    plan::ListStore lists;
    ASSERT_TRUE(lists.ReadStoredLists(dataFolder_.Path(), programFolder_.Path()));
    lists.KeepSavedIn(dataFolder_.Path(), false);
    EXPECT_EQ(Plan(), "<missing>"); // reading writes nothing

    EXPECT_EQ(lists.TakeIntoPlan(4), 0);
    EXPECT_EQ(Line(Plan(), 1), "4");
    EXPECT_EQ(Line(Waiting(), 4 * 3 + 1), "0"); // lesson 4 no longer waits
    EXPECT_EQ(lists.TakeIntoPlan(6), 1);

    lists.CurrentEntry = 1;
    lists.RecordProgress(10, 2); // a pass counted at level 10
    EXPECT_EQ(Line(Plan(), 5), "10");
    EXPECT_EQ(Line(Plan(), 6), "2");

    lists.RemoveFromPlan(0); // the quiz passed for lesson 4
    EXPECT_EQ(Line(Plan(), 1), "6");
    EXPECT_EQ(Line(Plan(), 4), "-1");

    lists.ResetLists();
    EXPECT_EQ(Line(Plan(), 1), "-1");
    EXPECT_EQ(Line(Waiting(), 4 * 3 + 1), "1");
    EXPECT_EQ(Waiting().size(), std::string("3\r\n").size() + 30 * std::string("1\r\n1\r\n0\r\n").size());
}

TEST_F(ListSaving, NothingIsWrittenFromACdRomUnarmedOrFromUnreadLists) {
    plan::ListStore cdRom;
    ASSERT_TRUE(cdRom.ReadStoredLists(dataFolder_.Path(), programFolder_.Path()));
    cdRom.KeepSavedIn(dataFolder_.Path(), true);
    cdRom.TakeIntoPlan(1);
    EXPECT_FALSE(cdRom.SaveNow());

    plan::ListStore unarmed;
    ASSERT_TRUE(unarmed.ReadStoredLists(dataFolder_.Path(), programFolder_.Path()));
    unarmed.AddToPlan(2);
    EXPECT_FALSE(unarmed.SaveNow());

    // Lists found nowhere: the blank store must never replace anything.
    testsupport::TempFolder empty;
    plan::ListStore unread;
    EXPECT_FALSE(unread.ReadStoredLists(empty.Path(), empty.Path()));
    unread.KeepSavedIn(dataFolder_.Path(), false);
    unread.AddToPlan(0);
    EXPECT_FALSE(unread.SaveNow());
    EXPECT_EQ(Plan(), "<missing>");
    EXPECT_EQ(Waiting(), "<missing>");
}

TEST_F(ListSaving, CanSaveTellsWhetherTheListFolderTakesFiles) {
    plan::ListStore lists;
    ASSERT_TRUE(lists.ReadStoredLists(dataFolder_.Path(), programFolder_.Path()));
    EXPECT_TRUE(lists.CanSave()) << "nothing to write yet";
    lists.KeepSavedIn(dataFolder_.Path(), false);
    EXPECT_TRUE(lists.CanSave());
    EXPECT_EQ(QDir(dataFolder_.QPath() + "Listen").entryList(QDir::Files | QDir::Hidden),
              QStringList{".keep"}) << "the probe is gone again";

    // A "Listen" that is a file takes nothing, whoever runs the program.
    testsupport::TempFolder blocked;
    blocked.Write("Listen", "");
    lists.KeepSavedIn(blocked.Path(), false);
    EXPECT_FALSE(lists.CanSave());
    EXPECT_FALSE(lists.SaveNow());
    EXPECT_EQ(lists.SaveFolder(), blocked.Path() + "Listen");
    lists.KeepSavedIn(blocked.Path(), true); // from a CD-ROM nothing is written anyway
    EXPECT_TRUE(lists.CanSave());
}

TEST_F(PanelTest, ListsThatCannotBeSavedAreToldAtTheFirstShowing) {
    QDir().mkpath(QString::fromStdString(DataFolder()));
    QFile(QString::fromStdString(DataFolder() + "Listen")).open(QIODevice::WriteOnly);
    CreateWindows();
    ShowMainWindow();
    ASSERT_EQ(asked_.size(), 2u);
    EXPECT_EQ(asked_[0].title, QString::fromUtf8("Speichern nicht möglich"));
    EXPECT_TRUE(asked_[0].body.contains(QString::fromStdString(DataFolder() + "Listen")))
        << asked_[0].body.toStdString();
    EXPECT_TRUE(asked_[0].cancel.isEmpty());
    EXPECT_EQ(asked_[1].title, MessageText(4)) << "then the start question";
    DestroyWindows();

    QFile::remove(QString::fromStdString(DataFolder() + "Listen"));
    asked_.clear();
    CreateWindows();
    ShowMainWindow();
    ASSERT_EQ(asked_.size(), 1u) << "a folder that takes the lists: only the start question";
}

TEST_F(ListSaving, ALessonInThePlanNoLongerWaitsAfterReading) {
    // Written between the two steps of taking lesson 2 in: in the plan, still waiting.
    programFolder_.Write("Listen/ListeUeplan.ztl",
                         "3\r\n2\r\n4\r\n1\r\n-1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n");
    plan::ListStore lists;
    ASSERT_TRUE(lists.ReadStoredLists(dataFolder_.Path(), programFolder_.Path()));
    EXPECT_EQ(lists.Waiting[2].Lesson, 0);
    EXPECT_EQ(lists.FirstWaiting(), 0);
    lists.Waiting[0].Lesson = lists.Waiting[1].Lesson = 0;
    EXPECT_EQ(lists.FirstWaiting(), 3);
}

TEST_F(PanelTest, TheMainWindowKeepsItsListsOnDiskAsTheLearnerGoes) {
    CreatePanelWindows();
    EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl"), "<missing>");
    form_->Lists->TakeIntoPlan(0); // what finishing the slide windows does
    EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl").substr(0, 6), "3\r\n0\r\n");
    DestroyWindows();

    cdRom_ = true;
    testsupport::TempFolder other;
    setenv("XDG_DATA_HOME", other.Path().c_str(), 1);
    CreatePanelWindows();
    form_->Lists->TakeIntoPlan(1);
    EXPECT_EQ(ReadFile(other.Path() + "ZupfariDemo/Listen/ListeUeplan.ztl"), "<missing>");
    DestroyWindows();
    setenv("XDG_DATA_HOME", dataHome_.Path().c_str(), 1);
}

} // namespace
} // namespace paneltest

namespace paneltest {
namespace {

// Each panel draws its own picture and controls in the same place. With
// $ZUPFARI_PANEL_SHOTS set to a folder, the four pictures are saved there
// for a look.
TEST_F(PanelTest, EachPanelDrawsItsOwnPicture) {
    CreatePanelWindows();
    form_->Tools->ExplorerTitles[2] = "Die ersten$nTöne";
    SetPlan({2, 5});
    form_->Course->SetCurrentLesson(2);
    form_->Show();
    ProcessEvents();
    const QString folder = qEnvironmentVariable("ZUPFARI_PANEL_SHOTS");
    std::vector<QImage> shots;
    auto shoot = [&](const char* name) {
        ProcessEvents();
        const QImage image = form_->grab(QRect(0, 0, 392, 236)).toImage();
        if (!folder.isEmpty()) image.save(folder + "/" + name + ".png");
        shots.push_back(image);
    };
    form_->BUeplanClick(nullptr);
    shoot("plan");
    form_->Tools->Tuner->StringLabels[tools::TunerPanel::StringG]->Click();
    form_->BStimmClick(nullptr);
    form_->Tools->Tuner->StringLabels[tools::TunerPanel::StringG]->Click();
    shoot("tuner");
    form_->BMonitorClick(nullptr);
    shoot("monitor");
    form_->BExplorerClick(nullptr);
    form_->Tools->Explorer->RowEnter(3);
    shoot("explorer");
    for (std::size_t a = 0; a < shots.size(); ++a) {
        QSet<QRgb> colours;
        for (int y = 12; y < 224; y += 4)
            for (int x = 12; x < 380; x += 4)
                colours.insert(shots[a].pixel(x, y));
        EXPECT_GT(colours.size(), 20) << "shot " << a << " is plain";
        for (std::size_t b = a + 1; b < shots.size(); ++b)
            EXPECT_NE(shots[a], shots[b]) << "shots " << a << " and " << b;
    }
}

} // namespace
} // namespace paneltest
