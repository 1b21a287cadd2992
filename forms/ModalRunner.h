#pragma once

#include "platform/MolvikExport.h"

namespace molvik {

class Form;

// Every modal show goes through here, so a test can drive the pages without
// a nested event loop.
class MOLVIK_EXPORT ModalRunner
{
public:
    virtual ~ModalRunner() = default;
    // Returns when the form has been hidden or unloaded.
    virtual void showModal(Form &form) = 0;
};

} // namespace molvik
