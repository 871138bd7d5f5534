// The serial settings window, the progress window and the operator's file filters.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/wait_form.h"
#include "platform/memory_settings_store.h"
#include "gui_fixture.h"
#include "sim/device.h"
#include "sim/inprocess_port.h"
#include "ui/qt_operator.h"
#include "ui/set_seriale_window.h"
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

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
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

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
