#pragma once

#include "probe/RouteTest.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace molvik {

// The steps of a route test as they run, with Cancel, which becomes Close
// once the test has ended. The test starts with the window.
class RouteTestWindow : public QDialog
{
    Q_OBJECT

public:
    explicit RouteTestWindow(const RouteDef &route, QWidget *parent = nullptr);

    // Escape and the close button stop the test too.
    void reject() override;

private:
    void stepStarted(const QString &name);
    void stepFinished(const RouteTest::Step &step);
    void testFinished(bool passed);
    void buttonClicked();

    QTreeWidget *m_steps;
    QProgressBar *m_busy;
    QLabel *m_status;
    QPushButton *m_button;
    bool m_cancelled = false;
    RouteTest m_test; // last: stopped before the widgets it reports to go
};

} // namespace molvik
