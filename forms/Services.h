#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace molvik {

class Form;

// Every modal show goes through here, so a test can drive the pages without
// a nested event loop.
class ModalRunner
{
public:
    virtual ~ModalRunner() = default;
    // Returns when the form has been hidden or unloaded.
    virtual void showModal(Form &form) = 0;
};

class RealModalRunner final : public ModalRunner
{
public:
    void showModal(Form &form) override;
};

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

class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual MsgResult show(QWidget *parent, const MessageRequest &request) = 0;
};

class RealMessageBoxes final : public MessageBoxes
{
public:
    MsgResult show(QWidget *parent, const MessageRequest &request) override;
};

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

// The system's dialogs, as clsDialog uses them.
class SystemDialogs
{
public:
    virtual ~SystemDialogs() = default;
    // An existing file-system folder, or empty when cancelled.
    virtual QString browseFolder(QWidget *owner) = 0;
};

class RealSystemDialogs final : public SystemDialogs
{
public:
    QString browseFolder(QWidget *owner) override;
};

class ScriptedSystemDialogs final : public SystemDialogs
{
public:
    QString browseFolder(QWidget *owner) override;
    // Queued answers; an empty text is a cancelled browser.
    std::deque<QString> folders;
    int folderCalls = 0;
    QWidget *lastOwner = nullptr;
};

// The three seams together, as a control or a form context receives them.
struct FormServices
{
    std::shared_ptr<ModalRunner> modal;
    std::shared_ptr<MessageBoxes> messages;
    std::shared_ptr<SystemDialogs> dialogs;

    static FormServices real();
};

} // namespace molvik
