// The main window against the simulated encoder on simulated time.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QtTest>

#include "gui_fixture.h"
#include "ui/editor_window.h"
#include "ui/mainform.h"
#include "ui/set_seriale_window.h"
#include "ui/shape_widget.h"
#include "ui/small_windows.h"

using namespace gyrel;
using gyrel::test::GuiRig;

namespace {

template <typename T = QWidget>
T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(name);
    if (!c) qFatal("no child %s", name);
    return c;
}

QString text(QWidget* w, const char* name) { return child<QLabel>(w, name)->text(); }

QString menuTitle(QWidget* w, const char* name) { return child<QMenu>(w, name)->title(); }

// Clicks a check or option button on its indicator: a click beside its text,
// in the empty part of a stretched button, is no click at all.
void clickOption(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(7, b->height() / 2)); }

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
    void startsOfflineWithTheStoredModelAndLanguage() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        QVERIFY(w->isVisible());
        QVERIFY(!rig.app->creditWindow->isVisible());  // the splash is gone
        QCOMPARE(w->windowTitle(), QString("GYREL Utility --  COM 1  -  9600"));
        QCOMPARE(text(w, "FinQuota"), QString("offline"));
        QCOMPARE(text(w, "Label4"), QString("KRT71"));
        QVERIFY(child<QLabel>(w, "LblGiri")->isHidden());
        QVERIFY(child<QLabel>(w, "Label5")->isHidden());  // econ off
        QVERIFY(!child<QCheckBox>(w, "Check1")->isChecked());
        for (int i = 0; i < 5; ++i) QVERIFY(child<QWidget>(w, qPrintable(QString("Shape3_%1").arg(i)))->isHidden());
        QCOMPARE(w->action("Exit")->text(), QString("Esci"));  // Italian by default
    }

    void modelMenuChangesNameTitleAndTurnDisplays() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        w->action("MenuKMT71")->trigger();
        QCOMPARE(text(w, "Label4"), QString("KMT71"));
        QCOMPARE(w->windowTitle(), QString("GYREL Utility --  COM 1  -  115200"));
        QVERIFY(!child<QLabel>(w, "LblGiri")->isHidden());
        QCOMPARE(child<QLabel>(w, "FinQuota")->font().pointSize(), 40);
        QCOMPARE(child<QLabel>(w, "Label4")->palette().color(QPalette::WindowText), QColor(0, 128, 128));
        // Eight outputs: the upper indicators are dotted.
        QCOMPARE(child<ui::ShapeWidget>(w, "Shape1_8")->borderStyle(), BorderStyle::Dotted);
        QCOMPARE(child<ui::ShapeWidget>(w, "Shape1_7")->borderStyle(), BorderStyle::Solid);

        w->action("MenuV820AX")->trigger();
        QVERIFY(!child<QWidget>(w, "Line1_0")->isHidden());
        QVERIFY(!child<QWidget>(w, "Line1_30")->isHidden());
        // The 31 marks cut the bar into 32 equal parts.
        const int width = child<QWidget>(w, "Shape2_0")->width();
        QVERIFY(qAbs(child<QWidget>(w, "Line1_15")->x() - width / 2) <= 2);

        w->action("MenuNewModel")->trigger();
        QVERIFY(child<QLabel>(w, "LblGiri")->isHidden());
        QVERIFY(child<QWidget>(w, "Line1_0")->isHidden());
        QCOMPARE(std::string(rig.encoder->device().model().code), std::string("NORM"));
    }

    void languageMenuRelabelsAndGermanShowsEnglish() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        w->action("Tedesco")->trigger();
        QCOMPARE(rig.app->ctx.LanguageCode, std::string("DE"));
        QCOMPARE(w->action("Exit")->text(), QString("Exit"));
        QCOMPARE(menuTitle(w, "Settings"), QString("Settings"));
        QCOMPARE(text(w, "LblProgram"), QString("Program:"));
        // Items the texts do not name keep their captions.
        QCOMPARE(w->action("Filter")->text(), QString("&Filter"));

        w->action("Francese")->trigger();
        QCOMPARE(w->action("Exit")->text(), QString("Sortie"));
        w->action("Italiano")->trigger();
        QCOMPARE(menuTitle(w, "Settings"), QString("Impostazioni"));
    }

    void onLineToggleShowsLiveData() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        QString position, program, cams, caption;
        double devicePosition = 0;
        bool fifthBar = false;
        QColor barColour;
        int lit = 0;
        whilePolling(rig, 1000, [&] {
            position = text(w, "FinQuota");
            devicePosition = rig.encoder->device().positionAt(rig.clock.nowMs());
            program = text(w, "FinProgr");
            cams = text(w, "FinCamme");
            caption = child<QCheckBox>(w, "Check1")->text();
            fifthBar = !child<QWidget>(w, "Shape3_4")->isHidden();
            barColour = child<ui::ShapeWidget>(w, "Shape3_4")->fillColour();
            for (int i = 0; i < 16; ++i)
                lit += child<ui::ShapeWidget>(w, qPrintable(QString("Shape1_%1").arg(i)))->fillStyle() == FillStyle::Solid;
        });
        // Shown in tenths, as the device reported it one poll ago (the shaft turns
        // 450 positions a second, a poll takes well under 100 ms).
        QVERIFY2(QRegularExpression("^[0-9]+\\.[0-9]$").match(position).hasMatch(), qPrintable(position));
        QVERIFY2(devicePosition - position.toDouble() * 10 >= 0 && devicePosition - position.toDouble() * 10 < 45,
                 qPrintable(position + " / " + QString::number(devicePosition)));
        QCOMPARE(program, QString("1"));
        QCOMPARE(cams, QString("8"));
        QCOMPARE(caption, QString(" Off line"));
        QVERIFY(fifthBar);
        QCOMPARE(barColour, QColor(0, 192, 0));
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
        bool pollingWhileOpen = true;
        bool dialogShown = false;
        QString titleAfter;
        bool pollingAfter = false;
        whilePolling(rig, 500, [&] {
            rig.clock.at(rig.clock.nowMs() + 100, [&] {
                rig.app->refreshAll();
                pollingWhileOpen = rig.app->link.PollingActive;
                dialogShown = rig.app->serialWindow->isVisible();
                clickOption(rig.app->serialWindow->option("Baud192"));
                QTest::mouseClick(child<QPushButton>(rig.app->serialWindow.get(), "OKButton"), Qt::LeftButton);
            });
            w->action("Seriale")->trigger();  // returns when the dialog closes
            titleAfter = w->windowTitle();
            pollingAfter = rig.app->link.PollingActive;
        });
        QVERIFY(dialogShown);
        QVERIFY(!pollingWhileOpen);
        QCOMPARE(titleAfter, QString("GYREL Utility --  COM 1  -  19200"));
        QVERIFY(pollingAfter);  // the loop beneath the menu goes on
        QCOMPARE(rig.encoder->settings(), std::string("19200,N,8,1"));
        QVERIFY(!rig.app->serialWindow->isVisible());
    }

    void serialSettingsWhileStoppedLeaveTheMonitorStopped() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        rig.clock.at(rig.clock.nowMs() + 50, [&] {
            rig.app->refreshAll();
            QTest::mouseClick(child<QPushButton>(rig.app->serialWindow.get(), "CancelButton"), Qt::LeftButton);
        });
        w->action("Seriale")->trigger();
        QVERIFY(!rig.app->link.PollingActive);
        QCOMPARE(w->windowTitle(), QString("GYREL Utility --  COM 1  -  9600"));
        for (int i = 0; i < 5; ++i) QVERIFY(child<QWidget>(w, qPrintable(QString("Shape3_%1").arg(i)))->isHidden());
    }

    void filterDialogSetsTheFactorAtOnce() {
        GuiRig rig;
        rig.app->mainform->action("Filter")->trigger();
        ui::FiltformWindow* f = rig.app->filterWindow.get();
        QVERIFY(f->isVisible());
        QVERIFY(f->option(1)->isChecked());
        clickOption(f->option(10));
        QCOMPARE(rig.app->ctx.model.RxTimeoutFactor, 10);
        QVERIFY(f->option(10)->isChecked());
        QVERIFY(!f->option(1)->isChecked());
        f->close();
        QVERIFY(!f->isVisible());
        QVERIFY(!rig.app->ctx.filter.visible);
    }

    void positionTestWindowOpensLockedAndTheServicePasswordUnlocksIt() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        w->action("TestEncoder")->trigger();
        rig.app->refreshAll();
        ui::Form3Window* f = rig.app->positionTestWindow.get();
        QVERIFY(f->isVisible());
        QVERIFY(w->action("TestEncoder")->isChecked());
        auto* password = child<QLineEdit>(f, "TxtPassword");
        QVERIFY(!password->isHidden());
        QVERIFY(child<QGroupBox>(f, "Frame1")->isHidden());
        QVERIFY(child<QLabel>(f, "Label1_0")->isHidden());

        QTest::keyClicks(password, "tirn");
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(child<QGroupBox>(f, "Frame1")->isHidden());  // wrong case: nothing happens
        QCOMPARE(password->text(), QString("tirn"));

        password->clear();
        QTest::keyClicks(password, "Tirn");
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(!child<QGroupBox>(f, "Frame1")->isHidden());
        QVERIFY(!child<QLabel>(f, "Label1_0")->isHidden());
        QVERIFY(password->isHidden());
        QCOMPARE(child<QLineEdit>(f, "TxtSuccessivi")->text(), QString("200"));

        // A new tolerance reaches the main window's setting at once.
        auto* primi = child<QLineEdit>(f, "TxtPrimi");
        primi->selectAll();
        QTest::keyClicks(primi, "50");
        QCOMPARE(rig.app->ctx.settings.Primi, std::string("50"));

        // Closing stops the test; the next opening is locked again.
        f->close();
        rig.app->refreshAll();
        QVERIFY(!f->isVisible());
        QVERIFY(!w->action("TestEncoder")->isChecked());
        w->action("TestEncoder")->trigger();
        rig.app->refreshAll();
        QVERIFY(!password->isHidden());
        QVERIFY(child<QGroupBox>(f, "Frame1")->isHidden());
    }

    void economyMenuShowsTheEconLabel() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        w->action("EnbEcon")->trigger();
        QVERIFY(w->action("EnbEcon")->isChecked());
        QVERIFY(!child<QLabel>(w, "Label5")->isHidden());
        QCOMPARE(text(w, "Label5"), QString("econ"));
        w->action("EnbEcon")->trigger();
        QVERIFY(child<QLabel>(w, "Label5")->isHidden());
    }

    void exitWritesTheSettingsAndEndsTheProgram() {
        GuiRig rig("NORM", {{"passo", "90"}});
        ui::Mainform* w = rig.app->mainform.get();
        w->action("MenuKMT71")->trigger();
        w->action("Inglese")->trigger();
        w->action("Exit")->trigger();
        QCOMPARE(rig.quits, 1);
        rig.settings->sync();
        QSettings raw(rig.dir.filePath("gyrel.ini"), QSettings::IniFormat);
        QCOMPARE(raw.value("startup/Tipo").toString(), QString("KMT71"));
        QCOMPARE(raw.value("startup/Language").toString(), QString("EN"));
        QCOMPARE(raw.value("startup/Velo").toString(), QString("115200"));
        QCOMPARE(raw.value("startup/PortaMem").toString(), QString("1"));
        QCOMPARE(raw.value("startup/Passo").toString(), QString("90"));  // read as "passo", written as "Passo"
        QVERIFY(!raw.contains("startup/passo"));
    }

    void communicationsOpensTheEditorInTheCurrentLanguage() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        w->action("Inglese")->trigger();
        QVERIFY(w->action("Communications")->isEnabled());
        w->action("Communications")->trigger();
        EditorWindow* editor = currentEditor();
        QVERIFY(editor);
        QVERIFY(editor->isVisible());
        QVERIFY(rig.app->ctx.hooks.editorVisible && rig.app->ctx.hooks.editorVisible());
        QCOMPARE(editor->windowTitle(), QString("Programming"));
        w->action("Italiano")->trigger();
        QCOMPARE(editor->windowTitle(), QString("Programmazione"));
        // Its progress window draws the editor's progress state.
        auto* wait = editor->findChild<ui::WaitFormWindow*>("WaitForm");
        QVERIFY(wait);
        editor->editor().st.wait.visible = true;
        editor->editor().st.wait.label = "Update Graphics .....";
        rig.app->refreshAll();
        QVERIFY(wait->isVisible());
        QTest::mouseClick(child<QPushButton>(wait, "Command1"), Qt::LeftButton);
        QVERIFY(rig.app->ctx.CancelRequested);
        editor->editor().st.wait.visible = false;
        rig.app->refreshAll();
        QVERIFY(!wait->isVisible());
    }

    void exitWhilePollingEndsThePollingLoop() {
        GuiRig rig;
        ui::Mainform* w = rig.app->mainform.get();
        auto* check1 = child<QCheckBox>(w, "Check1");
        rig.clock.at(rig.clock.nowMs() + 300, [&] { w->action("Exit")->trigger(); });
        clickOption(check1);  // returns once the loop has ended
        QCOMPARE(rig.quits, 1);
        QVERIFY(!rig.app->link.PollingActive);
        QVERIFY(!rig.encoder->portOpen());
    }
};

QTEST_MAIN(MainformTest)
#include "mainform_test.moc"
