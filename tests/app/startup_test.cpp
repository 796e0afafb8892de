// The main window under bad input: boxes during construction, damaged skins,
// damaged list files and start log, a failed save, close requests while a
// dialog is open, help in the program's own window, and reused dialogs.

#include "app/helpwindow.h"
#include "app/mainwindow.h"
#include "app/progresssaver.h"
#include "app/startscreen.h"
#include "platform/ui/application.h"
#include "tests/app/shellfixture.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace shelltest {
namespace {

using namespace platform;
using app::CaptionText;
using app::MessageText;

app::TForm1* MainWindowUnderConstruction() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* form = dynamic_cast<app::TForm1*>(window)) return form;
    return nullptr;
}

int HelpWindowsShown() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowTitle() == app::THelpWindow::Title() && window->isVisible()) ++count;
    return count;
}

// The start screen's time runs out while a box is open during construction:
// the main window waits until it is complete.
TEST_F(ShellTest, ABoxDuringConstructionDoesNotBringAHalfBuiltWindow) {
    UseProgramFolderWithout({"Bilder/hintergrund.jpg"});
    programCopy_->Write("Bilder/hintergrund.jpg", "\xFF\xD8 damaged");
    bool shownInsideTheBox = true;
    SetMessageBoxHook([&](const QString& text, const QString& caption, unsigned) {
        platformBoxes_ << caption + "|" + text;
        app::TForm1* form = MainWindowUnderConstruction();
        if (form != nullptr && form->Start->Timer != nullptr) {
            form->StartScreenTimerTimer(nullptr);
            shownInsideTheBox = form->isVisible();
        }
        return IDOK;
    });
    CreateWindows();
    EXPECT_FALSE(shownInsideTheBox);
    ASSERT_EQ(platformBoxes_.size(), 1);
    ProcessEvents();
    // Complete now: shown, with its first showing's question and greeting.
    EXPECT_TRUE(form_->isVisible());
    EXPECT_FALSE(form_->Start->Screen->isVisible());
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, MessageText(4));
    EXPECT_FALSE(form_->Skin->Texts().empty());
    EXPECT_TRUE(form_->Clock->Running());
}

TEST_F(ShellTest, TheMainWindowWaitsForTheOtherWindowsAndTheDeviceChoice) {
    form_ = new WatchedForm1(nullptr, services_);
    app::Form1 = form_;
    form_->StartScreenTimerTimer(nullptr);
    EXPECT_FALSE(form_->isVisible()) << "the exit dialog and the message box do not exist yet";
    app::FBeenden = new app::TFBeenden(nullptr);
    app::MsgWin = new app::TMsgWin(nullptr);
    form_->ProgramWindowsCreated();
    WaitForDeviceChoice();
    ProcessEvents();
    EXPECT_TRUE(form_->isVisible());
    EXPECT_EQ(asked_.size(), 1u);
}

TEST_F(ShellTest, ADamagedStartScreenSkinIsReportedAndTheStartGoesOn) {
    UseProgramFolderWithout({"Screen/StartScreen.zs1"});
    programCopy_->Write("Screen/StartScreen.zs1", "0\r\n$L\r\nTAG1\r\nkeine Zahl\r\n5\r\nArial\r\n10\r\n5\r\n0\r\nText\r\n");
    CreateWindows();
    ASSERT_EQ(platformBoxes_.size(), 1) << "the standard error display";
    ASSERT_NE(form_->Start->Timer, nullptr);
    EXPECT_TRUE(form_->Start->Timer->Enabled());
    ShowMainWindow();
    EXPECT_TRUE(form_->isVisible());
    EXPECT_EQ(asked_.size(), 1u);
}

TEST_F(ShellTest, ADamagedGreetingSkinIsReportedAndTheProgramRunsOn) {
    UseProgramFolderWithout({"lektionY/MainWin.zs1"});
    programCopy_->Write("lektionY/MainWin.zs1", "0\r\n$L\r\nTAG1\r\nkeine Zahl\r\n5\r\nArial\r\n10\r\n5\r\n0\r\nText\r\n");
    CreateWindows();
    EXPECT_TRUE(platformBoxes_.isEmpty());
    ShowMainWindow(); // the deferred first showing
    ASSERT_EQ(platformBoxes_.size(), 1);
    EXPECT_TRUE(form_->isVisible());
    // The window still answers: the way out works.
    asked_.clear();
    form_->BBeendenClick(nullptr);
    EXPECT_EQ(asked_.size(), 1u);
}

TEST_F(ShellTest, DamagedListsAreReportedAtFirstShowingAndKept) {
    QDir().mkpath(QString::fromStdString(DataFolder() + "Listen"));
    const std::string plan = DataFolder() + "Listen/ListeUeplan.ztl";
    QFile(QString::fromStdString(plan)).open(QIODevice::WriteOnly); // 0 bytes
    CreateWindows();
    ShowMainWindow();
    ASSERT_EQ(asked_.size(), 2u);
    EXPECT_TRUE(asked_[0].body.startsWith("ListeUeplan.ztl\n")) << asked_[0].body.toStdString();
    EXPECT_TRUE(asked_[0].cancel.isEmpty());
    EXPECT_EQ(asked_[1].title, MessageText(4)) << "then the start question";

    form_->BBeendenClick(nullptr);
    app::FBeenden->BOK->Click();
    EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl.bak"), "");
    EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl").rfind("3\r\n-1\r\n", 0), 0u);
}

TEST_F(ShellTest, AStartLogThatIsAFolderCountsAsAFirstStart) {
    QDir().mkpath(QString::fromStdString(DataFolder() + "session.log/inner"));
    CreateWindows();
    EXPECT_EQ(form_->Places->StartCount, 1);
    ShowMainWindow();
    EXPECT_TRUE(form_->isVisible());
}

TEST_F(ShellTest, AFailedSaveIsToldAndCanBeTriedAgain) {
    CreateWindows();
    ShowMainWindow();
    QDir().mkpath(QString::fromStdString(DataFolder() + "Listen/ListeWarten.ztl.new/x"));
    asked_.clear();
    form_->Leaving->WebQuestionAnswered = true;
    form_->BBeendenClick(nullptr);
    answers_ = {1, 2}; // try again (fails again), then leave anyway
    app::FBeenden->BOK->Click();
    ASSERT_EQ(asked_.size(), 2u);
    EXPECT_EQ(asked_[0].title, app::ProgressSaver::FailureTitle());
    EXPECT_TRUE(asked_[0].body.contains(QString::fromStdString(DataFolder() + "Listen")));
    EXPECT_FALSE(form_->isVisible()) << "left anyway";
}

TEST_F(ShellTest, ACloseRequestWhileTheExitDialogIsOpenChangesNothing) {
    CreateWindows();
    ShowMainWindow();
    form_->BBeendenClick(nullptr); // the exit question, cancelled: the exit dialog
    ASSERT_TRUE(app::FBeenden->isVisible());
    asked_.clear();
    answers_ = {1};
    form_->close(); // the desktop's close request
    ProcessEvents();
    EXPECT_TRUE(asked_.empty());
    EXPECT_FALSE(form_->Enabled());
    EXPECT_TRUE(form_->isVisible());
    EXPECT_TRUE(app::FBeenden->isVisible());
}

TEST_F(ShellTest, HelpShowsThePagesInTheProgramsOwnWindowOnce) {
    CreateWindows();
    form_->KeyDown(VK_F1, {});
    EXPECT_TRUE(opener_.opened.isEmpty());
    ASSERT_EQ(HelpWindowsShown(), 1);
    app::THelpWindow* help = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowTitle() == app::THelpWindow::Title())
            help = dynamic_cast<app::THelpWindow*>(window);
    ASSERT_NE(help, nullptr);
    EXPECT_GE(help->Contents()->count(), 5);
    // It opens at the page of the screen in view.
    EXPECT_TRUE(help->Browser()->source().toLocalFile().endsWith("Hilfe/" + form_->HelpTopic()))
        << form_->HelpTopic().toStdString();
    EXPECT_FALSE(help->Browser()->toPlainText().isEmpty());
    help->Contents()->setCurrentRow(0);
    EXPECT_TRUE(help->Browser()->source().toLocalFile().endsWith("index.html"));
    // From a slide window or the quiz: the page on them.
    form_->HelpButtonClick();
    EXPECT_TRUE(help->Browser()->source().toLocalFile().endsWith("Hilfe/lektionen.html"));

    help->hide();
    form_->BHilfeClick(nullptr);
    EXPECT_EQ(HelpWindowsShown(), 1) << "the same window again";
}

TEST_F(ShellTest, WithoutThePagesTheHelpFileGoesToTheDesktop) {
    UseProgramFolderWithout({"Hilfe"});
    CreateWindows();
    form_->BHilfeClick(nullptr);
    ASSERT_EQ(opener_.opened.size(), 1);
    EXPECT_TRUE(opener_.opened[0].endsWith("/Hilfe.chm"));
    EXPECT_EQ(HelpWindowsShown(), 0);

    // A desktop without a viewer for it: the missing-help box.
    struct Refusing : DesktopOpener {
        bool Open(const QString&) override { return false; }
    } refusing;
    SetDesktopOpener(&refusing);
    form_->BHilfeClick(nullptr);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].body, app::ErrorText(8));
}

TEST_F(ShellTest, AReusedBoxStartsWithItsButtonsInTheNormalLook) {
    CreateWindows();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(app::MsgWin->BOK, &enter);
    ASSERT_EQ(app::MsgWin->BOK->Look(), controls::LookOver);
    app::MsgWin->SetMessage("Titel", "Text", "Nein", "Ja");
    EXPECT_EQ(app::MsgWin->BOK->Look(), controls::LookNormal);

    QCoreApplication::sendEvent(app::FBeenden->BCancel, &enter);
    app::FBeenden->Show();
    EXPECT_EQ(app::FBeenden->BCancel->Look(), controls::LookNormal);
    // Dark captions on the light buttons, as on the main window.
    EXPECT_EQ(app::MsgWin->BOK->CurrentTextColor(), form_->BBeenden->CurrentTextColor());
}

} // namespace
} // namespace shelltest
