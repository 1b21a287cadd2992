#pragma once

#include "forms/SystemDialogs.h"

#include <QFont>

#include <deque>
#include <optional>

namespace molvik {

class ScriptedSystemDialogs final : public SystemDialogs
{
public:
    QString browseFolder(QWidget *owner) override;
    bool getOpenFileName(OpenFileName &record) override;
    bool getSaveFileName(OpenFileName &record) override;
    bool chooseColor(ChooseColor &record) override;
    bool chooseFont(ChooseFont &record) override;
    qint32 printDlg(PrintDlg &record) override;
    qintptr setActivationHook(ActivationHook hook) override;
    void removeActivationHook(qintptr handle) override;

    // Queued answers; an empty text, list or nothing cancels.
    std::deque<QString> folders;
    std::deque<QStringList> files;
    std::deque<std::optional<quint32>> colors;
    std::deque<std::optional<QFont>> fonts;
    std::deque<qint32> prints;
    int folderCalls = 0;
    QWidget *lastOwner = nullptr;
    // The records as the last dialog of each kind received them.
    OpenFileName fileSeen;
    ChooseColor colorSeen;
    ChooseFont fontSeen;
    int liveHooks = 0;
};

} // namespace molvik
