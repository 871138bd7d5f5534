// The windows as a technician meets them: a check that leaves the caret alone,
// one notice on exit, numbers that are never cut, titles, the graph beside the
// editor, message boxes and file dialogs.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>

#include "app/main_title.h"
#include "gui_fixture.h"
#include "platform/working_folder.h"
#include "ui/qt_operator.h"

using namespace gyrel;
using namespace gyrel::test;

namespace {

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
    void aFailedDataControlLeavesTheCaretWhereItWasWithNoOldSelection() {
        GuiRig rig;
        EditorWindow* e = rig.editor();
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
        EditorWindow* e = rig.editor();
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
        EditorWindow* e = rig.editor();
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
        EditorWindow* e = rig.editor();
        QVERIFY(e);
        child<QAction>(e, "MenEnableGraphic")->trigger();
        auto* graph = child<QWidget>(e, "Form2");
        QVERIFY(graph->isVisible());
        // Neither the verify button, nor the program selector, nor the log is hidden.
        for (const char* name : {"ButtVerificaPrg", "Text1", "VScroll1", "Text2"}) {
            auto* w = child<QWidget>(e, name);
            const QRect onScreen(w->mapToGlobal(QPoint(0, 0)), w->size());
            QVERIFY2(!graph->frameGeometry().intersects(onScreen), name);
        }
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
