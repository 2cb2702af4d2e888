#include "GuiTestSupport.h"

#include "profile/SettingsRecord.h"
#include "ui/Layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>

#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>

namespace z417::test {

void writeSolidPng(const QString& path, int width, int height, QColor colour) {
    QImage img(width, height, colour.alpha() == 255 ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    img.fill(colour);
    img.save(path, "PNG");
}

QColor testSkinColour(const char* name) {
    // A distinct opaque colour per image, derived from its name.
    const uint h = qHash(QByteArray(name));
    return QColor(static_cast<int>(h & 0xFF), static_cast<int>((h >> 8) & 0xFF),
                  static_cast<int>((h >> 16) & 0xFF));
}

void writeTestSkin(const QString& folder) {
    QDir().mkpath(folder);
    for (const layout::SkinImage& image : layout::images::all)
        writeSolidPng(folder + QString::fromUtf8(image.name), image.size.width, image.size.height,
                      testSkinColour(image.name));
}

void makeTestInstall(TestInstall& install, const SettingsRecord& record, uint8_t firstRun,
                     const std::string& lan) {
    std::string config(1, static_cast<char>(firstRun));
    config.append(reinterpret_cast<const char*>(record.bytes()), sizeof record);
    std::ofstream(install.file("config.bin"), std::ios::binary) << config;
    std::ofstream(install.file("str.ini"), std::ios::binary)
        << "[Skins]\nLan=" << lan << "\nPath=Test\nRColor=200\nGColor=201\nBColor=202\n"
        << "[Setting-EN]\nItem1=Stored One\nItem13=Stored B One\n";
    writeTestSkin(install.dir.path() + "/Skins/Test");
}

SettingsRecord sampleRecord() {
    SettingsRecord r{};
    restoreDefaultKeys(r);
    r.reportRate = 1;
    for (int j = 0; j < 6; ++j) {
        r.dpiLevel[j] = static_cast<uint8_t>(j);
        r.dpiStageEnabled[j] = 1;
        r.dpiColor[j][0] = static_cast<uint8_t>(40 * j);
        r.dpiColor[j][1] = 100;
        r.dpiColor[j][2] = 200;
    }
    r.lightMode = 1;
    r.lightBrightness = 9;
    r.breathEffect = 1;
    r.fireMakeTime = 32;
    r.fireBreakTime = 32;
    return r;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void prepareTestEnvironment(AppEnvironment& env, const TestInstall& install, UiServices& services,
                            Balloons& balloons, const std::string& lockPrefix) {
    static std::atomic<int> counter{0};
    env.services = &services;
    env.modulePath = install.modulePath();
    env.watchUdev = false;
    env.listenForBalloons = false;
    env.instanceName = lockPrefix + std::to_string(QCoreApplication::applicationPid()) + "-" +
                       std::to_string(counter++);
    env.balloonSink = [&balloons](const QString& title, const QString& text, int) {
        balloons.emplace_back(title, text);
    };
}

WindowFixture::WindowFixture(const SettingsRecord& record, uint8_t firstRun, const std::string& lan,
                             bool plugged) {
    makeTestInstall(install, record, firstRun, lan);
    if (!plugged)
        mouse.unplug();
    prepareTestEnvironment(env, install, services, balloons, "z417-gui-test-");
    window = std::make_unique<MainWindow>(env, state, device);
    initResult = window->start();
    QCoreApplication::processEvents(); // queued balloon requests
}

WindowFixture::~WindowFixture() {
    window.reset();
}

} // namespace z417::test

#include <QProcess>
#include <QProcessEnvironment>

namespace z417::test {

DemoRun runDemo(const QString& dataDir, const QString& script) {
    const QString scriptPath = dataDir + QStringLiteral(".script");
    QFile f(scriptPath);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(script.toUtf8());
    f.close();
    QProcess demo;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A runtime folder of its own, so that demos running side by side never meet.
    const QString runtime = dataDir + QStringLiteral(".runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    demo.setProcessEnvironment(env);
    demo.setProcessChannelMode(QProcess::MergedChannels);
    demo.start(QStringLiteral(Z417_BIN_DIR "/z417-demo"),
               {QStringLiteral("--data"), dataDir, QStringLiteral("--script"), scriptPath,
                QStringLiteral("--virtual-clock")});
    DemoRun run;
    if (!demo.waitForFinished(120000)) {
        demo.kill();
        demo.waitForFinished();
        run.output = QStringLiteral("demo did not finish");
        return run;
    }
    run.exitCode = demo.exitStatus() == QProcess::NormalExit ? demo.exitCode() : -1;
    run.output = QString::fromUtf8(demo.readAll());
    return run;
}

} // namespace z417::test
