#include "forms/Services.h"

#include "forms/Form.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace molvik {

void RealModalRunner::showModal(Form &form)
{
    form.exec();
}

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

MsgResult RealMessageBoxes::show(QWidget *parent, const MessageRequest &r)
{
    QMessageBox box(parent);
    box.setWindowTitle(r.title.isEmpty() ? kDefaultCaption : r.title);
    box.setText(r.text);
    switch (r.icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    switch (r.buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    default:
        // Escape on a Yes/No box answers No, as closing it would.
        return r.buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
    }
}

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

QString RealSystemDialogs::browseFolder(QWidget *owner)
{
    // Qt's own dialog, so the offscreen platform and tests can drive it.
    return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(
        owner, QString(), QString(), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog));
}

QString ScriptedSystemDialogs::browseFolder(QWidget *owner)
{
    ++folderCalls;
    lastOwner = owner;
    if (folders.empty())
        return {};
    QString f = folders.front();
    folders.pop_front();
    return f;
}

FormServices FormServices::real()
{
    return {std::make_shared<RealModalRunner>(), std::make_shared<RealMessageBoxes>(), std::make_shared<RealSystemDialogs>()};
}

} // namespace molvik
