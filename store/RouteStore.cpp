#include "store/RouteStore.h"

namespace molvik {

RouteStore::RouteStore(Environment environment) : m_environment(std::move(environment))
{}

RouteStore &RouteStore::forCurrentThread()
{
    thread_local RouteStore store;
    return store;
}

} // namespace molvik
