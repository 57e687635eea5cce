// SPDX-License-Identifier: GPL-3.0-or-later
#include "faketray.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace vendle;
using namespace vendle::widgets;
using vendle::test::FakeTray;
using vendle::test::TrayLog;

namespace {
QIcon someIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::red);
    return QIcon(pm);
}
} // namespace

class TrayIconTest : public QObject {
    Q_OBJECT

private slots:
    void identifiersCountUpFromTheLastIcon() {
        TrayLog log;
        auto a = std::make_unique<TyTrayIcon>(nullptr, std::make_unique<FakeTray>(log));
        auto b = std::make_unique<TyTrayIcon>(nullptr, std::make_unique<FakeTray>(log));
        auto c = std::make_unique<TyTrayIcon>(nullptr, std::make_unique<FakeTray>(log));
        QCOMPARE(a->identifier(), 1);
        QCOMPARE(c->identifier(), 3);
        c.reset();
        TyTrayIcon d(nullptr, std::make_unique<FakeTray>(log));
        QCOMPARE(d.identifier(), 3);
        b.reset();
        TyTrayIcon e(nullptr, std::make_unique<FakeTray>(log));
        QCOMPARE(e.identifier(), 4);
    }

    void visibleNeedsAnImage() {
        TrayLog log;
        TyTrayIcon icon(nullptr, std::make_unique<FakeTray>(log));
        QCOMPARE(icon.TipHelp(), std::string("TipHelp"));
        icon.setVisible(true);
        QVERIFY(!icon.Visible());
        QCOMPARE(log.adds, 0);
        icon.setIcon(someIcon());
        icon.setVisible(true);
        QVERIFY(icon.Visible());
        QVERIFY(icon.isRegistered());
        QCOMPARE(log.adds, 1);
        icon.setIcon(someIcon());
        QCOMPARE(log.modifies, 1);
        icon.setIcon(QIcon()); // clearing the image hides the icon
        QVERIFY(!icon.Visible());
        QVERIFY(!icon.isRegistered());
        QCOMPARE(log.removes, 1);
    }

    void tipIsCutAt62BytesOnACharacterBoundary() {
        TrayLog log;
        TyTrayIcon icon(nullptr, std::make_unique<FakeTray>(log));
        icon.setIcon(someIcon());
        icon.setVisible(true);
        const std::string seventy(70, 'x');
        icon.setTipHelp(seventy);
        QCOMPARE(icon.TipHelp(), std::string(62, 'x'));
        const int before = log.modifies;
        icon.setTipHelp(std::string(62, 'x')); // the same prefix: no call
        QCOMPARE(log.modifies, before);
        // 20 three-byte characters are 60 bytes; the 21st would cross 62 and is dropped whole.
        std::string kana;
        for (int i = 0; i < 25; ++i)
            kana += "あ";
        icon.setTipHelp(kana);
        QCOMPARE(icon.TipHelp().size(), std::size_t(60));
        // An empty tip updates the icon without touching the shown tip.
        const int without = log.callsWithoutTip;
        icon.setTipHelp("");
        QCOMPARE(log.callsWithoutTip, without + 1);
    }

    void rightPressOpensTheMenuWhenAutoPopup() {
        TrayLog log;
        TyTrayIcon icon(nullptr, std::make_unique<FakeTray>(log));
        QMenu menu;
        icon.setRBPopupMenu(&menu);
        QCOMPARE(log.nativeMenu, &menu);
        QSignalSpy down(&icon, &TyTrayIcon::OnMouseDown);
        QSignalSpy up(&icon, &TyTrayIcon::OnMouseUp);
        QSignalSpy dbl(&icon, &TyTrayIcon::OnDblClick);
        icon.dispatch(TyTrayIcon::Mouse::RightDown, {5, 5});
        icon.dispatch(TyTrayIcon::Mouse::RightUp, {5, 5});
        QCOMPARE(log.popups.size(), 1);
        QCOMPARE(down.count(), 0);
        QCOMPARE(up.count(), 1);
        QCOMPARE(up.at(0).at(1).value<Qt::MouseButton>(), Qt::RightButton);

        icon.AutoPopup = false;
        icon.dispatch(TyTrayIcon::Mouse::RightDown, {5, 5});
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.at(0).at(1).value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(log.popups.size(), 1);

        icon.dispatch(TyTrayIcon::Mouse::RightDoubleClick, {5, 5});
        icon.dispatch(TyTrayIcon::Mouse::LeftDoubleClick, {5, 5});
        QCOMPARE(dbl.count(), 1);
        QCOMPARE(down.count(), 1);
        icon.dispatch(TyTrayIcon::Mouse::MiddleDown, {5, 5});
        QCOMPARE(down.last().at(1).value<Qt::MouseButton>(), Qt::MiddleButton);
    }
};

QTEST_MAIN(TrayIconTest)
#include "test_trayicon.moc"
