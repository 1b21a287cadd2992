#include "control/RouteTestWindow.h"

#include "store/RouteDef.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace molvik {

RouteTestWindow::RouteTestWindow(const RouteDef &route, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RouteTestWindow"));
    setWindowTitle(QStringLiteral("Test Route - ") + route.RouteDef);
    resize(760, 300);

    m_steps = new QTreeWidget(this);
    m_steps->setObjectName(QStringLiteral("Steps"));
    m_steps->setHeaderLabels({QStringLiteral("Result"), QStringLiteral("Step"), QStringLiteral("Answer")});
    m_steps->setRootIsDecorated(false);
    m_steps->setWordWrap(true);
    m_steps->setSelectionMode(QAbstractItemView::NoSelection);
    m_steps->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_steps->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_steps->header()->setStretchLastSection(true);

    m_busy = new QProgressBar(this);
    m_busy->setObjectName(QStringLiteral("Busy"));
    m_busy->setRange(0, 0); // no end known: it shows that work goes on
    m_busy->setTextVisible(false);
    m_status = new QLabel(QStringLiteral("Testing..."), this);
    m_status->setObjectName(QStringLiteral("Status"));
    m_button = new QPushButton(QStringLiteral("Cancel"), this);
    m_button->setObjectName(QStringLiteral("CancelButton"));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_busy, 1);
    bottom->addWidget(m_button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_steps);
    layout->addLayout(bottom);

    connect(&m_test, &RouteTest::stepStarted, this, &RouteTestWindow::stepStarted);
    connect(&m_test, &RouteTest::stepFinished, this, &RouteTestWindow::stepFinished);
    connect(&m_test, &RouteTest::finished, this, &RouteTestWindow::testFinished);
    connect(m_button, &QPushButton::clicked, this, &RouteTestWindow::buttonClicked);
    m_test.start(route);
}

void RouteTestWindow::reject()
{
    m_test.cancel();
    QDialog::reject();
}

void RouteTestWindow::stepStarted(const QString &name)
{
    auto *item = new QTreeWidgetItem(m_steps, {QStringLiteral("..."), name});
    m_steps->scrollToItem(item);
}

void RouteTestWindow::stepFinished(const RouteTest::Step &step)
{
    QTreeWidgetItem *item = m_steps->topLevelItem(m_steps->topLevelItemCount() - 1);
    if (!item || item->text(1) != step.name)
        item = new QTreeWidgetItem(m_steps, {QString(), step.name});
    const bool failed = step.result == RouteTest::Result::Failed;
    item->setText(0, failed                                 ? QStringLiteral("FAILED")
                     : step.result == RouteTest::Result::Ok ? QStringLiteral("ok")
                                                            : QStringLiteral("skipped"));
    item->setForeground(0, failed ? Qt::darkRed : Qt::darkGreen);
    item->setText(2, step.answer);
    item->setToolTip(2, step.answer);
}

void RouteTestWindow::testFinished(bool passed)
{
    m_busy->hide();
    m_status->setText(m_cancelled ? QStringLiteral("Cancelled.")
                      : passed    ? QStringLiteral("The route reaches its destination.")
                                  : QStringLiteral("A step failed: the route does not reach its destination."));
    m_button->setText(QStringLiteral("Close"));
    m_button->setEnabled(true);
}

void RouteTestWindow::buttonClicked()
{
    if (!m_test.isRunning()) {
        accept();
        return;
    }
    m_cancelled = true;
    m_button->setEnabled(false);
    m_test.cancel();
}

} // namespace molvik
