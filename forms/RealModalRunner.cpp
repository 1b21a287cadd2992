#include "forms/RealModalRunner.h"

#include "forms/Form.h"

namespace molvik {

void RealModalRunner::showModal(Form &form)
{
    form.exec();
}

} // namespace molvik
