#pragma once

#include "forms/Form.h"
#include "forms/FormContext.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/ScriptedModalRunner.h"
#include "support/ScriptedSystemDialogs.h"
#include "support/StoreTestSupport.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>

#include <memory>

namespace molvik::test {

// A form context on a native temporary store, with every seam scripted.
struct FormsFixture
{
    explicit FormsFixture(std::shared_ptr<const FileSystem> fileSystem = std::make_shared<FileSystem>());
    ~FormsFixture();

    RouteStore &store() { return *s.store; }
    // Clicks the named button of a form.
    static void click(Form &form, const QString &button);
    // Types into the named line edit of a form, replacing its text.
    static void type(Form &form, const QString &box, const QString &text);
    // Lets deleteLater() of unloaded forms run.
    static void settle();

    NativeStore s;
    std::shared_ptr<ScriptedModalRunner> modal = std::make_shared<ScriptedModalRunner>();
    std::shared_ptr<ScriptedMessageBoxes> messages = std::make_shared<ScriptedMessageBoxes>();
    std::shared_ptr<ScriptedSystemDialogs> dialogs = std::make_shared<ScriptedSystemDialogs>();
    std::unique_ptr<FormContext> context;
};

} // namespace molvik::test
