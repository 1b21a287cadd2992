#pragma once

#include "forms/MessageBoxes.h"

namespace molvik {

// QMessageBox, modal over the given parent.
class RealMessageBoxes final : public MessageBoxes
{
public:
    MsgResult show(QWidget *parent, const MessageRequest &request) override;
};

} // namespace molvik
