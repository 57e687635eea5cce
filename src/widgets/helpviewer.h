// The help window: pages of the compiled help file shown in a text browser that reads pages,
// pictures and style sheets straight out of the file, follows links inside it and hands links to
// the web to the browser.
#pragma once

#include <QTextBrowser>

#include <memory>
#include <string>

namespace vendle::platform {
class ChmFile;
}

namespace vendle::widgets {

class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent = nullptr);
    ~HelpBrowser() override;

    // Opens the help file (closing the one before); false when it is no help file.
    bool openFile(const std::string& path);
    // Shows a page of the open file ("index.htm"); a page that is missing or damaged shows an error
    // page instead.
    void showPage(const QString& page);

    // The address of a page of the help file.
    static QUrl pageUrl(const QString& page);

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void follow(const QUrl& link);

    std::unique_ptr<platform::ChmFile> file_;
};

} // namespace vendle::widgets
