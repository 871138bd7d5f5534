// The editor window offscreen: typing, Enter, the error message and the selected
// token, the re-armed check; the graph drawn from the prepared program; the
// multiple-files panel.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

#include "editor/editor_files.h"
#include "editor/multi_files.h"
#include "gui_fixture.h"
#include "platform/qt/qt_clock.h"
#include "ui/graph_window.h"
#include "ui/multi_panel.h"
#include "unit/app_test_doubles.h"
#include "unit/program_list_fakes.h"

using namespace gyrel;
using gyrel::test::child;

class EditorWindowTest : public QObject {
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
        delete currentEditor();  // a failed check leaves its window open
        rig.reset();
    }

    void wrongLineIsReportedAndItsTokenSelected() {
        EditorWindow* w = openEditor(rig->ctx, nullptr);
        auto* box = child<QTextEdit>(w, "ProgBox");
        QTRY_COMPARE(w->editor().st.ResizeSeen, 1);
        box->setFocus();
        QTest::keyClicks(box, "1 100 4000");
        QCOMPARE(child<QGroupBox>(w, "Frame1")->title(), QString("--(Modif.)"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(rig->op.shown.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(rig->op.shown[0].title), QString("Wrong value"));
        QCOMPARE(QString::fromStdString(rig->op.shown[0].prompt), QString("Not valid  ' 4000 '"));
        QCOMPARE(box->textCursor().selectedText(), QString("4000"));
        QCOMPARE(rig->fs.readAll(WorkFilePath()), std::string("1 100 4000\r\n"));

        QTest::keyClicks(box, "400");  // types over the selected token
        QTest::keyClick(box, Qt::Key_Return);  // the first Enter only re-arms
        QVERIFY(w->editor().st.CheckArmed);
        QTest::keyClick(box, Qt::Key_Return);  // the second checks, and passes
        QCOMPARE(rig->op.shown.size(), std::size_t(1));
        QVERIFY(w->editor().st.ParseOk);
        QCOMPARE(rig->fs.readAll(WorkFilePath()), std::string("1 100 400\r\n\r\n\r\n"));
    }

    void accentedProgramIsShownAndKeptByteForByte() {
        const std::string text = "' prova \xE8 \x92x\x92\r\n1 10 20\r\n";
        rig->fs.writeAll(WorkFilePath(), text);
        EditorWindow* w = openEditor(rig->ctx, nullptr);
        auto* box = child<QTextEdit>(w, "ProgBox");
        QCOMPARE(box->toPlainText(), QString::fromUtf8("' prova è ’x’\n1 10 20\n"));
        QTest::keyClick(box, Qt::Key_End);
        QCOMPARE(w->editor().st.ProgBox, text);
    }

    void theGraphShowsTheProgramAndThePitchEntryRedraws() {
        rig->fs.writeAll(WorkFilePath(), "1 100 250\r\n");
        EditorWindow* w = openEditor(rig->ctx, nullptr);
        auto* form2 = child<GraphWindow>(w, "Form2");
        child<QAction>(w, "MenEnableGraphic")->trigger();
        QTRY_VERIFY(form2->isVisible());
        QCOMPARE(form2->size(), QSize(520, 381));  // 7800 x 5720 twips at scale 2
        QCOMPARE(child<QLabel>(form2, "Label2_7")->text(), QString("315"));
        // Output 1 is high between x = 500 and 800 twips (33..53 px), at y = 78 twips.
        QImage img = form2->grab().toImage();
        QVERIFY(inked(img, 40, 4, 6));
        QVERIFY(!inked(img, 60, 4, 6));
        QVERIFY(inked(img, 60, 17, 18));  // low again, on the baseline at 266 twips

        QTest::mouseClick(form2, Qt::LeftButton, {}, QPoint(200, 300));
        auto* pitch = child<QLineEdit>(form2, "Text1_0");
        QCOMPARE(pitch->selectedText(), QString("45"));
        QTest::keyClicks(pitch, "90");
        QTest::keyClick(pitch, Qt::Key_Return);
        QCOMPARE(rig->ctx.settings.GraphPitch, 90);
        QCOMPARE(child<QLabel>(form2, "Label2_3")->text(), QString("270"));
        QVERIFY(inked(form2->grab().toImage(), 40, 4, 6));  // the same program, from the prepared table

        form2->close();
        QVERIFY(!child<QAction>(w, "MenEnableGraphic")->isChecked());
    }

    void multipleFilesPanelMarksAMissingFileAndLoadsAClickedOne() {
        EditorWindow* w = openEditor(rig->ctx, nullptr);
        child<QCheckBox>(w, "SelezMulti")->click();
        QVERIFY(child<QWidget>(w, "Frame3")->isVisible() && !child<QWidget>(w, "Frame2")->isVisible());
        delete w;

        qputenv("GYREL_HOME", "H:\\gyrel");  // held in memory only
        listtest::MemoryFs fs;
        listtest::ScriptedOperator op;
        listtest::NoPort port;
        VirtualClock clock;
        MemorySettingsStore settings;
        Context ctx{Services{port, clock, settings, fs, op}};
        ctx.applyLanguage("EN");
        EditorState ed;
        MultiFiles mf(ctx, ed);
        mf.ConfiguraLista();
        fs.files["c:\\one.txt"] = "1\t1\t2\r\n";
        mf.panel.MultiPath[0] = "c:\\one.txt";
        mf.panel.MultiPath[15] = "c:\\gone.txt";
        MultiPanelWidget panel(mf, ctx);
        panel.render();
        panel.show();
        auto* last = child<QLineEdit>(&panel, "MultiPath_15");
        auto* first = child<QLineEdit>(&panel, "MultiPath_0");
        QTest::keyClick(last, Qt::Key_Return);
        QCOMPARE(mf.panel.MultiPathBack[15], kSlotMissing);
        QCOMPARE(QString::fromStdString(op.shown.at(0).prompt), QString("File not present"));
        QVERIFY(last->styleSheet().contains("rgb(255, 128, 128)"));
        QTest::mouseClick(first, Qt::LeftButton);
        QCOMPARE(ed.ProgramFilePath, std::string("c:\\one.txt"));
        QCOMPARE(ed.ProgBox, std::string("1\t1\t2\r\n"));
    }
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
