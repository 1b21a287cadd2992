#include "support/ScriptedSystemDialogs.h"

namespace molvik {

namespace {

template<typename T> T next(std::deque<T> &queue)
{
    if (queue.empty())
        return T{};
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

} // namespace

QString ScriptedSystemDialogs::browseFolder(QWidget *owner)
{
    ++folderCalls;
    lastOwner = owner;
    return next(folders);
}

bool ScriptedSystemDialogs::getOpenFileName(OpenFileName &record)
{
    fileSeen = record;
    return writeChosenFiles(record, next(files));
}

bool ScriptedSystemDialogs::getSaveFileName(OpenFileName &record)
{
    return getOpenFileName(record);
}

bool ScriptedSystemDialogs::chooseColor(ChooseColor &record)
{
    colorSeen = record;
    const std::optional<quint32> chosen = next(colors);
    record.result = chosen.value_or(record.result);
    return chosen.has_value();
}

bool ScriptedSystemDialogs::chooseFont(ChooseFont &record)
{
    fontSeen = record;
    const std::optional<QFont> chosen = next(fonts);
    if (chosen)
        writeChosenFont(record, *chosen);
    return chosen.has_value();
}

qint32 ScriptedSystemDialogs::printDlg(PrintDlg &)
{
    return next(prints);
}

qintptr ScriptedSystemDialogs::setActivationHook(ActivationHook)
{
    return ++liveHooks;
}

void ScriptedSystemDialogs::removeActivationHook(qintptr)
{
    --liveHooks;
}

} // namespace molvik
