// The editor's backup, restore and compare entries and the compare report window.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "gui_fixture.h"
#include "ui/editor_window.h"
#include "ui/mainform.h"
#include "ui/safety_window.h"

using namespace gyrel;
using gyrel::test::GuiRig;

class SafetyWindowTest : public QObject {
    Q_OBJECT

private slots:
    void compareShowsOneColouredRowPerSlotAndSavesThem() {
        GuiRig rig("V820HX", {{"Tipo", "V820HX"}});
        rig.app->mainform->action("Inglese")->trigger();
        rig.app->mainform->action("Communications")->trigger();
        EditorWindow* e = currentEditor();
        QVERIFY(e);
        auto* compare = e->findChild<QAction*>("MenuCompare");
        QVERIFY(compare && compare->isEnabled());
        QCOMPARE(compare->text(), QString("Compare device with list…"));

        rig.encoder->device().setProgram(0, {{100, 1}, {400, 0}});
        const std::string folder = rig.dir.path().toStdString();
        rig.fs.writeAll(folder + "/p1.820", "1\t100\t500\r\n");
        rig.fs.writeAll(folder + "/l.lis", "1   (p1.820)\r\n2   (gone.820)\r\n");
        rig.op.openChoice = folder + "/l.lis";
        compare->trigger();

        ui::CompareReportWindow* report = rig.app->safety->report();
        QVERIFY(report->isVisible());
        QCOMPARE(report->table->item(0, 1)->text(), QString("differs"));
        QCOMPARE(report->table->item(0, 2)->text(), QString("change point 1: file 500/0, device 400/0"));
        QCOMPARE(report->table->item(1, 1)->text(), QString("file missing"));
        QCOMPARE(report->table->item(2, 1)->text(), QString("not listed"));
        QCOMPARE(report->table->item(0, 0)->background().color(), QColor(255, 204, 204));
        QCOMPARE(report->table->item(2, 0)->background().color(), QColor(255, 255, 255));

        rig.op.saveChoice = folder + "/report.txt";
        report->saveButton->click();
        const std::string saved = rig.fs.readAll(folder + "/report.txt");
        QVERIFY(saved.rfind("1 differs change point 1: file 500/0, device 400/0\r\n2 missing ", 0) == 0);

        // A model without read-back offers the entries disabled.
        QVERIFY(rig.app->selectModel("NORM"));
        emit e->findChild<QMenu*>("MenuFile")->aboutToShow();
        QVERIFY(!compare->isEnabled());
        QVERIFY(!e->findChild<QAction*>("MenuBackup")->isEnabled());
        QVERIFY(!e->findChild<QAction*>("MenuVerifyAfterDownload")->isEnabled());
    }
};

QTEST_MAIN(SafetyWindowTest)
#include "safety_window_test.moc"
