#include "store/TransferMethod.h"

namespace molvik {

namespace {

constexpr TransferFlag kFlags[] = {
    {&RouteDef::FTPTransfer, TransferMethod::Ftp, 2, 2, 1},      {&RouteDef::FTPMonitor, TransferMethod::FtpMonitor, 9, 9, 2},
    {&RouteDef::EmailTransfer, TransferMethod::Email, 3, 3, 3},  {&RouteDef::KelmTransfer, TransferMethod::Secure, 10, 10, 4},
    {&RouteDef::KelmXTransfer, TransferMethod::Secure, 4, 5, 6}, {&RouteDef::DirTransfer, TransferMethod::Directory, 5, 4, 5},
    {&RouteDef::HyperTransfer, TransferMethod::Hyper, 6, 0, 7},
};

// The set flag that a rebuilt tree tests last.
const TransferFlag *lastSetByRank(const RouteDef &route, bool withTreeImageOnly)
{
    const TransferFlag *last = nullptr;
    for (const TransferFlag &f : kFlags) {
        if (route.*f.flag != No && (!withTreeImageOnly || f.treeImage != 0) && (!last || f.treeRank > last->treeRank))
            last = &f;
    }
    return last;
}

} // namespace

std::span<const TransferFlag> transferFlags()
{
    return kFlags;
}

TransferMethod transferMethod(const RouteDef &route)
{
    const TransferFlag *last = lastSetByRank(route, false);
    return last ? last->method : TransferMethod::None;
}

int addedNodeImage(const RouteDef &route)
{
    int image = 0;
    for (const TransferFlag &f : kFlags) {
        if (route.*f.flag != No)
            image = f.addedNodeImage;
    }
    return image;
}

int treeImage(const RouteDef &route)
{
    const TransferFlag *last = lastSetByRank(route, true);
    return last ? last->treeImage : 0;
}

} // namespace molvik
