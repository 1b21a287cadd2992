#pragma once

#include "forms/SystemDialogs.h"

namespace molvik {

// Qt's own dialogs, not the platform's, so the offscreen platform and tests
// can drive them. Each is owned by the owner window it is centred on.
class RealSystemDialogs final : public SystemDialogs
{
public:
    QString browseFolder(QWidget *owner) override;
    QStringList chooseFiles(FileRequest &request) override;
    QColor chooseColor(QWidget *owner, const QColor &initial, QList<QColor> &custom) override;
    std::optional<QFont> chooseFont(QWidget *owner, const QFont &initial) override;
    bool print(QWidget *owner, std::shared_ptr<QPrinter> &printer) override;
};

} // namespace molvik
