#include "collect/OutcomeJson.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace mr3x::collect {

namespace {

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

QJsonObject toJson(const UnitOutcome& outcome)
{
    QJsonArray events;
    for (const std::string& name : outcome.newEvents)
        events.append(q(name));
    return {
        {QStringLiteral("unit"), q(outcome.unit)},
        {QStringLiteral("location"), q(outcome.location)},
        {QStringLiteral("port"), q(outcome.port)},
        {QStringLiteral("result"), q(resultText(outcome.result))},
        {QStringLiteral("message"), q(outcome.message)},
        {QStringLiteral("new_events"), events},
        {QStringLiteral("rearmed"), outcome.rearmed},
        {QStringLiteral("seconds"), outcome.seconds},
    };
}

std::optional<UnitOutcome> outcomeFromJson(const QJsonObject& object)
{
    const std::optional<Result> result = resultOfText(object.value(QStringLiteral("result")).toString().toStdString());
    const QString unit = object.value(QStringLiteral("unit")).toString();
    if (!result || unit.isEmpty())
        return std::nullopt;
    UnitOutcome outcome;
    outcome.unit = unit.toStdString();
    outcome.location = object.value(QStringLiteral("location")).toString().toStdString();
    outcome.port = object.value(QStringLiteral("port")).toString().toStdString();
    outcome.result = *result;
    outcome.message = object.value(QStringLiteral("message")).toString().toStdString();
    for (const QJsonValue& name : object.value(QStringLiteral("new_events")).toArray())
        outcome.newEvents.push_back(name.toString().toStdString());
    outcome.rearmed = object.value(QStringLiteral("rearmed")).toBool();
    outcome.seconds = object.value(QStringLiteral("seconds")).toInt();
    return outcome;
}

QByteArray reportJson(const QString& system, const QString& started, const std::vector<UnitOutcome>& outcomes)
{
    QJsonArray units;
    for (const UnitOutcome& outcome : outcomes)
        units.append(toJson(outcome));
    const QJsonObject report{{QStringLiteral("system"), system}, {QStringLiteral("started"), started}, {QStringLiteral("units"), units}};
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

} // namespace mr3x::collect
