// The unit's settings: captured from its answer to "X" into its settings file, then checked.
#include "unit/UnitSession.h"

#include "common/Files.h"
#include "common/Text.h"

namespace mr3x {

namespace {

const QString SettingsProblem = QStringLiteral("Problem accessing settings of Local Unit\n"
                                               "press OK to retrieve index of triggered events\n"
                                               "and enable control panel");

} // namespace

QString UnitSession::settingsFile(const QString& folder, const QString& unit)
{
    const std::string name = commands::receivedFileName(commands::Command::Settings, unit.toLatin1().toStdString());
    return joinPath(folder, qtext(name));
}

bool UnitSession::captureSettings(const QString& folder, const QString& unit)
{
    link_.setCaptureFile(QString());
    // A file left from an earlier download must not be read as this one's.
    const QString file = settingsFile(folder, unit);
    if (pathExists(file))
        removeFile(file);

    SendOptions options;
    options.echo = false;
    options.captureFile = file;
    options.clearPendingAfter = true;
    if (sendCommand(commands::exchangeFor(commands::Command::Settings), options)) {
        observer_.stored({StoredFile::Kind::Settings, file});
        return true;
    }
    // Without its "Finished X" line the capture is only part of the unit's settings; kept, it
    // would be listed as the unit's settings.
    removeFile(file);
    observer_.ask(SettingsProblem, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

std::optional<unitsettings::CheckedSettings> UnitSession::readSettings(const QString& file)
{
    const std::optional<std::vector<std::string>> text = readLatin1Lines(file);
    if (!text)
        return std::nullopt;
    unitsettings::CheckedSettings read = unitsettings::checkSettings(*text);
    for (const std::string& problem : read.problems)
        observer_.ask(qtext(problem), MsgButtons::Ok, MsgIcon::Exclamation);
    return read;
}

} // namespace mr3x
