#include "support/ScriptedMessageBoxes.h"

namespace molvik {

MsgResult ScriptedMessageBoxes::show(QWidget *, const MessageRequest &request)
{
    shown.push_back(request);
    if (!m_answers.empty()) {
        const MsgResult r = m_answers.front();
        m_answers.pop_front();
        return r;
    }
    return request.buttons == MsgButtons::YesNo || request.buttons == MsgButtons::YesNoCancel ? MsgResult::Yes : MsgResult::Ok;
}

} // namespace molvik
