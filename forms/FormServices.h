#pragma once

#include "platform/MolvikExport.h"

#include "forms/MessageBoxes.h"
#include "forms/ModalRunner.h"
#include "forms/SystemDialogs.h"

#include <memory>

namespace molvik {

// The three seams together, as a control or a form context receives them.
struct MOLVIK_EXPORT FormServices
{
    std::shared_ptr<ModalRunner> modal;
    std::shared_ptr<MessageBoxes> messages;
    std::shared_ptr<SystemDialogs> dialogs;

    // QDialog::exec(), QMessageBox and Qt's file dialogs.
    static FormServices real();
};

} // namespace molvik
