// The real clock and the real serial port against the simulated device on a
// pseudo-terminal that takes bytes at a UART's pace: what matters is what the
// DEVICE received, down to the last byte of each conversation.
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_serial_port.h"
#include "sim/device.h"
#include "sim/pty_end.h"

using namespace gyrel;

namespace {

struct Seam {
    QTemporaryDir home;
    sim::Device device;
    sim::PtyEnd end;
    QtClock clock;
    std::ostringstream out, err;
    cli::Env env{out, err, clock, [](const std::string& path) -> std::unique_ptr<SerialPort> {
                     auto port = std::make_unique<QtSerialPort>();
                     port->setPortName(path);
                     return port;
                 }};

    explicit Seam(const std::string& model) : device(model), end(device) {
        qputenv("GYREL_HOME", home.path().toLocal8Bit());
        end.start();
    }
    ~Seam() {
        end.stop();
        qunsetenv("GYREL_HOME");
    }
    int cli(std::vector<std::string> args) { return cli::run(args, env); }
    std::string file(const std::string& name, const std::string& text) {
        const std::string path = home.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    Bytes received() { return end.withDevice([](sim::Device& d) { return d.received(); }); }
    // The last byte the device took, -1 before any. The device takes each byte at
    // its line time, on its own thread: a byte the program drained may reach it
    // a moment after the program has returned, and a lost one never does.
    int lastReceived() {
        const Bytes got = received();
        return got.empty() ? -1 : got.back();
    }
};

}  // namespace

class LineSeamTest : public QObject {
    Q_OBJECT

private slots:
    // The host acknowledges every frame of an upload with 0xFF, the last one
    // just before it empties its buffers and closes the port.
    void uploadsLastAcknowledgementReachesTheDevice() {
        Seam s("V820AX");
        const std::string program = s.file("p.txt", "1\t100\t200\r\n3\t16000\t50\r\n5\t7\t9\r\n");
        QCOMPARE(s.cli({"download", "--model", "V820AX", "--port", s.end.slavePath(), "--slot", "2", program}), 0);
        const std::size_t before = s.received().size();
        const std::size_t entries = s.end.withDevice([](sim::Device& d) { return d.program(1)->size(); });
        QCOMPARE(s.cli({"upload", "--model", "V820AX", "--port", s.end.slavePath(), "--slot", "2"}), 0);
        const std::size_t frames = 1 + 2 * ((entries + 7) / 8);
        QTRY_COMPARE_WITH_TIMEOUT(s.received().size() - before, 19 + frames, 2000);
        QCOMPARE(s.lastReceived(), 0xFF);
    }

    // A last line ending in a comment gets no reply awaited: its CR goes out
    // just before the port closes.
    void v712LastLineWithACommentArrivesWhole() {
        Seam s("V712");
        const std::string program = s.file("p.712", "PRG=1,OUT=1,CON=90,COF=180\r\nPRG=1,OUT=2,CON=5' last\r\n");
        QCOMPARE(s.cli({"download", "--model", "V712", "--port", s.end.slavePath(), "--slot", "1", program}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(s.lastReceived(), int{'\r'}, 2000);
        const auto lines = s.end.withDevice([](sim::Device& d) { return d.textLines(); });
        QVERIFY(!lines.empty());
        QCOMPARE(lines.back(), std::string("PRG=1,OUT=2,CON=5"));
    }

    // A USB adapter pulled and plugged back looks to the program like its path
    // (a symbolic link) pointing at a new terminal: the status job polls on
    // through the gap, marking the missing polls, and reads again afterwards.
    void statusPollsThroughAnUnplugAndResumesAtTheSamePath() {
        QTemporaryDir home;
        const std::string path = home.filePath("ttyUSB0").toStdString();
        auto first = std::make_unique<sim::Device>("NORM");
        auto firstEnd = std::make_unique<sim::PtyEnd>(*first);
        firstEnd->start();
        QVERIFY(QFile::link(QString::fromStdString(firstEnd->slavePath()), QString::fromStdString(path)));
        sim::Device second("NORM");
        sim::PtyEnd secondEnd(second);
        secondEnd.open();
        QTimer::singleShot(500, [&] { firstEnd.reset(); });  // pulled
        QTimer::singleShot(1200, [&] {                       // plugged back
            secondEnd.start();
            QFile::remove(QString::fromStdString(path));
            QFile::link(QString::fromStdString(secondEnd.slavePath()), QString::fromStdString(path));
        });
        QtClock clock;
        std::ostringstream out, err;
        cli::Env env{out, err, clock, [](const std::string& p) -> std::unique_ptr<SerialPort> {
                         auto port = std::make_unique<QtSerialPort>();
                         port->setPortName(p);
                         return port;
                     }};
        const int rc = cli::run({"status", "--model", "NORM", "--port", path, "--count", "70"}, env);
        secondEnd.stop();
        QCOMPARE(rc, 0);
        std::vector<char> links;
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);) links.push_back(line.empty() ? '?' : line.back());
        QCOMPARE(links.size(), std::size_t{70});
        QVERIFY(links.front() != '0');
        QVERIFY(std::count(links.begin(), links.end(), '0') >= 2);  // the missing polls
        QVERIFY(links.back() != '0');
        const auto lastMissing = std::find(links.rbegin(), links.rend(), '0');
        QVERIFY(lastMissing - links.rbegin() >= 5);  // several good polls after the gap
    }
};

QTEST_MAIN(LineSeamTest)
#include "line_seam_test.moc"
