#pragma once
// THelpWindow: the program's own help viewer, titled "Hilfe" ("Help"); the
// desktop adds the program's name ("Hilfe — Zupfari Basis").
// It shows the course's help pages (HTML beside the program, in "Hilfe" or
// "Help") with their contents list on the left; links and pictures work as
// in a browser. One window, shown again by every later F1.

#include <QString>
#include <QStringList>
#include <QWidget>

class QListWidget;
class QTextBrowser;

namespace app {

class THelpWindow : public QWidget {
public:
    // The window's title in the learner's language.
    static QString Title();

    // `pagesFolder` (file-system spelling) holds index.html and inhalt.hhc.
    explicit THelpWindow(const QString& pagesFolder);

    // True when `pagesFolder` holds the help's start page.
    static bool PagesPresent(const QString& pagesFolder);

    // The contents as (title, page) pairs from the folder's inhalt.hhc, in
    // their order; empty without the file.
    static QList<QPair<QString, QString>> ReadContents(const QString& pagesFolder);

    // Shows `page` (a file name of the contents, "tuner.html") with its
    // contents row selected; an unknown page shows the start page.
    void ShowTopic(const QString& page);

    QTextBrowser* Browser() const { return browser_; }
    QListWidget* Contents() const { return contents_; }

private:
    void ContentsRowChanged(int row);

    QString folder_;
    QStringList pages_;
    QListWidget* contents_;
    QTextBrowser* browser_;
};

} // namespace app
