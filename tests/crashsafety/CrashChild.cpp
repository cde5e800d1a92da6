// crash_child settings|config|event <program folder>: saves one file over and over, as the
// program does, until it is killed. Before the first save under test it writes the two versions
// the file may hold ("old.ref", "new.ref" beside the program folder) and prints "ready".
#include "crashsafety/CrashScene.h"

#include "app/StartUp.h"
#include "common/Files.h"
#include "retrieval/EventDownload.h"
#include "retrieval/EventIndex.h"
#include "retrieval/ReceivedFileRules.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace mr3x;
using namespace mr3x::crash;

namespace {

void ready()
{
    std::printf("ready\n");
    std::fflush(stdout);
}

/// Keeps what the file holds now as a reference version beside the program folder.
void keep(const QString& file, const QString& appFolder, const QString& name)
{
    const QString reference = QFileInfo(appFolder).dir().filePath(name);
    QFile::remove(reference);
    if (!QFile::copy(file, reference))
        std::exit(4);
}

[[noreturn]] void saveMasterSettings(const QString& appFolder)
{
    Scene scene(appFolder);
    frmMaster& w = scene.start();
    if (scene.lifetime.ended())
        std::exit(3);
    const QString longEntry = QStringLiteral("Simulated unit (M-R32)");
    w.cboCommports->addItem(longEntry);
    const QString ini = joinPath(appFolder, QStringLiteral("M-R3X Master.ini"));
    const auto save = [&](bool newer) {
        w.cboCommports->setCurrentText(newer ? longEntry : QStringLiteral("3"));
        w.optDisplayMode[newer ? 1 : 0]->setChecked(true);
        if (!w.startUp->SAVE_SETTINGS())
            std::exit(5);
    };
    save(true);
    keep(ini, appFolder, QStringLiteral("new.ref"));
    save(false);
    keep(ini, appFolder, QStringLiteral("old.ref"));
    ready();
    for (;;) {
        save(true);
        save(false);
    }
}

[[noreturn]] void saveSystemConfig(const QString& appFolder)
{
    const QString config = joinPath(appFolder, QStringLiteral("Substation.cfg"));
    const QStringList older = {QStringLiteral("MR-0101,Not set,M-R32,Feeder 7 Fault,North Yard,SIM 4401")};
    const QStringList newer = older + QStringList{QStringLiteral("MR-0102,Not set,M-R32,Feeder 7 Fault,South Yard,SIM 4402")};
    const auto save = [&](const QStringList& lines) {
        if (!writeTextFile(config, lines))
            std::exit(5);
    };
    save(newer);
    keep(config, appFolder, QStringLiteral("new.ref"));
    save(older);
    keep(config, appFolder, QStringLiteral("old.ref"));
    ready();
    for (;;) {
        save(newer);
        save(older);
    }
}

[[noreturn]] void receiveEvent(const QString& appFolder)
{
    Scene scene(appFolder);
    frmMaster& w = scene.start();
    if (scene.lifetime.ended())
        std::exit(3);
    scene.openPort();
    scene.storeTheIndex();
    const std::vector<std::uint8_t>& record = scene.unit().eventRecord(kEventSlot);
    const QString stored = joinPath(unitFolderOf(appFolder),
                                    QString::fromStdString(*retrieval::storedName(
                                        std::span(record.data(), retrieval::receivedHeadLength), retrieval::ReceivedKind::EventRecord)));
    ready();
    for (;;) {
        removeFile(stored); // fetched again
        scene.selectTheEvent();
        w.eventDownload->cmdGetData_Click();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: crash_child settings|config|event <program folder>\n");
        return 2;
    }
    const QString kind = QString::fromLocal8Bit(argv[1]);
    const QString appFolder = QString::fromLocal8Bit(argv[2]);
    if (kind == argumentFor(SaveKind::MasterSettings))
        saveMasterSettings(appFolder);
    if (kind == argumentFor(SaveKind::SystemConfig))
        saveSystemConfig(appFolder);
    if (kind == argumentFor(SaveKind::ReceivedEvent))
        receiveEvent(appFolder);
    return 2;
}
