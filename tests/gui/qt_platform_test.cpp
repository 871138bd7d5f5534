// The Qt side of the platform layer: serial port over a pseudo-terminal, the
// clock's waits and timers, the settings store.
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_settings_store.h"

using namespace gyrel;

namespace {

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
    ~Pty() { closeMaster(); }
    void closeMaster() {
        if (master >= 0) ::close(master);
        master = -1;
    }
    void send(const std::string& bytes) { QVERIFY(::write(master, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())); }
    std::string receive() {
        std::string out;
        char buf[256];
        ssize_t n;
        while ((n = ::read(master, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
        return out;
    }
};

SerialError::Kind openFailure(QtSerialPort& port) {
    try {
        port.setPortOpen(true);
    } catch (const SerialError& e) {
        return e.kind();
    }
    return SerialError::Kind::Io;
}

}  // namespace

class QtPlatformTest : public QObject {
    Q_OBJECT

private slots:
    void portNamesSettingsAndAClosedPortAreChecked() {
        QtSerialPort port;
        QCOMPARE(port.devicePath(), std::string("/dev/ttyS0"));
        port.setCommPort(4);
        QCOMPARE(port.devicePath(), std::string("/dev/ttyS3"));
        port.setPortName("/dev/ttyUSB0");
        QCOMPARE(port.portLabel(), std::string("/dev/ttyUSB0"));
        QVERIFY_THROWS_EXCEPTION(SerialError, port.setCommPort(0));
        port.setSettings("19200,e,7,2");
        for (const char* bad : {"", "9600,n,8", "fast,n,8,1", "9600,x,8,1", "9600,n,9,1", "9600,n,8,3", "9600,n,8,1,1"}) {
            QVERIFY_THROWS_EXCEPTION(SerialError, port.setSettings(bad));
        }
        QCOMPARE(port.settings(), std::string("19200,e,7,2"));
        QVERIFY_THROWS_EXCEPTION(SerialError, port.inBufferCount());  // closed
        QVERIFY_THROWS_EXCEPTION(SerialError, port.input());
        QVERIFY_THROWS_EXCEPTION(SerialError, port.output(Bytes{0x80}));
    }

    void missingDeviceIsNoSuchPort() {
        QtSerialPort port;
        port.setPortName("/dev/ttyUSB_gyrel_missing");
        QCOMPARE(openFailure(port), SerialError::Kind::NoSuchPort);
        QCOMPARE(port.lastOpenError(), std::string("Serial port /dev/ttyUSB_gyrel_missing does not exist"));
        QVERIFY(!port.portOpen());
    }

    void ptyTakesAnyLineSettingsAndCarriesBytesBothWays() {
        Pty pty;
        QVERIFY(!pty.slavePath.empty());
        QtClock clock;
        QtSerialPort port;
        port.setPortName(pty.slavePath);
        port.setSettings("19200,e,7,2");
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
    }

    void bytesReceivedWhileClosedAreDroppedAndTheBufferKeepsItsSize() {
        Pty pty;
        QtClock clock;
        QtSerialPort port;
        port.setPortName(pty.slavePath);
        port.setInBufferSize(8);
        port.setPortOpen(true);
        port.setPortOpen(false);
        pty.send("stale bytes");
        clock.waitMs(30);
        port.setPortOpen(true);
        clock.waitMs(30);
        QCOMPARE(port.inBufferCount(), 0);
        pty.send("0123456789ABCDEF");
        clock.waitMs(50);
        QCOMPARE(port.input(), toBytes("01234567"));
    }

    void vanishedFarEndClosesThePortAndItCanBeOpenedAgain() {
        auto pty = std::make_unique<Pty>();
        QtClock clock;
        QtSerialPort port;
        port.setPortName(pty->slavePath);
        port.setPortOpen(true);
        pty->closeMaster();
        const bool closed = clock.waitUntil(
            [&] {
                try {
                    port.inBufferCount();
                } catch (const SerialError&) {
                }
                return !port.portOpen();
            },
            2000);
        QVERIFY(closed);
        QCOMPARE(port.lostCount(), 1);
        QVERIFY_THROWS_EXCEPTION(SerialError, port.inBufferCount());
        // The path is gone with its master: opening reports it as missing.
        QCOMPARE(openFailure(port), SerialError::Kind::NoSuchPort);
        // A new device at a new path opens normally.
        Pty again;
        port.setPortName(again.slavePath);
        port.setPortOpen(true);
        QVERIFY(port.portOpen());
    }

    void waitsLastAtLeastTheirTimeAndTimersTick() {
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
    }

    void settingsKeysMatchWithoutRegardToCase() {
        QTemporaryDir dir;
        const QString file = dir.filePath("gyrel.ini");
        {
            QtSettingsStore store(file);
            store.set("startup", "Passo", "45");
            store.set("startup", "Velo", "9600,n,8,1");
            QCOMPARE(store.get("startup", "passo").value_or(""), std::string("45"));
            QCOMPARE(store.get("startup", "VELO").value_or(""), std::string("9600,n,8,1"));
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
        QCOMPARE(again.get("startup", "passo").value_or(""), std::string("90"));
        QCOMPARE(again.get("startup", "primi").value_or(""), std::string("1,2"));
        QCOMPARE(again.get("other", "passo").has_value(), false);
        qputenv("GYREL_SETTINGS", file.toLocal8Bit());  // the environment names the file
        QCOMPARE(QtSettingsStore().get("startup", "PASSO").value_or(""), std::string("90"));
        qunsetenv("GYREL_SETTINGS");
    }
};

QTEST_GUILESS_MAIN(QtPlatformTest)
#include "qt_platform_test.moc"
