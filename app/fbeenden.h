#pragma once
// TFBeenden: the exit dialog. Tells the learner how long they practised today
// (read from the main window's clock) and asks whether to quit: yes saves the
// lists and closes the program, no returns to the main window.

#include "controls/fadebutton.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

#include <QString>

namespace app {

class TFBeenden : public platform::TForm {
public:
    explicit TFBeenden(platform::TComponent* owner);

    platform::TLabel* Label1;
    controls::TXFadeButton* BOK;     // yes
    controls::TXFadeButton* BCancel; // no

    void FormShow(platform::TObject* Sender);
    void FormPaint(platform::TObject* Sender);
    void FormKeyDown(platform::TObject* Sender, platform::WORD& Key, platform::TShiftState Shift);
    void BOKClick(platform::TObject* Sender);
    void BCancelClick(platform::TObject* Sender);

    // Puts the practice-time sentence for the clock text into Label1 and
    // centres it.
    void ShowPracticeTime(const QString& clock);
};

// The practice-time sentence for a clock text "HH:MM" (hours may have more
// digits): message 21, the hours part, the minutes part, two line breaks,
// message 26.
QString PracticeTimeSentence(const QString& clock);

// The exit dialog of the program (created by the program entry).
extern TFBeenden* FBeenden;

} // namespace app
