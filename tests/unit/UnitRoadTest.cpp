// The unit's road driven without a window: a session over the simulated unit, its reports taken
// by a plain observer. The same road through the window must put the same bytes on the wire and
// the same texts on the status line, since the window is only another observer.
#include "../retrieval/RetrievalFixture.h"

#include "link/ConnectionLifecycle.h"
#include "retrieval/EventDownload.h"
#include "unit/UnitSession.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::RecordingTransport;
using mr3x::test::RetrievalFixture;
using mr3x::test::TempFolder;

namespace {

/// What the session reports, kept in order; a question is answered with its first button, as a
/// user pressing Enter would.
class RecordingObserver final : public UnitObserver {
public:
    void status(const QString& text) override { statuses << text; }
    MsgAnswer ask(const QString& text, MsgButtons buttons, MsgIcon, const QString&) override
    {
        questions << text;
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    void stored(const StoredFile& file) override { storedFiles << QFileInfo(file.path).fileName(); }

    QStringList statuses;
    QStringList questions;
    QStringList storedFiles;
};

/// A session on a fresh simulated unit found recording, with nothing but the link and the clock.
struct BareSession {
    explicit BareSession(const sim::SimOptions& options)
        : unit(std::make_shared<sim::SimUnit>(options))
        , link(clock,
               [this, inner = sim::openerWithSimulatedUnit(clock, unit, {})](const QString& name) -> std::unique_ptr<Transport> {
                   return std::make_unique<RecordingTransport>(inner(name), clock, sent, received, writes);
               })
        , session(link, clock, observer)
    {
        link.setPortName(sim::simulatedPortName(QStringLiteral("M-R32")));
        link.setSettings(QStringLiteral("115200,n,8,1"));
    }

    TestClock clock;
    std::shared_ptr<sim::SimUnit> unit;
    QByteArray sent, received;
    RecordingTransport::Writes writes;
    SerialControl link;
    RecordingObserver observer;
    UnitSession session;
};

sim::SimOptions recordingUnit()
{
    sim::SimOptions options = RetrievalFixture::defaultOptions();
    options.armed = true;
    options.events = 3;
    return options;
}

} // namespace

TEST(UnitRoad, WithoutAWindowTheRoadOfOneEventPutsTheWindowsBytesAndStatusTextsOnTheLink)
{
    // Through the window: connect (log-on, settings, index), the two newest events, then the
    // log-off that lets the unit arm itself.
    RetrievalFixture window(recordingUnit());
    frmMaster& w = window.open();
    w.connection->cmdConnect_Click();
    window.select(window.rowOfSlot(2));
    window.select(window.rowOfSlot(1));
    w.eventDownload->cmdGetData_Click();
    window.dialogs.answer(MsgAnswer::Ok);
    w.connection->cmdConnect_Click();
    ASSERT_EQ(window.storedFiles(), window.storedNames({1, 2})) << window.statusHistory.join('|').toStdString();
    ASSERT_TRUE(window.unit().armed());

    // The same road on a bare session.
    TempFolder root;
    const QString folder = root.mkdirs(QStringLiteral("MR-0101"));
    BareSession bare(recordingUnit());
    UnitSession& session = bare.session;
    ASSERT_EQ(session.logOn(folder, QStringLiteral("MR-0101")), UnitSession::LogOn::Stopped);
    ASSERT_TRUE(session.captureSettings(folder, QStringLiteral("MR-0101")));
    ASSERT_TRUE(session.readSettings(UnitSession::settingsFile(folder, QStringLiteral("MR-0101"))));
    bare.link.setPause(1000);
    const std::optional<QString> index = session.fetchIndex(folder, QStringLiteral("MR-0101"), UnitSession::IndexRequest::AfterSettings);
    ASSERT_TRUE(index);
    const std::vector<std::string> missing = UnitSession::missingEvents(folder, UnitSession::readIndex(*index, "M-R32"));
    ASSERT_EQ(missing, (std::vector<std::string>{"01", "02", "03"}));
    for (const std::string& slot : {missing[2], missing[1]}) // the window asks newest first
        ASSERT_TRUE(session.downloadEvent(folder, slot));
    session.armAndRelease();
    session.close();

    EXPECT_EQ(bare.sent, window.sent);
    EXPECT_EQ(bare.received, window.received);
    EXPECT_EQ(bare.observer.statuses, window.statusHistory);
    EXPECT_TRUE(bare.observer.questions.isEmpty()) << bare.observer.questions.join('|').toStdString();
    EXPECT_TRUE(bare.unit->armed());
    // The stored events are the window's under the same names, and they, the settings and the
    // index are the window's byte for byte.
    QStringList stored = bare.observer.storedFiles;
    stored.sort();
    const QStringList windowFiles = QDir(window.unitFolder()).entryList({QStringLiteral("*.trg")}, QDir::Files, QDir::Name);
    EXPECT_EQ(stored.filter(QStringLiteral(".trg")), windowFiles);
    for (const QString& name : windowFiles + QStringList{QStringLiteral("MR-0101 Settings.txt"), QStringLiteral("MR-0101.IDX")})
        EXPECT_EQ(root.read(QStringLiteral("MR-0101/") + name), window.readUnitFile(name)) << name.toStdString();
}
