#include "platform/ComponentFolder.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace molvik {

QString componentFolder()
{
    QString file;
#ifdef Q_OS_WIN
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&componentFolder), &module);
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameW(module, buffer, MAX_PATH);
    file = QString::fromWCharArray(buffer, int(n));
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&componentFolder), &info) != 0 && info.dli_fname != nullptr)
        file = QFile::decodeName(info.dli_fname);
#endif
    if (file.isEmpty())
        return QDir::currentPath();
    return QDir::toNativeSeparators(QFileInfo(file).absoluteDir().absolutePath());
}

} // namespace molvik
