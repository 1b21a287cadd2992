#pragma once

#include "platform/MolvikExport.h"

#include <QString>
#include <QtGlobal>

#include <array>

namespace molvik {

// yes/no with the platform's meaning: yes is all bits set, no is 0. Check
// boxes hold 1 for ticked, which is not yes.
using YesNo = qint16;
inline constexpr YesNo Yes = -1;
inline constexpr YesNo No = 0;
inline constexpr YesNo yesNo(bool b)
{
    return b ? Yes : No;
}

// One route, every field named exactly as the element that stores it, in
// the declared order.
struct RouteDef
{
    QString RouteDef;
    QString UserID;
    QString UserDirectory;
    QString ArchiveDirectory;
    QString RemoteDirectory;
    QString Pattern;
    YesNo GenEmailNotify = No;
    QString DTemplatePath;
    QString DialUpEntry;
    YesNo HyperTransfer = No;
    YesNo FTPTransfer = No;
    YesNo DirTransfer = No;
    YesNo EmailTransfer = No;
    YesNo KelmTransfer = No;
    YesNo KelmXTransfer = No;
    YesNo FTPMonitor = No;
    YesNo DefaultRoute = No;
    YesNo Disabled = No;
    YesNo SafeUpload = No;
    QString RemoteFTPDirectory;
    QString FTPServer;
    QString FTPLogon;
    QString FTPPassword;
    QString PrxyHost;
    QString PrxyUser;
    QString PrxyPass;
    qint32 FTPport = 0;
    qint32 PrxyPort = 0;
    YesNo FTPSecure = No;
    YesNo FTPPassive = No;
    YesNo PrxyEnabled = No;
    YesNo rbUser = No;
    YesNo rbSite = No;
    YesNo rbLogin = No;
    YesNo rbOpen = No;
    QString AutoEmailName;
    QString AutoEmailAttach;
    QString AutoEmailMessage;
    QString AutoEmailSubject;
    YesNo SMTP = No;
    QString mailPOPServer;
    qint16 mailPOPService = 0;
    qint16 mailSMTPService = 0;
    YesNo mailPOPLogin = No;
    YesNo SRI2Wave = No;
    YesNo DSS2Wave = No;
    YesNo Wave2SRI = No;
    YesNo Recursive = No;
    YesNo GenDirList = No;
    YesNo GenDirZip = No;
    YesNo GenDirUnZip = No;
    YesNo EncryptFile = No;
    YesNo DecryptFile = No;
    QString ValidSchedule;
    QString KXSecureIP;
    qint32 KXSecurePort = 0;
    QString KXSecurePassword;
    YesNo KXSecurePrintDoc = No;
    YesNo KXSecurePrintData = No;

    bool operator==(const struct RouteDef &) const = default;
};

// One element of the routes file: its name, its kind and where it lives in
// the record. The reader, the writer and the command-line tool all walk the
// same table, so they cannot disagree.
struct RouteField
{
    enum class Kind { Text, YesNo, Int16, Int32 };

    const char *name;
    Kind kind;
    QString RouteDef::*text = nullptr;
    qint16 RouteDef::*int16 = nullptr; // yes/no fields too
    qint32 RouteDef::*int32 = nullptr;
    // What the reader stores in place of a 0 read from the file (0: keep 0).
    qint32 zeroReadsAs = 0;
};

inline constexpr int kRouteFieldCount = 59;

// The 59 elements in the order the writer puts them in a route block.
MOLVIK_EXPORT const std::array<RouteField, kRouteFieldCount> &routeFields();

} // namespace molvik
