// Every window laid out at twice the scale (QT_SCALE_FACTOR=2 unless the
// environment names another; a second run uses 1.5): no control is given less
// room than its text needs.
#include "gui_fixture.h"
#include "ui/origin_dialog.h"

using namespace gyrel;
using namespace gyrel::test;

namespace {

// The controls of `window` whose text does not fit the room they were given.
QStringList clippedTexts(QWidget* window) {
    QStringList clipped;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->window() != window) continue;
        auto* l = qobject_cast<QLabel*>(w);
        auto* b = qobject_cast<QAbstractButton*>(w);
        auto* g = qobject_cast<QGroupBox*>(w);
        // A word-wrapped label takes the room it is given; a group box needs its title's width.
        const QString text = l ? (l->wordWrap() ? QString() : l->text()) : b ? b->text() : g ? g->title() : "";
        const QSize need = l   ? l->minimumSizeHint()
                           : b ? b->sizeHint()
                               : QSize(w->fontMetrics().horizontalAdvance(text) + 8, 0);
        if (!text.isEmpty() && (w->width() < need.width() || w->height() < need.height()))
            clipped << QString("%1 \"%2\": %3x%4 < %5x%6").arg(w->objectName(), text).arg(w->width())
                           .arg(w->height()).arg(need.width()).arg(need.height());
    }
    return clipped;
}

// The whole text fits the label's box at the font it is drawn in.
bool fits(QLabel* l) { return QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->contentsRect().width(); }

bool laidOut(QWidget* w) {
    w->show();
    QApplication::processEvents();
    return QTest::qWaitForWindowExposed(w);
}

}  // namespace

class ScaleTest : public QObject {
    Q_OBJECT

    void expectNoneClipped(QWidget* w) {
        QVERIFY(w && laidOut(w));
        const QStringList clipped = clippedTexts(w);
        QVERIFY2(clipped.isEmpty(), qPrintable(w->objectName() + ": " + clipped.join("; ")));
    }

private slots:
    void init() { QVERIFY(qgetenv("QT_SCALE_FACTOR").toDouble() >= 1); }

    // The check finds a control too narrow for its text; every window passes it.
    void everyWindowInEveryLanguage() {
        QWidget window;
        (new QLabel("Tutte le modifiche SARANNO", &window))->setFixedWidth(60);
        QVERIFY(laidOut(&window));
        QCOMPARE(clippedTexts(&window).size(), 1);

        GuiRig rig("Px71");
        QVERIFY(rig.app->selectModel("Px71"));
        MainView& m = rig.app->ctx.main;
        m.FinQuota = "4294967295";
        rig.app->filter.show();
        rig.app->credit.aarelease();
        rig.app->credit.show();
        rig.app->positionTest.show();
        rig.app->serialDialog.Setta();
        for (const char* language : {"Italiano", "Inglese", "Francese"}) {
            rig.action(language)->trigger();
            rig.app->refreshAll();
            for (QWidget* w : std::initializer_list<QWidget*>{rig.app->mainform.get(), rig.app->serialWindow.get(),
                                                             rig.app->filterWindow.get(), rig.app->creditWindow.get(),
                                                             rig.app->positionTestWindow.get()})
                expectNoneClipped(w);
        }
        // The position is drawn smaller rather than cut off.
        m.FinQuotaFontSize = 48;  // the size of the single-turn models, as when model and device differ
        m.LblGiri = "524287";
        m.LblGiro = "8191";
        rig.app->refreshAll();
        for (const char* name : {"FinQuota", "LblGiri", "LblGiro"})
            QVERIFY2(fits(child<QLabel>(rig.app->mainform.get(), name)), name);
        m.FinQuota = "12";  // a short number takes the model's full size again
        rig.app->refreshAll();
        QCOMPARE(child<QLabel>(rig.app->mainform.get(), "FinQuota")->font().pointSize(), 48);

        QVERIFY(rig.app->selectModel("V820HX"));
        rig.fs.writeAll(WorkFilePath(), "1 100 250\r\n2 3000 3500\r\n");
        EditorWindow* e = rig.editor();
        for (const char* language : {"Italiano", "Inglese", "Francese"}) {
            rig.action(language)->trigger();
            rig.app->refreshAll();
            expectNoneClipped(e);
        }
        e->findChild<QAction*>("MenEnableGraphic")->trigger();
        expectNoneClipped(e->findChild<QWidget*>("Form2"));  // the pitch and output numbers
        e->findChild<QAction*>("MenuSettings")->trigger();
        expectNoneClipped(e->findChild<OriginDialogWidget*>("OriginDialog"));

        WaitView& wait = e->editor().st.wait;
        wait.visible = true;
        wait.caption = ".. Trasmitting .....";
        wait.label = "prog.txt  => Prog.  2";
        wait.text = "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19";
        wait.progress.begin(120, 0);
        wait.progress.step(60, 20000);
        rig.app->refreshAll();
        expectNoneClipped(e->findChild<ui::WaitFormWindow*>("WaitForm"));
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    ScaleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "scale_test.moc"
