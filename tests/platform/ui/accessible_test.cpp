// What assistive technology sees of forms and controls, and how the keyboard
// walks them: roles and names, decoration left out, the press action, tick
// states, tab order, Space and Enter, arrow lists, the active control and the
// focus ring.
#include "platform/ui/accessible.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

namespace {

QAccessibleInterface* Face(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// A label with a click handler: a button as far as anybody can tell.
TLabel* Pressable(TForm& form, const QString& caption, int* clicks, int left = 0, int top = 0) {
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetCaption(caption);
    label->SetBounds(left, top, 60, 16);
    label->OnClick = [clicks](TObject*) { ++*clicks; };
    return label;
}

// The names of the children of `face`, in order.
QStringList ChildNames(QAccessibleInterface* face) {
    QStringList names;
    for (int i = 0; i < face->childCount(); ++i)
        names << face->child(i)->text(QAccessible::Name);
    return names;
}

void ShowAndFocus(TForm& form) {
    form.Show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
}

} // namespace

TEST(Accessible, RolesNamesAndDecorationLeftOut) {
    TForm form(nullptr);
    form.SetCaption("Übeplan");
    int clicks = 0;
    TLabel* button = Pressable(form, "&Neue\r\nÜbung", &clicks);
    auto* text = new TLabel(&form);
    text->SetParent(&form);
    text->SetCaption("Tempo");
    auto* decoration = new TImage(&form); // no name, not pressable
    decoration->SetParent(&form);
    auto* photo = new TImage(&form);
    photo->SetParent(&form);
    photo->SetAccessibleName("Griffbrett");
    auto* rectangle = new TShape(&form);
    rectangle->SetParent(&form);
    auto* emptyPanel = new TPanel(&form);
    emptyPanel->SetParent(&form);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    TLabel* inside = Pressable(form, "Aus", &clicks);
    inside->SetParent(panel);

    QAccessibleInterface* window = Face(&form);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Übeplan");
    EXPECT_EQ(form.windowTitle(), "Übeplan");
    // The picture nobody named, the rectangle and the empty panel are not there.
    EXPECT_EQ(ChildNames(window), QStringList({"Neue Übung", "Tempo", "Griffbrett", ""}));
    EXPECT_EQ(Face(button)->role(), QAccessible::Button);
    EXPECT_EQ(Face(text)->role(), QAccessible::StaticText);
    EXPECT_EQ(Face(photo)->role(), QAccessible::Graphic);
    EXPECT_EQ(Face(panel)->role(), QAccessible::Pane);
    EXPECT_EQ(Face(panel)->child(0)->object(), inside);
    EXPECT_EQ(Face(inside)->parent()->object(), panel);
    EXPECT_EQ(window->indexOfChild(Face(photo)), 2);
    EXPECT_EQ(window->indexOfChild(Face(decoration)), -1);

    // A name set beats the caption; a role set beats the kind.
    button->SetAccessibleName("Neue Lektion");
    text->SetAccessibleRole(arHidden);
    EXPECT_EQ(ChildNames(window), QStringList({"Neue Lektion", "Griffbrett", ""}));
}

TEST(Accessible, PressActionRunsAfterTheRequestAndOnlyWhenEnabled) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    int clicks = 0;
    TLabel* button = Pressable(form, "Play", &clicks);
    button->SetAccessibleShortcut("F5");
    ShowAndFocus(form);
    QAccessibleActionInterface* actions = Face(button)->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    EXPECT_EQ(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
              QStringList("F5"));

    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 0); // not inside the request
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);

    button->SetEnabled(false);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Face(button)->state().disabled);

    // A label without a handler offers nothing to press.
    auto* text = new TLabel(&form);
    text->SetParent(&form);
    text->SetCaption("00:00");
    EXPECT_FALSE(Face(text)->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
    EXPECT_FALSE(Face(text)->state().focusable);
    form.Hide();
}

TEST(Accessible, TickStateIsReportedOnlyForControlsThatCanBeTicked) {
    TForm form(nullptr);
    int clicks = 0;
    TLabel* box = Pressable(form, "A-Dur", &clicks);
    EXPECT_FALSE(Face(box)->state().checkable);
    box->SetAccessibleRole(arRadioButton);
    box->SetAccessibleChecked(false);
    EXPECT_TRUE(Face(box)->state().checkable);
    EXPECT_FALSE(Face(box)->state().checked);
    box->SetAccessibleChecked(true);
    EXPECT_TRUE(Face(box)->state().checked);
    EXPECT_EQ(Face(box)->role(), QAccessible::RadioButton);
}

TEST(Keyboard, TabWalksReachableStopsInOrderAndRoundTheEnd) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 100);
    int clicks = 0;
    TLabel* a = Pressable(form, "A", &clicks, 0);
    TLabel* hidden = Pressable(form, "hidden", &clicks, 60);
    TLabel* b = Pressable(form, "B", &clicks, 120);
    TLabel* off = Pressable(form, "off", &clicks, 180);
    TLabel* c = Pressable(form, "C", &clicks, 240);
    auto* text = new TLabel(&form); // no handler: no tab stop
    text->SetParent(&form);
    hidden->Hide();
    off->SetEnabled(false);
    ShowAndFocus(form);

    auto focused = [&] { return QApplication::focusWidget(); };
    QTest::keyClick(&form, Qt::Key_Tab);
    EXPECT_EQ(focused(), a);
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(focused(), b);
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(focused(), c);
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(focused(), a); // round the end
    QTest::keyClick(focused(), Qt::Key_Backtab);
    EXPECT_EQ(focused(), c);

    // The form's tab order comes first; the others follow in their order.
    form.TabOrder = [&] { return std::vector<TControl*>{c, a}; };
    EXPECT_EQ(form.TabStops(), std::vector<TControl*>({c, a, b}));
    text->SetTabStop(true);
    EXPECT_EQ(form.TabStops(), std::vector<TControl*>({c, a, b, text}));
    form.Hide();
}

TEST(Keyboard, SpacePressesAndEnterPressesButtonsButNotTickBoxes) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 100);
    form.SetKeyPreview(true);
    int formEnters = 0;
    form.OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        if (key == VK_RETURN) {
            key = 0;
            ++formEnters;
        }
    };
    int buttonClicks = 0, boxClicks = 0;
    TLabel* button = Pressable(form, "Weiter", &buttonClicks, 0);
    TLabel* box = Pressable(form, "Antwort", &boxClicks, 100);
    box->SetAccessibleRole(arRadioButton);
    ShowAndFocus(form);

    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(buttonClicks, 2);
    EXPECT_EQ(formEnters, 0); // the focused button took Enter

    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(boxClicks, 1);
    EXPECT_EQ(formEnters, 1); // Enter stays the window's key

    form.setFocus(); // nothing focused inside: Enter is the form's
    QTest::keyClick(&form, Qt::Key_Return);
    EXPECT_EQ(formEnters, 2);
    EXPECT_EQ(buttonClicks, 2);
    form.Hide();
}

TEST(Keyboard, ArrowListMovesSkipsHiddenMembersAndAsksToScrollAtTheEnds) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 100, 200);
    int clicks = 0;
    auto* list = new TControlList(&form, true);
    list->SetName("Übeplan");
    std::vector<TLabel*> rows;
    for (int i = 0; i < 4; ++i) {
        rows.push_back(Pressable(form, QString("Lektion %1").arg(i), &clicks, 0, 20 * i));
        list->Add(rows.back());
    }
    rows[2]->Hide();
    std::vector<int> pastEnd;
    list->OnPastEnd = [&](int direction) {
        pastEnd.push_back(direction);
        return direction > 0; // only downwards there is more to scroll to
    };
    ShowAndFocus(form);
    rows[0]->setFocus();
    auto focused = [&] { return QApplication::focusWidget(); };

    QTest::keyClick(focused(), Qt::Key_Down);
    EXPECT_EQ(focused(), rows[1]);
    QTest::keyClick(focused(), Qt::Key_Down);
    EXPECT_EQ(focused(), rows[3]); // the hidden row is passed over
    QTest::keyClick(focused(), Qt::Key_Down);
    EXPECT_EQ(focused(), rows[3]);
    QTest::keyClick(focused(), Qt::Key_Up);
    EXPECT_EQ(focused(), rows[1]);
    QTest::keyClick(focused(), Qt::Key_Left);
    QTest::keyClick(focused(), Qt::Key_Up);
    EXPECT_EQ(focused(), rows[0]);
    EXPECT_EQ(pastEnd, std::vector<int>({1, -1}));

    // To a screen reader: one list holding the rows as its entries (the
    // hidden one marked so, as every hidden control is).
    QAccessibleInterface* window = Face(&form);
    ASSERT_EQ(window->childCount(), 1);
    QAccessibleInterface* face = window->child(0);
    EXPECT_EQ(face->role(), QAccessible::List);
    EXPECT_EQ(face->text(QAccessible::Name), "Übeplan");
    EXPECT_EQ(ChildNames(face), QStringList({"Lektion 0", "Lektion 1", "Lektion 2", "Lektion 3"}));
    EXPECT_TRUE(Face(rows[2])->state().invisible);
    EXPECT_EQ(Face(rows[3])->role(), QAccessible::ListItem);
    EXPECT_EQ(Face(rows[3])->parent()->object(), list);
    EXPECT_EQ(face->indexOfChild(Face(rows[3])), 3);
    EXPECT_TRUE(face->rect().contains(Face(rows[1])->rect()));
    for (TLabel* row : rows) row->Hide();
    EXPECT_TRUE(face->state().invisible); // a list without a row that shows
    form.Hide();
}

TEST(Keyboard, ActiveControlTakesTheFocusAndWearsTheRing) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    int clicks = 0;
    TLabel* first = Pressable(form, "Ja", &clicks, 10, 10);
    TLabel* second = Pressable(form, "Nein", &clicks, 100, 10);
    form.SetActiveControl(second);
    ShowAndFocus(form);
    EXPECT_EQ(QApplication::focusWidget(), second);

    auto* ring = form.findChild<QWidget*>("zupfari-focus-ring");
    ASSERT_NE(ring, nullptr);
    EXPECT_TRUE(ring->isVisible());
    EXPECT_EQ(ring->geometry(), second->geometry().adjusted(-4, -4, 4, 4));
    EXPECT_TRUE(ring->testAttribute(Qt::WA_TransparentForMouseEvents));
    // The ring is no child of anything a screen reader sees.
    EXPECT_EQ(Face(&form)->childCount(), 2);

    form.SetActiveControl(first); // the form shows: at once
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(ring->geometry(), first->geometry().adjusted(-4, -4, 4, 4));
    first->SetLeft(40); // the ring follows its control
    EXPECT_EQ(ring->geometry(), first->geometry().adjusted(-4, -4, 4, 4));
    form.setFocus();
    EXPECT_FALSE(ring->isVisible());
    form.Hide();
}
