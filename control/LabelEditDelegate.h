#pragma once

#include <QStyledItemDelegate>

#include <functional>

namespace molvik {

// Hands a finished in-place edit to the control's after-label-edit hook
// before the label changes. The label keeps the new text only when the hook
// let it stand: not cancelled, not empty, and the node still there (a hook
// that rebuilt the tree has put the stored names back itself).
class LabelEditDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using Hook = std::function<void(const QModelIndex &index, bool &cancel, const QString &text)>;

    LabelEditDelegate(Hook hook, QObject *parent);

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    Hook m_hook;
};

} // namespace molvik
