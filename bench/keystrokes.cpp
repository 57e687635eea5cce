// SPDX-License-Identifier: GPL-3.0-or-later
// Every kind of keystroke at 100,000 entries in the real window, in every sort column and
// direction and under both collations: typing that narrows, Backspace, a cleared search and a
// changed filter, each timed from the edit (or the menu choice) to a view ready to paint. One row
// per kind, from the slowest of its sixteen sort settings; the whole table is printed too. The
// same rows again with the search ignoring kana and width.
#include "app/filtermenus.h"
#include "app/historysession.h"
#include "benchdata.h"
#include "platform/collation.h"
#include "realwindow.h"
#include "results.h"
#include "windowprobe.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>

#include <cstdio>
#include <functional>

using vendle::test::parts;

namespace vendle::bench {

namespace {

constexpr int kRuns = 20;

struct Kind {
    const char* name;
    std::function<void(int run)> prepare; // untimed: the state the keystroke starts from
    std::function<void(int run)> act;     // timed
};

// The choices of a filter submenu other than "（なし）".
std::vector<QAction*> choices(QMenu& menu) {
    std::vector<QAction*> out;
    for (QAction* a : menu.actions()) {
        if (a->isCheckable() && a->text() != QStringLiteral("（なし）"))
            out.push_back(a);
    }
    return out;
}

QAction* noneOf(QMenu& menu) {
    for (QAction* a : menu.actions()) {
        if (a->text() == QStringLiteral("（なし）"))
            return a;
    }
    return nullptr;
}

void BM_EveryKeystroke(benchmark::State& state) {
    const bool folding = state.range(0) != 0;
    RealWindow real;
    app::TVendleMainForm& form = real.form;
    form.session().setFoldKana(folding);
    form.resize(900, 600);
    form.show();
    app::FilterMenus& menus = *parts(form).filterMenus;
    menus.TypeMenuBuild();
    menus.FolderMenuBuild();
    QApplication::processEvents();

    const auto type = [&](const char* text) { parts(form).Edit1->setText(QString::fromUtf8(text)); };
    const auto clearFilters = [&] {
        for (QMenu* m : {menus.miTypeFilter, menus.miFolderFilter, menus.miTimeFilter})
            noneOf(*m)->trigger();
    };
    // The choice with the most entries of each menu that is not everything: the view stays long.
    QAction* typeChoice = choices(*menus.miTypeFilter).front();
    QAction* folderChoice = choices(*menus.miFolderFilter).front();
    QAction* ageChoice = choices(*menus.miTimeFilter).back();
    const std::vector<Kind> kinds = {
        {"character typed (narrows)", [&](int) { type("re"); }, [&](int) { type("rep"); }},
        {"Backspace (rebuilds)", [&](int) { type("rep"); }, [&](int) { type("re"); }},
        {"kana typed (narrows)", [&](int) { type("ぷろ"); }, [&](int) { type("ぷろじ"); }},
        {"search cleared", [&](int) { type("re"); }, [&](int) { type(""); }},
        {"type filter chosen",
         [&](int) {
             type("");
             clearFilters();
         },
         [&](int) { typeChoice->trigger(); }},
        {"folder filter chosen",
         [&](int) {
             type("");
             clearFilters();
         },
         [&](int) { folderChoice->trigger(); }},
        {"age filter chosen",
         [&](int) {
             type("");
             clearFilters();
         },
         [&](int) { ageChoice->trigger(); }},
    };

    struct Setting {
        std::string label;
        std::vector<Samples> perKind;
    };
    std::vector<Setting> settings;
    for (auto _ : state) {
        settings.clear();
        for (const bool japanese : {false, true}) {
            form.session().setCollator(japanese ? platform::userCollator("ja_JP.UTF-8")
                                                : platform::userCollator());
            type("");
            clearFilters();
            for (int column = ColumnName; column <= ColumnTime; ++column) {
                for (const bool descending : {false, true}) {
                    // Header clicks, as the user sorts: a new column ascending, the same one flips.
                    while (form.Items().SortColumn != column || form.Items().SortDescending != descending)
                        form.session().clickColumn(column);
                    Setting setting{std::string(ColumnTitles[column]) + (descending ? " 降順" : " 昇順") +
                                        (japanese ? ", ja_JP" : ", user"),
                                    std::vector<Samples>(kinds.size())};
                    for (std::size_t k = 0; k < kinds.size(); ++k) {
                        for (int run = 0; run < kRuns; ++run) {
                            kinds[k].prepare(run);
                            QApplication::processEvents();
                            const auto t0 = Clock::now();
                            kinds[k].act(run);
                            setting.perKind[k].ms.push_back(msSince(t0));
                            QApplication::processEvents();
                        }
                    }
                    clearFilters();
                    settings.push_back(std::move(setting));
                }
            }
        }
        state.SetIterationTime(1);
    }
    if (form.Items().ItemCount() != 100'000) {
        record(state,
               {"keystrokes, real window",
                {},
                {},
                0,
                0,
                "the window held " + std::to_string(form.Items().ItemCount()) + " entries, not 100,000",
                true});
        return;
    }

    std::printf("\nKeystrokes at 100k, median ms (p95) per sort setting:\n%-26s", "");
    for (const Kind& kind : kinds)
        std::printf(" %22s", kind.name);
    std::printf("\n");
    for (const Setting& s : settings) {
        std::printf("%-26s", s.label.c_str());
        for (const Samples& k : s.perKind) {
            char cell[40];
            std::snprintf(cell, sizeof cell, "%.2f (%.2f)", k.median(), k.p95());
            std::printf(" %22s", cell);
        }
        std::printf("\n");
    }
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        const Setting* worst = &settings.front();
        const Setting* best = &settings.front();
        for (const Setting& s : settings) {
            if (s.perKind[k].median() > worst->perKind[k].median())
                worst = &s;
            if (s.perKind[k].median() < best->perKind[k].median())
                best = &s;
        }
        char note[160];
        std::snprintf(note, sizeof note, "(slowest of %zu settings: %s; fastest %.2f ms)", settings.size(),
                      worst->label.c_str(), best->perKind[k].median());
        record(state, {std::string("keystroke: ") + kinds[k].name + ", real window, 100k" +
                           (folding ? ", kana and width ignored" : ""),
                       worst->perKind[k],
                       {},
                       0,
                       8.0,
                       note,
                       false});
    }
}
BENCHMARK(BM_EveryKeystroke)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

} // namespace vendle::bench
