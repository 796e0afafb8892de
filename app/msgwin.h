#pragma once
// TMsgWin: the program's own message box. One skinned window, created at
// start and reused: a caller fills it with SetMessage and shows it modally;
// the result is 1 for OK and 2 for cancel.

#include "controls/fadebutton.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace app {

class TMsgWin : public platform::TForm {
public:
    explicit TMsgWin(platform::TComponent* owner);

    platform::TLabel* Label1; // title
    platform::TLabel* Label2; // body
    controls::TXFadeButton* BOK;
    controls::TXFadeButton* BCancel;
    // Captions 1 to 8 of the language service (index 0 = caption 1).
    QStringList StandardCaptions;

    // Fills the box: title, body, cancel caption (empty: OK button alone),
    // OK caption.
    void SetMessage(const QString& title, const QString& body, const QString& cancelCaption,
                    const QString& okCaption);
    // Shows the box modally and returns 1 (OK) or 2 (cancel). While an
    // answerer is installed (tests), it answers instead and nothing is shown.
    int ShowModal();

    void BOKClick(platform::TObject* Sender);
    void BCancelClick(platform::TObject* Sender);
    void FormKeyDown(platform::TObject* Sender, platform::WORD& Key, platform::TShiftState Shift);
    void FormPaint(platform::TObject* Sender);

    // Tests: `answerer` gets the filled box and returns its answer; an empty
    // function puts modal showing back. Returns the one installed before.
    using Answerer = std::function<int(TMsgWin& box)>;
    static Answerer SetAnswerer(Answerer answerer);
};

// The message box of the program (created by the program entry).
extern TMsgWin* MsgWin;

// Fills the one message box and shows it modally; returns 1 or 2.
int AskMessage(const QString& title, const QString& body, const QString& cancelCaption,
               const QString& okCaption);

// Language texts as QString: caption, message and error text `number`.
QString CaptionText(int number);
QString MessageText(int number);
QString ErrorText(int number);

} // namespace app
