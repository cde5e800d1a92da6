// Asking the unit which unit it is.
#include "unit/UnitSession.h"

namespace mr3x {

UnitSession::IdentityCheck UnitSession::checkIdentity(const QString& expectedSerial)
{
    SendOptions options;
    options.keepReplyText = true;
    if (!sendCommand(commands::versionQuery(), options))
        return {Identity::Unverified, {}};
    const std::optional<std::string> serial = commands::reportedSerial(link_.ReplyText().toLatin1().toStdString());
    if (!serial)
        return {Identity::Unverified, {}};
    const QString reported = QString::fromLatin1(*serial);
    // Serial numbers are compared as people write them: "mr-0101" is MR-0101.
    const bool same = reported.compare(expectedSerial, Qt::CaseInsensitive) == 0;
    return {same ? Identity::Confirmed : Identity::Other, reported};
}

} // namespace mr3x
