#include "helpviewer.h"

#include "platform/chmfile.h"

#include <QDesktopServices>
#include <QTextDocument>

namespace vendle::widgets {

namespace {

const QString kScheme = QStringLiteral("chm");

QByteArray errorPage(const QString& page) {
    return QStringLiteral(
               "<html><body><h2>ページを表示できません</h2><p>ヘルプファイルに「%1」が見つからないか、"
               "ファイルが壊れています。</p></body></html>")
        .arg(page.toHtmlEscaped())
        .toUtf8();
}

} // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::follow);
}

HelpBrowser::~HelpBrowser() = default;

bool HelpBrowser::openFile(const std::string& path) {
    file_ = platform::ChmFile::open(path);
    document()->clear(); // pictures and style sheets of the file before are not reused
    return file_ != nullptr;
}

QUrl HelpBrowser::pageUrl(const QString& page) {
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(QLatin1Char('/') + page);
    return url;
}

void HelpBrowser::showPage(const QString& page) {
    setSource(pageUrl(page), QTextDocument::HtmlResource);
}

void HelpBrowser::follow(const QUrl& link) {
    const QUrl target = source().resolved(link);
    if (target.scheme() == kScheme)
        setSource(target, QTextDocument::HtmlResource);
    else
        QDesktopServices::openUrl(target);
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
