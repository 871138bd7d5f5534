#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QSerialPortInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <regex>
#include <string>

#include "app/main_title.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/std_file_system.h"
#include "ui/gallery.h"
#include "ui/gyrel_app.h"
#include "ui/mainform.h"
#include "ui/qt_operator.h"
#include "ui/simulated_encoder.h"

namespace {

// Serial devices of the system beyond the numbered ports /dev/ttyS0..15
// (USB adapters and the like); pseudo-terminals are never listed.
std::vector<std::string> systemDevicePaths() {
    std::vector<std::string> paths;
#ifndef _WIN32
    static const std::regex numbered("/dev/ttyS([0-9]|1[0-5])");
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const std::string path = info.systemLocation().toStdString();
        if (!std::regex_match(path, numbered)) paths.push_back(path);
    }
#endif
    return paths;
}

// Once on line for a while, grabs the main window into a PNG file and ends.
void scheduleScreenshot(gyrel::ui::GyrelApp& app, const QString& file, int& exitCode) {
    QTimer::singleShot(0, [&app] {
        app.ctx.main.Check1Checked = true;
        app.mainform->refresh();
        app.link.check1MouseUp(true);  // polls until told to stop
    });
    QTimer::singleShot(2000, [&app, file, &exitCode] {
        app.refreshAll();
        if (!app.mainform->grab().save(file)) {
            std::fprintf(stderr, "gyrel: cannot write %s\n", qPrintable(file));
            exitCode = 1;
        }
        app.mainform->close();
    });
}

// --help and --version answer without a display: they are handled on a core
// application, before the windows' application (which needs one) exists.
bool asksHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h" || a == "-?" || a == "--help-all" || a == "--version" || a == "-v") return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName("gyrel");
    QCoreApplication::setApplicationVersion(GYREL_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription("Set-up and programming of programmable cam encoders");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption simulate("simulate", "Watch a simulated encoder (of MODEL, or of the stored model) "
                                                  "instead of a real serial port.");
    const QCommandLineOption port("port", "Serial device to use, e.g. /dev/ttyUSB0 or COM3.", "PATH");
    const QCommandLineOption screenshot("screenshot", "Go on line, wait 2 s, save the main window to FILE and end.",
                                        "FILE");
    const QCommandLineOption gallery("gallery", "Walk through a short session and save a picture of each window "
                                                "into DIR, then end.", "DIR");
    parser.addOptions({simulate, port, screenshot, gallery});
    parser.addPositionalArgument("MODEL", "With --simulate: NORM, OLD, V712, V820AX, V820HX, KMT71 or Px71.", "[MODEL]");
    if (asksHelpOrVersion(argc, argv)) {
        QCoreApplication core(argc, argv);
        parser.process(core);  // prints and ends the program
        return 0;
    }

    QApplication qapp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    parser.process(qapp);

    // A screenshot run leaves the user's settings and working folder alone.
    QTemporaryDir scratch;
    if (parser.isSet(screenshot) || parser.isSet(gallery)) {
        if (qEnvironmentVariableIsEmpty("GYREL_SETTINGS")) qputenv("GYREL_SETTINGS", scratch.filePath("gyrel.ini").toLocal8Bit());
        if (qEnvironmentVariableIsEmpty("GYREL_HOME")) qputenv("GYREL_HOME", scratch.filePath("home").toLocal8Bit());
        // Nobody is there to answer the start-up's message box about a working
        // folder it cannot make: make the whole path here, or end saying why.
        const QString home = qEnvironmentVariable("GYREL_HOME");
        if (!QDir().mkpath(home)) {
            std::fprintf(stderr, "gyrel: cannot create the working folder %s\n", qPrintable(home));
            return 1;
        }
    }

    gyrel::QtClock clock;
    gyrel::QtSettingsStore settings;
    gyrel::StdFileSystem fs;
    gyrel::QtOperator op;

    std::unique_ptr<gyrel::SerialPort> serial;
    gyrel::sim::InProcessPort* simulator = nullptr;
    const bool simulated = parser.isSet(simulate);
    const QStringList positional = parser.positionalArguments();
    if (simulated) {
        const std::string requested = positional.isEmpty() ? std::string() : positional.first().toStdString();
        const std::string model =
            gyrel::ui::simulatedModelFor(requested, settings.get(gyrel::kSettingsSection, "Tipo").value_or(""));
        auto encoder = gyrel::ui::makeDemoEncoder(model, clock);
        simulator = encoder.get();
        serial = std::move(encoder);
        if (!requested.empty() && requested != model)
            std::fprintf(stderr, "gyrel: unknown model %s, simulating %s\n", requested.c_str(), model.c_str());
    } else {
        if (!positional.isEmpty()) std::fprintf(stderr, "gyrel: MODEL is only taken with --simulate\n");
        serial = std::make_unique<gyrel::QtSerialPort>();
    }

    gyrel::ui::AppOptions options;
#ifndef _WIN32
    options.typedPathsAllowed = !simulated;
#endif
    if (!simulated) options.listDevicePaths = systemDevicePaths;
    options.quit = [] { QCoreApplication::quit(); };
    // The simulator follows the model menu unless a model was named.
    if (simulator && positional.isEmpty())
        options.modelChanged = [simulator, &clock](const std::string& model) {
            gyrel::ui::switchDemoModel(*simulator, model, clock);
        };

    gyrel::ui::GyrelApp app(gyrel::Services{*serial, clock, settings, fs, op}, options);
    op.setParent(app.mainform.get());
    op.setLanguage([&app] { return app.ctx.LanguageCode; });
    app.start();
    // A model named with --simulate is the program's model too.
    if (simulated && !positional.isEmpty()) app.selectModel(simulator->device().model().code);
    if (parser.isSet(port) && !simulated) {
        serial->setPortName(parser.value(port).toStdString());
        gyrel::setMainTitle(app.ctx);
    }

    int exitCode = 0;
    if (parser.isSet(screenshot)) scheduleScreenshot(app, parser.value(screenshot), exitCode);
    if (parser.isSet(gallery)) gyrel::ui::scheduleGallery(app, parser.value(gallery), exitCode);
    const int rc = QApplication::exec();
    return exitCode != 0 ? exitCode : rc;
}
