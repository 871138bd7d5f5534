// The main window against the simulated encoder on simulated time; the serial
// settings window, the progress window, and the operator's message boxes, file
// dialogs and filters.
#include "gui_fixture.h"
#include "platform/working_folder.h"
#include "ui/qt_operator.h"
#include "ui/shape_widget.h"

using namespace gyrel;
using namespace gyrel::test;

class MainformTest : public QObject {
    Q_OBJECT

private slots:
    // Starts off line; the model and language menus change the window, the position
    // test opens locked. Exit while polling with a modified program open: the loop
    // ends, one notice, the settings are written and the program ends.
    void fromTheStartThroughTheMenusToAnExitWhilePolling() {
        GuiRig rig("NORM", {{"passo", "90"}});
        ui::Mainform* w = rig.app->mainform.get();
        QVERIFY(!rig.app->creditWindow->isVisible());  // the splash is gone
        QCOMPARE(label(w, "FinQuota") + "|" + label(w, "Label4"), QString("offline|KRT71"));
        QVERIFY(child(w, "LblGiri")->isHidden());

        rig.action("MenuKMT71")->trigger();  // the simulated encoder follows the model
        QCOMPARE(label(w, "Label4") + "|" + rig.encoder->device().model().code, QString("KMT71|KMT71"));
        QVERIFY(!child(w, "LblGiri")->isHidden());
        // Eight outputs: the upper indicators are dotted.
        QCOMPARE(child<ui::ShapeWidget>(w, "Shape1_8")->borderStyle(), BorderStyle::Dotted);
        QCOMPARE(child<ui::ShapeWidget>(w, "Shape1_7")->borderStyle(), BorderStyle::Solid);

        // The language menu relabels; German shows English.
        const char* rows[][2] = {{"Tedesco", "Exit|Settings"}, {"Francese", "Sortie|Settings"},
                                 {"Italiano", "Esci|Impostazioni"}};
        for (const auto& row : rows) {
            rig.action(row[0])->trigger();
            QCOMPARE(rig.action("Exit")->text() + "|" + child<QMenu>(w, "Settings")->title(), QString(row[1]));
        }
        QCOMPARE(rig.action("Filter")->text(), QString("&Filter"));  // items the texts do not name keep theirs

        rig.action("TestEncoder")->trigger();
        rig.app->refreshAll();
        ui::Form3Window* f = rig.app->positionTestWindow.get();
        QVERIFY(child(f, "Frame1")->isHidden());
        QTest::keyClicks(child(f, "TxtPassword"), "Tirn\r");
        QVERIFY(!child(f, "Frame1")->isHidden());
        // A new tolerance reaches the main window's setting at once.
        auto* primi = child<QLineEdit>(f, "TxtPrimi");
        primi->selectAll();
        QTest::keyClicks(primi, "50");
        QCOMPARE(rig.app->ctx.settings.Primi, std::string("50"));

        f->close();  // closing stops the test
        rig.app->refreshAll();
        QVERIFY(!rig.action("TestEncoder")->isChecked());

        rig.app->ctx.settings.PercorsoTxt = rig.dir.filePath("prog.txt").toStdString();
        rig.fs.writeAll(rig.app->ctx.settings.PercorsoTxt, "1 10 20\r\n");
        EditorWindow* e = rig.editor("2 30 40");
        rig.clock.at(rig.clock.nowMs() + 300, [&] { rig.action("Exit")->trigger(); });
        clickOption(child<QCheckBox>(w, "Check1"));  // returns once the loop has ended
        e->close();  // the window system closes the editor's window too
        QCOMPARE(rig.quits, 1);
        QVERIFY(rig.op.boxes.size() == 1 && rig.op.boxes[0].find("temporary saved") != std::string::npos);
        QVERIFY(!rig.app->link.PollingActive && !rig.encoder->portOpen());
        rig.settings->sync();
        QSettings raw(rig.dir.filePath("gyrel.ini"), QSettings::IniFormat);
        // "Passo" was read as "passo" and is written as "Passo".
        QCOMPARE(raw.value("startup/Tipo").toString() + "|" + raw.value("startup/Passo").toString(),
                 QString("KMT71|90"));
    }

    // Polling shows live data; the serial settings opened meanwhile pause it, and
    // the title takes the new speed. Then a failed open shows its reason, and a
    // typed device path is taken; the ports found are offered by number.
    void onLineToggleShowsLiveDataAndTheSerialSettingsPauseItOrTakeATypedPath() {
        GuiRig rig("NORM", {}, true);
        ui::Mainform* w = rig.app->mainform.get();
        auto* check1 = child<QCheckBox>(w, "Check1");
        bool shown = false, pollingWhileOpen = true, dialogShown = false;
        const double start = rig.clock.nowMs();
        rig.clock.at(start + 2000, [check1] { clickOption(check1); });  // off line again
        rig.clock.at(start + 1000, [&] {
            rig.app->refreshAll();
            // Shown in tenths, as the device reported it one poll ago (the shaft turns
            // 450 positions a second, a poll takes well under 100 ms).
            const QString position = label(w, "FinQuota");
            QVERIFY2(QRegularExpression("^[0-9]+\\.[0-9]$").match(position).hasMatch(), qPrintable(position));
            const double behind = rig.encoder->device().positionAt(rig.clock.nowMs()) - position.toDouble() * 10;
            QVERIFY2(behind >= 0 && behind < 45, qPrintable(position));
            QCOMPARE(label(w, "FinProgr") + "|" + check1->text(), QString("1| Off line"));
            auto* bar = child<ui::ShapeWidget>(w, "Shape3_4");  // the fifth link-quality bar, green
            QVERIFY(!bar->isHidden() && bar->fillColour() == QColor(0, 192, 0));
            const auto outputs = w->findChildren<ui::ShapeWidget*>(QRegularExpression("^Shape1_"));
            const auto lit = [](ui::ShapeWidget* s) { return s->fillStyle() == FillStyle::Solid; };
            QVERIFY(std::any_of(outputs.begin(), outputs.end(), lit));
            rig.clock.at(rig.clock.nowMs() + 100, [&] {
                rig.app->refreshAll();
                pollingWhileOpen = rig.app->link.PollingActive;
                dialogShown = rig.app->serialWindow->isVisible();
                clickOption(rig.app->serialWindow->option("Baud192"));
                press(rig.app->serialWindow.get(), "OKButton");
            });
            rig.action("Seriale")->trigger();  // returns when the dialog closes
            shown = true;
            QCOMPARE(w->windowTitle(), QString("GYREL Utility --  COM 1  -  19200"));
            QVERIFY(rig.app->link.PollingActive);  // the loop beneath the menu goes on
        });
        clickOption(check1);  // returns when polling ends: the toggle's handler runs the polling loop
        rig.app->refreshAll();
        QVERIFY(shown && dialogShown && !pollingWhileOpen);
        QCOMPARE(rig.encoder->settings(), std::string("19200,N,8,1"));
        QCOMPARE(label(w, "FinQuota") + "|" + check1->text(), QString("offline| On line"));
        QVERIFY(!rig.encoder->portOpen());

        ui::SetSerialeWindow* serial = rig.app->serialWindow.get();
        rig.encoder->setBusy(true);
        rig.app->serialDialog.showForOpenFailure("Serial port /dev/ttyUSB0 is in use by another program");
        serial->refresh();
        QCOMPARE(label(serial, "LblFailure"), QString("Serial port /dev/ttyUSB0 is in use by another program"));
        auto* combo = child<QComboBox>(serial, "Combo1");
        QVERIFY(!combo->isHidden() && combo->isEditable());
        rig.encoder->setBusy(false);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), "/dev/pts/4");
        press(serial, "OKButton");
        QCOMPARE(rig.encoder->portName(), std::string("/dev/pts/4"));
        QVERIFY(rig.app->serialDialog.closedByOk());

        // The numbered ports found; OK applies the choices, Escape and the close box cancel.
        SetSeriale& logic = rig.app->serialDialog;
        const auto open = [&] {
            logic.Setta();
            serial->refresh();
        };
        rig.encoder->setPortName("");
        rig.encoder->setExistingPorts({1, 3});
        rig.encoder->setCommPort(3);
        logic.Default({9600, 115200});
        open();
        const auto port = [serial](int i) {
            return child<QRadioButton>(serial, qPrintable("ComPort_" + QString::number(i)));
        };
        QCOMPARE(port(1)->text() + "|" + port(2)->text(), QString("1|3"));
        QVERIFY(port(2)->isChecked() && port(3)->isHidden());
        clickOption(serial->option("EvenParity"));
        clickOption(serial->option("Data7"));
        clickOption(port(1));
        press(serial, "OKButton");
        QVERIFY(!serial->isVisible());
        QCOMPARE(rig.encoder->settings(), std::string("19200,E,7,1"));
        QCOMPARE(rig.encoder->commPort(), 1);
        for (const bool escape : {true, false}) {
            open();
            clickOption(port(2));
            escape ? QTest::keyClick(serial, Qt::Key_Escape) : void(serial->close());
            QVERIFY(!serial->isVisible() && !logic.view().visible);
            QCOMPARE(rig.encoder->commPort(), 1);
        }
    }

    // The operator's boxes speak the program's language; its file dialogs offer
    // both cases of a pattern and start in the file's folder, else in the working folder.
    void theOperatorsBoxesAndFileDialogs() {
        QWidget main;
        main.show();
        QtOperator op(&main);
        op.setLanguage([] { return std::string("IT"); });
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            for (QAbstractButton* b : box->buttons()) buttons << b->text();
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(op.messageBox("Continuare?", MsgButtons::YesNo, MsgIcon::Question, "gyrel"), AnswerNo);
        buttons.sort();
        QCOMPARE(buttons, QStringList({"&No", "&Sì"}));

        QCOMPARE(qtFileFilter("Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*"),
                 QString("Text Files (*.TXT *.txt);;All Files (*)"));
        QCOMPARE(qtFileFilter("List (*.lis)|*.lis"), QString("List (*.lis *.LIS)"));
        QCOMPARE(qtFileFilter("Programs|*.KVX;*.820"), QString("Programs (*.KVX *.kvx *.820)"));
        QTemporaryDir dir;
        qputenv("GYREL_HOME", dir.filePath("home").toLocal8Bit());
        const QString home = QString::fromStdString(workingFolder());
        QCOMPARE(dialogStartPath(""), home);
        QCOMPARE(dialogStartPath(dir.filePath("p.txt").toStdString()), dir.filePath("p.txt"));
        QCOMPARE(dialogStartPath("/no/such/folder/p.txt"), QDir(home).filePath("p.txt"));
        QCOMPARE(dialogStartPath("p.txt"), QDir(home).filePath("p.txt"));
        qunsetenv("GYREL_HOME");
    }
};

QTEST_MAIN(MainformTest)
#include "mainform_test.moc"
