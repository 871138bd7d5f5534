// A second action started while a transfer waits: closing the editor or the
// main window, the serial dialog's scan. The transfer runs to its end (or is
// cancelled) and nothing it runs on is freed under it.
#include <algorithm>

#include "gui_fixture.h"

using namespace gyrel;
using namespace gyrel::test;

namespace {

// The editor with `rows` lines typed, each checked by its Enter.
EditorWindow* openEditorWithProgram(GuiRig& rig, int rows) {
    QString keys;
    for (int i = 0; i < rows; ++i)
        keys += QString("%1 %2 %3\r").arg(i % 16 + 1).arg(10 * i + 1).arg(10 * i + 5);
    return rig.editor(keys);
}

// What a wait of the real clock does between two steps of a transfer: it runs
// the deferred deletions posted at its level.
void runDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class LineOwnerTest : public QObject {
    Q_OBJECT

private slots:
    // Closing the editor mid-download asks: kept waiting, the download runs to its
    // end and the editor stays; cancelled, the window goes once it has unwound.
    // Closing the main window cancels the download; the program ends once it has unwound.
    void closingTheEditorOrTheMainWindowMidDownload() {
        GuiRig rig;
        QPointer<EditorWindow> e = openEditorWithProgram(rig, 40);
        auto* command2 = e->findChild<QPushButton*>("Command2");
        const auto closeAnswering = [&](int answer) {
            rig.clock.after(300, [&rig, &e, answer] {
                rig.op.answer = answer;
                e->close();
                QVERIFY(rig.op.boxes.back().find(rig.app->ctx.texts->closeDuringTransfer) != std::string::npos);
                rig.op.answer = AnswerOk;
                runDeferredDeletes();
                QVERIFY(!e.isNull() && e->isVisible());
            });
        };
        closeAnswering(AnswerNo);
        command2->click();
        QCOMPARE(rig.op.boxes.size(), std::size_t{1});
        QCOMPARE(e->transfers()->dl.lastOutcome, DownloadCommand::Outcome::Sent);
        runDeferredDeletes();
        QVERIFY(!e.isNull() && e->isVisible());
        const auto& frames = rig.encoder->device().frames();
        QCOMPARE(std::count_if(frames.begin(), frames.end(), [](const Bytes& f) { return f.size() == 19; }),
                 static_cast<std::ptrdiff_t>(e->transfers()->dl.sender.framesTotal));

        closeAnswering(AnswerYes);
        command2->click();
        QCOMPARE(rig.op.boxes.size(), std::size_t{2});
        QVERIFY(e->transfers()->dl.lastOutcome != DownloadCommand::Outcome::Sent);
        QVERIFY(!rig.app->ctx.EditorBusy);
        QVERIFY(QTest::qWaitFor([&] {
            runDeferredDeletes();
            return e.isNull();
        }));
        QCOMPARE(rig.app->link.PortUsers, 0);

        EditorWindow* again = rig.editor("\r");  // the same program, from the work file, checked
        int quitsDuring = -1;
        rig.clock.after(300, [&] {
            rig.app->mainform->close();
            quitsDuring = rig.quits;
        });
        again->findChild<QPushButton*>("Command2")->click();
        QCOMPARE(quitsDuring, 0);
        QVERIFY(again->transfers()->dl.lastOutcome != DownloadCommand::Outcome::Sent);
        QVERIFY(QTest::qWaitFor([&] { return rig.quits == 1; }, 1000));
        QCOMPARE(rig.app->link.PortUsers, 0);
        QVERIFY(!rig.encoder->portOpen());
    }

    // Going on line mid-download: the download takes exactly as long as without
    // the click, no status query comes between its frames, and polling starts after it.
    void onLineClickedMidDownloadWaitsForItsEnd() {
        GuiRig rig;
        EditorWindow* e = openEditorWithProgram(rig, 10);
        auto* command2 = e->findChild<QPushButton*>("Command2");
        auto* check1 = rig.app->mainform->findChild<QCheckBox*>("Check1");
        const sim::Device& device = rig.encoder->device();
        int polls = 0;
        rig.app->link.afterQuery = [&] {
            ++polls;
            rig.app->link.check1MouseUp(false);
        };
        double start = rig.clock.nowMs();
        command2->click();
        const double plain = rig.clock.nowMs() - start;
        QCOMPARE(e->transfers()->dl.lastOutcome, DownloadCommand::Outcome::Sent);

        const std::size_t before = device.frames().size();
        rig.clock.after(300, [&] { check1->click(); });
        start = rig.clock.nowMs();
        command2->click();
        QCOMPARE(rig.clock.nowMs() - start, plain);
        QCOMPARE(e->transfers()->dl.lastOutcome, DownloadCommand::Outcome::Sent);
        QCOMPARE(polls, 0);
        for (std::size_t i = before; i < device.frames().size(); ++i) QCOMPARE(device.frames()[i].size(), std::size_t{19});

        rig.clock.waitMs(500);
        QCOMPARE(polls, 1);
        QCOMPARE(device.frames().back(), Bytes{0x80});
    }

    // The scan would close and reopen the port under the upload: it is refused with the reason.
    void serialDialogScanMidUploadIsRefusedAndTheUploadCompletes() {
        GuiRig rig("V820AX");
        QVERIFY(rig.app->selectModel("V820AX"));
        rig.encoder->device().setProgram(4, sim::CamTable{{100, 1}, {400, 0}});
        EditorWindow* e = openEditorWithProgram(rig, 0);
        e->findChild<QLineEdit*>("Text1")->setText("5");
        e->editor().view.Text1 = "5";
        bool scanned = false;
        rig.clock.after(60, [&] {
            rig.app->serialDialog.PulsUpdtClick();
            scanned = true;
        });
        child<QAction>(e, "Menuencoder")->trigger();
        QVERIFY(scanned);
        QCOMPARE(rig.app->serialDialog.view().failureText, std::string(rig.app->ctx.texts->lineBusy));
        QCOMPARE(e->transfers()->up.lastEnd, UploadEnd::Complete);
        QVERIFY(e->editor().st.ProgBox.find("1\t100\t400") != std::string::npos);
        // The progress window counts the header, one page of positions and one of masks.
        rig.app->refreshAll();
        auto* wait = child<ui::WaitFormWindow>(e, "WaitForm");
        QCOMPARE(label(wait, "Outcome") + "|" + child<QProgressBar>(wait, "Count")->format(),
                 QString("Received|3 of 3 frames"));
    }
};

QTEST_MAIN(LineOwnerTest)
#include "line_owner_test.moc"
