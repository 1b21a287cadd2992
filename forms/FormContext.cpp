#include "forms/FormContext.h"

#include "forms/Form.h"
#include "store/RouteStore.h"

#include <QCoreApplication>

namespace molvik {

FormContext::FormContext(RouteStore &store, FormServices services) : m_store(store), m_services(std::move(services))
{}

FormContext::~FormContext()
{
    // The thread's shared context can outlive the application object at exit;
    // widgets cannot be deleted then, and the process is ending anyway.
    if (!QCoreApplication::instance())
        return;
    for (auto &[type, form] : m_forms)
        delete form.data();
}

FormContext &FormContext::forCurrentThread()
{
    thread_local FormContext context(RouteStore::forCurrentThread(), FormServices::real());
    return context;
}

void FormContext::forget(Form &form)
{
    for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
        if (it->second == &form) {
            m_forms.erase(it);
            return;
        }
    }
}

} // namespace molvik
