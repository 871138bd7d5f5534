#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "app/context.h"
#include "editor/editor_state.h"
#include "editor/multi_files.h"
#include "platform/memory_settings_store.h"
#include "platform/virtual_clock.h"
#include "ui/multi_panel.h"
#include "unit/program_list_fakes.h"

using namespace gyrel;

class MultiPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        qputenv("GYREL_HOME", "H:\\gyrel");  // held in memory only; qputenv, as the test watchdog reads the environment
        ctx.applyLanguage("EN");
    }
    void cleanup() { qunsetenv("GYREL_HOME"); }

    void drawsTheBoxesAndMovesWithTheKeys() {
        EditorState ed;
        MultiFiles mf(ctx, ed);
        mf.ConfiguraLista();
        fs.files["c:\\one.txt"] = "1\t1\t2\r\n";
        mf.panel.MultiPath[0] = "c:\\one.txt";
        mf.panel.MultiPath[15] = "c:\\gone.txt";
        MultiPanelWidget w(mf, ctx);
        int changes = 0;
        w.onChanged = [&] { ++changes; };
        w.render();
        w.show();
        QCOMPARE(w.title(), QString("Multiple Files "));
        auto* last = w.findChild<QLineEdit*>("MultiPath_15");
        auto* first = w.findChild<QLineEdit*>("MultiPath_0");
        QVERIFY(last && first && w.findChild<QPushButton*>("MultiButt_3"));
        QCOMPARE(first->text(), QString("c:\\one.txt"));

        QTest::keyClick(last, Qt::Key_Return);
        QCOMPARE(mf.panel.MultiPathBack[15], kSlotMissing);
        QCOMPARE(op.shown.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(op.shown[0].prompt), QString("File not present"));
        QVERIFY(last->styleSheet().contains("rgb(255, 128, 128)"));
        QVERIFY(changes >= 1);

        QTest::mouseClick(first, Qt::LeftButton);
        QCOMPARE(ed.CurrentSlot, 0);
        QCOMPARE(ed.ProgramFilePath, std::string("c:\\one.txt"));
        QCOMPARE(ed.ProgBox, std::string("1\t1\t2\r\n"));

        QTest::keyClicks(first, "x");
        QCOMPARE(mf.panel.MultiPath[0], std::string("c:\\one.txtx"));
    }

private:
    listtest::MemoryFs fs;
    listtest::ScriptedOperator op;
    listtest::NoPort port;
    VirtualClock clock;
    MemorySettingsStore settings;
    Context ctx{Services{port, clock, settings, fs, op}};
};

QTEST_MAIN(MultiPanelTest)
#include "multi_panel_test.moc"
