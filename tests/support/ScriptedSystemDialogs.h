#pragma once

#include "forms/SystemDialogs.h"

#include <QFont>

#include <deque>
#include <optional>

namespace molvik {

class ScriptedSystemDialogs final : public SystemDialogs
{
public:
    QString browseFolder(QWidget *owner) override
    {
        lastOwner = owner;
        return next(folders);
    }
    // The dialogs fill their records as the system would; the file dialogs
    // keep a copy of the record they were given.
    bool getOpenFileName(OpenFileName &r) override
    {
        fileSeen = r;
        return writeChosenFiles(r, next(files));
    }
    bool getSaveFileName(OpenFileName &r) override { return getOpenFileName(r); }
    bool chooseColor(ChooseColor &r) override
    {
        const quint32 chosen = next(colors);
        r.result = chosen != 0 ? chosen : r.result;
        return chosen != 0;
    }
    bool chooseFont(ChooseFont &r) override
    {
        const std::optional<QFont> font = next(fonts);
        if (font)
            writeChosenFont(r, *font);
        return font.has_value();
    }
    qint32 printDlg(PrintDlg &) override { return 0; }
    qintptr setActivationHook(ActivationHook) override { return ++liveHooks; }
    void removeActivationHook(qintptr) override { --liveHooks; }

    // Queued answers; an empty text or list, a 0 colour or no font cancels.
    std::deque<QString> folders;
    std::deque<QStringList> files;
    std::deque<quint32> colors;
    std::deque<std::optional<QFont>> fonts;
    QWidget *lastOwner = nullptr;
    OpenFileName fileSeen;
    int liveHooks = 0;

private:
    template<typename T> static T next(std::deque<T> &queue)
    {
        T answer = queue.empty() ? T{} : std::move(queue.front());
        if (!queue.empty())
            queue.pop_front();
        return answer;
    }
};

} // namespace molvik
