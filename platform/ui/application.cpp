#include "platform/ui/application.h"

#include "platform/ui/exceptions.h"
#include "platform/ui/forms.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <malloc.h>
#include <cstdio>

namespace platform {

// ---- Exceptions and the guard of handlers -------------------------------------------

Exception::Exception(QString message)
    : message_(std::move(message)), utf8_(message_.toUtf8().toStdString()) {}

bool GuardedCall(TObject* sender, const std::function<void()>& call) {
    try {
        call();
        return true;
    } catch (const std::exception& error) {
        Application->HandleException(sender, &error);
    } catch (...) {
        Application->HandleException(sender, nullptr);
    }
    return false;
}

// ---- Message box ------------------------------------------------------------------------

namespace {

TMessageBoxHook& Hook() {
    static auto* hook = new TMessageBoxHook;
    return *hook;
}

int ShowRealBox(const QString& text, const QString& caption, unsigned flags) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(),
                     text.toLocal8Bit().constData());
        return (flags & 0xF) == MB_OK ? IDOK : IDCANCEL;
    }
    QMessageBox box;
    box.setWindowTitle(caption);
    box.setText(text);
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    std::vector<Choice> choices;
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_YESNOCANCEL:
        choices = {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_YESNO:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
    default:
        choices = {{QMessageBox::Ok, IDOK}};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& choice : choices)
        buttons |= choice.button;
    box.setStandardButtons(buttons);
    auto chosen = QMessageBox::StandardButton(box.exec());
    for (const Choice& choice : choices) {
        if (choice.button == chosen) return choice.answer;
    }
    // Closed without a button: the cancelling answer, or OK for a lone OK.
    return choices.size() == 1 ? IDOK : (flags & 0xF) == MB_YESNO ? IDNO : IDCANCEL;
}

} // namespace

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook) {
    TMessageBoxHook before = Hook();
    Hook() = std::move(hook);
    return before;
}

int MessageBox(const QString& text, const QString& caption, unsigned flags) {
    if (Hook()) return Hook()(text, caption, flags);
    return ShowRealBox(text, caption, flags);
}

// ---- TApplication --------------------------------------------------------------------------

// Never destroyed: worker threads may still run while the process ends.
TApplication* const Application = new TApplication;

void TApplication::SetTitle(const QString& title) {
    title_ = title;
}

TForm* TApplication::MainForm() const {
    return dynamic_cast<TForm*>(mainForm_.data());
}

void TApplication::SetMainForm(TForm* form) {
    mainForm_ = form;
}

void TApplication::AddForm(TForm* form) {
    createdForms_.emplace_back(form);
    if (mainForm_.isNull()) mainForm_ = form;
}

void TApplication::Run() {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        app->setQuitOnLastWindowClosed(false);
    }
    TForm* main = MainForm();
    if (showMainForm_ && main != nullptr && !terminated_) main->Show();
    if (!terminated_) QCoreApplication::exec();
    for (auto form = createdForms_.rbegin(); form != createdForms_.rend(); ++form)
        delete form->data();
    createdForms_.clear();
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Terminate() {
    terminated_ = true;
    if (QCoreApplication::instance() != nullptr) QCoreApplication::exit(0);
}

void TApplication::HandleException(TObject* sender, const std::exception* error) {
    QString message = "Unknown exception";
    if (auto* own = dynamic_cast<const Exception*>(error))
        message = own->Message();
    else if (error != nullptr)
        message = QString::fromLocal8Bit(error->what());
    if (OnException) {
        try {
            OnException(sender, message);
            return;
        } catch (...) {
            // A failing exception handler falls back to the plain display.
        }
    }
    ShowException(message);
}

void TApplication::ShowException(const QString& message) {
    // A message reads as a sentence: a full stop is added after a text that
    // ends in a letter, digit or the like (not after '!', '?' or '.').
    QString text = message;
    if (!text.isEmpty() && text.back() > QChar('.')) text += '.';
    MessageBox(text, QString(), MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const QString& text, const QString& caption, unsigned flags) {
    return platform::MessageBox(text, caption.isEmpty() ? title_ : caption, flags);
}

void ReturnFreedMemorySoon() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        malloc_trim(0);
        return;
    }
    // The timer goes with the application that owns it.
    static QPointer<QTimer> timer;
    if (timer.isNull()) {
        timer = new QTimer(app);
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, [] { malloc_trim(0); });
    }
    timer->start(1000);
}

} // namespace platform
