#include "RetrievalFixture.h"

#include "retrieval/EventIndex.h"
#include "ui/frmMaster.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace mr3x::test {

RetrievalFixture::RetrievalFixture(sim::SimOptions options)
    : LinkFixture(std::move(options))
{
}

frmMaster& RetrievalFixture::open()
{
    frmMaster& w = start();
    choosePort();
    clearWire();
    return w;
}

void RetrievalFixture::listUnitIndex()
{
    writeUnitFile(QStringLiteral("MR-0101.IDX"), bytes(unit().indexFile()));
    window().eventIndex->FILL_INDEX_LIST();
}

QStringList RetrievalFixture::indexLines() const
{
    QStringList lines;
    const QListWidget* list = const_cast<RetrievalFixture*>(this)->window().lstIndex;
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

int RetrievalFixture::rowOfSlot(int slot) const
{
    const QString shown = QStringLiteral("(%1)").arg(slot + 1, 2, 10, QLatin1Char('0'));
    const QStringList lines = indexLines();
    for (int row = 0; row < lines.size(); ++row)
        if (lines[row].mid(18, 4) == shown)
            return row;
    return -1;
}

QStringList RetrievalFixture::selectedLines() const
{
    QStringList lines;
    const QListWidget* list = const_cast<RetrievalFixture*>(this)->window().lstIndex;
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->isSelected())
            lines << list->item(row)->text();
    return lines;
}

void RetrievalFixture::select(int row, bool selected)
{
    window().lstIndex->item(row)->setSelected(selected);
}

QStringList RetrievalFixture::requests() const
{
    QStringList found;
    static const QRegularExpression request(QStringLiteral("f[0-9-][0-9]"));
    auto it = request.globalMatch(QString::fromLatin1(sent));
    while (it.hasNext())
        found << it.next().captured();
    return found;
}

QStringList RetrievalFixture::storedFiles() const
{
    return QDir(unitFolder()).entryList({QStringLiteral("*.trg"), QStringLiteral("*.vlt")}, QDir::Files, QDir::Name);
}

QStringList RetrievalFixture::otherFiles() const
{
    QStringList others;
    for (const QString& name : QDir(unitFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (!name.endsWith(QStringLiteral(".trg")) && !name.endsWith(QStringLiteral(".vlt")) && name != QStringLiteral("MR-0101.IDX"))
            others << name;
    return others;
}

QByteArray RetrievalFixture::readUnitFile(const QString& name) const
{
    QFile file(unitFolder() + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void RetrievalFixture::writeUnitFile(const QString& name, const QByteArray& content) const
{
    QFile file(unitFolder() + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw std::runtime_error("cannot write a file into the unit folder");
}

QString RetrievalFixture::storedNameOfSlot(int slot)
{
    const sim::Bytes& record = unit().eventRecord(slot);
    QString name;
    for (int i = 0; i < 6; ++i)
        name += QStringLiteral("%1%2").arg(record[static_cast<std::size_t>(i)] % 100, 2, 10, QLatin1Char('0'))
                    .arg(i == 2 ? QStringLiteral(" ") : i == 5 ? QString() : QStringLiteral("-"));
    return name + QStringLiteral(".trg");
}

QByteArray RetrievalFixture::bytes(const std::vector<std::uint8_t>& data)
{
    return QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
}

} // namespace mr3x::test
