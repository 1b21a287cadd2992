#include "forms/SystemDialogs.h"

#include "platform/AnsiText.h"

#include <QDir>
#include <QFont>

namespace molvik {

bool SystemDialogs::writeChosenFiles(OpenFileName &record, const QStringList &paths)
{
    if (paths.isEmpty())
        return false;
    const QString &first = paths.front();
    QString folder = first.left(first.lastIndexOf(QDir::separator()) + 1);
    QByteArray out;
    if (paths.size() == 1) {
        const QByteArray name = AnsiText::encode(QStringView(first).mid(folder.size()));
        out = AnsiText::encode(folder);
        record.fileOffset = quint16(out.size());
        const qsizetype dot = name.lastIndexOf('.');
        record.extensionOffset = quint16(out.size() + (dot < 0 ? name.size() : dot + 1));
        out += name + '\0';
        if (name.size() < record.fileTitle.size())
            record.fileTitle.replace(0, name.size() + 1, QByteArray(name + '\0'));
    } else {
        // Several names follow their folder, which loses its separator except at a root.
        if (folder.size() > 1 && folder.at(folder.size() - 2) != u':')
            folder.chop(1);
        out = AnsiText::encode(folder) + '\0';
        record.fileOffset = quint16(out.size());
        record.extensionOffset = 0;
        for (const QString &path : paths)
            out += AnsiText::encode(QStringView(path).mid(path.lastIndexOf(QDir::separator()) + 1)) + '\0';
        out += '\0';
    }
    if (out.size() > record.file.size())
        return false;
    record.file.replace(0, out.size(), out);
    return true;
}

void SystemDialogs::writeChosenFont(ChooseFont &record, const QFont &font)
{
    const QByteArray face = AnsiText::encode(font.family()).left(31);
    LogFont &lf = record.logFont;
    lf.faceName = face + QByteArray(32 - face.size(), '\0');
    // Qt's weights use the system's scale: 400 regular, 700 bold.
    lf.weight = font.weight();
    lf.italic = font.italic() ? 1 : 0;
    lf.underline = font.underline() ? 1 : 0;
    lf.strikeOut = font.strikeOut() ? 1 : 0;
    record.pointSizeTenths = qRound(font.pointSizeF() * 10);
}

} // namespace molvik
