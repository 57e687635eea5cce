// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/formbounds.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

using namespace vendle;
using namespace vendle::widgets;

class FormBoundsTest : public QObject {
    Q_OBJECT

private slots:
    void roundTripsANormalWindow() {
        QWidget w;
        MemIniFile ini;
        ini.WriteString("VendleMainForm", "FormBounds", "0,-1,-1,-1,-1,50,60,450,360");
        ReadFormBounds(ini, vendle::Setting::FormBounds, w);
        QCOMPARE(w.geometry(), QRect(50, 60, 400, 300));
        QVERIFY(!w.isVisible()); // restoring never shows the window
        MemIniFile out;
        WriteFormBounds(out, vendle::Setting::FormBounds, w);
        QCOMPARE(out.ReadString("VendleMainForm", "FormBounds", ""),
                 std::string("0,-1,-1,-1,-1,50,60,450,360"));
        // Where the window system keeps the place to itself, the stored place stays with the new size.
        w.setGeometry(0, 0, 500, 320);
        WriteFormBounds(out, vendle::Setting::FormBounds, w, false);
        QCOMPARE(out.ReadString("VendleMainForm", "FormBounds", ""),
                 std::string("0,-1,-1,-1,-1,50,60,550,380"));
    }

    void ignoresWrongItemCountsAndKeepsTheWindowOnScreen() {
        QWidget w;
        w.setGeometry(10, 20, 300, 200);
        MemIniFile ini;
        ini.WriteString("VendleMainForm", "FormBounds", "0,-1,-1,-1,-1,50,60,450");
        ReadFormBounds(ini, vendle::Setting::FormBounds, w);
        QCOMPARE(w.geometry(), QRect(10, 20, 300, 200));

        ini.WriteString("VendleMainForm", "FormBounds", "0,-1,-1,-1,-1,90000,90000,90400,90300");
        ReadFormBounds(ini, vendle::Setting::FormBounds, w);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(screen.contains(w.geometry()), "the window must land on a screen");
        QCOMPARE(w.geometry().size(), QSize(400, 300));
    }

    void maximisedStateIsRestoredWithoutShowing() {
        QWidget w;
        MemIniFile ini;
        ini.WriteString("VendleMainForm", "FormBounds", "2,-1,-1,-1,-1,50,60,450,360");
        ReadFormBounds(ini, vendle::Setting::FormBounds, w);
        QVERIFY(w.windowState().testFlag(Qt::WindowMaximized));
        QVERIFY(!w.isVisible());
    }

    void columnWidths() {
        QStandardItemModel model(0, 5);
        QTableView view;
        view.setModel(&model);
        QHeaderView& header = *view.horizontalHeader();
        header.setMinimumSectionSize(5);
        MemIniFile ini;
        ini.WriteString("VendleMainForm", "Grid", "40,200,300,100,130,999");
        ReadColWidths(ini, vendle::Setting::Grid, header);
        QCOMPARE(header.sectionSize(0), 40);
        QCOMPARE(header.sectionSize(4), 130);
        MemIniFile out;
        WriteColWidths(out, vendle::Setting::Grid, header);
        QCOMPARE(out.ReadString("VendleMainForm", "Grid", ""), std::string("40,200,300,100,130"));

        // The default "0" and an unreadable list leave the widths alone.
        ini.WriteString("VendleMainForm", "Grid", "0");
        ReadColWidths(ini, vendle::Setting::Grid, header);
        ini.WriteString("VendleMainForm", "Grid", "1,x,3");
        ReadColWidths(ini, vendle::Setting::Grid, header);
        QCOMPARE(header.sectionSize(1), 200);
    }
};

QTEST_MAIN(FormBoundsTest)
#include "test_formbounds.moc"
