#include "support/ScriptedModalRunner.h"

#include "forms/Form.h"
#include <QPointer>

namespace molvik {

void ScriptedModalRunner::expect(const QString &formName, Step step)
{
    m_steps.emplace_back(formName, std::move(step));
}

void ScriptedModalRunner::showModal(Form &form)
{
    const QString name = form.objectName();
    m_shown.push_back(name);
    if (m_steps.empty() || m_steps.front().first != name) {
        m_problems << QStringLiteral("%1 shown without a step").arg(name);
        form.hide();
        return;
    }
    Step step = std::move(m_steps.front().second);
    m_steps.pop_front();
    QPointer<Form> guard(&form);
    form.show();
    step(form);
    if (guard && guard->isVisible() && !guard->isUnloaded()) {
        m_problems << QStringLiteral("%1 still open after its step").arg(name);
        guard->hide();
    }
}

QStringList ScriptedModalRunner::problems() const
{
    QStringList all = m_problems;
    for (const auto &s : m_steps)
        all << QStringLiteral("step for %1 never ran").arg(s.first);
    return all;
}

} // namespace molvik
