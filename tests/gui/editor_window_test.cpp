// The editor window offscreen: typing, Enter, the error message and the selected
// token, the correction and the re-armed check.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include "editor/editor_files.h"
#include "platform/qt/qt_clock.h"
#include "ui/editor_window.h"
#include "unit/app_test_doubles.h"
#include "unit/program_list_fakes.h"

using namespace gyrel;

class EditorWindowTest : public QObject {
    Q_OBJECT

    struct Rig {
        testing_doubles::TempHome temp;
        testing_doubles::PropertyPort port;
        QtClock clock;
        MemorySettingsStore store;
        StdFileSystem fs;
        listtest::ScriptedOperator op;
        Context ctx{Services{port, clock, store, fs, op}};
        Rig() {
            temp.create();
            ctx.LanguageCode = "EN";
        }
    };

    std::unique_ptr<Rig> rigPtr;

private slots:
    void init() { rigPtr = std::make_unique<Rig>(); }
    void cleanup() {
        delete currentEditor();  // a failed check leaves its window open
        rigPtr.reset();
    }

    void wrongLineIsReportedAndItsTokenSelected() {
        Rig& rig = *rigPtr;
        EditorWindow* w = openEditor(rig.ctx, nullptr);
        QVERIFY(w);
        QCOMPARE(w->objectName(), QString("Form1"));
        QCOMPARE(w->windowTitle(), QString("Programming"));
        auto* box = w->findChild<QTextEdit*>("ProgBox");
        QVERIFY(box);
        QVERIFY(box->isVisible());
        QVERIFY(w->editor().st.CheckArmed);
        QTRY_COMPARE(w->editor().st.ResizeSeen, 1);

        box->setFocus();
        QTest::keyClicks(box, "1 100 4000");
        auto* frame = w->findChild<QGroupBox*>("Frame1");
        QCOMPARE(frame->title(), QString("--(Modif.)"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(rig.op.shown.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(rig.op.shown[0].title), QString("Wrong value"));
        QCOMPARE(QString::fromStdString(rig.op.shown[0].prompt), QString("Not valid  ' 4000 '"));
        QCOMPARE(box->textCursor().selectedText(), QString("4000"));
        QCOMPARE(rig.fs.readAll(WorkFilePath()), std::string("1 100 4000\r\n"));

        QTest::keyClicks(box, "400");  // types over the selected token
        QCOMPARE(box->toPlainText(), QString("1 100 400\n"));
        QTest::keyClick(box, Qt::Key_Return);  // the first Enter only re-arms
        QCOMPARE(rig.op.shown.size(), std::size_t(1));
        QVERIFY(w->editor().st.CheckArmed);
        QTest::keyClick(box, Qt::Key_Return);  // the second checks, and passes
        QCOMPARE(rig.op.shown.size(), std::size_t(1));
        QVERIFY(w->editor().st.ParseOk);
        QCOMPARE(w->editor().st.CamRowCount, 1);
        QCOMPARE(rig.fs.readAll(WorkFilePath()), std::string("1 100 400\r\n\r\n\r\n"));
        w->close();
        QTRY_VERIFY(currentEditor() == nullptr);
    }

    void accentedProgramIsShownAndKeptByteForByte() {
        Rig& rig = *rigPtr;
        const std::string text = "' prova \xE8 \x92x\x92\r\n1 10 20\r\n";
        rig.fs.writeAll(WorkFilePath(), text);
        EditorWindow* w = openEditor(rig.ctx, nullptr);
        auto* box = w->findChild<QTextEdit*>("ProgBox");
        QCOMPARE(box->toPlainText(), QString::fromUtf8("' prova è ’x’\n1 10 20\n"));
        QCOMPARE(w->editor().st.ProgBox, text);
        QTest::keyClick(box, Qt::Key_End);
        QCOMPARE(w->editor().st.ProgBox, text);
        w->close();
        QTRY_VERIFY(currentEditor() == nullptr);
    }

    void offsetBeyondTheRangeKeepsTheFocus() {
        Rig& rig = *rigPtr;
        EditorWindow* w = openEditor(rig.ctx, nullptr);
        auto* box = w->findChild<QLineEdit*>("Text4_2");
        QVERIFY(box);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "1801");
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!rig.op.shown.empty());
        QCOMPARE(QString::fromStdString(rig.op.shown.back().prompt),
                 QString("Too high Offset  1801\r\nmax. 1800, min -1800"));
        box->setText("12");
        w->editor().st.Text4[2] = "12";
        const std::size_t before = rig.op.shown.size();
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(rig.op.shown.size(), before);
        QTRY_VERIFY(w->findChild<QLineEdit*>("Text4_3")->hasFocus());
        w->close();
        QTRY_VERIFY(currentEditor() == nullptr);
    }

    void transferMenusWaitDisabled() {
        Rig& rig = *rigPtr;
        EditorWindow* w = openEditor(rig.ctx, nullptr);
        for (const char* name : {"Menuencoder", "MenuSettings"})
            QVERIFY2(!w->findChild<QAction*>(name)->isEnabled(), name);
        for (const char* name : {"MenuLoadList", "MenuSaveList", "MenuDeskpl"})
            QVERIFY2(w->findChild<QAction*>(name)->isEnabled(), name);
        QVERIFY(w->findChild<QAction*>("MenuLoadProgram")->isEnabled());
        QVERIFY(w->findChild<QAction*>("MenEnableGraphic")->isEnabled());
        QVERIFY(!w->findChild<QWidget*>("Command2")->isEnabled());
        // Once the holder of the link wires a command, its control is offered.
        int downloads = 0;
        w->onDownload = [&downloads] { ++downloads; };
        w->editor().st.Command2Enabled = true;
        w->render();
        auto* command2 = w->findChild<QPushButton*>("Command2");
        QVERIFY(command2->isEnabled());
        command2->click();
        QCOMPARE(downloads, 1);
        w->close();
        QTRY_VERIFY(currentEditor() == nullptr);
    }

    void multipleFilesBoxSwitchesThePanels() {
        EditorWindow* w = openEditor(rigPtr->ctx, nullptr);
        auto* multi = w->findChild<QCheckBox*>("SelezMulti");
        QVERIFY(multi->isEnabled());
        QVERIFY(!w->findChild<QWidget*>("Frame3")->isVisible());
        QVERIFY(w->findChild<QWidget*>("Frame2")->isVisible());
        multi->click();
        QVERIFY(w->findChild<QWidget*>("Frame3")->isVisible());
        QVERIFY(!w->findChild<QWidget*>("Frame2")->isVisible());
        QVERIFY(!w->findChild<QWidget*>("VScroll1")->isEnabled());
        QVERIFY(w->findChild<QLineEdit*>("MultiPath_15"));
        multi->click();
        QVERIFY(!w->findChild<QWidget*>("Frame3")->isVisible());
        QVERIFY(w->findChild<QWidget*>("Frame2")->isVisible());
    }
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
