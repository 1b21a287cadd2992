#include "store/RouteDef.h"

namespace molvik {

namespace {

using K = RouteField::Kind;
using R = struct RouteDef;

constexpr RouteField text(const char *n, QString R::*m)
{
    return {n, K::Text, m, nullptr, nullptr, 0};
}
constexpr RouteField flag(const char *n, qint16 R::*m)
{
    return {n, K::YesNo, nullptr, m, nullptr, 0};
}
constexpr RouteField i16(const char *n, qint16 R::*m, qint32 zero)
{
    return {n, K::Int16, nullptr, m, nullptr, zero};
}
constexpr RouteField i32(const char *n, qint32 R::*m, qint32 zero)
{
    return {n, K::Int32, nullptr, nullptr, m, zero};
}

const std::array<RouteField, kRouteFieldCount> kFields = {
    text("RouteDef", &R::RouteDef),
    text("UserID", &R::UserID),
    text("UserDirectory", &R::UserDirectory),
    flag("FTPTransfer", &R::FTPTransfer),
    flag("FTPSecure", &R::FTPSecure),
    flag("FTPPassive", &R::FTPPassive),
    flag("DirTransfer", &R::DirTransfer),
    flag("EmailTransfer", &R::EmailTransfer),
    flag("KelmTransfer", &R::KelmTransfer),
    flag("KelmXTransfer", &R::KelmXTransfer),
    flag("SafeUpload", &R::SafeUpload),
    text("ArchiveDirectory", &R::ArchiveDirectory),
    text("RemoteDirectory", &R::RemoteDirectory),
    text("RemoteFTPDirectory", &R::RemoteFTPDirectory),
    text("FTPServer", &R::FTPServer),
    text("FTPLogon", &R::FTPLogon),
    text("FTPPassword", &R::FTPPassword),
    text("AutoEmailName", &R::AutoEmailName),
    text("AutoEmailAttach", &R::AutoEmailAttach),
    text("AutoEmailMessage", &R::AutoEmailMessage),
    text("AutoEmailSubject", &R::AutoEmailSubject),
    flag("SMTP", &R::SMTP),
    text("mailPOPServer", &R::mailPOPServer),
    i16("mailPOPService", &R::mailPOPService, 110),
    i16("mailSMTPService", &R::mailSMTPService, 25),
    flag("mailPOPLogin", &R::mailPOPLogin),
    text("Pattern", &R::Pattern),
    flag("DefaultRoute", &R::DefaultRoute),
    flag("FTPMonitor", &R::FTPMonitor),
    i32("FTPport", &R::FTPport, 21),
    text("ValidSchedule", &R::ValidSchedule),
    text("PrxyHost", &R::PrxyHost),
    text("PrxyUser", &R::PrxyUser),
    text("PrxyPass", &R::PrxyPass),
    i32("PrxyPort", &R::PrxyPort, 21),
    flag("PrxyEnabled", &R::PrxyEnabled),
    flag("rbUser", &R::rbUser),
    flag("rbSite", &R::rbSite),
    flag("rbLogin", &R::rbLogin),
    flag("rbOpen", &R::rbOpen),
    flag("Disabled", &R::Disabled),
    text("DialUpEntry", &R::DialUpEntry),
    text("KXSecureIP", &R::KXSecureIP),
    text("KXSecurePassword", &R::KXSecurePassword),
    i32("KXSecurePort", &R::KXSecurePort, 0),
    flag("GenEmailNotify", &R::GenEmailNotify),
    flag("HyperTransfer", &R::HyperTransfer),
    flag("SRI2Wave", &R::SRI2Wave),
    flag("DSS2Wave", &R::DSS2Wave),
    flag("Wave2SRI", &R::Wave2SRI),
    flag("Recursive", &R::Recursive),
    flag("GenDirList", &R::GenDirList),
    flag("GenDirZip", &R::GenDirZip),
    flag("GenDirUnZip", &R::GenDirUnZip),
    text("DTemplatePath", &R::DTemplatePath),
    flag("KXSecurePrintData", &R::KXSecurePrintData),
    flag("KXSecurePrintDoc", &R::KXSecurePrintDoc),
    flag("EncryptFile", &R::EncryptFile),
    flag("DecryptFile", &R::DecryptFile),
};

} // namespace

const std::array<RouteField, kRouteFieldCount> &routeFields()
{
    return kFields;
}

} // namespace molvik
