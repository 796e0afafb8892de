// Components and controls: owner lists, tags, stacking, label sizing, mouse
// events and the guard around handlers.
#include "platform/ui/application.h"
#include "platform/ui/components.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QSemaphore>
#include <QTest>
#include <QThreadPool>
#include <gtest/gtest.h>
#include <atomic>
#include <memory>

using namespace platform;

namespace {

// Records message boxes instead of showing them.
struct BoxRecorder {
    std::vector<QString> texts;
    TMessageBoxHook before;
    BoxRecorder() {
        before = SetMessageBoxHook([this](const QString& text, const QString&, unsigned) {
            texts.push_back(text);
            return IDOK;
        });
    }
    ~BoxRecorder() { SetMessageBoxHook(before); }
};

class Probe : public TComponent {
public:
    Probe(TComponent* owner, int* freed) : TComponent(owner), freed_(freed) {}
    ~Probe() override { ++*freed_; }

private:
    int* freed_;
};

} // namespace

TEST(Components, KeepCreationOrderFindByTagAndLeaveTheListWhenFreed) {
    auto form = std::make_unique<TForm>(nullptr);
    auto* label = new TLabel(form.get());
    auto* shape = new TShape(form.get());
    auto* image = new TImage(form.get());
    label->SetTag(120);
    shape->SetTag(250);
    image->SetTag(200);

    ASSERT_EQ(form->ComponentCount(), 3);
    EXPECT_EQ(form->Components(0), label);
    EXPECT_EQ(form->Components(2), image);
    EXPECT_EQ(image->ComponentIndex(), 2);
    EXPECT_THROW(form->Components(3), Exception);

    TComponent* found = nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        if (form->Components(i)->Tag() == 250) found = form->Components(i);
    }
    EXPECT_EQ(dynamic_cast<TShape*>(found), shape);

    delete shape;
    ASSERT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(form->Components(1), image);
    EXPECT_EQ(image->ComponentIndex(), 1);
}

TEST(Components, OwnerFreesItsComponentsAlsoWhenParentedElsewhere) {
    int freed = 0;
    auto owner = std::make_unique<TForm>(nullptr);
    auto other = std::make_unique<TForm>(nullptr);
    new Probe(owner.get(), &freed);
    new Probe(owner.get(), &freed);
    auto* panel = new TPanel(owner.get());
    panel->SetParent(other.get());
    auto* onPanel = new TLabel(other.get()); // owned by `other`, shown on `panel`
    onPanel->SetParent(panel);
    owner.reset();
    EXPECT_EQ(freed, 2);
    // The panel went with its owner and took its child widget along; the
    // label left its owner's list.
    EXPECT_EQ(other->ComponentCount(), 0);
}

TEST(Stacking, NonWindowedControlsFollowCreationOrderBelowWindowedOnes) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 200);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 50, 50);
    auto* first = new TShape(&form);
    first->SetParent(&form);
    first->SetBounds(0, 0, 100, 100);
    auto* second = new TLabel(&form);
    second->SetParent(&form);
    second->SetBounds(10, 10, 100, 100);
    second->SetAutoSize(false);
    form.Show();

    EXPECT_EQ(form.childAt(5, 5), panel);    // the panel stays on top
    EXPECT_EQ(form.childAt(60, 60), second); // later over earlier
    EXPECT_EQ(form.childAt(5, 60), first);
    form.Hide();
}

TEST(Label, AutoSizeFollowsTextAndCrLfMakesLines) {
    TForm form(nullptr);
    TLabel label(&form);
    label.SetParent(&form);
    label.Font()->SetHeight(-13);
    label.SetCaption("Zeile 1");
    int oneLineHeight = label.Height();
    int oneLineWidth = label.Width();
    EXPECT_GT(oneLineWidth, 20);
    EXPECT_GE(oneLineHeight, 13);

    label.SetCaption("Zeile 1\r\nZeile 2 ist länger");
    EXPECT_EQ(label.Height(), 2 * oneLineHeight);
    EXPECT_GT(label.Width(), oneLineWidth);
    EXPECT_EQ(label.Lines(), QStringList({"Zeile 1", "Zeile 2 ist länger"}));

    label.SetCaption("");
    EXPECT_EQ(label.Height(), oneLineHeight); // an empty caption keeps one line

    label.SetWordWrap(true);
    label.SetWidth(60);
    label.SetCaption("ein recht langer Text, der umbrochen werden muss");
    EXPECT_EQ(label.Width(), 60);
    EXPECT_GE(label.Height(), 3 * oneLineHeight);
    EXPECT_EQ(label.Height() % oneLineHeight, 0);

    // Growing the font grows the label.
    label.SetWordWrap(false);
    label.SetCaption("Text");
    int small = label.Width();
    label.Font()->SetHeight(-26);
    EXPECT_GT(label.Width(), small);
}

TEST(Label, FollowsParentFontUntilGivenItsOwn) {
    TForm form(nullptr);
    form.Font()->SetName("Arial");
    form.Font()->SetHeight(-20);
    TLabel label(&form);
    label.SetParent(&form);
    EXPECT_EQ(label.Font()->Height(), -20);
    label.Font()->SetHeight(-9);
    form.Font()->SetHeight(-30);
    EXPECT_EQ(label.Font()->Height(), -9);
}

TEST(Image, AutoSizeTakesThePicturesSize) {
    TForm form(nullptr);
    TImage image(&form);
    image.SetParent(&form);
    image.SetAutoSize(true);
    image.Picture()->SetSize(37, 21);
    EXPECT_EQ(image.Width(), 37);
    EXPECT_EQ(image.Height(), 21);
}

TEST(Events, ClickAndMouseReachHandlersWithTheSender) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 100, 100);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetCaption("Klick");
    std::vector<std::string> seen;
    TObject* sender = nullptr;
    label->OnMouseDown = [&](TObject* s, TMouseButton b, TShiftState, int x, int) {
        seen.push_back(b == mbLeft ? "down" : "down-other");
        sender = s;
        EXPECT_EQ(x, 2);
    };
    label->OnClick = [&](TObject*) { seen.push_back("click"); };
    label->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { seen.push_back("up"); };
    form.Show();
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, QPoint(2, 3));
    EXPECT_EQ(seen, std::vector<std::string>({"down", "click", "up"}));
    EXPECT_EQ(sender, label);

    seen.clear();
    QTest::mouseClick(label, Qt::RightButton, Qt::NoModifier, QPoint(2, 3));
    EXPECT_EQ(seen, std::vector<std::string>({"down-other", "up"})); // no click
    form.Hide();
}

TEST(Events, EnterAndLeaveFireOnceEachInOrder) {
    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    std::vector<std::string> seen;
    label->OnMouseEnter = [&](TObject* s) { seen.push_back(s == label ? "enter" : "?"); };
    label->OnMouseLeave = [&](TObject* s) { seen.push_back(s == label ? "leave" : "?"); };
    form.Show();
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(label, &enter);
    QCoreApplication::sendEvent(label, &leave);
    EXPECT_EQ(seen, std::vector<std::string>({"enter", "leave"}));
    form.Hide();
}

TEST(Events, ExceptionInAHandlerIsShownAndTheProgramGoesOn) {
    BoxRecorder boxes;
    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    int clicks = 0;
    label->OnClick = [&](TObject*) {
        ++clicks;
        throw Exception("'x' ist kein gültiger Integerwert");
    };
    form.Show();
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0], "'x' ist kein gültiger Integerwert.");

    // Anything thrown, not only our own exceptions.
    label->OnClick = [](TObject*) { throw 42; };
    label->Click();
    EXPECT_EQ(boxes.texts.back(), "Unknown exception.");
    form.Hide();
}

namespace {
// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

// A custom control that counts its paints and draws a cross.
class CrossControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(ClientRect());
        Canvas()->Pen()->SetColor(clRed);
        Canvas()->MoveTo(0, 0);
        Canvas()->LineTo(Width(), Height());
    }
};

// Shows `form` at the given size and waits until it is on the screen.
void ShowOnScreen(TForm& form, int width, int height) {
    form.SetBounds(0, 0, width, height);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
}
} // namespace

TEST(Painting, DirectDrawingShowsAtOnceAndPaintRunsOnlyWhenAskedFor) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 120, 80);
    int paints = 0;
    form.OnPaint = [&](TObject*) {
        ++paints;
        form.Canvas()->Brush()->SetColor(RGB(0, 0, 128));
        form.Canvas()->FillRect(form.ClientRect());
    };
    auto* control = new CrossControl(&form);
    control->SetParent(&form);
    control->SetBounds(80, 40, 20, 20);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QImage shot = form.grab().toImage();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(control->paints, 1);
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(0, 0, 128));
    EXPECT_EQ(shot.pixelColor(85, 45), QColor(255, 0, 0)); // the control's diagonal

    // Drawing straight onto the form: painted on screen synchronously,
    // without any event handling, and the paint handler does not run again.
    PaintCounter counter;
    form.installEventFilter(&counter);
    form.Canvas()->Brush()->SetColor(clLime);
    form.Canvas()->FillRect(Rect(10, 10, 20, 20));
    EXPECT_EQ(counter.count, 1);
    form.removeEventFilter(&counter);
    QImage after = form.grab().toImage();
    EXPECT_EQ(after.pixelColor(15, 15), QColor(0, 255, 0));
    EXPECT_EQ(paints, 1);

    // A custom control repaints itself at once when asked to.
    control->Repaint();
    EXPECT_EQ(control->paints, 2);
    control->Invalidate(); // later, when events are handled
    EXPECT_EQ(control->paints, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(control->paints, 3);

    form.Repaint();
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(form.grab().toImage().pixelColor(15, 15), QColor(0, 0, 128));
    form.Hide();
}

// A tall, narrow change (the LED column) is drawn on the painting thread:
// Qt would otherwise hand a blend of that many lines to its thread pool in
// slices and wait for them. The pool is kept busy by a task that waits for
// the paint to end; a paint that needed the pool would keep that task
// waiting until its time ran out. Every line of the column is drawn, and a
// large change still paints whole.
TEST(Painting, TallNarrowChangesAreDrawnOnThePaintingThreadInFull) {
    TForm form(nullptr);
    ASSERT_NO_FATAL_FAILURE(ShowOnScreen(form, 400, 420));
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    QSemaphore paintEnded, blockerRunning;
    std::atomic<bool> blockerTimedOut{false};
    pool->start([&] {
        blockerRunning.release();
        blockerTimedOut = !paintEnded.tryAcquire(1, 5000);
    });
    ASSERT_TRUE(blockerRunning.tryAcquire(1, 5000));
    form.Canvas()->Brush()->SetColor(clLime);
    form.Canvas()->FillRect(Rect(300, 5, 320, 405)); // 400 lines, 20 columns
    paintEnded.release();
    pool->waitForDone();
    pool->setMaxThreadCount(threads);
    EXPECT_FALSE(blockerTimedOut);

    form.Canvas()->Brush()->SetColor(clRed);
    form.Canvas()->FillRect(Rect(0, 0, 400, 420)); // the whole form: the pool may help
    form.Canvas()->Brush()->SetColor(clBlue);
    form.Canvas()->FillRect(Rect(300, 5, 320, 405));
    // The column alone, drawn as its change was, over white.
    QImage column(400, 420, QImage::Format_RGB32);
    column.fill(Qt::white);
    form.render(&column, QPoint(300, 5), QRegion(300, 5, 20, 400));
    for (int y = 5; y <= 404; ++y)
        ASSERT_EQ(column.pixelColor(310, y), QColor(0, 0, 255)) << "line " << y;
    EXPECT_EQ(column.pixelColor(310, 405), QColor(Qt::white));
    EXPECT_EQ(column.pixelColor(299, 100), QColor(Qt::white));
    EXPECT_EQ(form.grab().toImage().pixelColor(100, 300), QColor(255, 0, 0));
    form.Hide();
}

TEST(Painting, DrawingsInAChangeBatchShowTogetherWhenItEnds) {
    TForm form(nullptr);
    ASSERT_NO_FATAL_FAILURE(ShowOnScreen(form, 120, 80));
    PaintCounter counter;
    form.installEventFilter(&counter);
    {
        TCanvas::ChangeBatch outer(form.Canvas());
        form.Canvas()->Brush()->SetColor(clLime);
        form.Canvas()->FillRect(Rect(10, 10, 20, 20));
        {
            TCanvas::ChangeBatch inner(form.Canvas()); // nested: the outer one decides
            form.Canvas()->Brush()->SetColor(clRed);
            form.Canvas()->FillRect(Rect(60, 40, 70, 50));
        }
        form.Canvas()->Pen()->SetColor(clBlue);
        form.Canvas()->MoveTo(0, 70);
        form.Canvas()->LineTo(100, 70);
        EXPECT_EQ(counter.count, 0); // nothing on the screen yet
    }
    // One synchronous paint for the three, with all of them in it.
    EXPECT_EQ(counter.count, 1);
    const QImage shot = form.grab().toImage();
    EXPECT_EQ(shot.pixelColor(15, 15), QColor(0, 255, 0));
    EXPECT_EQ(shot.pixelColor(65, 45), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(50, 70), QColor(0, 0, 255));

    // After the batch, drawing shows at once again; an empty batch paints
    // nothing, and one on a bitmap changes nothing about drawing on it.
    counter.count = 0; // the grab painted too
    form.Canvas()->FillRect(Rect(30, 10, 40, 20));
    EXPECT_EQ(counter.count, 1);
    { TCanvas::ChangeBatch idle(form.Canvas()); }
    EXPECT_EQ(counter.count, 1);
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    {
        TCanvas::ChangeBatch onBitmap(bitmap.Canvas());
        bitmap.Canvas()->Brush()->SetColor(clRed);
        bitmap.Canvas()->FillRect(Rect(0, 0, 4, 4));
        EXPECT_EQ(bitmap.Canvas()->Pixel(2, 2), clRed);
    }
    form.removeEventFilter(&counter);
    form.Hide();
}
