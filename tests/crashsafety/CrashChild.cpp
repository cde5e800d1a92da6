// crash_child settings|config|event <program folder>: saves one file over and over, as the
// program does, until it is killed. Before the first save under test it writes the two versions
// the file may hold ("old.ref", "new.ref" beside the program folder) and prints "ready".
#include "crashsafety/CrashScene.h"

#include "app/StartUp.h"
#include "common/Files.h"
#include "retrieval/EventDownload.h"
#include "support/LongRun.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <functional>

using namespace mr3x;
using namespace mr3x::crash;

namespace {

void ready()
{
    std::printf("ready\n");
    std::fflush(stdout);
}

/// Saves the newer version of the file and the older one in turn until killed; first keeps each
/// as a reference beside the program folder.
[[noreturn]] void saveForever(const QString& appFolder, SaveKind kind, const std::function<bool(bool newer)>& save)
{
    const QString file = savedFile(appFolder, kind);
    for (const bool newer : {true, false}) {
        const QString reference = QFileInfo(appFolder).dir().filePath(QLatin1String(newer ? "new.ref" : "old.ref"));
        QFile::remove(reference);
        if (!save(newer) || !QFile::copy(file, reference))
            std::exit(4);
    }
    ready();
    for (bool newer = true;; newer = !newer)
        if (!save(newer))
            std::exit(5);
}

[[noreturn]] void saveMasterSettings(const QString& appFolder)
{
    Scene scene(appFolder);
    frmMaster& w = scene.load();
    if (scene.lifetime.ended())
        std::exit(3);
    const QString longEntry = QStringLiteral("Simulated unit (M-R32)");
    w.cboCommports->addItem(longEntry);
    saveForever(appFolder, SaveKind::MasterSettings, [&](bool newer) {
        w.cboCommports->setCurrentText(newer ? longEntry : QStringLiteral("3"));
        w.optDisplayMode[newer ? 1 : 0]->setChecked(true);
        return w.startUp->SAVE_SETTINGS();
    });
}

[[noreturn]] void saveSystemConfig(const QString& appFolder)
{
    const QStringList older = {QStringLiteral("MR-0101,Not set,M-R32,Feeder 7 Fault,North Yard,SIM 4401")};
    const QStringList newer = older + QStringList{QStringLiteral("MR-0102,Not set,M-R32,Feeder 7 Fault,South Yard,SIM 4402")};
    saveForever(appFolder, SaveKind::SystemConfig, [&](bool isNewer) {
        return writeTextFile(savedFile(appFolder, SaveKind::SystemConfig), isNewer ? newer : older);
    });
}

[[noreturn]] void receiveEvent(const QString& appFolder)
{
    Scene scene(appFolder);
    frmMaster& w = scene.load();
    if (scene.lifetime.ended())
        std::exit(3);
    scene.choosePort();
    const QString unitFolder = test::substationUnitFolder(appFolder);
    test::writeWhole(joinPath(unitFolder, QStringLiteral("MR-0101.IDX")), test::toQBytes(scene.unit().indexFile()));
    const QString stored = joinPath(unitFolder, test::storedNameOf(scene.unit().eventRecord(kEventSlot)));
    ready();
    for (;;) {
        removeFile(stored); // fetched again
        test::selectIndexLine(w, kEventSlot);
        w.eventDownload->cmdGetData_Click();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // In the order of kSaveKinds.
    void (*const saves[])(const QString& appFolder) = {saveMasterSettings, saveSystemConfig, receiveEvent};
    for (SaveKind kind : kSaveKinds)
        if (argc == 3 && QLatin1String(argv[1]) == QLatin1String(namesOf(kind).argument))
            saves[static_cast<std::size_t>(kind)](QString::fromLocal8Bit(argv[2]));
    std::fprintf(stderr, "usage: crash_child settings|config|event <program folder>\n");
    return 2;
}
