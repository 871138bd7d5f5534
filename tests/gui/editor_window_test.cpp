// The editor window in the assembled program against the simulated encoder:
// typing and the check, the graph, the multiple-files panel; the download, the
// origin dialog and compare with what the device received, and the progress
// window that counts and tells the outcome without a click.
#include "gui_fixture.h"
#include "origin/origin_dialog.h"
#include "ui/graph_window.h"
#include "ui/origin_dialog.h"
#include "ui/safety_window.h"

using namespace gyrel;
using namespace gyrel::test;

namespace {

// Whether any pixel of a column, within a band of rows, is drawn in the trace colour.
bool inked(const QImage& img, int x, int y0, int y1) {
    for (int y = y0; y <= y1; ++y)
        if (img.pixelColor(x, y) == QColor(0, 0, 0)) return true;
    return false;
}

}  // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT

private slots:
    // An accented program is shown in the box and kept byte for byte; the graph draws
    // it and redraws at a new pitch. Emptied, a wrong value is selected; corrected, the
    // download reaches the named slot and ends with its outcome. A failed data control
    // leaves the caret where the operator types. Then the multiple-files panel.
    void anAccentedProgramItsGraphTheDownloadAndTheMultipleFilesPanel() {
        GuiRig rig;
        const std::string text = "' prova \xE8 \x92x\x92\r\n1 100 250\r\n";
        rig.fs.writeAll(WorkFilePath(), text);
        EditorWindow* e = rig.editor();
        auto* box = child<QTextEdit>(e, "ProgBox");
        QCOMPARE(box->toPlainText(), QString::fromUtf8("' prova è ’x’\n1 100 250\n"));
        QTest::keyClick(box, Qt::Key_End);
        QCOMPARE(e->editor().st.ProgBox, text);

        child<QAction>(e, "MenEnableGraphic")->trigger();
        auto* form2 = child<GraphWindow>(e, "Form2");
        QTRY_VERIFY(form2->isVisible());
        // Output 1 is high between x = 500 and 800 twips (33..53 px), at y = 78 twips.
        // Low again after it, on the baseline at 266 twips (17..18 px).
        const QImage img = form2->grab().toImage();
        QVERIFY(inked(img, 40, 4, 6) && !inked(img, 60, 4, 6) && inked(img, 60, 17, 18));
        QTest::mouseClick(form2, Qt::LeftButton, {}, QPoint(200, 300));
        auto* pitch = child<QLineEdit>(form2, "Text1_0");
        QCOMPARE(pitch->selectedText(), QString("45"));
        QTest::keyClicks(pitch, "90");
        QTest::keyClick(pitch, Qt::Key_Return);
        QCOMPARE(rig.app->ctx.settings.GraphPitch, 90);
        QCOMPARE(label(form2, "Label2_3"), QString("270"));
        QVERIFY(inked(form2->grab().toImage(), 40, 4, 6));  // the same program, from the prepared table
        form2->close();
        QVERIFY(!child<QAction>(e, "MenEnableGraphic")->isChecked());

        // Emptied, the box types in the program style, not in that of the comment it began with.
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, "1 100 4000");
        const QTextCharFormat f = box->document()->firstBlock().begin().fragment().charFormat();
        QCOMPARE(f.foreground().color(), QColor(0, 0, 0));
        QCOMPARE(f.fontPointSize(), double(rig.app->ctx.model.info().programFontSize));
        QCOMPARE(child<QGroupBox>(e, "Frame1")->title(), QString("--(Modif.)"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(rig.op.boxes, std::vector<std::string>{"Wrong value|Not valid  ' 4000 '"});
        QCOMPARE(box->textCursor().selectedText(), QString("4000"));
        QCOMPARE(rig.fs.readAll(WorkFilePath()), std::string("1 100 4000\r\n"));
        QTest::keyClicks(box, "400\r");  // types over the selected token; the first Enter only re-arms
        QVERIFY(e->editor().st.CheckArmed);
        QTest::keyClick(box, Qt::Key_Return);  // the second checks, and passes
        QCOMPARE(rig.op.boxes.size(), std::size_t(1));
        QVERIFY(e->editor().st.ParseOk);
        QCOMPARE(rig.fs.readAll(WorkFilePath()), std::string("1 100 400\r\n\r\n\r\n"));

        child<QLineEdit>(e, "Text1")->selectAll();
        QTest::keyClicks(child<QLineEdit>(e, "Text1"), "2");  // the program number
        auto* send = child<QPushButton>(e, "Command2");
        send->click();
        rig.app->refreshAll();
        QVERIFY((rig.encoder->device().program(1) == sim::CamTable{{100, 1}, {400, 0}}));
        QCOMPARE(rig.op.boxes.size(), std::size_t(1));
        // Newest entry first, one per acknowledged frame.
        const int frames = e->transfers()->dl.sender.framesTotal;
        const QString log = child<QPlainTextEdit>(e, "Text2")->toPlainText();
        QCOMPARE(log.split('\n', Qt::SkipEmptyParts).size(), frames);
        QCOMPARE(log.count("  ok     .("), frames);
        auto* wait = child<ui::WaitFormWindow>(e, "WaitForm");
        QVERIFY(wait->isVisible());  // the outcome stays up without a click, with the slot it went to
        auto* count = child<QProgressBar>(wait, "Count");
        QCOMPARE(label(wait, "Outcome") + "|" + label(wait, "Label1") + "|" + count->format(),
                 QString("Sent|  => Prog.  2|%1 of %1 frames").arg(frames));
        QVERIFY(wait->close());  // an outcome on show never keeps the program from ending
        rig.encoder->device().faults().silent = true;
        send->click();
        rig.app->refreshAll();
        QVERIFY(wait->isVisible());
        QCOMPARE(label(wait, "Outcome") + "|" + QString::number(count->value()),
                 QString("Failed: the encoder does not answer|0"));
        QCOMPARE(rig.op.boxes.back(), std::string("Trasmission  Prog.2|Transmission error"));
        for (const bool byButton : {true, false}) {  // the Cancel button, or the window's close box
            rig.clock.after(300, [&] {
                rig.app->refreshAll();
                if (byButton) press(wait, "Command1");
                else wait->close();
            });
            send->click();
            rig.app->refreshAll();
            QCOMPARE(label(wait, "Outcome"), QString("Cancelled"));
        }
        QCOMPARE(rig.op.boxes.size(), std::size_t(2));  // a cancel is no error

        box->setFocus();
        QTest::keyClicks(box, "1 150 250");  // overlaps the first row
        const int caret = box->textCursor().position();
        e->editor().ButtVerificaPrg();  // the verify button: the check with its data control
        e->render();
        QCOMPARE(rig.op.boxes.size(), std::size_t(3));
        QVERIFY(!box->textCursor().hasSelection() && box->textCursor().position() == caret);
        QTest::keyClicks(box, "0");  // the key lands where the operator looks
        QCOMPARE(box->toPlainText(), QString("1 100 400\n\n1 150 2500\n"));

        // The panel marks a missing file and loads a clicked one. A slot box that has
        // the focus while the program ends checks nothing: the editor behind it is gone.
        child<QCheckBox>(e, "SelezMulti")->click();
        QVERIFY(child<QWidget>(e, "Frame3")->isVisible() && !child<QWidget>(e, "Frame2")->isVisible());
        const std::string one = rig.dir.filePath("one.txt").toStdString();
        rig.fs.writeAll(one, "' uno\r\n1\t1\t2\r\n");
        e->editor().multi.panel.MultiPath[0] = one;
        e->editor().multi.panel.MultiPath[15] = rig.dir.filePath("gone.txt").toStdString();
        e->render();
        auto* last = child<QLineEdit>(e, "MultiPath_15");
        QTest::keyClick(last, Qt::Key_Return);
        QCOMPARE(e->editor().multi.panel.MultiPathBack[15], kSlotMissing);
        QCOMPARE(rig.op.boxes.back(), std::string("|File not present"));
        QVERIFY(last->styleSheet().contains("rgb(255, 128, 128)"));
        QTest::mouseClick(child<QLineEdit>(e, "MultiPath_0"), Qt::LeftButton);
        QCOMPARE(e->editor().st.ProgramFilePath, one);
        QCOMPARE(e->editor().st.ProgBox, std::string("' uno\r\n1\t1\t2\r\n"));

        e->activateWindow();
        last->setFocus();
        QVERIFY(QTest::qWaitFor([last] { return last->hasFocus(); }));
        rig.app.reset();
        QCOMPARE(rig.op.boxes.size(), std::size_t(4));
    }

    // The origin read shows its progress above the dialog; compare shows one
    // coloured row per slot and saves them.
    void theOriginReadShowsItsProgressAboveTheDialogAndCompareColoursEachSlot() {
        GuiRig rig("V820HX", {{"Tipo", "V820HX"}});
        EditorWindow* e = rig.editor();
        child<QAction>(e, "MenuSettings")->trigger();
        auto* dialog = child<OriginDialogWidget>(e, "OriginDialog");
        // The origin boxes take no input, the preset boxes do.
        QVERIFY(!child(dialog, "TxtOrigin_1")->isEnabled() && child(dialog, "TxtPreset_1")->isEnabled());

        dialog->activateWindow();  // the operator works in the dialog
        QApplication::setActiveWindow(dialog);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(dialog));
        child<QPushButton>(dialog, "PulsRx")->click();
        rig.app->refreshAll();
        auto* wait = child<ui::WaitFormWindow>(e, "WaitForm");
        QVERIFY(wait->isVisible() && wait->starter() == dialog);
        QCOMPARE(wait->windowHandle()->transientParent(), dialog->windowHandle());
        QCOMPARE(label(wait, "Outcome") + "|" + QString::number(child<QProgressBar>(wait, "Count")->value()),
                 QString("Received|16"));
        QVERIFY(child<QPushButton>(wait, "Command1")->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!wait->isVisible(), ui::WaitFormWindow::kOutcomeMs + 2000);

        // A confirmed value that is typed over is confirmed no more.
        QVERIFY(e->transfers()->origin.rows[0].presetBack == kOriginConfirmed);
        QTest::keyClicks(child<QLineEdit>(dialog, "TxtPreset_0"), "7");
        QVERIFY(e->transfers()->origin.rows[0].presetBack == kOriginIdle);

        auto* compare = child<QAction>(e, "MenuCompare");  // enabled: a model with read-back
        rig.encoder->device().setProgram(0, {{100, 1}, {400, 0}});
        const std::string folder = rig.dir.path().toStdString();
        rig.fs.writeAll(folder + "/p1.820", "1\t100\t500\r\n");
        rig.fs.writeAll(folder + "/l.lis", "1   (p1.820)\r\n2   (gone.820)\r\n");
        rig.op.openChoice = folder + "/l.lis";
        compare->trigger();
        QCOMPARE(rig.app->safety->progress()->count->maximum(), 16);
        ui::CompareReportWindow* report = rig.app->safety->report();
        QVERIFY(report->isVisible());
        QCOMPARE(report->table->item(0, 1)->text(), QString("differs"));
        QCOMPARE(report->table->item(1, 1)->text(), QString("file missing"));
        QCOMPARE(report->table->item(0, 0)->background().color(), QColor(255, 204, 204));
        rig.op.saveChoice = folder + "/report.txt";
        report->saveButton->click();
        const std::string saved = rig.fs.readAll(folder + "/report.txt");
        QVERIFY(saved.rfind("1 differs change point 1: file 500/0, device 400/0\r\n2 missing ", 0) == 0);

        // A model without read-back offers the entries disabled.
        QVERIFY(rig.app->selectModel("NORM"));
        emit child<QMenu>(e, "MenuFile")->aboutToShow();
        for (const char* name : {"MenuCompare", "MenuBackup", "MenuVerifyAfterDownload"})
            QVERIFY2(!child<QAction>(e, name)->isEnabled(), name);
    }
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
