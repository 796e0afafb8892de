// The message box and the exit dialog: layout of texts and buttons, the
// keys and their results, the practice-time sentence, yes and no.

#include "app/fbeenden.h"
#include "app/msgwin.h"
#include "platform/ui/application.h"
#include "tests/app/shellfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace shelltest {
namespace {

using namespace platform;
using app::MessageText;

// A box of its own, shown for real (no answerer installed).
class MessageBoxTest : public ::testing::Test {
protected:
    // Shows the box modally and presses `key` once it is up; a key that
    // leaves the box open is followed by Esc.
    int PressWhileShown(WORD key, TShiftState shift = {}) {
        QTimer::singleShot(0, &box, [this, key, shift] {
            consumed = box.KeyDown(key, shift);
            leftOpen = box.isVisible() && box.ModalResult() == mrNone;
            if (leftOpen) box.KeyDown(VK_ESCAPE, {});
        });
        return box.ShowModal();
    }
    bool consumed = false;
    bool leftOpen = false;
    QWidget* focusAtStart = nullptr;
    testsupport::ScopedEnv german{"SPRACHBANK_LANGUAGE", "0"};
    app::TMsgWin box{nullptr};
};

TEST_F(MessageBoxTest, IsTheRoundedDialogWithTheStandardCaptions) {
    EXPECT_EQ(box.Width(), 248);
    EXPECT_EQ(box.Height(), 174);
    ASSERT_EQ(box.StandardCaptions.size(), 8);
    EXPECT_EQ(box.StandardCaptions[0], "OK");
    EXPECT_EQ(box.StandardCaptions[2], "Ja");
    EXPECT_EQ(box.BOK->Top(), 174 - box.BOK->Height() - 12);
    EXPECT_EQ(box.BCancel->Top(), box.BOK->Top());
    EXPECT_EQ(box.Label1->Top(), 28);
    EXPECT_EQ(box.Label2->Top(), 68);
    // The corners are cut away by the window region.
    EXPECT_FALSE(box.mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(box.mask().contains(QPoint(124, 87)));
}

TEST_F(MessageBoxTest, ShortBodyStaysOnOneCentredLine) {
    box.SetMessage("Titel", "Kurz", "Nein", "Ja");
    EXPECT_FALSE(box.Label2->WordWrap());
    EXPECT_LT(box.Label2->Width(), 208);
    EXPECT_EQ(box.Label2->Left(), 124 - box.Label2->Width() / 2);
    EXPECT_EQ(box.Label1->Left(), 124 - box.Label1->Width() / 2);
}

TEST_F(MessageBoxTest, LongBodyWrapsInside208Pixels) {
    box.SetMessage("Titel", MessageText(6), "Nein", "Ja");
    EXPECT_TRUE(box.Label2->WordWrap());
    EXPECT_EQ(box.Label2->Width(), 208);
    EXPECT_EQ(box.Label2->Left(), 20);
    EXPECT_GT(box.Label2->Lines().size(), 1);
    // A later short body unwraps again.
    box.SetMessage("Titel", "Kurz", "Nein", "Ja");
    EXPECT_FALSE(box.Label2->WordWrap());
    EXPECT_LT(box.Label2->Width(), 208);
}

TEST_F(MessageBoxTest, ButtonsSitSideBySideOrAloneInTheMiddle) {
    box.SetMessage("T", "B", "Nein", "Ja");
    EXPECT_TRUE(box.BCancel->Visible());
    EXPECT_EQ(box.BOK->Left(), 124 - box.BOK->Width() - 8);
    EXPECT_EQ(box.BCancel->Left(), 124 + 8);
    EXPECT_EQ(box.BOK->Text(), "Ja");
    EXPECT_EQ(box.BCancel->Text(), "Nein");

    box.SetMessage("T", "B", "", "OK");
    EXPECT_FALSE(box.BCancel->Visible());
    EXPECT_EQ(box.BOK->Left(), 124 - box.BOK->Width() / 2);
}

TEST_F(MessageBoxTest, KeysAndButtonsGiveTheResults) {
    box.SetMessage("T", "B", "", "OK");
    EXPECT_EQ(PressWhileShown(VK_ESCAPE), mrCancel); // also with the cancel button hidden
    box.SetMessage("T", "B", "Nein", "Ja");
    EXPECT_EQ(PressWhileShown(VK_RETURN), mrOk);
    EXPECT_TRUE(consumed);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(PressWhileShown(VK_F4, Shift(ssAlt)), mrCancel);
    EXPECT_TRUE(consumed); // Alt+F4 is swallowed ...
    EXPECT_TRUE(leftOpen); // ... and the box stays
    QTimer::singleShot(0, &box, [this] { box.BCancel->Click(); });
    EXPECT_EQ(box.ShowModal(), mrCancel);
    QTimer::singleShot(0, &box, [this] { box.BOK->Click(); });
    EXPECT_EQ(box.ShowModal(), mrOk);
    EXPECT_FALSE(box.isVisible());
}

TEST_F(MessageBoxTest, AScreenReaderHearsTitleAndBodyAndTheKeyboardStartsOnOk) {
    box.SetMessage("Richtig!", "Weiter mit der nächsten Lektion?", "Später", "Weiter");
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&box);
    EXPECT_EQ(face->role(), QAccessible::Dialog);
    EXPECT_EQ(face->text(QAccessible::Name), "Richtig!");
    EXPECT_EQ(face->text(QAccessible::Description), "Weiter mit der nächsten Lektion?");
    box.SetMessage("Hinweis", "Alles gespeichert.", "", "OK");
    EXPECT_EQ(face->role(), QAccessible::AlertMessage); // OK alone: a notice
    EXPECT_EQ(face->text(QAccessible::Name), "Hinweis");

    // The focus starts on OK; Tab goes to the other button, where Enter
    // answers with it.
    box.SetMessage("Frage", "Wirklich?", "Nein", "Ja");
    QTimer::singleShot(0, &box, [this] {
        if (!QTest::qWaitForWindowActive(&box)) return box.SetModalResult(mrNo); // fails below
        focusAtStart = QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(box.ShowModal(), mrCancel);
    EXPECT_EQ(focusAtStart, box.BOK);
}

TEST(PracticeTimeSentence, FollowsTheClock) {
    testsupport::ScopedEnv german("SPRACHBANK_LANGUAGE", "0");
    const QString end = "\n\n" + MessageText(26);
    EXPECT_EQ(app::PracticeTimeSentence("01:01"),
              MessageText(21) + MessageText(23) + MessageText(25) + end);
    EXPECT_EQ(app::PracticeTimeSentence("02:05"),
              MessageText(21) + "02" + MessageText(22) + "5" + MessageText(24) + end);
    EXPECT_EQ(app::PracticeTimeSentence("00:00"), MessageText(21) + MessageText(25) + end);
    EXPECT_EQ(app::PracticeTimeSentence("00:42"), MessageText(21) + "42" + MessageText(24) + end);
    // Three-digit hours are taken whole.
    EXPECT_EQ(app::PracticeTimeSentence("100:30"),
              MessageText(21) + "100" + MessageText(22) + "30" + MessageText(24) + end);
}

TEST_F(ShellTest, ExitDialogTellsThePracticeTimeAndAnswersNo) {
    CreateWindows();
    ShowMainWindow();
    form_->LClock->SetCaption("02:05");
    form_->SetEnabled(false);
    app::FBeenden->Show();
    EXPECT_EQ(app::FBeenden->Label1->Caption(), app::PracticeTimeSentence("02:05"));
    EXPECT_LE(app::FBeenden->Label1->Width(), 208);
    EXPECT_EQ(app::FBeenden->BOK->Text(), "Ja");
    EXPECT_EQ(app::FBeenden->BOK->Left(), 124 - app::FBeenden->BOK->Width() - 12);
    EXPECT_EQ(app::FBeenden->BCancel->Left(), 124 + 12);

    EXPECT_TRUE(app::FBeenden->KeyDown(VK_F4, Shift(ssAlt)));
    EXPECT_TRUE(app::FBeenden->isVisible());
    EXPECT_TRUE(app::FBeenden->KeyDown(VK_ESCAPE, {})); // no
    EXPECT_FALSE(app::FBeenden->isVisible());
    EXPECT_TRUE(form_->Enabled());
    EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl"), "<missing>");
}

} // namespace
} // namespace shelltest
