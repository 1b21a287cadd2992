#include "control/Molvik4.h"

#include "control/ImageList.h"
#include "control/LabelEditDelegate.h"
#include "editor/frmEdit.h"
#include "forms/FormContext.h"
#include "forms/PageControls.h"
#include "forms/PageFonts.h"
#include "forms/Twips.h"
#include "platform/ComponentFolder.h"
#include "store/Reg.h"
#include "store/RouteChecks.h"
#include "store/RouteStore.h"
#include "store/RoutesWriter.h"
#include "store/RuleSys.h"
#include "store/TransferMethod.h"
#include "wizard/RuleName.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLibrary>
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
const QString kLastRoute = QStringLiteral(" You can't Delete the Last Route!");

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
    watchRoutesFile();
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
    runCommand([&] {
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
    });
}

void Molvik4::newRoute()
{
    if (m_store.routeCount >= m_store.routeLimit) {
        tell(RuleSys::routeLimitMessage());
        return;
    }
    RuleSys::resetWorkingRoute(m_store);
    m_store.lastAppendFailure = IoResult::success();
    m_store.lastRefusal.clear();
    m_context.showModal(m_context.form<RuleName>());
    UpdateTree();
    // The wizard's last page keeps going when the file cannot be written; the
    // host still hears that the new route is not on disk.
    const IoResult failure = std::exchange(m_store.lastAppendFailure, IoResult::success());
    tell(std::exchange(m_store.lastRefusal, QString()));
    check(failure);
}

void Molvik4::deleteRoute()
{
    if (m_store.routeCount == 1) {
        tell(kLastRoute);
        return;
    }
    const int slot = selectedSlot();
    if (slot < 1 || slot > m_store.routeCount)
        return;
    const RouteDef confirmed = m_store.routes[std::size_t(slot)];
    const MsgResult answer = m_context.message(
        this, {QStringLiteral("Proceed with deletion?"), QStringLiteral("Route Deleting... "), MsgIcon::None, MsgButtons::YesNo});
    if (answer != MsgResult::Yes)
        return;
    const RuleSys::Change change = RuleSys::changeRoutes(m_store, m_store.routesPath(), [&](RouteStore &table) -> QString {
        int at = RuleSys::findRoute(table, confirmed, slot);
        // Changed meanwhile but still under its name: the route the operator confirmed.
        for (int i = 1; at == 0 && i <= table.routeCount; ++i) {
            if (table.routes[std::size_t(i)].RouteDef == confirmed.RouteDef)
                at = i;
        }
        if (at == 0)
            return RuleSys::changedElsewhereMessage(confirmed.RouteDef);
        if (table.routeCount == 1)
            return kLastRoute;
        RuleSys::removeRoute(table, at);
        return {};
    });
    check(change.failure);
    UpdateTree();
    if (QTreeWidgetItem *selected = Tree->currentItem())
        Tree->scrollToItem(selected);
    tell(change.refusal);
}

void Molvik4::editRoute()
{
    m_store.editIndex = static_cast<qint16>(selectedSlot());
    m_store.lastEditSaveFailure = IoResult::success();
    m_store.lastRefusal.clear();
    m_context.showModal(m_context.form<frmEdit>());
    UpdateTree();
    // The editor closes even when its save fails; the host still hears of it.
    const IoResult failure = std::exchange(m_store.lastEditSaveFailure, IoResult::success());
    tell(std::exchange(m_store.lastRefusal, QString()));
    check(failure);
}

void Molvik4::Tree_AfterLabelEdit(bool &Cancel, const QString &NewString)
{
    runCommand([&] {
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
            tell(RouteChecks::nameTakenMessage());
            Cancel = true;
            if (QTreeWidgetItem *node = Tree->currentItem())
                node->setText(0, m_store.routes[std::size_t(slot)].RouteDef);
            // A refused rename still rewrites the table, taken from the file
            // as it is now, so nothing another program saved is lost.
            const RuleSys::Change change =
                RuleSys::changeRoutes(m_store, m_store.routesPath(), [](RouteStore &) { return QString(); });
            rebuildOnceEdited({});
            check(change.failure);
            RuleSys::rebuildNames(m_store);
            return;
        }
        Cancel = !renameAtOnce(slot, NewString);
    });
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
    // The test and its network code live in a library of their own beside
    // this one, opened on the first test, so starting the control never
    // loads them; the route crosses as the bytes the file holds for it.
    using Entry = int (*)(void *, const char *, long long);
    QLibrary module(componentFolder() + QStringLiteral("/MolvikRouteTest"));
    const auto entry = reinterpret_cast<Entry>(module.resolve("molvikShowRouteTest"));
    if (!entry)
        return report(Molvik4Error(module.fileName(), module.errorString()));
    RouteStore one(m_store.environment());
    one.routes[1] = m_store.routes[std::size_t(slot)];
    one.routeCount = 1;
    const QByteArray route = RoutesWriter::serialize(one);
    entry(window(), route.constData(), route.size());
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

void Molvik4::watchRoutesFile()
{
    m_watch = new QFileSystemWatcher(this);
    connect(m_watch, &QFileSystemWatcher::fileChanged, this, &Molvik4::followFile);
    connect(m_watch, &QFileSystemWatcher::directoryChanged, this, &Molvik4::followFile);
    // A label being edited holds the file back until the edit ends.
    connect(Tree->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        if (m_followLater)
            QMetaObject::invokeMethod(this, &Molvik4::followFile, Qt::QueuedConnection);
    });
    watchPaths();
    m_announced = routesNow();
}

void Molvik4::watchPaths()
{
    // A save replaces the file, so the new one is watched afresh; the folders
    // (the link's and the real file's) show a file that comes back.
    const QString file = m_store.fileSystem().localPath(m_store.routesPath());
    QStringList paths{file, QFileInfo(file).absolutePath()};
    if (const QString real = QFileInfo(file).canonicalFilePath(); !real.isEmpty())
        paths << QFileInfo(real).absolutePath();
    for (const QString &path : paths) {
        if (QFileInfo::exists(path) && !m_watch->files().contains(path) && !m_watch->directories().contains(path))
            m_watch->addPath(path);
    }
}

void Molvik4::followFile()
{
    watchPaths();
    // A command or an edit works on the routes as they were read; the file
    // is read again once it ends.
    if (m_commands > 0 || Tree->indexWidget(Tree->currentIndex())) {
        m_followLater = true;
        return;
    }
    m_followLater = false;
    const int slot = selectedSlot();
    const QString selected = slot >= 1 && slot <= m_store.routeCount ? m_store.routes[std::size_t(slot)].RouteDef : QString();
    // A file that cannot be read now keeps the tree as it is; the next change
    // made on it reports why.
    (void)RuleSys::rereadRoutes(m_store, m_store.routesPath());
    if (routesNow() == m_announced)
        return;
    rebuildTree(selected);
    announce();
}

void Molvik4::runCommand(const std::function<void()> &command)
{
    ++m_commands;
    try {
        command();
    } catch (const Molvik4Error &e) {
        report(e);
    }
    if (--m_commands > 0)
        return;
    // With a label's editor still open, the host hears once the edit has ended.
    if (m_followLater || Tree->indexWidget(Tree->currentIndex()))
        followFile();
    else
        announce();
}

bool Molvik4::renameAtOnce(int slot, const QString &name)
{
    const RouteDef before = m_store.routes[std::size_t(slot)];
    RouteDef after = before;
    after.RouteDef = name;
    const RuleSys::Change change = RuleSys::replaceRoute(m_store, m_store.routesPath(), slot, before, after);
    // Otherwise the tree keeps the label as typed.
    if (change.reread || !change.refusal.isEmpty())
        rebuildOnceEdited(change.refusal.isEmpty() ? name : before.RouteDef);
    tell(change.refusal);
    check(change.failure);
    return change.refusal.isEmpty();
}

void Molvik4::rebuildOnceEdited(const QString &selectName)
{
    // The view still holds the label's editor until the edit has ended.
    QTimer::singleShot(0, this, [this, selectName] { rebuildTree(selectName); });
}

void Molvik4::rebuildTree(const QString &selectName)
{
    try {
        UpdateTree();
    } catch (const Molvik4Error &e) {
        report(e);
    }
    for (int i = 0; i < Tree->topLevelItemCount(); ++i) {
        if (Tree->topLevelItem(i)->text(0) == selectName) {
            Tree->setCurrentItem(Tree->topLevelItem(i));
            break;
        }
    }
}

void Molvik4::tell(const QString &refusal)
{
    if (refusal.isEmpty())
        return;
    MessageRequest box{refusal, QStringLiteral("Routes Wizard"), MsgIcon::Exclamation, MsgButtons::Ok};
    if (refusal == RuleSys::routeLimitMessage())
        box = {refusal, QStringLiteral("Routes Wizard Information"), MsgIcon::Critical, MsgButtons::Ok};
    else if (refusal == kLastRoute)
        box = {refusal, QString(), MsgIcon::None, MsgButtons::Ok};
    else if (refusal == RouteChecks::nameTakenMessage())
        box.icon = MsgIcon::None;
    m_context.message(this, box);
}

void Molvik4::announce()
{
    if (std::vector<RouteDef> now = routesNow(); now != m_announced) {
        m_announced = std::move(now);
        emit routesChanged();
    }
}

std::vector<RouteDef> Molvik4::routesNow() const
{
    const auto first = m_store.routes.begin() + 1;
    return {first, first + qBound(0, m_store.routeCount, RouteStore::kMaxRoutes)};
}

} // namespace molvik
