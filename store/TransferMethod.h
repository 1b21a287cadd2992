#pragma once

#include "store/RouteDef.h"

#include <span>

namespace molvik {

enum class TransferMethod { None, Ftp, FtpMonitor, Email, Secure, Directory, Hyper };

// A transfer flag of the route record, what it means, and the tree images it
// gives. A route may carry several flags and the last one set decides: a node
// added for the working route tests them in the table's order, a rebuilt tree
// in treeRank's order, which puts DirTransfer before KelmXTransfer and gives
// HyperTransfer no image.
struct TransferFlag
{
    YesNo RouteDef::*flag;
    TransferMethod method;
    int addedNodeImage; // a node added for the working route
    int treeImage;      // a node of a rebuilt tree; 0: not tested there
    int treeRank;       // the order a rebuilt tree tests the flags in
};

std::span<const TransferFlag> transferFlags();

// The method the route's flags give, in the rebuilt tree's order.
TransferMethod transferMethod(const RouteDef &route);
// The image number of a node added for the route, and of its node in a
// rebuilt tree; 0 when no tested flag is set.
int addedNodeImage(const RouteDef &route);
int treeImage(const RouteDef &route);

} // namespace molvik
