// Forms, keys, timers and the popup menu: modal results, consumed keys,
// Alt+F4, closing through the close query.
#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "platform/ui/menus.h"
#include "platform/ui/region.h"
#include "platform/ui/timer.h"
#include "platform/ui/deadlinetimer.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A message-box-like form: Esc cancels, Enter confirms, Alt+F4 is swallowed.
class DialogForm : public TForm {
public:
    explicit DialogForm(TComponent* owner) : TForm(owner) {
        SetBounds(0, 0, 248, 174);
        SetPosition(poScreenCenter);
        OnKeyDown = [this](TObject*, WORD& key, TShiftState shift) { FormKeyDown(key, shift); };
        OnHide = [this](TObject*) { ++hides; };
    }
    std::vector<std::pair<WORD, unsigned>> keys;
    int hides = 0;

private:
    void FormKeyDown(WORD& key, TShiftState shift) {
        keys.emplace_back(key, shift.Bits);
        if (key == VK_ESCAPE) {
            key = 0;
            SetModalResult(mrCancel);
        } else if (key == VK_RETURN) {
            key = 0;
            SetModalResult(mrOk);
        } else if (key == VK_F4 && shift.Contains(ssAlt)) {
            key = 0;
        }
    }
};

// Presses `key` in whatever window is active once the modal loop runs.
void PressLater(QWidget* target, Qt::Key key, int delay = 20) {
    QTimer::singleShot(delay, [target, key] { QTest::keyClick(target, key); });
}

} // namespace

TEST(ShowModal, EscapeGivesCancelAndEnterGivesOk) {
    DialogForm dialog(nullptr);
    PressLater(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.hides, 1);

    PressLater(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    PressLater(&dialog, Qt::Key_Enter); // the keypad's Enter is Enter too
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(dialog.keys.back(), std::make_pair(VK_RETURN, 0u));
}

TEST(ShowModal, CloseQueryCanRefuseAResultAndHidingCancels) {
    DialogForm dialog(nullptr);
    int asked = 0;
    dialog.OnCloseQuery = [&](TObject*, bool& canClose) {
        canClose = ++asked > 1;
        if (!canClose) PressLater(&dialog, Qt::Key_Escape); // answer again
    };
    PressLater(&dialog, Qt::Key_Return, 20);
    EXPECT_EQ(dialog.ShowModal(), mrCancel); // the first answer was refused
    EXPECT_EQ(asked, 2);

    dialog.OnCloseQuery = nullptr;
    QTimer::singleShot(20, [&] { dialog.Hide(); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_THROW(
        {
            dialog.Show();
            dialog.ShowModal();
        },
        Exception);
    dialog.Hide();
}

TEST(Keys, ConsumedKeysStopAtTheFormAndOthersGoOn) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    form.SetKeyPreview(true);
    std::vector<WORD> seen;
    form.OnKeyDown = [&](TObject*, WORD& key, TShiftState shift) {
        seen.push_back(key);
        if (key == 'T' && shift.Contains(ssCtrl)) key = 0;
    };
    auto* edit = new QLineEdit(&form); // a widget of Qt's own that takes keys
    form.Show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_T, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_X);
    QTest::keyClick(edit, Qt::Key_F1);
    // Each key is seen once, and first (the Ctrl key itself comes as a key too).
    EXPECT_EQ(seen, std::vector<WORD>({VK_CONTROL, 'T', 'X', VK_F1}));
    EXPECT_EQ(edit->text(), "x"); // the consumed Ctrl+T never arrived
    form.Hide();
}

TEST(Keys, AltF4ReachesTheHandlerAndNeverClosesTheWindow) {
    DialogForm dialog(nullptr);
    dialog.Show();
    QTest::keyClick(&dialog, Qt::Key_F4, Qt::AltModifier);
    EXPECT_TRUE(dialog.isVisible());
    // The desktop's close request (window manager Alt+F4) arrives the same way.
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(dialog.keys.size(), 3u);
    EXPECT_EQ(dialog.keys[0].first, VK_MENU); // the Alt key itself
    EXPECT_EQ(dialog.keys[1], std::make_pair(VK_F4, unsigned(ssAlt)));
    EXPECT_EQ(dialog.keys[2], std::make_pair(VK_F4, unsigned(ssAlt)));

    TForm silent(nullptr); // without a handler nothing happens either
    silent.Show();
    QTest::keyClick(&silent, Qt::Key_F4, Qt::AltModifier);
    silent.close();
    EXPECT_TRUE(silent.isVisible());
    silent.Hide();
    dialog.Hide();
}

TEST(Close, AsksTheCloseQueryThenHides) {
    TForm form(nullptr);
    bool allow = false;
    std::vector<std::string> steps;
    form.OnCloseQuery = [&](TObject*, bool& canClose) {
        steps.push_back("query");
        canClose = allow;
    };
    form.OnClose = [&](TObject*, TCloseAction& action) {
        steps.push_back("close");
        EXPECT_EQ(action, caHide);
    };
    form.OnShow = [&](TObject*) { steps.push_back("show"); };
    form.Show();
    form.Close();
    EXPECT_TRUE(form.isVisible());
    allow = true;
    form.Close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(steps, std::vector<std::string>({"show", "query", "query", "close"}));
}

TEST(Forms, CentreOnTheScreenOrOnTheMainFormAndStayOnTop) {
    TForm main(nullptr);
    main.SetBounds(10, 20, 400, 300);
    main.Show();
    Application->SetMainForm(&main);
    TForm dialog(nullptr);
    dialog.SetBounds(0, 0, 100, 50);
    dialog.SetPosition(poMainFormCenter);
    dialog.SetFormStyle(fsStayOnTop);
    dialog.Show();
    EXPECT_EQ(dialog.Left(), 10 + 150);
    EXPECT_EQ(dialog.Top(), 20 + 125);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    Application->SetMainForm(nullptr);
    dialog.Hide();
    main.Hide();
}

// A window whose controls and pictures have their places keeps its size
// whatever the desktop asks; it can still be moved and minimised.
TEST(Forms, KeepTheirSizeAndCanBeMovedAndMinimised) {
    TForm form(nullptr);
    form.SetBounds(30, 40, 800, 600);
    EXPECT_EQ(form.minimumSize(), QSize(800, 600));
    EXPECT_EQ(form.maximumSize(), QSize(800, 600));
    form.Show();
    form.resize(1024, 700); // what a window manager's resize does
    EXPECT_EQ(form.size(), QSize(800, 600));
    form.move(50, 60);
    EXPECT_EQ(form.pos(), QPoint(50, 60));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    // A later size given by the program is the new fixed size.
    form.SetBounds(form.Left(), form.Top(), 480, 320);
    EXPECT_EQ(form.size(), QSize(480, 320));
    EXPECT_EQ(form.maximumSize(), QSize(480, 320));
    form.Hide();
}

TEST(Regions, RoundedCornersCutTheCornersOnly) {
    HRGN round = CreateRoundRectRgn(0, 0, 249, 175, 40, 40);
    EXPECT_FALSE(round.contains(QPoint(0, 0)));
    EXPECT_FALSE(round.contains(QPoint(3, 3)));
    EXPECT_TRUE(round.contains(QPoint(20, 0)));
    EXPECT_TRUE(round.contains(QPoint(0, 20)));
    EXPECT_TRUE(round.contains(QPoint(124, 87)));
    EXPECT_FALSE(round.contains(QPoint(248, 174)));
    EXPECT_TRUE(round.contains(QPoint(248, 87)));
    EXPECT_FALSE(round.contains(QPoint(249, 87))); // right edge excluded
    HRGN plain = CreateRectRgn(0, 0, 10, 5);
    EXPECT_TRUE(plain.contains(QPoint(9, 4)));
    EXPECT_FALSE(plain.contains(QPoint(10, 4)));

    TForm form(nullptr);
    form.SetBounds(0, 0, 248, 174);
    EXPECT_TRUE(SetWindowRgn(&form, round, true));
    EXPECT_FALSE(form.mask().contains(QPoint(1, 1)));
    EXPECT_FALSE(SetWindowRgn(nullptr, round, true));
}

TEST(Timer, FiresOnTheUiThreadWhileEnabled) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        EXPECT_EQ(QThread::currentThread(), qApp->thread());
        ++ticks;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 2000));

    // A second timer with the same interval runs beside it: while it ticks
    // three times, a stopped timer does not tick at all.
    TTimer reference(nullptr);
    reference.SetInterval(10);
    int referenceTicks = 0;
    reference.OnTimer = [&](TObject*) { ++referenceTicks; };
    auto threeReferenceTicks = [&] {
        const int until = referenceTicks + 3;
        return QTest::qWaitFor([&] { return referenceTicks >= until; }, 2000);
    };
    timer.SetEnabled(false);
    const int stopped = ticks;
    ASSERT_TRUE(threeReferenceTicks());
    EXPECT_EQ(ticks, stopped);
    timer.SetEnabled(true);
    timer.SetInterval(0); // an interval of 0 stops it as well
    ASSERT_TRUE(threeReferenceTicks());
    EXPECT_EQ(ticks, stopped);
}

TEST(DeadlineTimer, FiresOnceOnTheUiThreadNeverBeforeItsTime) {
    int calls = 0;
    std::chrono::steady_clock::time_point firedAt;
    DeadlineTimer timer([&] {
        EXPECT_EQ(QThread::currentThread(), qApp->thread());
        firedAt = std::chrono::steady_clock::now();
        ++calls;
    });
    const auto started = std::chrono::steady_clock::now();
    timer.StartAfter(30000);
    EXPECT_TRUE(timer.Active());
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 2000));
    EXPECT_GE(firedAt - started, std::chrono::microseconds(30000));
    EXPECT_FALSE(timer.Active());
    QTest::qWait(60);
    EXPECT_EQ(calls, 1); // once, not every 30 ms

    // A wait of 0 or less comes at once, but from the event loop.
    timer.StartAfter(-5000);
    EXPECT_EQ(calls, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls == 2; }, 2000));
}

TEST(DeadlineTimer, ANewWaitReplacesThePendingOneAndStopCancels) {
    int calls = 0;
    DeadlineTimer timer([&] { ++calls; });
    timer.StartAfter(5000000); // five seconds, replaced at once
    timer.StartAfter(10000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 2000));

    // Stopped before it came due, and stopped with its expiry already
    // waiting to be read: neither fires.
    timer.StartAfter(20000);
    timer.Stop();
    timer.StartAfter(1);
    QThread::msleep(5); // the expiry is there, not yet dispatched
    timer.Stop();
    QTest::qWait(100);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(timer.Active());
}

TEST(DeadlineTimer, ArmsItselfAgainFromItsOwnCall) {
    std::vector<std::chrono::steady_clock::time_point> calls;
    DeadlineTimer* self = nullptr;
    DeadlineTimer timer([&] {
        calls.push_back(std::chrono::steady_clock::now());
        if (calls.size() < 3) self->StartAfter(15000);
    });
    self = &timer;
    timer.StartAfter(15000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls.size() == 3; }, 2000));
    EXPECT_GE(calls[1] - calls[0], std::chrono::microseconds(15000));
    EXPECT_GE(calls[2] - calls[1], std::chrono::microseconds(15000));
    QTest::qWait(50);
    EXPECT_EQ(calls.size(), 3u);
}

TEST(PopupMenu, EntriesShareAHandlerThatKnowsTheIndex) {
    TPopupMenu menu(nullptr);
    std::vector<int> chosen;
    TNotifyEvent handler = [&](TObject* sender) {
        chosen.push_back(dynamic_cast<TMenuItem*>(sender)->MenuIndex());
    };
    menu.Add("Zupfari Synth", handler);
    menu.Add("MIDI Log", handler);
    menu.Add("MIDI MAPPER", handler);
    ASSERT_EQ(menu.Count(), 3);
    EXPECT_EQ(menu.Items(2)->Caption(), "MIDI MAPPER");
    EXPECT_THROW(menu.Items(3), Exception);

    // Pop it up and pick the second entry as a user would, once it shows.
    std::function<void()> pick = [&pick] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (popup == nullptr) {
            QTimer::singleShot(20, pick);
            return;
        }
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
    };
    QTimer::singleShot(20, pick);
    menu.Popup(100, 100);
    menu.Items(0)->Click();
    EXPECT_EQ(chosen, std::vector<int>({1, 0}));

    delete menu.Items(1);
    EXPECT_EQ(menu.Count(), 2);
    EXPECT_EQ(menu.Items(1)->MenuIndex(), 1);
}
