#pragma once

#include "platform/MolvikExport.h"

#include "forms/FormServices.h"

#include <QPointer>
#include <QWidget>

#include <map>
#include <typeindex>

namespace molvik {

class Form;
class RouteStore;

// The forms of one route-store state and the seams they use. Each form class
// has at most one live instance here, created and loaded on first use.
class MOLVIK_EXPORT FormContext
{
public:
    FormContext(RouteStore &store, FormServices services);
    ~FormContext();
    FormContext(const FormContext &) = delete;
    FormContext &operator=(const FormContext &) = delete;

    // The context of the calling thread's shared store, with the real seams.
    static FormContext &forCurrentThread();

    RouteStore &store() const { return m_store; }
    ModalRunner &modal() const { return *m_services.modal; }
    MessageBoxes &messages() const { return *m_services.messages; }
    SystemDialogs &dialogs() const { return *m_services.dialogs; }

    // The form's instance; touching it loads it first.
    template<typename F> F &form()
    {
        if (auto *existing = loaded<F>())
            return *existing;
        auto *created = new F(*this);
        m_forms[std::type_index(typeid(F))] = created;
        created->Form_Load();
        return *created;
    }

    template<typename F> F *loaded() const
    {
        const auto it = m_forms.find(std::type_index(typeid(F)));
        return it == m_forms.end() ? nullptr : static_cast<F *>(it->second.data());
    }

    // Unloads the form when it is loaded.
    template<typename F> void unload()
    {
        if (auto *f = loaded<F>())
            f->unloadForm();
    }

    // The window that forms created from now on belong to; none: top-level.
    void setOwnerWindow(QWidget *owner) { m_owner = owner; }
    QWidget *ownerWindow() const { return m_owner; }

    void showModal(Form &form) { m_services.modal->showModal(form); }
    MsgResult message(QWidget *parent, const MessageRequest &request) { return m_services.messages->show(parent, request); }

    // Called by a form as it unloads.
    void forget(Form &form);

private:
    RouteStore &m_store;
    FormServices m_services;
    std::map<std::type_index, QPointer<Form>> m_forms;
    QPointer<QWidget> m_owner;
};

} // namespace molvik
