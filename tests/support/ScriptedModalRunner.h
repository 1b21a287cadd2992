#pragma once

#include "forms/ModalRunner.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace molvik {

// Runs the next step queued for the form being shown. A step acts on the form
// (fills boxes, clicks a button) and must leave it hidden or unloaded.
class ScriptedModalRunner final : public ModalRunner
{
public:
    using Step = std::function<void(Form &)>;

    // Queues a step for the next show of the form with this object name.
    void expect(const QString &formName, Step step);
    void showModal(Form &form) override;

    // Names of the forms shown, in order.
    const std::vector<QString> &shown() const { return m_shown; }
    // Steps queued and never run, and forms shown without a step or left open.
    QStringList problems() const;

private:
    std::deque<std::pair<QString, Step>> m_steps;
    std::vector<QString> m_shown;
    QStringList m_problems;
};

} // namespace molvik
