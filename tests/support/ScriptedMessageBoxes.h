#pragma once

#include "forms/MessageBoxes.h"

#include <deque>
#include <vector>

namespace molvik {

// Records every box; answers from a queue, then with the first button.
class ScriptedMessageBoxes final : public MessageBoxes
{
public:
    MsgResult show(QWidget *, const MessageRequest &request) override
    {
        shown.push_back(request);
        const bool asks = request.buttons == MsgButtons::YesNo || request.buttons == MsgButtons::YesNoCancel;
        const MsgResult r = m_answers.empty() ? (asks ? MsgResult::Yes : MsgResult::Ok) : m_answers.front();
        if (!m_answers.empty())
            m_answers.pop_front();
        return r;
    }
    void answer(MsgResult result) { m_answers.push_back(result); }

    std::vector<MessageRequest> shown;

private:
    std::deque<MsgResult> m_answers;
};

} // namespace molvik
