#pragma once

#include "forms/SystemDialogs.h"

#include <QObject>

#include <map>
#include <memory>

namespace molvik {

// Qt's own dialogs, not the platform's, so the offscreen platform and tests
// can drive them. Each is owned by the record's owner window.
class RealSystemDialogs final : public SystemDialogs
{
public:
    RealSystemDialogs();
    ~RealSystemDialogs() override;

    QString browseFolder(QWidget *owner) override;
    bool getOpenFileName(OpenFileName &record) override;
    bool getSaveFileName(OpenFileName &record) override;
    bool chooseColor(ChooseColor &record) override;
    bool chooseFont(ChooseFont &record) override;
    qint32 printDlg(PrintDlg &record) override;
    qintptr setActivationHook(ActivationHook hook) override;
    void removeActivationHook(qintptr handle) override;

private:
    bool runFileDialog(OpenFileName &record, bool save);
    void dialogShown(QWidget *dialog);

    // Watches the application's events for dialogs being shown.
    std::unique_ptr<QObject> m_watcher;
    std::map<qintptr, ActivationHook> m_hooks;
    qintptr m_lastHandle = 0;
};

} // namespace molvik
