#include "store/RouteDef.h"

namespace molvik {

namespace {

using Kind = RouteField::Kind;
using Route = struct RouteDef;

constexpr RouteField text(const char *name, QString Route::*member)
{
    return {name, Kind::Text, member, nullptr, nullptr, 0};
}
constexpr RouteField flag(const char *name, qint16 Route::*member)
{
    return {name, Kind::YesNo, nullptr, member, nullptr, 0};
}
constexpr RouteField i16(const char *name, qint16 Route::*member, qint32 zero)
{
    return {name, Kind::Int16, nullptr, member, nullptr, zero};
}
constexpr RouteField i32(const char *name, qint32 Route::*member, qint32 zero)
{
    return {name, Kind::Int32, nullptr, nullptr, member, zero};
}

const std::array<RouteField, kRouteFieldCount> kFields = {
    text("RouteDef", &Route::RouteDef),
    text("UserID", &Route::UserID),
    text("UserDirectory", &Route::UserDirectory),
    flag("FTPTransfer", &Route::FTPTransfer),
    flag("FTPSecure", &Route::FTPSecure),
    flag("FTPPassive", &Route::FTPPassive),
    flag("DirTransfer", &Route::DirTransfer),
    flag("EmailTransfer", &Route::EmailTransfer),
    flag("KelmTransfer", &Route::KelmTransfer),
    flag("KelmXTransfer", &Route::KelmXTransfer),
    flag("SafeUpload", &Route::SafeUpload),
    text("ArchiveDirectory", &Route::ArchiveDirectory),
    text("RemoteDirectory", &Route::RemoteDirectory),
    text("RemoteFTPDirectory", &Route::RemoteFTPDirectory),
    text("FTPServer", &Route::FTPServer),
    text("FTPLogon", &Route::FTPLogon),
    text("FTPPassword", &Route::FTPPassword),
    text("AutoEmailName", &Route::AutoEmailName),
    text("AutoEmailAttach", &Route::AutoEmailAttach),
    text("AutoEmailMessage", &Route::AutoEmailMessage),
    text("AutoEmailSubject", &Route::AutoEmailSubject),
    flag("SMTP", &Route::SMTP),
    text("mailPOPServer", &Route::mailPOPServer),
    i16("mailPOPService", &Route::mailPOPService, 110),
    i16("mailSMTPService", &Route::mailSMTPService, 25),
    flag("mailPOPLogin", &Route::mailPOPLogin),
    text("Pattern", &Route::Pattern),
    flag("DefaultRoute", &Route::DefaultRoute),
    flag("FTPMonitor", &Route::FTPMonitor),
    i32("FTPport", &Route::FTPport, 21),
    text("ValidSchedule", &Route::ValidSchedule),
    text("PrxyHost", &Route::PrxyHost),
    text("PrxyUser", &Route::PrxyUser),
    text("PrxyPass", &Route::PrxyPass),
    i32("PrxyPort", &Route::PrxyPort, 21),
    flag("PrxyEnabled", &Route::PrxyEnabled),
    flag("rbUser", &Route::rbUser),
    flag("rbSite", &Route::rbSite),
    flag("rbLogin", &Route::rbLogin),
    flag("rbOpen", &Route::rbOpen),
    flag("Disabled", &Route::Disabled),
    text("DialUpEntry", &Route::DialUpEntry),
    text("KXSecureIP", &Route::KXSecureIP),
    text("KXSecurePassword", &Route::KXSecurePassword),
    i32("KXSecurePort", &Route::KXSecurePort, 0),
    flag("GenEmailNotify", &Route::GenEmailNotify),
    flag("HyperTransfer", &Route::HyperTransfer),
    flag("SRI2Wave", &Route::SRI2Wave),
    flag("DSS2Wave", &Route::DSS2Wave),
    flag("Wave2SRI", &Route::Wave2SRI),
    flag("Recursive", &Route::Recursive),
    flag("GenDirList", &Route::GenDirList),
    flag("GenDirZip", &Route::GenDirZip),
    flag("GenDirUnZip", &Route::GenDirUnZip),
    text("DTemplatePath", &Route::DTemplatePath),
    flag("KXSecurePrintData", &Route::KXSecurePrintData),
    flag("KXSecurePrintDoc", &Route::KXSecurePrintDoc),
    flag("EncryptFile", &Route::EncryptFile),
    flag("DecryptFile", &Route::DecryptFile),
};

} // namespace

const std::array<RouteField, kRouteFieldCount> &routeFields()
{
    return kFields;
}

} // namespace molvik
