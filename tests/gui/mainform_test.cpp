// The main window against the simulated encoder on simulated time; the serial
// settings window, the progress window, and the operator's message boxes, file
// dialogs and filters.
#include "gui_fixture.h"
#include "platform/working_folder.h"
#include "ui/qt_operator.h"
#include "ui/shape_widget.h"

using namespace gyrel;
using namespace gyrel::test;

namespace {

QString text(QWidget* w, const char* name) { return child<QLabel>(w, name)->text(); }

// Runs `during` at simulated time `at` while the monitor polls, then stops
// polling by clicking the toggle again. The click that starts polling returns
// only when polling ends, as the toggle's handler runs the polling loop.
void whilePolling(GuiRig& rig, double at, const std::function<void()>& during) {
    auto* check1 = child<QCheckBox>(rig.app->mainform.get(), "Check1");
    rig.clock.at(rig.clock.nowMs() + at, [&rig, check1, during] {
        rig.app->refreshAll();
        during();
        rig.app->refreshAll();
        clickOption(check1);
    });
    clickOption(check1);
    rig.app->refreshAll();
}

}  // namespace

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
        QCOMPARE(text(w, "FinQuota"), QString("offline"));
        QCOMPARE(text(w, "Label4"), QString("KRT71"));
        QVERIFY(child<QLabel>(w, "LblGiri")->isHidden());

        rig.action("MenuKMT71")->trigger();
        QCOMPARE(text(w, "Label4"), QString("KMT71"));
        QCOMPARE(w->windowTitle(), QString("GYREL Utility --  COM 1  -  115200"));
        QVERIFY(!child<QLabel>(w, "LblGiri")->isHidden());
        // Eight outputs: the upper indicators are dotted.
        QCOMPARE(child<ui::ShapeWidget>(w, "Shape1_8")->borderStyle(), BorderStyle::Dotted);
        QCOMPARE(child<ui::ShapeWidget>(w, "Shape1_7")->borderStyle(), BorderStyle::Solid);

        QCOMPARE(std::string(rig.encoder->device().model().code), std::string("KMT71"));

        // The language menu relabels; German shows English.
        const char* rows[][3] = {{"Tedesco", "Exit", "Settings"}, {"Francese", "Sortie", "Settings"},
                                 {"Italiano", "Esci", "Impostazioni"}};
        for (const auto& row : rows) {
            rig.action(row[0])->trigger();
            QCOMPARE(rig.action("Exit")->text(), QString(row[1]));
            QCOMPARE(child<QMenu>(w, "Settings")->title(), QString(row[2]));
        }
        QCOMPARE(rig.action("Filter")->text(), QString("&Filter"));  // items the texts do not name keep theirs

        rig.action("TestEncoder")->trigger();
        rig.app->refreshAll();
        ui::Form3Window* f = rig.app->positionTestWindow.get();
        auto* password = child<QLineEdit>(f, "TxtPassword");
        QVERIFY(child<QGroupBox>(f, "Frame1")->isHidden());
        QTest::keyClicks(password, "Tirn");
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(!child<QGroupBox>(f, "Frame1")->isHidden());
        // A new tolerance reaches the main window's setting at once.
        auto* primi = child<QLineEdit>(f, "TxtPrimi");
        primi->selectAll();
        QTest::keyClicks(primi, "50");
        QCOMPARE(rig.app->ctx.settings.Primi, std::string("50"));

        f->close();  // closing stops the test
        rig.app->refreshAll();
        QVERIFY(!rig.action("TestEncoder")->isChecked());

        const QString path = rig.dir.filePath("prog.txt");
        rig.fs.writeAll(path.toStdString(), "1 10 20\r\n");
        rig.app->ctx.settings.PercorsoTxt = path.toStdString();
        EditorWindow* e = rig.editor();
        auto* box = child<QTextEdit>(e, "ProgBox");
        box->setFocus();
        QTest::keyClicks(box, "2 30 40");
        rig.clock.at(rig.clock.nowMs() + 300, [&] { rig.action("Exit")->trigger(); });
        clickOption(child<QCheckBox>(w, "Check1"));  // returns once the loop has ended
        e->close();  // the window system closes the editor's window too
        QCOMPARE(rig.quits, 1);
        QCOMPARE(rig.op.boxes.size(), std::size_t(1));
        QVERIFY(rig.op.boxes[0].find("temporary saved") != std::string::npos);
        QVERIFY(!rig.app->link.PollingActive);
        QVERIFY(!rig.encoder->portOpen());
        rig.settings->sync();
        QSettings raw(rig.dir.filePath("gyrel.ini"), QSettings::IniFormat);
        QCOMPARE(raw.value("startup/Tipo").toString(), QString("KMT71"));
        QCOMPARE(raw.value("startup/Passo").toString(), QString("90"));  // read as "passo", written as "Passo"
    }

    // Polling shows live data; the serial settings opened meanwhile pause it, and
    // the title takes the new speed. Then a failed open shows its reason, and a
    // typed device path is taken.
    void onLineToggleShowsLiveDataAndTheSerialSettingsPauseItOrTakeATypedPath() {
        GuiRig rig("NORM", {}, true);
        ui::Mainform* w = rig.app->mainform.get();
        bool shown = false, pollingWhileOpen = true, dialogShown = false;
        whilePolling(rig, 1000, [&] {
            // Shown in tenths, as the device reported it one poll ago (the shaft turns
            // 450 positions a second, a poll takes well under 100 ms).
            const QString position = text(w, "FinQuota");
            QVERIFY2(QRegularExpression("^[0-9]+\\.[0-9]$").match(position).hasMatch(), qPrintable(position));
            const double behind = rig.encoder->device().positionAt(rig.clock.nowMs()) - position.toDouble() * 10;
            QVERIFY2(behind >= 0 && behind < 45, qPrintable(position));
            QCOMPARE(text(w, "FinProgr"), QString("1"));
            QCOMPARE(child<QCheckBox>(w, "Check1")->text(), QString(" Off line"));
            auto* bar = child<ui::ShapeWidget>(w, "Shape3_4");  // the fifth link-quality bar, green
            QVERIFY(!bar->isHidden());
            QCOMPARE(bar->fillColour(), QColor(0, 192, 0));
            int lit = 0;
            for (int i = 0; i < 16; ++i)
                lit += child<ui::ShapeWidget>(w, qPrintable(QString("Shape1_%1").arg(i)))->fillStyle() == FillStyle::Solid;
            QVERIFY(lit > 0);
            rig.clock.at(rig.clock.nowMs() + 100, [&] {
                rig.app->refreshAll();
                pollingWhileOpen = rig.app->link.PollingActive;
                dialogShown = rig.app->serialWindow->isVisible();
                clickOption(rig.app->serialWindow->option("Baud192"));
                QTest::mouseClick(child<QPushButton>(rig.app->serialWindow.get(), "OKButton"), Qt::LeftButton);
            });
            rig.action("Seriale")->trigger();  // returns when the dialog closes
            shown = true;
            QCOMPARE(w->windowTitle(), QString("GYREL Utility --  COM 1  -  19200"));
            QVERIFY(rig.app->link.PollingActive);  // the loop beneath the menu goes on
        });
        QVERIFY(shown && dialogShown && !pollingWhileOpen);
        QCOMPARE(rig.encoder->settings(), std::string("19200,N,8,1"));
        QCOMPARE(text(w, "FinQuota"), QString("offline"));  // stopped again
        QCOMPARE(child<QCheckBox>(w, "Check1")->text(), QString(" On line"));
        QVERIFY(!rig.encoder->portOpen());

        ui::SetSerialeWindow* serial = rig.app->serialWindow.get();
        rig.encoder->setBusy(true);
        rig.app->serialDialog.showForOpenFailure("Serial port /dev/ttyUSB0 is in use by another program");
        serial->refresh();
        QCOMPARE(text(serial, "LblFailure"), QString("Serial port /dev/ttyUSB0 is in use by another program"));
        auto* combo = child<QComboBox>(serial, "Combo1");
        QVERIFY(!combo->isHidden() && combo->isEditable());
        rig.encoder->setBusy(false);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), "/dev/pts/4");
        QTest::mouseClick(child<QPushButton>(serial, "OKButton"), Qt::LeftButton);
        QCOMPARE(rig.encoder->portName(), std::string("/dev/pts/4"));
        QVERIFY(rig.app->serialDialog.closedByOk());
    }

    void serialWindowShowsThePortsFoundAndTheCompactLayout() {
        GuiRig rig;
        SetSeriale& logic = rig.app->serialDialog;
        ui::SetSerialeWindow* w = rig.app->serialWindow.get();
        rig.encoder->setExistingPorts({1, 3});
        rig.encoder->setCommPort(3);
        logic.Default({9600, 115200});
        logic.Setta();
        w->refresh();
        QCOMPARE(child<QRadioButton>(w, "ComPort_1")->text(), QString("1"));
        QCOMPARE(child<QRadioButton>(w, "ComPort_2")->text(), QString("3"));
        QVERIFY(child<QRadioButton>(w, "ComPort_2")->isChecked());
        QVERIFY(child<QRadioButton>(w, "ComPort_3")->isHidden());
        QVERIFY(child<QGroupBox>(w, "FrameBaud")->isHidden());
        QTest::mouseClick(child<QPushButton>(w, "AdvButton"), Qt::LeftButton);
        QVERIFY(!child<QGroupBox>(w, "FrameBaud")->isHidden());

        // OK applies the choices.
        clickOption(w->option("EvenParity"));
        clickOption(w->option("Data7"));
        clickOption(child<QRadioButton>(w, "ComPort_1"));
        QTest::mouseClick(child<QPushButton>(w, "OKButton"), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(rig.encoder->settings(), std::string("9600,E,7,1"));
        QCOMPARE(rig.encoder->commPort(), 1);

        // Escape and the close box cancel.
        logic.Setta();
        w->refresh();
        clickOption(child<QRadioButton>(w, "ComPort_2"));
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(rig.encoder->commPort(), 1);
        logic.Setta();
        w->refresh();
        w->close();
        QVERIFY(!logic.view().visible);
    }

    // The operator's boxes speak the language over the window in use; its file
    // dialogs offer both cases of a pattern and start in the file's folder, else
    // in the working folder.
    void theOperatorsBoxesAndFileDialogs() {
        QWidget main;
        main.show();
        QWidget editor;
        editor.show();
        editor.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        QtOperator op(&main);
        op.setLanguage([] { return std::string("IT"); });
        QStringList buttons;
        QWidget* parent = nullptr;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            parent = box->parentWidget();
            for (QAbstractButton* b : box->buttons()) buttons << b->text();
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(op.messageBox("Continuare?", MsgButtons::YesNo, MsgIcon::Question, "gyrel"), AnswerNo);
        buttons.sort();
        QCOMPARE(buttons, QStringList({"&No", "&Sì"}));
        QCOMPARE(parent, &editor);

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
