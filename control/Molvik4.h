#pragma once

#include "platform/MolvikExport.h"
#include "store/RouteDef.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <stdexcept>
#include <vector>

class QFileSystemWatcher;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace molvik {

class FormContext;
class ImageList;
class RouteStore;
struct IoResult;

// A failure of one of the control's own operations, as a member the host
// calls reports it: the path concerned and the cause.
class MOLVIK_EXPORT Molvik4Error : public std::runtime_error
{
public:
    Molvik4Error(const QString &path, const QString &cause);
    QString path() const { return m_path; }
    QString cause() const { return m_cause; }

private:
    QString m_path;
    QString m_cause;
};

// The routing wizard control: the routes as a tree, with New Route, Delete
// Route and Edit Route. Every control on a thread shares one route store.
// It follows the routes file: what another program saves there shows in the
// tree, and every change is made on the file as it is at that moment.
class MOLVIK_EXPORT Molvik4 : public QWidget
{
    Q_OBJECT

public:
    // On the calling thread's shared route store, with the real dialogs.
    explicit Molvik4(QWidget *parent = nullptr);
    // On the given forms and store: a host or a test picks the seams.
    explicit Molvik4(FormContext &context, QWidget *parent = nullptr);
    ~Molvik4() override;

    // The route names after reading the routes file again; element 0 is empty.
    QStringList RouteNames();
    // Rebuilds the tree from the route table.
    void UpdateTree();
    // Appends a node for the working route record. The argument is accepted
    // and left as it was.
    void AddTreeNode(QTreeWidgetItem *&objTmpNode);

    // The button array's handler: 0 New Route, 1 Delete Route, 3 Edit Route.
    void Command1_Click(int Index);
    // The tree's hook after an in-place label edit. A refused name sets
    // Cancel, so the node keeps showing the stored one.
    void Tree_AfterLabelEdit(bool &Cancel, const QString &NewString);

    // The failure met while the control started, if any.
    QString startupFailure() const { return m_startupFailure; }

    // A node's key ("D1") and image number (0: none).
    static QString keyOf(const QTreeWidgetItem *node);
    static int imageOf(const QTreeWidgetItem *node);

    QLabel *Label1;
    QTreeWidget *Tree;
    QPushButton *Command1[4] = {}; // index 2 is not a member
    ImageList *ImageList1;

signals:
    // A button or tree handler failed: the file or folder, and why.
    void operationFailed(const QString &path, const QString &cause);
    // The routes changed, by a command of this control or by another program
    // saving the routes file.
    void routesChanged();

private:
    void UserControl_Initialize();
    void newRoute();
    void deleteRoute();
    void editRoute();
    // A route node's menu: Test Route.
    void treeContextMenu(const QPoint &position);
    int selectedSlot() const;
    QTreeWidgetItem *addNode(const QString &key, const QString &text, int image);
    void report(const Molvik4Error &error);

    // Following the routes file, and changes made on it as it is now.
    void watchRoutesFile();
    void watchPaths();
    void followFile();
    void runCommand(const std::function<void()> &command);
    bool renameAtOnce(int slot, const QString &name);
    void rebuildOnceEdited(const QString &selectName);
    void rebuildTree(const QString &selectName);
    void tell(const QString &refusal);
    void announce();
    std::vector<RouteDef> routesNow() const;

    FormContext &m_context;
    RouteStore &m_store;
    QString m_startupFailure;
    QFileSystemWatcher *m_watch = nullptr;
    int m_commands = 0;        // commands running: the file is followed once they end
    bool m_followLater = false;
    std::vector<RouteDef> m_announced; // the routes the host last heard of
};

} // namespace molvik
