// The editor's download, upload and origin dialog in the assembled program,
// against the simulated encoder on simulated time.
#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include "device/editor_transfers.h"
#include "editor/editor_files.h"
#include "gui_fixture.h"
#include "ui/editor_window.h"
#include "ui/mainform.h"
#include "ui/origin_dialog.h"

using namespace gyrel;
using gyrel::test::GuiRig;

namespace {

template <typename T = QWidget>
T* child(QObject* w, const char* name) {
    T* c = w->findChild<T*>(name);
    if (!c) qFatal("no child %s", name);
    return c;
}

EditorWindow* openEditorFromMain(GuiRig& rig) {
    ui::Mainform* w = rig.app->mainform.get();
    w->action("Inglese")->trigger();
    w->action("Communications")->trigger();
    EditorWindow* e = currentEditor();
    // The check prepares a program once the window has been laid out.
    if (e && !QTest::qWaitFor([e] { return e->editor().st.ResizeSeen != 0; })) return nullptr;
    return e;
}

void typeProgramNumber(EditorWindow* e, const char* number) {
    auto* text1 = child<QLineEdit>(e, "Text1");
    text1->selectAll();
    QTest::keyClicks(text1, number);
}

}  // namespace

class EditorTransfersTest : public QObject {
    Q_OBJECT

private slots:
    void downloadSendsTheTypedProgramIntoTheNamedSlotAndLogsEachFrame() {
        GuiRig rig;
        EditorWindow* e = openEditorFromMain(rig);
        QVERIFY(e);
        QVERIFY(e->transfers());
        auto* box = child<QTextEdit>(e, "ProgBox");
        box->setFocus();
        QTest::keyClicks(box, "1 100 400");
        QTest::keyClick(box, Qt::Key_Return);  // the check passes: the download is offered
        typeProgramNumber(e, "2");
        QCOMPARE(e->editor().st.ProgramIndex, 1);  // one program index for the selector and the transfers
        auto* command2 = child<QPushButton>(e, "Command2");
        QVERIFY2(command2->isEnabled(), rig.op.boxes.empty() ? "" : rig.op.boxes[0].c_str());
        command2->click();

        QCOMPARE(e->transfers()->dl.lastOutcome, DownloadCommand::Outcome::Sent);
        QVERIFY(rig.op.boxes.empty());
        const auto& stored = rig.encoder->device().program(1);
        QVERIFY(stored.has_value());
        QVERIFY((*stored == sim::CamTable{{100, 1}, {400, 0}}));
        QVERIFY(!rig.encoder->device().program(2).has_value());

        // Newest entry first, one per acknowledged frame.
        auto* log = child<QPlainTextEdit>(e, "Text2");
        const QStringList lines = log->toPlainText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), e->transfers()->dl.sender.framesTotal);
        QVERIFY(lines.size() >= 2);
        for (const QString& line : lines) QVERIFY2(line.contains("  ok     .("), qPrintable(line));

        child<QPushButton>(child<QGroupBox>(e, "Frame5"), "Command1")->click();
        QCOMPARE(log->toPlainText(), QString());
        QVERIFY(e->editor().st.Text2.empty());
    }

    void uploadReadsTheNamedSlotIntoTheProgramBox() {
        GuiRig rig("V820HX");
        QVERIFY(rig.app->selectModel("V820HX"));
        rig.encoder->device().setProgram(2, {{10, 1}, {20, 0}});
        EditorWindow* e = openEditorFromMain(rig);
        QVERIFY(e);
        typeProgramNumber(e, "3");
        auto* menu = child<QAction>(e, "Menuencoder");
        QVERIFY(menu->isEnabled());
        menu->trigger();

        QCOMPARE(e->transfers()->up.lastEnd, UploadEnd::Complete);
        const std::string text = e->editor().st.ProgBox;
        const std::string number = "'Program # " + std::to_string(2 + rig.app->ctx.model.ProgramNumberOffset);
        QVERIFY2(text.find(number + "\r\n\r\n1\t10\t20\r\n") != std::string::npos, text.c_str());
        QVERIFY(child<QTextEdit>(e, "ProgBox")->toPlainText().endsWith("1\t10\t20\n"));
        // The box reloads from the work file: it holds the program read back.
        QCOMPARE(readWorkFile(rig.fs), text);
        QVERIFY(child<QPlainTextEdit>(e, "Text2")->toPlainText().contains("    req_ok"));
    }

    void settingsOpensTheOriginDialog() {
        GuiRig rig("V820HX");
        QVERIFY(rig.app->selectModel("V820HX"));
        EditorWindow* e = openEditorFromMain(rig);
        QVERIFY(e);
        auto* menu = child<QAction>(e, "MenuSettings");
        QVERIFY(menu->isEnabled());
        menu->trigger();
        auto* dialog = child<OriginDialogWidget>(e, "OriginDialog");
        QVERIFY(dialog->isVisible());
        QVERIFY(e->transfers()->origin.visible);
        dialog->hide();
        QVERIFY(!e->transfers()->origin.visible);
    }

    void rowCommandsAndAppendAreEnabledOnceTheLinkIsAttached() {
        GuiRig rig;
        EditorWindow* e = openEditorFromMain(rig);
        QVERIFY(e);
        for (const char* name : {"PulsInvio_0", "PulsInvio_15", "CmdDFT", "CmdRST", "Command5"})
            QVERIFY2(child<QPushButton>(e, name)->isEnabled(), name);
    }
};

QTEST_MAIN(EditorTransfersTest)
#include "editor_transfers_test.moc"
