#pragma once

#include "platform/MolvikExport.h"

#include <QString>

class QWidget;

namespace molvik {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MessageRequest
{
    QString text;
    QString title; // empty: the component's default caption
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

inline const QString kDefaultCaption = QStringLiteral("MolvikWizard");

class MOLVIK_EXPORT MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual MsgResult show(QWidget *parent, const MessageRequest &request) = 0;
};

} // namespace molvik
