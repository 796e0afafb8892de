// The panels of the real main window as a screen reader and the keyboard
// meet them: the plan's rows as one list, the tuner's strings, the explorer's
// rows under the arrow keys, and the window's tab order.

#include "app/msgwin.h"
#include "tests/panels/panelfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace paneltest {
namespace {

using app::CaptionText;

QAccessibleInterface* Face(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

class PanelAccessTest : public PanelTest {
protected:
    // The main window on the screen, active, so that the keyboard reaches it.
    void ShowActive() {
        CreatePanelWindows();
        form_->ProgramWindowsCreated();
        WaitForDeviceChoice();
        ShowMainWindow();
        QApplication::setActiveWindow(form_);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_));
    }
};

} // namespace

TEST_F(PanelAccessTest, PlanRowsAreOneListOfLessonsThatOpenWhenPressed) {
    ShowActive();
    form_->Tools->ExplorerTitles[0] = "Willkommen$Nzurück";
    form_->Tools->ExplorerTitles[5] = "Der erste$nAkkord";
    SetPlan({5, 0});
    plan::PlanPanel& plan = *form_->Tools->PlanView;
    QAccessibleInterface* list = Face(plan.SelectButtons[0])->parent();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), CaptionText(11));
    EXPECT_EQ(list->parent()->object(), form_->PUeplan);
    ASSERT_EQ(list->childCount(), 3);
    EXPECT_EQ(list->child(0)->role(), QAccessible::ListItem);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name),
              CaptionText(20) + " 5: Der erste Akkord"); // the line break read as a space
    EXPECT_EQ(list->child(1)->text(QAccessible::Name), CaptionText(21) + ": Willkommen zurück");
    EXPECT_TRUE(list->child(2)->state().invisible); // the empty third row
    // The rows' number and title labels are not read a second time.
    EXPECT_EQ(Face(form_->PUeplan)->indexOfChild(Face(plan.TitleLabels[0])), -1);

    list->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ProcessEvents();
    EXPECT_EQ(Form()->lessonsOpened, 1);
    EXPECT_EQ(form_->Course->CurrentLesson(), 5);
}

TEST_F(PanelAccessTest, TunerStringsAreNamedAndTellWhichToneSounds) {
    CreatePanelWindows();
    tools::TunerPanel& tuner = *form_->Tools->Tuner;
    auto checked = [&](int entry) { return *tuner.StringLabels[entry]->AccessibleChecked(); };
    QAccessibleInterface* a = Face(tuner.StringLabels[tools::TunerPanel::StringA]);
    EXPECT_EQ(a->text(QAccessible::Name), CaptionText(515).arg("A"));
    EXPECT_EQ(a->role(), QAccessible::Button);
    EXPECT_TRUE(a->state().checkable);
    EXPECT_EQ(Face(form_->BTunerAkkord)->text(QAccessible::Name), CaptionText(26));

    tuner.StringLabels[tools::TunerPanel::StringA]->Click();
    EXPECT_TRUE(checked(tools::TunerPanel::StringA));
    tuner.StringLabels[tools::TunerPanel::Chord]->Click();
    EXPECT_FALSE(checked(tools::TunerPanel::StringA));
    EXPECT_TRUE(checked(tools::TunerPanel::Chord));
    tuner.LAusschalten->Click();
    for (int entry = 0; entry < tools::TunerPanel::kEntries; ++entry)
        EXPECT_FALSE(checked(entry)) << entry;
}

TEST_F(PanelAccessTest, ExplorerRowsFollowTheArrowKeysAndScrollAtTheEnds) {
    ShowActive();
    form_->Tools->ExplorerTitles[8] = "Acht";
    form_->Tools->ExplorerTexts[8] = "Der Text$nder Lektion acht";
    form_->Tools->ShowPanel(form_->PExplorer);
    tools::ExplorerPanel& explorer = *form_->Tools->Explorer;
    auto* last = explorer.ListRows[7];
    last->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), last);

    QTest::keyClick(last, Qt::Key_Down); // past the last row: the list scrolls
    EXPECT_EQ(explorer.RowEntry[0], 1);
    EXPECT_EQ(QApplication::focusWidget(), last);
    EXPECT_TRUE(last->Text().startsWith(CaptionText(20) + " 8 ")) << last->Text().toStdString(); // and its title
    EXPECT_EQ(explorer.XplText->Text(), CaptionText(20) + " 8"); // as under the mouse
    EXPECT_EQ(last->AccessibleDescription(), "Acht. Der Text der Lektion acht");

    for (int i = 0; i < 7; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), explorer.ListRows[0]);
    QTest::keyClick(explorer.ListRows[0], Qt::Key_Up);
    QTest::keyClick(explorer.ListRows[0], Qt::Key_Up); // the top holds
    EXPECT_EQ(explorer.RowEntry[0], 0);

    // The scroll buttons step once when pressed.
    form_->BScrollDown->Press();
    form_->BScrollDown->Press();
    EXPECT_EQ(explorer.RowEntry[0], 2);
    form_->BScrollUp->Press();
    EXPECT_EQ(explorer.RowEntry[0], 1);
    EXPECT_EQ(Face(form_->BScrollDown)->text(QAccessible::Name), CaptionText(511));

    // Space opens the focused row's lesson.
    QTest::keyClick(explorer.ListRows[0], Qt::Key_Space);
    EXPECT_EQ(form_->Course->CurrentLesson(), 1);
}

TEST_F(PanelAccessTest, TabGoesFromThePanelToTheLeftColumnTheTransportAndTheRest) {
    ShowActive();
    const std::vector<platform::TControl*> stops = form_->TabStops();
    auto at = [&](platform::TControl* control) {
        return int(std::find(stops.begin(), stops.end(), control) - stops.begin());
    };
    ASSERT_FALSE(stops.empty());
    EXPECT_EQ(stops.front(), form_->Tools->PlanView->BNext); // "Neue Übung"
    EXPECT_LT(at(form_->BExplorer), at(form_->BHilfe));
    EXPECT_LT(at(form_->BHilfe), at(form_->BBeenden));
    EXPECT_LT(at(form_->BBeenden), at(form_->LSoundcard));
    EXPECT_LT(at(form_->LSoundcard), at(form_->BLogo));
    EXPECT_EQ(at(form_->BPlay), int(stops.size())); // disabled: passed over
    EXPECT_EQ(at(form_->Tools->Tuner->LAusschalten), int(stops.size())); // its panel is hidden

    // Tab from the last stop comes round to the first.
    stops.back()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(stops.back(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), stops.front());
}

} // namespace paneltest
