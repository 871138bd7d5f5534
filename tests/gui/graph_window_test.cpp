// The graph window offscreen: shown from the editor's menu, drawn from the
// prepared program, redrawn from the pitch and scale entry.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QtTest>

#include "editor/editor_files.h"
#include "platform/qt/qt_clock.h"
#include "ui/editor_window.h"
#include "ui/graph_window.h"
#include "unit/app_test_doubles.h"
#include "unit/program_list_fakes.h"

using namespace gyrel;

class GraphWindowTest : public QObject {
    Q_OBJECT

    struct Rig {
        testing_doubles::TempHome temp;
        testing_doubles::PropertyPort port;
        QtClock clock;
        MemorySettingsStore store;
        StdFileSystem fs;
        listtest::ScriptedOperator op;
        Context ctx{Services{port, clock, store, fs, op}};
        Rig() {
            temp.create();
            ctx.LanguageCode = "EN";
        }
    };
    std::unique_ptr<Rig> rig;

    // Whether any pixel of a column, within a band of rows, is drawn in the trace colour.
    static bool inked(const QImage& img, int x, int y0, int y1) {
        for (int y = y0; y <= y1; ++y)
            if (img.pixelColor(x, y) == QColor(0, 0, 0)) return true;
        return false;
    }

private slots:
    void init() { rig = std::make_unique<Rig>(); }
    void cleanup() {
        delete currentEditor();
        rig.reset();
    }

    void menuShowsTheProgramAndThePitchEntryRedraws() {
        rig->fs.writeAll(WorkFilePath(), "1 100 250\r\n");
        EditorWindow* w = openEditor(rig->ctx, nullptr);
        auto* form2 = w->findChild<GraphWindow*>("Form2");
        QVERIFY(form2);
        QVERIFY(!form2->isVisible());
        w->findChild<QAction*>("MenEnableGraphic")->trigger();
        QTRY_VERIFY(form2->isVisible());
        QVERIFY(w->findChild<QAction*>("MenEnableGraphic")->isChecked());
        QCOMPARE(form2->windowTitle(), QString("Graph --- "));
        QCOMPARE(form2->size(), QSize(520, 381));  // 7800 x 5720 twips at scale 2
        QCOMPARE(form2->findChild<QLabel*>("Label2_7")->text(), QString("315"));
        QVERIFY(!form2->findChild<QLabel*>("Label2_8")->isVisible());
        QCOMPARE(form2->findChild<QLabel*>("Label1_15")->text(), QString("16"));

        // Output 1 is high between x = 500 and 800 twips (33..53 px), at y = 78 twips.
        QImage img = form2->grab().toImage();
        QVERIFY(inked(img, 40, 4, 6));
        QVERIFY(!inked(img, 60, 4, 6));
        QVERIFY(inked(img, 60, 17, 18));  // low again, on the baseline at 266 twips

        QTest::mouseClick(form2, Qt::LeftButton, {}, QPoint(200, 300));
        auto* frame = form2->findChild<QGroupBox*>("Frame1");
        QVERIFY(frame->isVisible());
        QCOMPARE(frame->title(), QString("Pitch       Scale"));
        auto* pitch = form2->findChild<QLineEdit*>("Text1_0");
        QCOMPARE(pitch->text(), QString("45"));
        QCOMPARE(pitch->selectedText(), QString("45"));
        QTest::keyClicks(pitch, "90");
        QTest::keyClick(pitch, Qt::Key_Return);
        QVERIFY(!frame->isVisible());
        QCOMPARE(rig->ctx.settings.GraphPitch, 90);
        QCOMPARE(form2->findChild<QLabel*>("Label2_3")->text(), QString("270"));
        QVERIFY(!form2->findChild<QLabel*>("Label2_4")->isVisible());
        img = form2->grab().toImage();
        QVERIFY(inked(img, 40, 4, 6));  // the same program, from the prepared table

        form2->close();
        QVERIFY(!w->findChild<QAction*>("MenEnableGraphic")->isChecked());
        QVERIFY(!w->editor().st.graphVisible);
    }
};

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
