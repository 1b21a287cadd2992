#pragma once

#include "forms/Form.h"
#include "forms/FormContext.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/ScriptedModalRunner.h"
#include "support/ScriptedSystemDialogs.h"
#include "support/StoreTestSupport.h"

#include <memory>

namespace molvik::test {

// A form context on a native temporary store, with every seam scripted. On
// destruction it checks that no window is left behind.
struct FormsFixture
{
    explicit FormsFixture(std::shared_ptr<const FileSystem> fileSystem = std::make_shared<FileSystem>());
    ~FormsFixture();

    RouteStore &store() { return *s.store; }
    // Lets deleteLater() of unloaded forms run.
    static void settle();

    NativeStore s;
    std::shared_ptr<ScriptedModalRunner> modal = std::make_shared<ScriptedModalRunner>();
    std::shared_ptr<ScriptedMessageBoxes> messages = std::make_shared<ScriptedMessageBoxes>();
    std::shared_ptr<ScriptedSystemDialogs> dialogs = std::make_shared<ScriptedSystemDialogs>();
    std::unique_ptr<FormContext> context;
};

} // namespace molvik::test
