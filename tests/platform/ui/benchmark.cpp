// Prints what the drawing paths of the layer cost on this machine: the
// full-window stretch of FormPaint, the sprite transfers of the play cursor,
// a direct draw on a shown 800 x 600 form with its immediate repaint, and the
// round trip of Synchronize. Figures only; nothing is asserted.
#include "platform/ui/application.h"
#include "platform/ui/forms.h"
#include "platform/ui/threads.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <cstdio>
#include <functional>

using namespace platform;

namespace {

double MicrosecondsPer(int rounds, const std::function<void()>& step) {
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < rounds; ++i)
        step();
    return double(clock.nsecsElapsed()) / 1000.0 / rounds;
}

class Pinger : public TThread {
public:
    Pinger() : TThread(true) {}
    std::atomic<bool> done{false};
    double micros = 0;

protected:
    void Execute() override {
        const int rounds = 500;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < rounds; ++i)
            Synchronize([] {});
        micros = double(clock.nsecsElapsed()) / 1000.0 / rounds;
        done = true;
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TBitmap small(10, 10), screen(800, 600), mask(16, 16), sprite(16, 16), saved(16, 16);
    std::printf("StretchDraw 10x10 -> 800x600: %.0f us\n", MicrosecondsPer(20, [&] {
                    screen.Canvas()->StretchDraw(Rect(0, 0, 800, 600), &small);
                }));
    std::printf("Sprite (save, AND, OR, restore) 16x16: %.1f us\n", MicrosecondsPer(2000, [&] {
                    BitBlt(saved.Canvas(), 0, 0, 16, 16, screen.Canvas(), 100, 100, SRCCOPY);
                    BitBlt(screen.Canvas(), 100, 100, 16, 16, mask.Canvas(), 0, 0, SRCAND);
                    BitBlt(screen.Canvas(), 100, 100, 16, 16, sprite.Canvas(), 0, 0, SRCPAINT);
                    BitBlt(screen.Canvas(), 100, 100, 16, 16, saved.Canvas(), 0, 0, SRCCOPY);
                }));

    TForm form(nullptr);
    form.SetBounds(0, 0, 800, 600);
    form.OnPaint = [&](TObject*) { form.Canvas()->StretchDraw(form.ClientRect(), &small); };
    form.Show();
    if (!QTest::qWaitForWindowExposed(&form)) std::printf("(window not exposed)\n");
    std::printf("Direct draw 16x16 on a shown form, repainted at once: %.1f us\n",
                MicrosecondsPer(500, [&] { form.Canvas()->Draw(200, 200, &sprite); }));
    std::printf("Repaint of the whole 800x600 form (FormPaint + show): %.0f us\n",
                MicrosecondsPer(20, [&] { form.Repaint(); }));

    Pinger pinger;
    pinger.Resume();
    while (!pinger.done)
        Application->ProcessMessages();
    std::printf("Synchronize round trip (UI thread in ProcessMessages): %.1f us\n", pinger.micros);
    pinger.WaitFor();
    return 0;
}
