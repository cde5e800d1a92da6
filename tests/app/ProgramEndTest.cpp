// Ending the program while a routine waits on the unit: "Exit" and a fatal message end it at
// once. Nothing more goes to the unit or to disk, no routine runs on, no partial file is left.
#include "app/StartUp.h"
#include "link/ConnectionLifecycle.h"
#include "retrieval/EventDownload.h"
#include "retrieval/EventIndex.h"
#include "support/LinkFixture.h"
#include "systems/Systems.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include <utility>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::LinkFixture;

namespace {

const QString Ini = QStringLiteral("M-R3X Master.ini");

/// The window on the simulated unit; `endAt` makes a click reach the window during a wait.
struct Ending : LinkFixture {
    explicit Ending(sim::SimOptions options = defaultOptions()) : LinkFixture(options), w(start()) {}

    /// At the first status line `status`, the user picks "Exit" and answers Yes.
    void exitAt(const QString& status)
    {
        endAt(status, [this] {
            dialogs.answer(MsgAnswer::Yes);
            w.startUp->mnuExit_Click();
        });
    }
    /// At the first status line `status`, `end` runs through the wait's event loop.
    void endAt(const QString& status, std::function<void()> end)
    {
        whenStatus(status, [this, end] {
            if (std::exchange(armed, true))
                return;
            end();
            writesAtEnd = writes.size();
            statusesAtEnd = statusHistory.size();
            dialogsAtEnd = dialogs.shown().size();
        });
    }
    /// The unit folder's files, hidden and temporary ones included, but its link log, which
    /// keeps what happened up to the end.
    QStringList unitFiles() const
    {
        QStringList files = QDir(unitFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        files.removeAll("MR-0101 Link.log");
        return files;
    }

    /// Nothing ran on after the end: no status text, no message, nothing on the wire but the
    /// file transfer's own cancel, the port closed.
    void expectNothingAfterTheEnd()
    {
        ASSERT_TRUE(lifetime.ended());
        EXPECT_EQ(statusHistory.mid(statusesAtEnd), QStringList());
        EXPECT_EQ(dialogs.shown().size(), dialogsAtEnd);
        QByteArray after;
        for (std::size_t i = writesAtEnd; i < writes.size(); ++i)
            after += writes[i].second;
        EXPECT_EQ(after.count('\x18'), after.size()) << after.toHex().toStdString();
        EXPECT_FALSE(w.Comm->PortOpen());
        w.Comm->setPortOpen(true);
        w.Comm->Send(QStringLiteral("e"));
        EXPECT_FALSE(w.Comm->PortOpen()) << "the link stays closed";
    }

    frmMaster& w;
    bool armed = false;
    std::size_t writesAtEnd = 0, dialogsAtEnd = 0;
    qsizetype statusesAtEnd = 0;
};

} // namespace

TEST(ProgramEnd, ExitDuringAnEventDownloadKeepsTheEventsStoredAndLeavesNoPartOfTheNext)
{
    Ending f;
    f.choosePort();
    f.root.write(QDir(f.appFolder).relativeFilePath(f.unitFolder() + "/MR-0101.IDX"),
                 test::bytesOf(f.unit().indexFile()));
    f.w.eventIndex->FILL_INDEX_LIST();
    f.w.eventIndex->cmdSelectAll_Click();
    f.clearWire();
    // During the second event's reception.
    bool first = true;
    f.whenStatus("Request for Event 11 acknowledged", [&] { first = false; });
    QObject::connect(f.w.Comm, &SerialControl::Progress, f.w.Comm, [&] {
        if (!first && f.w.Comm->BytesTransferred() > 2048)
            f.w.lblStatus->setText("2048 bytes received");
    });
    f.exitAt("2048 bytes received");
    // The click comes from the event loop, as the user's would: the routine's end must stop
    // where Qt entered its handler, never pass through Qt's own code.
    f.w.cmdGetData->setEnabled(true); // as the log-on leaves it
    static QStringList qtMessages;
    const QtMessageHandler before =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) { qtMessages << message; });
    QEventLoop loop;
    f.lifetime.atEnd([&loop] { loop.quit(); });
    QTimer::singleShot(0, f.w.cmdGetData, [&] {
        f.w.cmdGetData->click();
        loop.quit(); // the download ended without the Exit: the checks below say so
    });
    try {
        loop.exec();
    } catch (const ProgramEnded&) {
        ADD_FAILURE() << "the end came out of the event loop";
    }
    qInstallMessageHandler(before);
    EXPECT_EQ(qtMessages.filter("Qt has caught an exception").size(), 0) << qtMessages.join("\n").toStdString();

    f.expectNothingAfterTheEnd();
    EXPECT_EQ(f.lifetime.exitCode(), 0);
    EXPECT_TRUE(f.root.read(Ini).contains("Last system = Substation\r\n"));
    QStringList stored = f.unitFiles();
    stored.removeAll("MR-0101.IDX");
    ASSERT_EQ(stored.size(), 1) << stored.join(", ").toStdString(); // the first event; no Event_11.EVT, no temporary
    EXPECT_TRUE(stored.front().endsWith(".trg"));
    EXPECT_EQ(f.unit().confirmedRecords(), std::set<int>{11});
}

TEST(ProgramEnd, ExitDuringTheSettingsCaptureAsksForNothingMoreAndKeepsNoPartOfIt)
{
    sim::SimOptions options = LinkFixture::defaultOptions();
    options.paced = true; // the settings text arrives a piece at a time
    Ending f(options);
    QObject::connect(f.w.Comm, &SerialControl::ScreenChanged, f.w.Comm, [&] {
        const QString screen = f.w.Comm->ScreenText();
        if (screen.contains("Parameters:") && !screen.contains("Finished"))
            f.w.lblStatus->setText("Settings arriving");
    });
    f.exitAt("Settings arriving");
    EXPECT_THROW(f.logOn(), ProgramEnded);

    f.expectNothingAfterTheEnd();
    EXPECT_FALSE(f.sent.contains('p')) << "no index request";
    EXPECT_EQ(f.unitFiles(), QStringList()) << "no settings capture, no index";
    EXPECT_EQ(f.w.Comm->CaptureFile(), QString());
}

TEST(ProgramEnd, AFatalMessageDuringGetIndexEndsTheProgramWithoutTheIndexOrTheSettingsFile)
{
    Ending f;
    // A system whose file the program cannot read, chosen while the index comes in.
    f.addSystem("Broken", {"only,three,fields"});
    f.w.DirSystems->Refresh();
    f.w.systems->DirSystems_Change();
    const QList<QListWidgetItem*> broken = f.w.lstSystems->findItems("Broken", Qt::MatchExactly);
    ASSERT_EQ(broken.size(), 1);
    f.choosePort();
    const QByteArray iniBefore = f.root.read(Ini);
    f.endAt("Index request acknowledged", [&f, &broken] { f.w.lstSystems->setCurrentItem(broken.front()); });
    EXPECT_THROW(f.w.eventIndex->cmdGetIndex_Click(), ProgramEnded);

    EXPECT_EQ(f.dialogs.last()->text, QDir::toNativeSeparators(f.root("Broken.cfg")) + " missing");
    f.expectNothingAfterTheEnd();
    EXPECT_EQ(f.lifetime.exitCode(), 1);
    EXPECT_EQ(f.root.read(Ini), iniBefore) << "a fatal end writes no settings";
    EXPECT_EQ(f.unitFiles(), QStringList());
}
