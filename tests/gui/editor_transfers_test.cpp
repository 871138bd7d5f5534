// The editor's download, upload, origin dialog, backup and compare in the
// assembled program against the simulated encoder: what the device received,
// and the progress window that counts and tells the outcome without a click.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QWindow>

#include "device/editor_transfers.h"
#include "gui_fixture.h"
#include "origin/origin_dialog.h"
#include "ui/origin_dialog.h"
#include "ui/safety_window.h"
#include "ui/small_windows.h"

using namespace gyrel;
using namespace gyrel::test;

namespace {

void typeProgramNumber(EditorWindow* e, const char* number) {
    auto* text1 = child<QLineEdit>(e, "Text1");
    text1->selectAll();
    QTest::keyClicks(text1, number);
}

QString outcome(ui::WaitFormWindow* w) { return child<QLabel>(w, "Outcome")->text(); }

}  // namespace

class EditorTransfersTest : public QObject {
    Q_OBJECT

private slots:
    void aDownloadReachesTheNamedSlotAndEndsWithItsOutcome() {
        GuiRig rig;
        EditorWindow* e = rig.editor();
        QVERIFY(e);
        auto* box = child<QTextEdit>(e, "ProgBox");
        box->setFocus();
        QTest::keyClicks(box, "1 100 400");
        QTest::keyClick(box, Qt::Key_Return);  // the check passes: the download is offered
        typeProgramNumber(e, "2");
        auto* send = child<QPushButton>(e, "Command2");
        QVERIFY(send->isEnabled());
        send->click();
        rig.app->refreshAll();

        QVERIFY((rig.encoder->device().program(1) == sim::CamTable{{100, 1}, {400, 0}}));
        QVERIFY(rig.op.boxes.empty());
        // Newest entry first, one per acknowledged frame.
        const int frames = e->transfers()->dl.sender.framesTotal;
        const QStringList lines = child<QPlainTextEdit>(e, "Text2")->toPlainText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), frames);
        for (const QString& line : lines) QVERIFY2(line.contains("  ok     .("), qPrintable(line));

        auto* wait = child<ui::WaitFormWindow>(e, "WaitForm");
        QVERIFY(wait->isVisible());  // the outcome stays up without a click
        QCOMPARE(outcome(wait), QString("Sent"));
        auto* count = child<QProgressBar>(wait, "Count");
        QCOMPARE(count->format(), QString("%1 of %1 frames").arg(frames));
        QVERIFY(wait->close());  // an outcome on show never keeps the program from ending

        rig.encoder->device().faults().silent = true;
        send->click();
        rig.app->refreshAll();
        QVERIFY(wait->isVisible());
        QCOMPARE(outcome(wait), QString("Failed: the encoder does not answer"));
        QCOMPARE(count->value(), 0);
    }

    void anUploadCountsTheFramesReceivedAndEndsWithItsOutcome() {
        GuiRig rig("V820HX");
        QVERIFY(rig.app->selectModel("V820HX"));
        rig.encoder->device().setProgram(2, {{10, 1}, {20, 0}});
        EditorWindow* e = rig.editor();
        QVERIFY(e);
        typeProgramNumber(e, "3");
        child<QAction>(e, "Menuencoder")->trigger();
        rig.app->refreshAll();

        const std::string text = e->editor().st.ProgBox;
        const std::string number = "'Program # " + std::to_string(2 + rig.app->ctx.model.ProgramNumberOffset);
        QVERIFY2(text.find(number + "\r\n\r\n1\t10\t20\r\n") != std::string::npos, text.c_str());
        auto* wait = child<ui::WaitFormWindow>(e, "WaitForm");
        QVERIFY(wait->isVisible());
        QCOMPARE(outcome(wait), QString("Received"));
        // The header, one page of positions and one of masks.
        auto* count = child<QProgressBar>(wait, "Count");
        QVERIFY(!count->isHidden());
        QCOMPARE(count->format(), QString("3 of 3 frames"));
        QCOMPARE(e->transfers()->up.repliesRead, 3);
    }

    void theOriginReadShowsItsProgressAboveTheDialog() {
        GuiRig rig("V820HX");
        QVERIFY(rig.app->selectModel("V820HX"));
        EditorWindow* e = rig.editor();
        QVERIFY(e);
        child<QAction>(e, "MenuSettings")->trigger();
        auto* dialog = child<OriginDialogWidget>(e, "OriginDialog");
        QVERIFY(dialog->isVisible());
        // An origin box that takes no input does not look like a preset box that does.
        auto* origin = child<QLineEdit>(dialog, "TxtOrigin_1");
        auto* presetBox = child<QLineEdit>(dialog, "TxtPreset_1");
        QVERIFY(!origin->isEnabled() && presetBox->isEnabled());
        const auto ground = [](QLineEdit* b) { return b->grab().toImage().pixelColor(b->width() - 5, b->height() / 2); };
        QVERIFY(ground(origin) != ground(presetBox));

        dialog->activateWindow();  // the operator works in the dialog
        QApplication::setActiveWindow(dialog);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(dialog));
        child<QPushButton>(dialog, "PulsRx")->click();
        rig.app->refreshAll();
        auto* wait = child<ui::WaitFormWindow>(e, "WaitForm");
        QVERIFY(wait->isVisible());
        QCOMPARE(wait->starter(), static_cast<QWidget*>(dialog));
        QCOMPARE(wait->windowHandle()->transientParent(), dialog->windowHandle());
        QCOMPARE(outcome(wait), QString("Received"));
        QCOMPARE(child<QProgressBar>(wait, "Count")->value(), 16);
        QVERIFY(child<QPushButton>(wait, "Command1")->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!wait->isVisible(), ui::WaitFormWindow::kOutcomeMs + 2000);

        // A confirmed value that is typed over is confirmed no more.
        QVERIFY(e->transfers()->origin.rows[0].presetBack == kOriginConfirmed);
        QTest::keyClicks(child<QLineEdit>(dialog, "TxtPreset_0"), "7");
        QVERIFY(e->transfers()->origin.rows[0].presetBack == kOriginIdle);
    }

    void compareShowsOneColouredRowPerSlotAndSavesThem() {
        GuiRig rig("V820HX", {{"Tipo", "V820HX"}});
        EditorWindow* e = rig.editor();
        QVERIFY(e);
        auto* compare = child<QAction>(e, "MenuCompare");
        QVERIFY(compare->isEnabled());
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
        QCOMPARE(report->table->item(0, 2)->text(), QString("change point 1: file 500/0, device 400/0"));
        QCOMPARE(report->table->item(1, 1)->text(), QString("file missing"));
        QCOMPARE(report->table->item(0, 0)->background().color(), QColor(255, 204, 204));
        rig.op.saveChoice = folder + "/report.txt";
        report->saveButton->click();
        QVERIFY(rig.fs.readAll(folder + "/report.txt").rfind("1 differs change point 1: file 500/0, device 400/0\r\n2 missing ", 0) == 0);

        // A model without read-back offers the entries disabled.
        QVERIFY(rig.app->selectModel("NORM"));
        emit child<QMenu>(e, "MenuFile")->aboutToShow();
        for (const char* name : {"MenuCompare", "MenuBackup", "MenuVerifyAfterDownload"})
            QVERIFY2(!child<QAction>(e, name)->isEnabled(), name);
    }
};

QTEST_MAIN(EditorTransfersTest)
#include "editor_transfers_test.moc"
