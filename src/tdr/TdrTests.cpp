#include "tdr/TdrTests.h"

#include "common/Files.h"
#include "common/Text.h"
#include "events/EventViewer.h"
#include "unit/UnitSession.h"
#include "tdr/TdrViewer.h"
#include "tdr/TestNames.h"
#include "tdr/TraceColours.h"
#include "ui/frmMaster.h"
#include "unitsettings/SettingCommands.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>

namespace mr3x {

namespace {

std::string latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

QString fromLatin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<QByteArray> readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::span<const std::uint8_t> bytesOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

/// Fills a slot's record from a trace file's bytes; false, the record as it was, when they hold
/// no whole trace.
template <typename Trace, typename Reader>
bool readInto(Trace& record, Reader read, const QByteArray& bytes)
{
    const std::optional<Trace> trace = read(bytesOf(bytes));
    if (trace)
        record = *trace;
    return trace.has_value();
}

void setBackColour(QLabel* label, const tdr::Rgb& colour)
{
    label->setStyleSheet(QStringLiteral("background-color: rgb(%1,%2,%3);").arg(colour.red).arg(colour.green).arg(colour.blue));
}

/// The caption of the option button whose index a control panel label holds.
template <std::size_t N>
QString captionAt(const std::array<OptionButton*, N>& buttons, const QLabel* indexLabel)
{
    const long long index = leadingInteger(latin1(indexLabel->text()));
    if (index < 0 || index >= static_cast<long long>(N))
        return {};
    return buttons[static_cast<std::size_t>(index)]->text();
}

} // namespace

// --- Running a test ------------------------------------------------------------------------------

void TdrTests::cmdTest_Click()
{
    if (w.unit->refusesCommand(QStringLiteral("No connection to unit ")))
        return;
    const UnitSession::Routine routine(*w.unit);
    w.Watchdog->stop();
    w.chkFileTransfer->setChecked(true);
    w.tdrView.chkTrace[0]->setChecked(false);
    w.tdrView.chkTrace[1]->setChecked(false);
    // The test goes on whatever the batch reports: the unit may still send its trace.
    w.settingCommands->SEND_SETTINGS_FOR_MODEL();
    w.clock.DoEvents();
    RUN_TDR_TEST();
    w.clock.DoEvents();
    w.tdrView.chkTrace[2]->setChecked(true);
}

QString TdrTests::newTestName() const
{
    const QDateTime now = w.clock.currentDateTime();
    const std::string date = tdr::testDateText(now.date().year(), now.date().month(), now.date().day());
    const std::string time = tdr::testTimeText(now.time().hour(), now.time().minute(), now.time().second());
    const std::string phase = latin1(captionAt(w.optPhase, w.lblPhaseIndex));
    if (w.cboTriggerMode->currentIndex() >= 1)
        return fromLatin1(tdr::trsTestName(date, time, phase));
    const bool cross = w.lblModeTag->text() == QStringLiteral("2");
    const std::string reference = latin1(captionAt(w.optReference, w.lblBalanceIndex));
    return fromLatin1(tdr::tdrTestName(date, time, phase, cross, reference));
}

void TdrTests::RUN_TDR_TEST()
{
    const QString folder = w.filTST->Path();
    w.unit->receiveTrace(folder, newTestName() + QStringLiteral(".TDR"));
    // The trace is listed where it was stored: the folder of the unit chosen last, which may be
    // the slave chain's while the lists showed the master's.
    if (!folder.isEmpty())
        w.filTDR->setPath(folder);
    w.filTDR->Refresh();
    filTDR_PathChange();
    w.Watchdog->start();
}

// --- The test lists ------------------------------------------------------------------------------

void TdrTests::filTDR_PathChange()
{
    w.clock.DoEvents();
    CLEAR_MANUAL_TESTS();
    QStringList names;
    QStringList files;
    for (int k = w.filTDR->ListCount() - 1; k >= 0; --k) {
        QString name = w.filTDR->List(k);
        files << name;
        if (name.endsWith(QStringLiteral(".TDR"), Qt::CaseInsensitive))
            name.chop(4);
        names << name;
    }
    const TdrViewerView& v = w.tdrView;
    for (int i = 2; i <= 4; ++i) {
        v.chkTrace[i]->setEnabled(false);
        {
            // Filling the list chooses nothing; the choices below load the tests.
            const QSignalBlocker quiet(v.cboTest[i]);
            for (qsizetype k = 0; k < names.size(); ++k)
                v.cboTest[i]->addItem(names[k], files[k]);
            v.cboTest[i]->setCurrentIndex(-1);
        }
        v.chkTrace[i]->setEnabled(true);
    }
    for (int i = 2; i <= 4; ++i)
        if (names.size() > i - 2)
            v.cboTest[i]->setCurrentIndex(i - 2);
}

void TdrTests::CLEAR_MANUAL_TESTS()
{
    const TdrViewerView& v = w.tdrView;
    for (int i = 2; i <= 4; ++i) {
        v.chkTrace[i]->setChecked(false);
        const QSignalBlocker quiet(v.cboTest[i]);
        v.cboTest[i]->clear();
        v.lblTest[i]->setStyleSheet(QStringLiteral("background-color: white;"));
        v.lblTest[i]->clear();
        holds_[i - 2] = false;
    }
}

void TdrTests::cboTest_Click(int index)
{
    if (index >= 2 && index <= 4) {
        // The file as it is listed: "x.tdr" stays "x.tdr" where names differ by case.
        const QComboBox* list = w.tdrView.cboTest[index];
        const QString file = list->currentData().isValid() ? list->currentData().toString()
                                                           : list->currentText() + QStringLiteral(".TDR");
        DESCRIBE_TEST(index, joinPath(w.filTDR->Path(), file));
    }
    w.tdrView.scrAlign[index]->setValue(0);
}

void TdrTests::DESCRIBE_TEST(int index, const QString& path)
{
    QLabel* label = w.tdrView.lblTest[index];
    label->clear();
    setBackColour(label, tdr::Rgb{255, 255, 255});
    setBackColour(label, tdr::testLabelColour(latin1(path), latin1(w.tdrView.cboTest[index]->currentText())));

    // The colour comes from the name alone; the record stays the slot's earlier one of its kind
    // when this file holds no whole trace.
    const int s = index - 2;
    const bool trs = tdr::traceKindOfPath(latin1(path)) == tdr::TraceKind::Trs;
    const std::optional<QByteArray> bytes = readWhole(path);
    holds_[s] = bytes && (trs ? readInto(trs_[s], tdr::readTrsTrace, *bytes) : readInto(tdr_[s], tdr::readTdrTrace, *bytes));
    if (!holds_[s])
        describeUnreadable(index, path);
    else if (trs)
        DESCRIBE_TRS_RECORD(index);
    else
        DESCRIBE_TDR_RECORD(index);
}

void TdrTests::describeUnreadable(int index, const QString& path)
{
    // Said on the slot itself: a list refill loads three tests, and a box for each would stop
    // the engineer three times. The slot's trace is not drawn.
    w.tdrView.lblTest[index]->setText(QStringLiteral("Not a whole trace:\r\n") + QFileInfo(path).fileName());
    w.tdrView.chkTrace[index]->setChecked(false);
}

void TdrTests::DESCRIBE_TDR_RECORD(int index)
{
    const events::RecordTrailer& t = tdr_[index - 2].trailer;
    const QString pulse = t.pulseOn() ? QString::number(t.pulseWidthCode() + 1) : QStringLiteral("Off");
    const QString range = w.optRange[t.longRange() ? 1 : 0]->text();
    w.tdrView.lblTest[index]->setText(QStringLiteral("Gain:%1 Internal:%2\r\nPulse:%3 Range:%4")
                                          .arg(t.gain())
                                          .arg(t.balance())
                                          .arg(pulse, range));
}

void TdrTests::DESCRIBE_TRS_RECORD(int index)
{
    w.tdrView.lblTest[index]->setText(QString());
}

// --- Legacy traces -------------------------------------------------------------------------------

void TdrTests::filTST_PathChange()
{
    w.filTST->Refresh();
    const QString folder = w.filTST->Path();
    bool copied = false;
    for (int k = w.filTST->ListCount() - 1; k >= 0; --k) {
        const QString legacy = w.filTST->List(k);
        const std::optional<QByteArray> bytes = readWhole(joinPath(folder, legacy));
        if (!bytes)
            continue;
        const std::optional<events::RecordTrailer> trailer = tdr::legacyTrailer(latin1(legacy), bytesOf(*bytes));
        if (!trailer)
            continue; // too short to be a trace: nothing to name it by
        const QString target = joinPath(folder, fromLatin1(tdr::legacyTraceName(latin1(legacy), *trailer)));
        if (pathExists(target))
            continue; // a stored trace is never replaced
        copied = copyFileOver(joinPath(folder, legacy), target) || copied;
    }
    // The test lists show the master unit's folder: they change only when the copies landed
    // there (choosing another slave unit leaves them as they are).
    if (copied && !folder.isEmpty() && w.filTDR->Path() == folder) {
        w.filTDR->Refresh();
        filTDR_PathChange();
    }
}

// --- Showing a trace -----------------------------------------------------------------------------

void TdrTests::chkTrace_Click(int)
{
    const TdrViewerView& v = w.tdrView;
    if (w.eventSlot[0].lblEventFile->text().isEmpty())
        v.chkTrace[0]->setChecked(false);
    if (w.eventSlot[1].lblEventFile->text().isEmpty())
        v.chkTrace[1]->setChecked(false);
    for (int t = 0; t < 5; ++t) {
        if (!v.chkTrace[t]->isChecked())
            continue;
        const bool trs = t < 2 ? w.eventViewer->record(t).trailer.isTrs()
                               : v.cboTest[t]->currentText().contains(QStringLiteral("=TRS"));
        QRadioButton* mode = w.optDisplayMode[trs ? 1 : 0];
        if (!mode->isChecked()) {
            mode->setChecked(true); // the new mode redraws the viewer
            return;
        }
        break;
    }
    w.tdrViewer->REDRAW_VIEWER();
}

} // namespace mr3x
