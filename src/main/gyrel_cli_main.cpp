#include <QCoreApplication>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define STDERR_FILENO 2
#else
#include <unistd.h>
#endif

#include "cli/cli.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_serial_port.h"

// gyrel-cli: the jobs of src/cli/ over the real clock and real serial ports.
// The Qt core application is there for its event loop, which the clock's
// waits run and which delivers the bytes the ports receive.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    gyrel::QtClock clock;
    gyrel::cli::Env env{std::cout, std::cerr, clock,
                        [](const std::string& path) -> std::unique_ptr<gyrel::SerialPort> {
                            auto port = std::make_unique<gyrel::QtSerialPort>();
                            port->setPortName(path);
                            return port;
                        },
                        isatty(STDERR_FILENO) != 0};
    return gyrel::cli::run(args, env);
}
