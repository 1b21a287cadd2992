#pragma once

#include "control/Molvik4.h"
#include "support/FormsTestSupport.h"

#include <QApplication>
#include <QTimer>

#include <functional>
#include <memory>

namespace molvik::test {

// A control whose pages run through the real QDialog::exec(); message boxes
// and system dialogs are scripted unless a test asks for real ones.
struct RealFlow
{
    explicit RealFlow(bool realMessageBoxes = false);

    // Runs step on the modal widget named name once it is up (polling with a
    // fresh single-shot each time); records a failure after a bounded number
    // of polls instead of waiting for ever.
    void whenModal(const QString &name, std::function<void(QWidget &)> step);

    // Presses New Route, lets the scheduled steps drive the pages, and returns
    // the text of the tree's second node after checking that every step ran,
    // no message box came up and exactly one route was added to the default.
    QString newRoute();

    NativeStore s;
    std::shared_ptr<ScriptedMessageBoxes> messages = std::make_shared<ScriptedMessageBoxes>();
    std::shared_ptr<ScriptedSystemDialogs> dialogs = std::make_shared<ScriptedSystemDialogs>();
    std::unique_ptr<FormContext> context;
    std::unique_ptr<Molvik4> control;
    QStringList missed;
};

} // namespace molvik::test
