// The main window against the simulated encoder on simulated time.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include "gui_fixture.h"
#include "ui/set_seriale_window.h"
#include "ui/shape_widget.h"
#include "ui/small_windows.h"

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
    void startsOfflineThenTheModelMenuChangesNameSpeedAndDisplays() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        QVERIFY(w->isVisible());
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
        QVERIFY(child<QWidget>(w, "Line1_0")->isHidden());
        QCOMPARE(std::string(rig.encoder->device().model().code), std::string("NORM"));
    }

    void theLanguageMenuRelabels_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("exit");
        QTest::addColumn<QString>("settings");
        const auto row = [](const char* name, const char* item, const char* exit, const char* settings) {
            QTest::newRow(name) << QString(item) << QString(exit) << QString(settings);
        };
        row("German shows English", "Tedesco", "Exit", "Settings");
        row("French", "Francese", "Sortie", "Settings");
        row("Italian", "Italiano", "Esci", "Impostazioni");
    }
    void theLanguageMenuRelabels() {
        QFETCH(QString, item);
        GuiRig rig;
        rig.action("Inglese")->trigger();
        rig.action(qPrintable(item))->trigger();
        QTEST(rig.action("Exit")->text(), "exit");
        QTEST(child<QMenu>(rig.app->mainform.get(), "Settings")->title(), "settings");
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
        QVERIFY(rig.op.beeps >= 2);  // at the first frame and at the stop
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

    void filterDialogSetsTheFactorAtOnce() {
        GuiRig rig;
        rig.action("Filter")->trigger();
        ui::FiltformWindow* f = rig.app->filterWindow.get();
        QVERIFY(f->isVisible());
        clickOption(f->option(10));
        QCOMPARE(rig.app->ctx.model.RxTimeoutFactor, 10);
        QVERIFY(!f->option(1)->isChecked());
    }

    void positionTestWindowOpensLockedAndTheServicePasswordUnlocksIt() {
        GuiRig rig;
        rig.action("TestEncoder")->trigger();
        rig.app->refreshAll();
        ui::Form3Window* f = rig.app->positionTestWindow.get();
        QVERIFY(f->isVisible());
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
        QVERIFY(password->isHidden());

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
        QCOMPARE(raw.value("startup/Language").toString(), QString("EN"));
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
};

QTEST_MAIN(MainformTest)
#include "mainform_test.moc"
