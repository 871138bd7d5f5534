#include "ui/gallery.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "editor/editor_window.h"
#include "ui/editor_window.h"
#include "ui/graph_window.h"
#include "ui/gyrel_app.h"
#include "ui/mainform.h"
#include "ui/origin_dialog.h"
#include "ui/small_windows.h"

namespace gyrel::ui {

namespace {

// A program with a few cams on four outputs, comments included.
constexpr const char* kSampleProgram =
    "' Gallery sample: a packaging machine\r\n"
    "1 100 400\r\n"
    "1 2000 2600\r\n"
    "2 500 1500\r\n"
    "3 1200 1300\r\n"
    "3 3000 3500\r\n"
    "4 0 1800 ' half a turn\r\n";

void save(QWidget* w, const QString& file, int& exitCode) {
    if (!w || !w->isVisible() || !w->grab().save(file)) {
        std::fprintf(stderr, "gyrel: cannot write %s\n", qPrintable(file));
        exitCode = 1;
    }
}

}  // namespace

void scheduleGallery(GyrelApp& app, const QString& folder, int& exitCode) {
    QDir().mkpath(folder);
    const QDir dir(folder);
    // Nobody is there to answer a message box: it is told on stderr and accepted.
    auto* answer = new QTimer(app.mainform.get());
    QObject::connect(answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "gyrel: gallery: %s | %s\n", qPrintable(box->windowTitle()), qPrintable(box->text()));
            box->accept();
        }
    });
    answer->start(300);
    QTimer::singleShot(0, [&app] {
        app.ctx.main.Check1Checked = true;
        app.mainform->refresh();
        app.link.check1MouseUp(true);  // polls until told to stop
    });
    QTimer::singleShot(1500, [&app, dir, &exitCode] {
        app.refreshAll();
        save(app.mainform.get(), dir.filePath("main.png"), exitCode);
        app.ctx.main.Check1Checked = false;
        app.link.check1MouseUp(false);
    });
    QTimer::singleShot(2000, [&app, dir, &exitCode] {
        app.mainform->action("Inglese")->trigger();
        app.mainform->action("Communications")->trigger();
        EditorWindow* e = currentEditor();
        if (!e) {
            exitCode = 1;
            app.mainform->close();
            return;
        }
        Editor& ed = e->editor();
        ed.st.ProgBox = kSampleProgram;
        ed.ButtVerificaPrg();
        QAction* graph = e->findChild<QAction*>("MenEnableGraphic");
        if (graph && graph->isEnabled()) graph->trigger();
        app.refreshAll();
        QTimer::singleShot(500, [&app, e, dir, &exitCode] {
            save(e, dir.filePath("editor.png"), exitCode);
            if (e->graphWindow().isVisible()) {
                save(&e->graphWindow(), dir.filePath("graph.png"), exitCode);
                e->graphWindow().close();
            }
            QAction* settings = e->findChild<QAction*>("MenuSettings");
            if (settings && settings->isEnabled() && e->onOriginDialog) {
                e->onOriginDialog();
                auto* origin = e->findChild<OriginDialogWidget*>("OriginDialog");
                if (auto* read = origin ? origin->findChild<QPushButton*>("PulsRx") : nullptr) read->click();
                app.refreshAll();
                save(origin, dir.filePath("origin.png"), exitCode);
                if (origin) origin->hide();
            }
            auto* wait = e->findChild<WaitFormWindow*>("WaitForm");
            QTimer::singleShot(600, [&app, wait, dir, &exitCode] {
                app.refreshAll();
                save(wait, dir.filePath("download.png"), exitCode);
            });
            if (e->onDownload) e->onDownload();
            app.refreshAll();
            save(wait, dir.filePath("download-end.png"), exitCode);
            app.mainform->close();
        });
    });
}

}  // namespace gyrel::ui
