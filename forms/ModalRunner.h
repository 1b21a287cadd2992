#pragma once

namespace molvik {

class Form;

// Every modal show goes through here, so a test can drive the pages without
// a nested event loop.
class ModalRunner
{
public:
    virtual ~ModalRunner() = default;
    // Returns when the form has been hidden or unloaded.
    virtual void showModal(Form &form) = 0;
};

} // namespace molvik
