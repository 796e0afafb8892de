#pragma once
// MainWindowAccess: what a screen reader hears of the main window and the way
// the keyboard goes through it. It names the buttons that show only a
// picture and the tool panels, puts the tempo bar's level in words (with its
// beats per minute when a lesson is open), keeps the quiz button's
// description of the passes counted so far, colours the focus ring and gives
// the window its tab order.

#include "platform/ui/controls.h"

#include <QString>
#include <memory>
#include <vector>

namespace playback {
class TransportObserver;
}

namespace app {

class TForm1;

class MainWindowAccess {
public:
    explicit MainWindowAccess(TForm1& form);
    ~MainWindowAccess();

    // Names the controls, sets the focus ring and the tab order, and starts
    // hearing the transport's passes.
    void DescribeControls();
    // Tempo level `level` in words.
    QString TempoLevelText(int level) const;
    // The quiz button tells how many passes at the fastest level count; the
    // tempo bar tells its level.
    void DescribePassCount();
    // The tab order: the tool panel that shows, the left column, the lesson
    // screen, the transport, the tempo bar, the rest.
    std::vector<platform::TControl*> TabOrder() const;
    // Stops hearing the transport (before the transport goes).
    void LeaveTransport();

private:
    TForm1& form_;
    std::unique_ptr<playback::TransportObserver> passTeller_;
};

} // namespace app
