// The Qt side of the platform layer at the real seam: the serial port on a
// pseudo-terminal, the clock's waits and timers, the settings store; and the
// simulated device on a pseudo-terminal that takes bytes at a UART's pace, where
// what matters is what the DEVICE received, down to the last byte.
#include <QtCore>
#include <QtTest>
#include <algorithm>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "cli/cli.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_settings_store.h"
#include "sim/device.h"
#include "sim/pty_end.h"

using namespace gyrel;

namespace {

std::unique_ptr<SerialPort> qtPort(const std::string& path) {
    auto port = std::make_unique<QtSerialPort>();
    port->setPortName(path);
    return port;
}

// A pseudo-terminal pair: the test plays the device on the master side.
struct Pty {
    int master = -1;
    std::string slavePath;
    Pty() {
        int slave = -1;
        char name[128] = {};
        termios raw{};
        cfmakeraw(&raw);
        if (openpty(&master, &slave, name, &raw, nullptr) == 0) {
            slavePath = name;
            ::close(slave);  // QtSerialPort opens its own
            fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        }
    }
    ~Pty() { ::close(master); }
    void send(const std::string& bytes) { QVERIFY(::write(master, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())); }
    std::string receive() {
        std::string out;
        char buf[256];
        ssize_t n;
        while ((n = ::read(master, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
        return out;
    }
};

struct Seam {
    QTemporaryDir home;
    sim::Device device;
    sim::PtyEnd end;
    QtClock clock;
    std::ostringstream out, err;
    cli::Env env{out, err, clock, qtPort};

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
    void theQtClockWaitsAndThePortCarriesBytesUntilItsFarEndVanishes() {
        QtSerialPort port;
        QCOMPARE(port.devicePath(), std::string("/dev/ttyS0"));
        port.setCommPort(4);
        QCOMPARE(port.devicePath(), std::string("/dev/ttyS3"));
        port.setPortName("/dev/ttyUSB0");
        QCOMPARE(port.portLabel(), std::string("/dev/ttyUSB0"));
        QVERIFY_THROWS_EXCEPTION(SerialError, port.setCommPort(0));
        port.setSettings("19200,e,7,2");
        for (const char* bad : {"", "9600,n,8", "fast,n,8,1", "9600,x,8,1", "9600,n,9,1", "9600,n,8,3", "9600,n,8,1,1"})
            QVERIFY_THROWS_EXCEPTION(SerialError, port.setSettings(bad));
        QCOMPARE(port.settings(), std::string("19200,e,7,2"));
        QVERIFY_THROWS_EXCEPTION(SerialError, port.inBufferCount());  // closed
        QVERIFY_THROWS_EXCEPTION(SerialError, port.input());
        QVERIFY_THROWS_EXCEPTION(SerialError, port.output(Bytes{0x80}));

        // The clock's waits last at least their time, and its timers tick.
        QtClock clock;
        const double t0 = clock.nowMs();
        clock.waitMs(35);
        QVERIFY(clock.nowMs() - t0 >= 34.5);
        auto timer = clock.createTimer();
        int ticks = 0;
        timer->onTick = [&] {
            if (++ticks == 3) timer->setEnabled(false);
        };
        timer->setInterval(10);
        timer->setEnabled(true);
        QVERIFY(clock.waitUntil([&] { return !timer->enabled(); }, 2000));
        QCOMPARE(ticks, 3);

        // A pseudo-terminal takes any line settings and carries bytes both ways.
        Pty pty;
        QVERIFY(!pty.slavePath.empty());
        port.setPortName(pty.slavePath);
        port.setInBufferSize(8);
        port.setPortOpen(true);
        port.setSettings("9600,o,7,1");  // changing an open pty's settings must not fail either

        port.output(Bytes{0x80, 0x01});
        std::string got;
        clock.waitUntil([&] { got += pty.receive(); return got.size() >= 2; }, 1000);
        QCOMPARE(got, std::string("\x80\x01", 2));

        // Bytes sent by the device arrive in the count while the logic waits.
        pty.send(std::string("\x80\x00\x05xy", 5));
        QVERIFY(clock.waitUntil([&] { return port.inBufferCount() >= 5; }, 1000));
        QCOMPARE(port.input(), (Bytes{0x80, 0x00, 0x05, 'x', 'y'}));
        pty.send("junk");
        clock.waitUntil([&] { return port.inBufferCount() >= 4; }, 1000);
        port.setInBufferCount(0);
        QCOMPARE(port.inBufferCount(), 0);

        // Bytes that arrive while the port is closed are dropped; the buffer keeps its size.
        port.setPortOpen(false);
        pty.send("stale bytes");
        clock.waitMs(30);
        port.setPortOpen(true);
        clock.waitMs(30);
        QCOMPARE(port.inBufferCount(), 0);
        pty.send("0123456789ABCDEF");
        clock.waitMs(50);
        QCOMPARE(port.input(), toBytes("01234567"));

        // The far end vanishes: the port closes, and its path is missing.
        ::close(std::exchange(pty.master, -1));
        const auto vanished = [&] {
            try {
                port.inBufferCount();
            } catch (const SerialError&) {
            }
            return !port.portOpen();
        };
        QVERIFY(clock.waitUntil(vanished, 2000));
        QCOMPARE(port.lostCount(), 1);
        QVERIFY_THROWS_EXCEPTION(SerialError, port.inBufferCount());
        try {
            port.setPortOpen(true);
            QFAIL("a vanished path opened");
        } catch (const SerialError& e) {
            QCOMPARE(e.kind(), SerialError::Kind::NoSuchPort);
        }
        QCOMPARE(port.lastOpenError(), "Serial port " + pty.slavePath + " does not exist");
        QVERIFY(!port.portOpen());
        Pty again;  // a new device at a new path opens normally
        port.setPortName(again.slavePath);
        port.setPortOpen(true);
        QVERIFY(port.portOpen());
    }

    void settingsKeysMatchWithoutRegardToCase() {
        QTemporaryDir dir;
        const QString file = dir.filePath("gyrel.ini");
        auto read = [](const SettingsStore& s, const char* k) { return s.get("startup", k).value_or("-"); };
        {
            QtSettingsStore store(file);
            store.set("startup", "Passo", "45");
            store.set("startup", "Velo", "9600,n,8,1");
            QCOMPARE(read(store, "passo") + "|" + read(store, "VELO"), std::string("45|9600,n,8,1"));
            store.set("startup", "PASSO", "90");
        }
        QSettings raw(file, QSettings::IniFormat);
        raw.beginGroup("startup");
        QCOMPARE(raw.childKeys().filter("passo", Qt::CaseInsensitive), QStringList{"PASSO"});
        QCOMPARE(raw.value("PASSO").toString(), QString("90"));
        raw.setValue("Primi", QStringList{"1", "2"});  // what a hand edit "1,2" reads back as
        raw.endGroup();
        raw.sync();
        QtSettingsStore again(file);
        QCOMPARE(read(again, "passo") + "|" + read(again, "primi"), std::string("90|1,2"));
        QVERIFY(!again.get("other", "passo"));
        qputenv("GYREL_SETTINGS", file.toLocal8Bit());  // the environment names the file
        QCOMPARE(read(QtSettingsStore(), "PASSO"), std::string("90"));
        qunsetenv("GYREL_SETTINGS");
    }

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
        QCOMPARE(lines.empty() ? std::string() : lines.back(), std::string("PRG=1,OUT=2,CON=5"));
    }

    // A USB adapter pulled and plugged back looks to the program like its path
    // (a symbolic link) pointing at a new terminal: the status job polls on
    // through the gap, marking the missing polls, and reads again afterwards.
    void statusPollsThroughAnUnplugAndResumesAtTheSamePath() {
        Seam s("NORM");  // the encoder plugged back, behind a new terminal
        const QString path = s.home.filePath("ttyUSB0");
        sim::Device first("NORM");
        auto firstEnd = std::make_unique<sim::PtyEnd>(first);
        firstEnd->start();
        QVERIFY(QFile::link(QString::fromStdString(firstEnd->slavePath()), path));
        QTimer::singleShot(500, [&] { firstEnd.reset(); });  // pulled
        QTimer::singleShot(1200, [&] {                       // plugged back
            QFile::remove(path);
            QFile::link(QString::fromStdString(s.end.slavePath()), path);
        });
        QCOMPARE(s.cli({"status", "--model", "NORM", "--port", path.toStdString(), "--count", "70"}), 0);
        std::string links;  // the last character of each line: the link's quality, '0' for a missing poll
        std::istringstream lines(s.out.str());
        for (std::string line; std::getline(lines, line);) links += line.empty() ? '?' : line.back();
        QCOMPARE(links.size(), std::size_t{70});
        QVERIFY(links.front() != '0');
        QVERIFY(std::count(links.begin(), links.end(), '0') >= 2);  // the missing polls
        QVERIFY(links.find_last_of('0') + 6 <= links.size());  // five or more good polls after the gap
    }
};

QTEST_MAIN(LineSeamTest)
#include "line_seam_test.moc"
