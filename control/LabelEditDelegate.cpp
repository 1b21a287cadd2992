#include "control/LabelEditDelegate.h"

#include <QLineEdit>

namespace molvik {

LabelEditDelegate::LabelEditDelegate(Hook hook, QObject *parent) : QStyledItemDelegate(parent), m_hook(std::move(hook))
{}

void LabelEditDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line)
        return;
    const QString text = line->text();
    if (text == index.data(Qt::DisplayRole).toString())
        return;
    const QPersistentModelIndex node(index);
    bool cancel = false;
    m_hook(index, cancel, text);
    if (!cancel && !text.isEmpty() && node.isValid() && node.model() == model) {
        model->setData(node, text, Qt::EditRole);
        model->setData(node, text, Qt::ToolTipRole);
    }
}

} // namespace molvik
