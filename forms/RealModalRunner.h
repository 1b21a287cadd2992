#pragma once

#include "forms/ModalRunner.h"

namespace molvik {

// QDialog::exec(): returns when the form hides or unloads itself.
class RealModalRunner final : public ModalRunner
{
public:
    void showModal(Form &form) override;
};

} // namespace molvik
