#include "app/helpwindow.h"

#include "app/msgwin.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QUrl>

namespace app {

namespace {
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kContentsWidth = 200;
constexpr const char* kStartPage = "index.html";
constexpr const char* kContentsFile = "inhalt.hhc";
} // namespace

bool THelpWindow::PagesPresent(const QString& pagesFolder) {
    return QFileInfo(pagesFolder + "/" + kStartPage).isFile();
}

QList<QPair<QString, QString>> THelpWindow::ReadContents(const QString& pagesFolder) {
    QList<QPair<QString, QString>> contents;
    QFile file(pagesFolder + "/" + kContentsFile);
    if (!file.open(QIODevice::ReadOnly)) return contents;
    const QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression entry(
        R"re(<param\s+name="Name"\s+value="([^"]*)"\s*>\s*<param\s+name="Local"\s+value="([^"]*)")re",
        QRegularExpression::CaseInsensitiveOption);
    for (auto match = entry.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        const QString title = QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText();
        contents.append({title, m.captured(2)});
    }
    return contents;
}

QString THelpWindow::Title() {
    return CaptionText(615);
}

THelpWindow::THelpWindow(const QString& pagesFolder) : folder_(pagesFolder) {
    setWindowTitle(Title());
    resize(kWidth, kHeight);
    contents_ = new QListWidget(this);
    contents_->setFixedWidth(kContentsWidth);
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true); // web addresses go to the browser
    browser_->setSearchPaths({pagesFolder});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(contents_);
    layout->addWidget(browser_, 1);

    for (const auto& [title, page] : ReadContents(pagesFolder)) {
        contents_->addItem(title);
        pages_ << page;
    }
    connect(contents_, &QListWidget::currentRowChanged, this,
            [this](int row) { ContentsRowChanged(row); });
    browser_->setSource(QUrl::fromLocalFile(pagesFolder + "/" + kStartPage));
}

void THelpWindow::ShowTopic(const QString& page) {
    const int row = int(pages_.indexOf(page));
    if (row >= 0 && row == contents_->currentRow()) ContentsRowChanged(row);
    else if (row >= 0) contents_->setCurrentRow(row);
    else browser_->setSource(QUrl::fromLocalFile(folder_ + "/" + kStartPage));
}

void THelpWindow::ContentsRowChanged(int row) {
    if (row < 0 || row >= pages_.size()) return;
    browser_->setSource(QUrl::fromLocalFile(folder_ + "/" + pages_[row]));
}

} // namespace app
