#include "tdr/CableTypes.h"

#include "common/Files.h"
#include "common/Text.h"
#include "common/TextLines.h"
#include "tdr/Calibration.h"
#include "tdr/Distance.h"
#include "ui/frmMaster.h"


#include <algorithm>

namespace mr3x {

namespace {

constexpr int kNoType = 0;  // the list's first entry: no cable type chosen

/// The table's lines. A table hand-edited in an 8-bit code page reads as such and is written
/// back in it (the program's text files keep the encoding they were read in).
std::optional<std::vector<std::string>> readTable(const QString& path)
{
    const std::optional<QStringList> lines = readTextLines(path);
    if (!lines)
        return std::nullopt;
    return toStdLines(*lines);
}

QString listText(const tdr::CableType& type)
{
    return QString::fromStdString(type.name + " (" + tdr::percentText(type.speed) + "%)");
}

} // namespace

QString CableTypes::tablePath() const
{
    return joinPath(w.program.AppFolder, QString::fromLatin1(tdr::kCableTableName));
}

void CableTypes::LOAD_CABLE_TYPES()
{
    const QString path = tablePath();
    tableRead_ = true;
    if (!pathExists(path)) {
        lines_ = tdr::shippedCableTable();
        if (!writeTextFile(path, toQLines(lines_)))
            w.dialogs.message(QStringLiteral("The cable types could not be written to %1; the usual ones are offered all "
                                             "the same")
                                  .arg(nativePath(path)),
                              MsgButtons::Ok, MsgIcon::Exclamation);
    } else if (std::optional<std::vector<std::string>> read = readTable(path)) {
        lines_ = std::move(*read);
    } else {
        lines_.clear();
        tableRead_ = false;
        w.dialogs.message(QStringLiteral("%1 cannot be read: no cable types are offered").arg(nativePath(path)),
                          MsgButtons::Ok, MsgIcon::Exclamation);
    }
    const tdr::CableTable table = tdr::readCableTable(lines_);
    types_ = table.types;
    if (!table.broken.empty()) {
        QStringList report;
        for (const tdr::BrokenCableLine& line : table.broken)
            report << QStringLiteral("Line %1, \"%2\": %3")
                          .arg(line.number)
                          .arg(QString::fromStdString(trim(line.text)), QString::fromStdString(line.reason));
        w.dialogs.message(QStringLiteral("%1 has lines that name no cable type; they are left in the file as they are:\r\n%2")
                              .arg(nativePath(path), report.join(QStringLiteral("\r\n"))),
                          MsgButtons::Ok, MsgIcon::Exclamation);
    }
    fillList(QString());
}

void CableTypes::fillList(const QString& select)
{
    // Filling the list runs its handler as any change does: the first entry chooses no type, and
    // the type chosen at the end is the one whose speed is in use.
    QComboBox* list = w.tdrView.cboCableType;
    list->clear();
    list->addItem(QStringLiteral("(no cable type)"));
    for (const tdr::CableType& type : types_)
        list->addItem(listText(type));
    const auto named = std::find_if(types_.begin(), types_.end(), [&](const tdr::CableType& t) {
        return equalsNoCase(t.name, select.toStdString());
    });
    list->setCurrentIndex(named == types_.end() ? kNoType : int(named - types_.begin()) + 1);
}

std::optional<std::size_t> CableTypes::chosenType() const
{
    const int index = w.tdrView.cboCableType->currentIndex();
    if (index <= kNoType || std::size_t(index) > types_.size())
        return std::nullopt;
    return std::size_t(index - 1);
}

QString CableTypes::cableTypeInUse() const
{
    const std::optional<std::size_t> chosen = chosenType();
    return chosen ? QString::fromStdString(types_[*chosen].name) : QString();
}

void CableTypes::cboCableType_Click()
{
    if (const std::optional<std::size_t> chosen = chosenType())
        w.tdrView.scrVF->setValue(types_[*chosen].speed);
}

void CableTypes::scrVF_Change()
{
    const std::optional<std::size_t> chosen = chosenType();
    if (chosen && types_[*chosen].speed != w.tdrView.scrVF->value())
        w.tdrView.cboCableType->setCurrentIndex(kNoType);
}

void CableTypes::cmdCalibrate_Click()
{
    const TdrViewerView& v = w.tdrView;
    const double difference = leadingNumber(v.lblDifference->text().toStdString());
    const double scale = leadingNumber(v.lblScale->text().toStdString());
    if (difference == 0) {
        w.dialogs.message(QStringLiteral("The cursors are at the same point: put the zero cursor and the moving cursor on "
                                         "the two ends of a known length first"),
                          MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const QString shown = v.lblResult->text().section(QLatin1Char(' '), 0, 0).remove(QLatin1Char('-'));
    const std::optional<QString> answer =
        w.dialogs.promptOrCancel(QStringLiteral("Length between the cursors in metres:"), QStringLiteral("Calibrate"), shown);
    if (!answer || answer->trimmed().isEmpty())
        return;
    bool number = false;
    const double length = answer->trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&number);
    const bool tdrMode = w.optDisplayMode[0]->isChecked();
    const std::optional<tdr::Calibration> c =
        number ? tdr::calibrateSpeed(length, difference, scale, tdrMode) : std::nullopt;
    if (!c) {
        w.dialogs.message(QStringLiteral("\"%1\" is not a length in metres").arg(answer->trimmed()), MsgButtons::Ok,
                          MsgIcon::Exclamation);
        return;
    }
    if (c->held)
        w.dialogs.message(QStringLiteral("%1 m between these cursors would take a speed of %2%, beyond the 30.0 to 100.0% "
                                         "the speed bar holds; the speed is set to %3%")
                              .arg(answer->trimmed(), QString::number(c->percent, 'f', 1),
                                   QString::fromStdString(tdr::percentText(c->speed))),
                          MsgButtons::Ok, MsgIcon::Exclamation);
    v.scrVF->setValue(c->speed);
    offerToSave(c->speed);
}

void CableTypes::offerToSave(int speed)
{
    const QString percent = QString::fromStdString(tdr::percentText(speed));
    if (w.dialogs.message(QStringLiteral("Keep %1% as a cable type?").arg(percent), MsgButtons::YesNo, MsgIcon::Question)
        != MsgAnswer::Yes)
        return;
    if (!tableRead_) {
        w.dialogs.message(QStringLiteral("%1 cannot be read, so no cable type can be added to it").arg(nativePath(tablePath())),
                          MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const std::optional<QString> answer =
        w.dialogs.promptOrCancel(QStringLiteral("Name of the cable type:"), QStringLiteral("Cable type"), QString());
    if (!answer || answer->trimmed().isEmpty())
        return;
    const std::string name = trim(answer->toStdString());
    if (const std::optional<std::string> problem = tdr::cableNameProblem(name)) {
        w.dialogs.message(QStringLiteral("\"%1\" cannot name a cable type: %2").arg(answer->trimmed(), QString::fromStdString(*problem)),
                          MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const auto listed = std::find_if(types_.begin(), types_.end(), [&](const tdr::CableType& t) { return equalsNoCase(t.name, name); });
    if (listed != types_.end()
        && w.dialogs.message(QStringLiteral("Change the speed of %1 from %2% to %3%?")
                                 .arg(QString::fromStdString(listed->name),
                                      QString::fromStdString(tdr::percentText(listed->speed)), percent),
                             MsgButtons::YesNo, MsgIcon::Question)
               != MsgAnswer::Yes)
        return;
    const std::vector<std::string> lines = tdr::withCableType(lines_, {name, speed});
    if (!writeTextFile(tablePath(), toQLines(lines))) {
        w.dialogs.message(QStringLiteral("The cable types could not be written to %1; %2 is not kept")
                              .arg(nativePath(tablePath()), QString::fromStdString(name)),
                          MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    lines_ = lines;
    types_ = tdr::readCableTable(lines_).types;
    fillList(QString::fromStdString(name));
}

} // namespace mr3x
