// The serial settings window, the progress window and the operator's file filters.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "app/context.h"
#include "dialogs/wait_form.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"
#include "scripted_operator.h"
#include "sim/device.h"
#include "sim/inprocess_port.h"
#include "ui/qt_operator.h"
#include "ui/set_seriale_window.h"
#include "ui/small_windows.h"

using namespace gyrel;

namespace {

template <typename T = QWidget>
T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(name);
    if (!c) qFatal("no child %s", name);
    return c;
}

struct SerialRig {
    VirtualClock clock;
    sim::Device device{"NORM"};
    sim::InProcessPort port{device, clock};
    test::ScriptedOperator op;
    SetSeriale logic{port, clock, op};
    std::unique_ptr<ui::SetSerialeWindow> window;
    explicit SerialRig(bool typedPaths = false) {
        logic.typedPathsAllowed = typedPaths;
        window = std::make_unique<ui::SetSerialeWindow>(logic);
    }
};


// Clicks a check or option button on its indicator: a click beside its text,
// in the empty part of a stretched button, is no click at all.
void clickOption(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(7, b->height() / 2)); }

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
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QString("RS232 Communication Settings"));
        QCOMPARE(child<QRadioButton>(w, "ComPort_1")->text(), QString("1"));
        QCOMPARE(child<QRadioButton>(w, "ComPort_2")->text(), QString("3"));
        QVERIFY(child<QRadioButton>(w, "ComPort_2")->isChecked());
        QVERIFY(child<QRadioButton>(w, "ComPort_3")->isHidden());
        QVERIFY(child<QComboBox>(w, "Combo1")->isHidden());
        QVERIFY(child<QGroupBox>(w, "FrameBaud")->isHidden());

        QTest::mouseClick(child<QPushButton>(w, "AdvButton"), Qt::LeftButton);
        QVERIFY(!child<QGroupBox>(w, "FrameBaud")->isHidden());
        QCOMPARE(child<QPushButton>(w, "AdvButton")->text(), QString("Normal"));
        QVERIFY(w->option("Baud96")->isChecked());
        QVERIFY(w->option("NoParity")->isChecked());
        QCOMPARE(w->option("Baud96")->palette().color(QPalette::ButtonText), QColor(128, 64, 0));
        QCOMPARE(w->option("Baud192")->palette().color(QPalette::ButtonText), QColor(0, 0, 0));

        // Choices: only one of a group is selected; OK applies them.
        clickOption(w->option("EvenParity"));
        QVERIFY(!w->option("NoParity")->isChecked());
        clickOption(w->option("Data7"));
        clickOption(child<QRadioButton>(w, "ComPort_1"));
        QVERIFY(!child<QRadioButton>(w, "ComPort_2")->isChecked());
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
        QVERIFY(rig.window->option("Baud3")->isChecked());
        QTest::keyClick(rig.window.get(), Qt::Key_Escape);
        QVERIFY(!rig.window->isVisible());
        QVERIFY(!rig.logic.view().visible);
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
        QVERIFY(!child<QLabel>(w, "LblFailure")->isHidden());
        auto* combo = child<QComboBox>(w, "Combo1");
        QVERIFY(!combo->isHidden());
        QVERIFY(combo->isEditable());
        rig.port.setBusy(false);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), "/dev/pts/4");
        QCOMPARE(rig.logic.selectedPort().path, std::string("/dev/pts/4"));
        QTest::mouseClick(child<QPushButton>(w, "OKButton"), Qt::LeftButton);
        QCOMPARE(rig.port.portName(), std::string("/dev/pts/4"));
        QVERIFY(rig.logic.closedByOk());
        QVERIFY(child<QLabel>(w, "LblFailure")->isHidden());
    }

    void progressWindowCancelAndClose() {
        VirtualClock clock;
        sim::Device device("NORM");
        sim::InProcessPort port(device, clock);
        test::ScriptedOperator op;
        struct NoSettings : SettingsStore {
            std::optional<std::string> get(const std::string&, const std::string&) const override { return std::nullopt; }
            void set(const std::string&, const std::string&, const std::string&) override {}
        } settings;
        StdFileSystem fs;
        Context ctx(Services{port, clock, settings, fs, op});
        WaitView view;
        WaitForm logic(ctx, view);
        ui::WaitFormWindow w(view, logic);
        QVERIFY(!w.isVisible());
        ctx.CancelRequested = true;  // left over from an earlier operation
        logic.show("Sending Gyrel.Txt");
        logic.setProgress(1, 2);
        w.refresh();
        QVERIFY(w.isVisible());
        QVERIFY(!ctx.CancelRequested);
        QCOMPARE(w.windowTitle(), QString("Graphic Mode"));
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
