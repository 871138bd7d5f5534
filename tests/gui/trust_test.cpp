// The windows as a technician meets them: a check that leaves the caret alone,
// one notice on exit, progress windows above their starter that end with an
// outcome, numbers that are never cut, titles, message boxes and file dialogs.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QWindow>
#include <QtTest>

#include "app/main_title.h"
#include "device/editor_transfers.h"
#include "gui_fixture.h"
#include "origin/origin_dialog.h"
#include "platform/working_folder.h"
#include "ui/editor_window.h"
#include "ui/mainform.h"
#include "ui/origin_dialog.h"
#include "ui/qt_operator.h"
#include "ui/small_windows.h"

using namespace gyrel;
using gyrel::test::GuiRig;

namespace {

template <typename T = QWidget>
T* child(QObject* w, const char* name) {
    T* c = w->findChild<T*>(name);
    if (!c) qFatal("no child %s", name);
    return c;
}

EditorWindow* openEditor(GuiRig& rig) {
    ui::Mainform* w = rig.app->mainform.get();
    w->action("Inglese")->trigger();
    w->action("Communications")->trigger();
    EditorWindow* e = currentEditor();
    if (e && !QTest::qWaitFor([e] { return e->editor().st.ResizeSeen != 0; })) return nullptr;
    return e;
}

int boxesWith(const GuiRig& rig, const std::string& words) {
    int n = 0;
    for (const std::string& b : rig.op.boxes) n += b.find(words) != std::string::npos ? 1 : 0;
    return n;
}

// The whole text fits the label's box at the font it is drawn in.
bool fits(QLabel* l) {
    return QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->contentsRect().width();
}

}  // namespace

class TrustTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { delete currentEditor(); }

    void aFailedDataControlLeavesTheCaretWhereItWasWithNoOldSelection() {
        GuiRig rig;
        EditorWindow* e = openEditor(rig);
        QVERIFY(e);
        auto* box = child<QTextEdit>(e, "ProgBox");
        box->setFocus();
        QTest::keyClicks(box, "1 100 4000");
        QTest::keyClick(box, Qt::Key_Return);  // a parse error selects "4000"
        QCOMPARE(box->textCursor().selectedText(), QString("4000"));
        QTest::keyClicks(box, "400");
        QTest::keyClick(box, Qt::Key_Return);  // re-arms only
        QTest::keyClicks(box, "1 150 250");    // overlaps the first row
        const int caret = box->textCursor().position();
        const std::size_t before = rig.op.boxes.size();
        e->editor().ButtVerificaPrg();  // the verify button: the check with its data control
        e->render();
        QCOMPARE(rig.op.boxes.size(), before + 1);  // the data control's message
        QCOMPARE(box->textCursor().selectedText(), QString());
        QCOMPARE(box->textCursor().position(), caret);
        QTest::keyClicks(box, "0");  // the key lands where the operator looks
        QCOMPARE(box->toPlainText(), QString("1 100 400\n1 150 2500\n"));
    }

    void exitWithAModifiedProgramWarnsOnce() {
        GuiRig rig;
        const QString path = rig.dir.filePath("prog.txt");
        rig.fs.writeAll(path.toStdString(), "1 10 20\r\n");
        rig.app->ctx.settings.PercorsoTxt = path.toStdString();
        EditorWindow* e = openEditor(rig);
        QVERIFY(e);
        QCOMPARE(e->editor().st.ProgramFilePath, path.toStdString());
        auto* box = child<QTextEdit>(e, "ProgBox");
        box->setFocus();
        QTest::keyClicks(box, "2 30 40");
        rig.app->mainform->close();  // the shutdown asks the editor to close
        e->close();                  // and the window system closes its window too
        QCOMPARE(rig.quits, 1);
        QCOMPARE(boxesWith(rig, "temporary saved"), 1);
    }

    void theOriginReadShowsItsProgressAboveTheDialogAndEndsWithItsOutcome() {
        GuiRig rig("V820HX");
        QVERIFY(rig.app->selectModel("V820HX"));
        EditorWindow* e = openEditor(rig);
        QVERIFY(e);
        e->findChild<QAction*>("MenuSettings")->trigger();
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
        QVERIFY(wait->isVisible());  // the read is over; its outcome stays up
        QCOMPARE(wait->starter(), static_cast<QWidget*>(dialog));
        QVERIFY(wait->windowHandle());
        QCOMPARE(wait->windowHandle()->transientParent(), dialog->windowHandle());
        QCOMPARE(child<QLabel>(wait, "Outcome")->text(), QString("Received"));
        QCOMPARE(child<QProgressBar>(wait, "Count")->value(), 16);
        QVERIFY(child<QPushButton>(wait, "Command1")->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!wait->isVisible(), ui::WaitFormWindow::kOutcomeMs + 2000);

        // A confirmed value that is typed over is confirmed no more.
        auto* preset = child<QLineEdit>(dialog, "TxtPreset_0");
        QVERIFY(e->transfers()->origin.rows[0].presetBack == kOriginConfirmed);
        QTest::keyClicks(preset, "7");
        QVERIFY(e->transfers()->origin.rows[0].presetBack == kOriginIdle);
    }

    void aDownloadEndsWithItsOutcomeAndWhyItFailed() {
        GuiRig rig;
        EditorWindow* e = openEditor(rig);
        QVERIFY(e);
        auto* box = child<QTextEdit>(e, "ProgBox");
        box->setFocus();
        QTest::keyClicks(box, "1 100 400");
        QTest::keyClick(box, Qt::Key_Return);
        auto* send = child<QPushButton>(e, "Command2");
        QVERIFY(send->isEnabled());
        send->click();
        rig.app->refreshAll();
        auto* wait = child<ui::WaitFormWindow>(e, "WaitForm");
        const int frames = e->transfers()->dl.sender.framesTotal;
        QVERIFY(wait->isVisible());
        QCOMPARE(child<QLabel>(wait, "Outcome")->text(), QString("Sent"));
        auto* count = child<QProgressBar>(wait, "Count");
        QCOMPARE(count->value(), frames);
        QCOMPARE(count->format(), QString("%1 of %1 frames").arg(frames));
        QVERIFY(wait->close());  // an outcome on show never keeps the program from ending
        QVERIFY(!wait->isVisible());

        rig.encoder->device().faults().silent = true;
        send->click();
        rig.app->refreshAll();
        QVERIFY(wait->isVisible());
        QCOMPARE(child<QLabel>(wait, "Outcome")->text(), QString("Failed: the encoder does not answer"));
        QCOMPARE(count->value(), 0);
    }

    void thePositionIsNeverCutOff() {
        GuiRig rig("Px71");
        QVERIFY(rig.app->selectModel("Px71"));
        MainView& m = rig.app->ctx.main;
        m.FinQuotaFontSize = 48;  // the size of the single-turn models, as when model and device differ
        m.FinQuota = "4294967295";
        m.LblGiri = "524287";
        m.LblGiro = "8191";
        ui::Mainform* w = rig.app->mainform.get();
        w->show();
        w->refresh();
        for (const char* name : {"FinQuota", "LblGiri", "LblGiro"}) QVERIFY2(fits(child<QLabel>(w, name)), name);
        m.FinQuota = "12";  // a short number takes the model's full size again
        w->refresh();
        QCOMPARE(child<QLabel>(w, "FinQuota")->font().pointSize(), m.FinQuotaFontSize);
    }

    void theTitleShowsADevicePathAlone() {
        GuiRig rig;
        rig.encoder->setPortName("/dev/pts/4");
        setMainTitle(rig.app->ctx);
        QCOMPARE(rig.app->mainform->windowTitle(), QString("GYREL Utility --  /dev/pts/4  -  9600"));
    }

    void anEmptiedBoxTypesInTheProgramStyle() {
        GuiRig rig;
        EditorWindow* e = openEditor(rig);
        QVERIFY(e);
        auto* box = child<QTextEdit>(e, "ProgBox");
        box->setFocus();
        QTest::keyClicks(box, "' first comment");
        QTest::keyClick(box, Qt::Key_Return);
        child<QPushButton>(e, "ButtVerificaPrg")->click();
        e->render();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, "1 10 20");
        const QTextCharFormat f = box->document()->firstBlock().begin().fragment().charFormat();
        QCOMPARE(f.foreground().color(), QColor(0, 0, 0));
        QCOMPARE(f.fontPointSize(), double(rig.app->ctx.model.info().programFontSize));
    }

    void theGraphOpensBesideTheEditor() {
        GuiRig rig;
        EditorWindow* e = openEditor(rig);
        QVERIFY(e);
        e->findChild<QAction*>("MenEnableGraphic")->trigger();
        auto* graph = e->findChild<QWidget*>("Form2");
        QVERIFY(graph && graph->isVisible());
        auto* verify = child<QWidget>(e, "ButtVerificaPrg");
        const QRect verifyOnScreen(verify->mapToGlobal(QPoint(0, 0)), verify->size());
        QVERIFY(!graph->frameGeometry().intersects(verifyOnScreen));
    }

    void messageBoxesSpeakTheLanguageOverTheWindowInUse() {
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
    }

    void fileDialogsStartInTheFilesFolderElseTheWorkingFolder() {
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

QTEST_MAIN(TrustTest)
#include "trust_test.moc"
