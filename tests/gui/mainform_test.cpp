// The main window against the simulated encoder on simulated time; the serial
// settings window, the progress window and the operator's file filters.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include "dialogs/wait_form.h"
#include "gui_fixture.h"
#include "platform/memory_settings_store.h"
#include "sim/device.h"
#include "sim/inprocess_port.h"
#include "ui/qt_operator.h"
#include "ui/set_seriale_window.h"
#include "ui/shape_widget.h"
#include "ui/small_windows.h"

using namespace gyrel;
using namespace gyrel::test;

namespace {

struct SerialRig {
    VirtualClock clock;
    sim::Device device{"NORM"};
    sim::InProcessPort port{device, clock};
    ScriptedOperator op;
    SetSeriale logic{port, clock, op};
    std::unique_ptr<ui::SetSerialeWindow> window;
    explicit SerialRig(bool typedPaths = false) {
        logic.typedPathsAllowed = typedPaths;
        window = std::make_unique<ui::SetSerialeWindow>(logic);
    }
};

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
    void startsOfflineThenTheModelMenuChangesNameSpeedAndDisplays() {
        GuiRig rig;
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

        rig.action("MenuV820AX")->trigger();
        // The 31 marks cut the bar into 32 equal parts.
        const int width = child<QWidget>(w, "Shape2_0")->width();
        QVERIFY(qAbs(child<QWidget>(w, "Line1_15")->x() - width / 2) <= 2);
        rig.action("MenuNewModel")->trigger();
        QCOMPARE(std::string(rig.encoder->device().model().code), std::string("NORM"));
    }

    void theLanguageMenuRelabelsAndGermanShowsEnglish() {
        GuiRig rig;
        const char* rows[][3] = {{"Tedesco", "Exit", "Settings"}, {"Francese", "Sortie", "Settings"}, {"Italiano", "Esci", "Impostazioni"}};
        for (const auto& row : rows) {
            rig.action(row[0])->trigger();
            QCOMPARE(rig.action("Exit")->text(), QString(row[1]));
            QCOMPARE(child<QMenu>(rig.app->mainform.get(), "Settings")->title(), QString(row[2]));
        }
        QCOMPARE(rig.action("Filter")->text(), QString("&Filter"));  // items the texts do not name keep theirs
    }

    void onLineToggleShowsLiveData() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        QString position, program, caption;
        double devicePosition = 0;
        QColor barColour;
        int lit = 0;
        whilePolling(rig, 1000, [&] {
            position = text(w, "FinQuota");
            devicePosition = rig.encoder->device().positionAt(rig.clock.nowMs());
            program = text(w, "FinProgr");
            caption = child<QCheckBox>(w, "Check1")->text();
            barColour = child<ui::ShapeWidget>(w, "Shape3_4")->isHidden() ? QColor() : child<ui::ShapeWidget>(w, "Shape3_4")->fillColour();
            for (int i = 0; i < 16; ++i)
                lit += child<ui::ShapeWidget>(w, qPrintable(QString("Shape1_%1").arg(i)))->fillStyle() == FillStyle::Solid;
        });
        // Shown in tenths, as the device reported it one poll ago (the shaft turns
        // 450 positions a second, a poll takes well under 100 ms).
        QVERIFY2(QRegularExpression("^[0-9]+\\.[0-9]$").match(position).hasMatch(), qPrintable(position));
        const double behind = devicePosition - position.toDouble() * 10;
        QVERIFY2(behind >= 0 && behind < 45, qPrintable(position + " / " + QString::number(devicePosition)));
        QCOMPARE(program, QString("1"));
        QCOMPARE(caption, QString(" Off line"));
        QCOMPARE(barColour, QColor(0, 192, 0));  // the fifth link-quality bar, green
        QVERIFY(lit > 0);
        // Stopped again: the display is off line.
        QCOMPARE(text(w, "FinQuota"), QString("offline"));
        QCOMPARE(child<QCheckBox>(w, "Check1")->text(), QString(" On line"));
        QVERIFY(!rig.encoder->portOpen());
    }

    void serialSettingsPausePollingAndTheTitleTakesTheNewSpeed() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        bool pollingWhileOpen = true, dialogShown = false, pollingAfter = false;
        QString titleAfter;
        whilePolling(rig, 500, [&] {
            rig.clock.at(rig.clock.nowMs() + 100, [&] {
                rig.app->refreshAll();
                pollingWhileOpen = rig.app->link.PollingActive;
                dialogShown = rig.app->serialWindow->isVisible();
                clickOption(rig.app->serialWindow->option("Baud192"));
                QTest::mouseClick(child<QPushButton>(rig.app->serialWindow.get(), "OKButton"), Qt::LeftButton);
            });
            rig.action("Seriale")->trigger();  // returns when the dialog closes
            titleAfter = w->windowTitle();
            pollingAfter = rig.app->link.PollingActive;
        });
        QVERIFY(dialogShown);
        QVERIFY(!pollingWhileOpen);
        QCOMPARE(titleAfter, QString("GYREL Utility --  COM 1  -  19200"));
        QVERIFY(pollingAfter);  // the loop beneath the menu goes on
        QCOMPARE(rig.encoder->settings(), std::string("19200,N,8,1"));
    }

    void positionTestWindowOpensLockedAndTheServicePasswordUnlocksIt() {
        GuiRig rig;
        rig.action("TestEncoder")->trigger();
        rig.app->refreshAll();
        ui::Form3Window* f = rig.app->positionTestWindow.get();
        auto* password = child<QLineEdit>(f, "TxtPassword");
        auto* frame = child<QGroupBox>(f, "Frame1");
        QVERIFY(frame->isHidden());
        QTest::keyClicks(password, "tirn");
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(frame->isHidden());  // wrong case: nothing happens
        password->clear();
        QTest::keyClicks(password, "Tirn");
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(!frame->isHidden());

        // A new tolerance reaches the main window's setting at once.
        auto* primi = child<QLineEdit>(f, "TxtPrimi");
        primi->selectAll();
        QTest::keyClicks(primi, "50");
        QCOMPARE(rig.app->ctx.settings.Primi, std::string("50"));

        // Closing stops the test; the next opening is locked again.
        f->close();
        rig.app->refreshAll();
        QVERIFY(!rig.action("TestEncoder")->isChecked());
        rig.action("TestEncoder")->trigger();
        rig.app->refreshAll();
        QVERIFY(!password->isHidden());
        QVERIFY(frame->isHidden());
    }

    void exitWritesTheSettingsAndEndsTheProgram() {
        GuiRig rig("NORM", {{"passo", "90"}});
        rig.action("MenuKMT71")->trigger();
        rig.action("Inglese")->trigger();
        rig.action("Exit")->trigger();
        QCOMPARE(rig.quits, 1);
        rig.settings->sync();
        QSettings raw(rig.dir.filePath("gyrel.ini"), QSettings::IniFormat);
        QCOMPARE(raw.value("startup/Tipo").toString(), QString("KMT71"));
        QCOMPARE(raw.value("startup/Velo").toString(), QString("115200"));
        QCOMPARE(raw.value("startup/Passo").toString(), QString("90"));  // read as "passo", written as "Passo"
        QVERIFY(!raw.contains("startup/passo"));
    }

    void exitWhilePollingEndsThePollingLoop() {
        GuiRig rig;
        rig.clock.at(rig.clock.nowMs() + 300, [&] { rig.action("Exit")->trigger(); });
        clickOption(child<QCheckBox>(rig.app->mainform.get(), "Check1"));  // returns once the loop has ended
        QCOMPARE(rig.quits, 1);
        QVERIFY(!rig.app->link.PollingActive);
        QVERIFY(!rig.encoder->portOpen());
    }

    void serialWindowShowsThePortsFoundAndTheCompactLayout() {
        SerialRig rig;
        rig.port.setExistingPorts({1, 3});
        rig.port.setCommPort(3);
        rig.logic.Default({9600, 115200});
        rig.logic.Setta();
        rig.window->refresh();
        ui::SetSerialeWindow* w = rig.window.get();
        QCOMPARE(child<QRadioButton>(w, "ComPort_1")->text(), QString("1"));
        QCOMPARE(child<QRadioButton>(w, "ComPort_2")->text(), QString("3"));
        QVERIFY(child<QRadioButton>(w, "ComPort_2")->isChecked());
        QVERIFY(child<QRadioButton>(w, "ComPort_3")->isHidden());
        QVERIFY(child<QGroupBox>(w, "FrameBaud")->isHidden());
        QTest::mouseClick(child<QPushButton>(w, "AdvButton"), Qt::LeftButton);
        QVERIFY(!child<QGroupBox>(w, "FrameBaud")->isHidden());

        // Choices: only one of a group is selected; OK applies them.
        clickOption(w->option("EvenParity"));
        QVERIFY(!w->option("NoParity")->isChecked());
        clickOption(w->option("Data7"));
        clickOption(child<QRadioButton>(w, "ComPort_1"));
        QTest::mouseClick(child<QPushButton>(w, "OKButton"), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(rig.port.settings(), std::string("9600,E,7,1"));
        QCOMPARE(rig.port.commPort(), 1);
    }

    void closeBoxAndEscapeCancel() {
        SerialRig rig;
        rig.logic.Setta();
        rig.window->refresh();
        QTest::mouseClick(child<QPushButton>(rig.window.get(), "AdvButton"), Qt::LeftButton);
        clickOption(rig.window->option("Baud3"));
        QTest::keyClick(rig.window.get(), Qt::Key_Escape);
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.port.settings(), std::string("9600,n,8,1"));
        rig.logic.Setta();
        rig.window->refresh();
        rig.window->close();
        QVERIFY(!rig.logic.view().visible);
    }

    void typedDevicePathAndTheReasonForAFailedOpen() {
        SerialRig rig(true);
        rig.port.setBusy(true);
        rig.logic.showForOpenFailure("Serial port /dev/ttyUSB0 is in use by another program");
        rig.window->refresh();
        ui::SetSerialeWindow* w = rig.window.get();
        QCOMPARE(child<QLabel>(w, "LblFailure")->text(), QString("Serial port /dev/ttyUSB0 is in use by another program"));
        auto* combo = child<QComboBox>(w, "Combo1");
        QVERIFY(!combo->isHidden() && combo->isEditable());
        rig.port.setBusy(false);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), "/dev/pts/4");
        QCOMPARE(rig.logic.selectedPort().path, std::string("/dev/pts/4"));
        QTest::mouseClick(child<QPushButton>(w, "OKButton"), Qt::LeftButton);
        QCOMPARE(rig.port.portName(), std::string("/dev/pts/4"));
        QVERIFY(rig.logic.closedByOk());
    }

    void progressWindowCancelAndClose() {
        VirtualClock clock;
        sim::Device device("NORM");
        sim::InProcessPort port(device, clock);
        ScriptedOperator op;
        MemorySettingsStore settings;
        StdFileSystem fs;
        Context ctx(Services{port, clock, settings, fs, op});
        WaitView view;
        WaitForm logic(ctx, view);
        ui::WaitFormWindow w(view, logic);
        ctx.CancelRequested = true;  // left over from an earlier operation
        logic.show("Sending Gyrel.Txt");
        logic.setProgress(1, 2);
        w.refresh();
        QVERIFY(w.isVisible());
        QVERIFY(!ctx.CancelRequested);
        QCOMPARE(child<QLabel>(&w, "Label1")->text(), QString("Sending Gyrel.Txt"));
        QCOMPARE(child<QWidget>(&w, "BarraElabora")->width(), view.barFrameWidth / 2 / 15);
        QTest::mouseClick(child<QPushButton>(&w, "Command1"), Qt::LeftButton);
        QVERIFY(ctx.CancelRequested);
        ctx.CancelRequested = false;
        w.close();
        QVERIFY(ctx.CancelRequested);
        QVERIFY(!w.isVisible());
    }

    void fileFiltersInQtForm() {
        QCOMPARE(qtFileFilter("Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*"),
                 QString("Text Files (*.TXT *.txt);;All Files (*)"));
        QCOMPARE(qtFileFilter("List (*.lis)|*.lis"), QString("List (*.lis *.LIS)"));
        QCOMPARE(qtFileFilter("Programs|*.KVX;*.820"), QString("Programs (*.KVX *.kvx *.820)"));
        QCOMPARE(qtFileFilter(""), QString(""));
    }
};

QTEST_MAIN(MainformTest)
#include "mainform_test.moc"
