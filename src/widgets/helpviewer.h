// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: pages of the compiled help file shown in a text browser that reads pages,
// pictures and style sheets straight out of the file, follows links inside it and hands links to
// the web to the browser.
#pragma once

#include <QTextBrowser>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

namespace vendle::platform {
class ChmCheck;
class ChmFile;
} // namespace vendle::platform

namespace vendle::widgets {

class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent = nullptr);
    ~HelpBrowser() override;

    // Opens the help file (closing the one before). The file is checked in the background first;
    // meanwhile a page says that it is being read, and `fileOpened` tells the outcome.
    void openFile(const std::string& path);
    // Shows a page of the open file ("index.htm"), or once the file is open; a page that is
    // missing or damaged, or a file that could not be opened, shows an error page instead.
    void showPage(const QString& page);
    bool isLoading() const { return check_ != nullptr; }
    // An object of the open file ("/toc.hhc"), or nothing.
    std::optional<std::string> readObject(const std::string& path) const;

    // The address of a page of the help file.
    static QUrl pageUrl(const QString& page);

signals:
    void fileOpened(bool ok);
    // The title of the page now shown.
    void titleChanged(const QString& title);

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void follow(const QUrl& link);
    void pollCheck();

    std::string path_;
    std::unique_ptr<platform::ChmCheck> check_;
    std::unique_ptr<platform::ChmFile> file_;
    QString pendingPage_;
    QTimer poll_;
};

} // namespace vendle::widgets
