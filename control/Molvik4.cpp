#include "control/Molvik4.h"

#include "control/ImageList.h"
#include "control/LabelEditDelegate.h"
#include "control/RouteTestWindow.h"
#include "editor/frmEdit.h"
#include "forms/FormContext.h"
#include "forms/PageControls.h"
#include "forms/PageFonts.h"
#include "forms/Twips.h"
#include "store/Reg.h"
#include "store/RouteChecks.h"
#include "store/RouteStore.h"
#include "store/RuleSys.h"
#include "store/TransferMethod.h"
#include "wizard/RuleName.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <optional>
#include <utility>

namespace molvik {

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;

void check(const IoResult &result)
{
    if (!result)
        throw Molvik4Error(result.path, result.message);
}

} // namespace

Molvik4Error::Molvik4Error(const QString &path, const QString &cause)
    : std::runtime_error(QString(path + QStringLiteral(": ") + cause).toStdString()), m_path(path), m_cause(cause)
{}

Molvik4::Molvik4(QWidget *parent) : Molvik4(FormContext::forCurrentThread(), parent)
{}

Molvik4::Molvik4(FormContext &context, QWidget *parent) : QWidget(parent), m_context(context), m_store(context.store())
{
    setObjectName(QStringLiteral("Molvik4"));
    setFixedSize(Twips::toPixelsX(6975), Twips::toPixelsY(2730));
    setFont(tahoma());

    Label1 = makeControl<QLabel>(this, QStringLiteral("Label1"), 120, 0, 2415, 255, QStringLiteral("Automatic Routing Wizard"));
    Label1->setFont(tahoma(8.25, true));

    Tree = new QTreeWidget(this);
    Tree->setObjectName(QStringLiteral("Tree"));
    Tree->setAccessibleName(QStringLiteral("Routes"));
    Tree->setFont(tahoma(9));
    Tree->setHeaderHidden(true);
    Tree->setColumnCount(1);
    Tree->setRootIsDecorated(false);
    Tree->setIconSize(QSize(16, 16));
    Tree->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    Tree->setItemDelegate(new LabelEditDelegate(
        [this](const QModelIndex &index, bool &cancel, const QString &text) {
            // The node being edited is the selected node.
            if (QTreeWidgetItem *item = Tree->topLevelItem(index.row()); item && Tree->currentItem() != item)
                Tree->setCurrentItem(item);
            Tree_AfterLabelEdit(cancel, text);
        },
        Tree));
    Label1->setBuddy(Tree);
    Tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Tree, &QWidget::customContextMenuRequested, this, &Molvik4::treeContextMenu);
    Twips::place(Tree, 120, 240, 5175, 2295);

    const struct
    {
        int index;
        const char *caption;
        int top;
    } buttons[] = {{0, "New Route", 240}, {1, "Delete Route", 720}, {3, "Edit Route", 1200}};
    for (const auto &b : buttons) {
        auto *button = new QPushButton(QLatin1String(b.caption), this);
        button->setObjectName(arrayName(QStringLiteral("Command1"), b.index));
        button->setFont(tahoma());
        Twips::place(button, 5400, b.top, 1455, 375);
        connect(button, &QPushButton::clicked, this, [this, i = b.index] { Command1_Click(i); });
        Command1[b.index] = button;
    }
    setTabOrder(Tree, Command1[0]);
    setTabOrder(Command1[0], Command1[1]);
    setTabOrder(Command1[1], Command1[3]);

    ImageList1 = new ImageList(this);

    UserControl_Initialize();
}

Molvik4::~Molvik4() = default;

void Molvik4::UserControl_Initialize()
{
    std::optional<Molvik4Error> failure;
    // Each step is tried on its own: the tree shows what is in memory even
    // when the file could not be kept.
    const auto attempt = [&failure](const auto &step) {
        try {
            step();
        } catch (const Molvik4Error &e) {
            if (!failure)
                failure = e;
        }
    };
    m_store.routeCount = 0;
    attempt([&] {
        check(Reg::selectDataFolder(m_store));
        const QString path = m_store.routesPath();
        QString refusal;
        if (RuleSys::loadRoutes(m_store, path, &refusal))
            return;
        RuleSys::makeDefaultRoute(m_store);
        // The operator's unread file is moved aside first; one that cannot
        // be moved is not overwritten either.
        QString keptAs;
        check(RuleSys::setAsideRejected(m_store, path, keptAs));
        check(RuleSys::saveRoutes(m_store, path));
        if (!keptAs.isEmpty())
            failure = Molvik4Error(
                path, QStringLiteral("not read (%1); kept as %2, and the default route written").arg(refusal, keptAs));
    });
    m_store.routeLimit = RouteStore::kRouteLimit;
    attempt([&] {
        UpdateTree();
        for (const QString &name : {QStringLiteral("Complete"), QStringLiteral("Hold")}) {
            const QString folder = m_store.inDataFolder(name);
            if (!m_store.fileSystem().folderExists(folder))
                check(m_store.fileSystem().createFolder(folder));
        }
    });
    if (failure) {
        // The host cannot have connected yet: tell it once its event loop runs.
        m_startupFailure = failure->path() + QStringLiteral(": ") + failure->cause();
        QTimer::singleShot(0, this, [this, e = *failure] { report(e); });
    }
}

void Molvik4::UpdateTree()
{
    check(Reg::selectDataFolder(m_store));
    Tree->clear();
    const int count = qBound(0, m_store.routeCount, RouteStore::kMaxRoutes);
    for (int i = 1; i <= count; ++i) {
        const RouteDef &r = m_store.routes[std::size_t(i)];
        addNode(QStringLiteral("D%1").arg(i), r.RouteDef, treeImage(r));
    }
    if (Tree->topLevelItemCount() > 0)
        Tree->setCurrentItem(Tree->topLevelItem(0));
    RuleSys::rebuildNames(m_store);
}

void Molvik4::AddTreeNode(QTreeWidgetItem *&objTmpNode)
{
    Q_UNUSED(objTmpNode);
    const RouteDef &r = m_store.workingRoute;
    QTreeWidgetItem *node = addNode(QStringLiteral("D%1").arg(m_store.routeCount), r.RouteDef, addedNodeImage(r));
    Tree->setCurrentItem(node);
}

QStringList Molvik4::RouteNames()
{
    check(Reg::selectDataFolder(m_store));
    m_store.routeCount = 0;
    RuleSys::loadRoutes(m_store, m_store.routesPath());
    RuleSys::rebuildNames(m_store);
    return m_store.names;
}

void Molvik4::Command1_Click(int Index)
{
    try {
        if (Index > 0 && m_store.routeCount == 0)
            return;
        check(Reg::selectDataFolder(m_store));
        // Pages opened from here stack and centre over the host's window and
        // go with it.
        m_context.setOwnerWindow(window());
        switch (Index) {
        case 0:
            newRoute();
            break;
        case 1:
            deleteRoute();
            break;
        case 3:
            editRoute();
            break;
        default:
            break;
        }
    } catch (const Molvik4Error &e) {
        report(e);
    }
}

void Molvik4::newRoute()
{
    if (m_store.routeCount >= m_store.routeLimit) {
        m_context.message(this, {QStringLiteral("You have created the Maximum Number of Routes Allowed!"),
                                 QStringLiteral("Routes Wizard Information"), MsgIcon::Critical, MsgButtons::Ok});
        return;
    }
    RuleSys::resetWorkingRoute(m_store);
    m_store.lastAppendFailure = IoResult::success();
    m_context.showModal(m_context.form<RuleName>());
    UpdateTree();
    // The wizard's last page keeps going when the file cannot be written; the
    // host still hears that the new route is not on disk.
    const IoResult failure = m_store.lastAppendFailure;
    m_store.lastAppendFailure = IoResult::success();
    check(failure);
}

void Molvik4::deleteRoute()
{
    if (m_store.routeCount == 1) {
        m_context.message(this, {QStringLiteral(" You can't Delete the Last Route!"), QString(), MsgIcon::None, MsgButtons::Ok});
        return;
    }
    const int slot = selectedSlot();
    if (slot < 1 || slot > m_store.routeCount)
        return;
    const MsgResult answer = m_context.message(
        this, {QStringLiteral("Proceed with deletion?"), QStringLiteral("Route Deleting... "), MsgIcon::None, MsgButtons::YesNo});
    if (answer != MsgResult::Yes)
        return;
    RuleSys::removeRoute(m_store, slot);
    check(RuleSys::saveRoutes(m_store, m_store.routesPath()));
    UpdateTree();
    if (QTreeWidgetItem *selected = Tree->currentItem())
        Tree->scrollToItem(selected);
}

void Molvik4::editRoute()
{
    m_store.editIndex = static_cast<qint16>(selectedSlot());
    m_store.lastEditSaveFailure = IoResult::success();
    m_context.showModal(m_context.form<frmEdit>());
    UpdateTree();
    // The editor closes even when its save fails; the host still hears of it.
    const IoResult failure = std::exchange(m_store.lastEditSaveFailure, IoResult::success());
    check(failure);
}

void Molvik4::Tree_AfterLabelEdit(bool &Cancel, const QString &NewString)
{
    try {
        check(Reg::selectDataFolder(m_store));
        if (NewString.isEmpty())
            return;
        const int slot = selectedSlot();
        if (slot < 1 || slot > m_store.routeCount)
            return;
        // A refused name: the node keeps showing the stored one.
        if (const QString unkept = RouteChecks::unkeptValue(QStringLiteral("Route Name"), NewString); !unkept.isEmpty()) {
            m_context.message(this, {unkept, QStringLiteral("Routes Wizard"), MsgIcon::None, MsgButtons::Ok});
            Cancel = true;
            return;
        }
        if (RuleSys::nameTaken(m_store, NewString, slot)) {
            m_context.message(this,
                              {RouteChecks::nameTakenMessage(), QStringLiteral("Routes Wizard"), MsgIcon::None, MsgButtons::Ok});
            Cancel = true;
            if (QTreeWidgetItem *node = Tree->currentItem())
                node->setText(0, m_store.routes[std::size_t(slot)].RouteDef);
            // Rebuilt once the editor has closed: the view still holds it now.
            QTimer::singleShot(0, this, [this] {
                try {
                    UpdateTree();
                } catch (const Molvik4Error &e) {
                    report(e);
                }
            });
            check(RuleSys::saveRoutes(m_store, m_store.routesPath()));
            RuleSys::rebuildNames(m_store);
            return;
        }
        // Held in memory only: the next write of the table stores it.
        m_store.routes[std::size_t(slot)].RouteDef = NewString;
    } catch (const Molvik4Error &e) {
        report(e);
    }
}

void Molvik4::treeContextMenu(const QPoint &position)
{
    QTreeWidgetItem *node = Tree->itemAt(position);
    if (!node)
        return;
    Tree->setCurrentItem(node);
    QMenu menu(this);
    QAction *test = menu.addAction(QStringLiteral("Test Route"));
    if (menu.exec(Tree->viewport()->mapToGlobal(position)) != test)
        return;
    const int slot = selectedSlot();
    if (slot < 1 || slot > m_store.routeCount)
        return;
    RouteTestWindow window(m_store.routes[std::size_t(slot)], this->window());
    window.exec();
}

QString Molvik4::keyOf(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kKeyRole).toString() : QString();
}

int Molvik4::imageOf(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kImageRole).toInt() : 0;
}

int Molvik4::selectedSlot() const
{
    const QString key = keyOf(Tree->currentItem());
    return key.isEmpty() ? 0 : key.mid(1).toInt();
}

QTreeWidgetItem *Molvik4::addNode(const QString &key, const QString &text, int image)
{
    auto *node = new QTreeWidgetItem(Tree, QStringList{text});
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    node->setData(0, kKeyRole, key);
    node->setData(0, kImageRole, image);
    // The tree cuts a long name short; the tip shows it whole.
    node->setToolTip(0, text);
    if (image > 0)
        node->setIcon(0, ImageList1->icon(image));
    return node;
}

void Molvik4::report(const Molvik4Error &error)
{
    emit operationFailed(error.path(), error.cause());
}

} // namespace molvik
