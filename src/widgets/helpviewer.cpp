// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpviewer.h"

#include "platform/chmfile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QTextDocument>

#include <utility>

namespace vendle::widgets {

namespace {

const QString kScheme = QStringLiteral("chm");

QByteArray errorPage(const QString& page) {
    return QCoreApplication::translate(
               "vendle::widgets::HelpBrowser",
               "<html><body><h2>ページを表示できません</h2><p>ヘルプファイルに「%1」が"
               "見つからないか、ファイルが壊れています。</p></body></html>")
        .arg(page.toHtmlEscaped())
        .toUtf8();
}

} // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::follow);
    connect(this, &QTextBrowser::sourceChanged, this, [this] { emit titleChanged(documentTitle()); });
    poll_.setInterval(15);
    connect(&poll_, &QTimer::timeout, this, &HelpBrowser::pollCheck);
}

HelpBrowser::~HelpBrowser() = default;

void HelpBrowser::openFile(const std::string& path) {
    file_.reset();
    document()->clear(); // pictures and style sheets of the file before are not reused
    path_ = path;
    check_ = platform::ChmCheck::start(path);
    if (!check_) {
        emit fileOpened(false);
        return;
    }
    setHtml(tr("<html><head><title>読み込み中</title></head><body><p>ヘルプファイルを読み込んでいます…"
               "</p></body></html>"));
    emit titleChanged(documentTitle());
    poll_.start();
}

void HelpBrowser::pollCheck() {
    const std::optional<bool> passed = check_ ? check_->result() : std::optional<bool>(false);
    if (!passed)
        return;
    poll_.stop();
    check_.reset();
    if (*passed)
        file_ = platform::ChmFile::openChecked(path_);
    document()->clear();
    if (!pendingPage_.isEmpty())
        showPage(std::exchange(pendingPage_, QString()));
    emit fileOpened(file_ != nullptr);
}

QUrl HelpBrowser::pageUrl(const QString& page) {
    QUrl url;
    url.setScheme(kScheme);
    // "page.htm#part" shows the part of the page.
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    url.setPath(QLatin1Char('/') + page.left(hash));
    if (hash >= 0)
        url.setFragment(page.mid(hash + 1));
    return url;
}

void HelpBrowser::showPage(const QString& page) {
    if (isLoading()) {
        pendingPage_ = page;
        return;
    }
    const QUrl url = pageUrl(page);
    if (url == source()) { // after another file or the loading page: read it again
        reload();
        emit titleChanged(documentTitle());
    } else {
        setSource(url, QTextDocument::HtmlResource);
    }
}

void HelpBrowser::follow(const QUrl& link) {
    const QUrl target = source().resolved(link);
    if (target.scheme() == kScheme)
        setSource(target, QTextDocument::HtmlResource);
    else
        QDesktopServices::openUrl(target);
}

std::optional<std::string> HelpBrowser::readObject(const std::string& path) const {
    return file_ ? file_->read(path) : std::nullopt;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = source().resolved(name);
    if (url.scheme() != kScheme)
        return {};
    const std::optional<std::string> bytes = file_ ? file_->read(url.path().toStdString()) : std::nullopt;
    if (!bytes)
        return type == QTextDocument::HtmlResource ? QVariant(errorPage(url.path().mid(1))) : QVariant();
    return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
}

} // namespace vendle::widgets
