#pragma once

#include "forms/MessageBoxes.h"

#include <deque>
#include <vector>

namespace molvik {

// Records every box; answers from a queue, then with the first button.
class ScriptedMessageBoxes final : public MessageBoxes
{
public:
    MsgResult show(QWidget *parent, const MessageRequest &request) override;
    void answer(MsgResult result) { m_answers.push_back(result); }

    std::vector<MessageRequest> shown;

private:
    std::deque<MsgResult> m_answers;
};

} // namespace molvik
